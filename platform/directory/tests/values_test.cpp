#include "result_status.h"
#include "sid.h"
#include "values.h"

#include <gtest/gtest.h>
#include <ldap.h>

namespace directory {
namespace {

TEST(Sid, TextAndBytesRoundTripWithExactLengths) {
    const std::string domain = "S-1-5-21-3363799654-3366181510-2123745128";
    const auto bytes = sidBytes(domain + "-1104");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), 8u + 4u * 5u);
    EXPECT_EQ(sidText(*bytes), domain + "-1104");
    EXPECT_EQ(ridUnder(*sidText(*bytes), domain), 1104u);
    EXPECT_FALSE(ridUnder(domain + "1-1104", domain));
    EXPECT_EQ(sidText(std::string("\x01\x01\0\0\0\0\0\x05\x04\0\0\0", 12)), "S-1-5-4");
    // A count that disagrees with the length, a wrong revision, too short: no SID.
    EXPECT_FALSE(sidText(bytes->substr(0, bytes->size() - 1)));
    EXPECT_FALSE(sidText(*bytes + '\0'));
    EXPECT_FALSE(sidText(std::string("\x02\x01\0\0\0\0\0\x05\x04\0\0\0", 12)));
    EXPECT_FALSE(sidText("\x01"));
    EXPECT_FALSE(sidBytes("S-1-5-x"));
    EXPECT_FALSE(sidBytes("S-1-5-4294967296"));
}

TEST(Values, RangedAttributeNames) {
    const auto window = parseRange("member;range=0-1499", "member");
    ASSERT_TRUE(window);
    EXPECT_EQ(window->first, 0u);
    EXPECT_EQ(window->last, 1499u);
    const auto last = parseRange("Member;Range=1500-*", "member");
    ASSERT_TRUE(last);
    EXPECT_EQ(last->first, 1500u);
    EXPECT_FALSE(last->last);
    EXPECT_FALSE(parseRange("member", "member"));
    EXPECT_FALSE(parseRange("memberOf;range=0-*", "member"));
    EXPECT_FALSE(parseRange("member;range=10-5", "member"));
    EXPECT_FALSE(parseRange("member;range=a-*", "member"));
}

TEST(Values, ExtendedDnGivesSidAndPlainDn) {
    const auto parsed = parseExtendedDn(
        "<GUID=0d9e9e0b0a3e4d4f8f1c2f6a1b2c3d4e>;<SID=010100000000000504000000>;"
        "CN=S-1-5-4,CN=ForeignSecurityPrincipals,DC=tarn,DC=test");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->sid, "S-1-5-4");
    EXPECT_EQ(parsed->dn, "CN=S-1-5-4,CN=ForeignSecurityPrincipals,DC=tarn,DC=test");
    // "Smith, John" is one RDN value: the DN is kept whole, never split at commas.
    const auto noSid = parseExtendedDn("<GUID=00>;CN=Smith\\, John,CN=Users,DC=tarn,DC=test");
    ASSERT_TRUE(noSid);
    EXPECT_FALSE(noSid->sid);
    EXPECT_EQ(noSid->dn, "CN=Smith\\, John,CN=Users,DC=tarn,DC=test");
    EXPECT_FALSE(parseExtendedDn("<SID=0101zz>;CN=x"));
    EXPECT_FALSE(parseExtendedDn("<GUID=00"));
}

TEST(Values, DirectoryTimesAndNever) {
    EXPECT_EQ(secondsOfFiletime(filetimeOfSeconds(1'700'000'000)), 1'700'000'000u);
    EXPECT_FALSE(secondsOfFiletime(0));
    EXPECT_FALSE(secondsOfFiletime(filetimeNever));
    EXPECT_EQ(secondsOfFiletime(116'444'736'000'000'000 - 1), 0u);  // before 1970
}

TEST(ResultStatus, LayersFromResultCodeToOperation) {
    const auto status = [](int code, std::string diagnostic, Operation operation) {
        return statusOf(LdapError(code, std::move(diagnostic), "test"), operation);
    };
    EXPECT_EQ(status(LDAP_SERVER_DOWN, "", Operation::Read), ERROR_BAD_NETPATH);
    EXPECT_EQ(status(LDAP_INVALID_CREDENTIALS,
                     "80090308: LdapErr: DSID-0C09041C, comment: AcceptSecurityContext error, data 52e, v4563",
                     Operation::Bind), ERROR_LOGON_FAILURE);
    EXPECT_EQ(status(LDAP_INVALID_CREDENTIALS, "80090308: LdapErr: DSID-0C09041C, comment: AcceptSecurityContext error, data 775, v1db1",
                     Operation::Bind), 1909u);
    // A refused ticket's text has no bind reason in it, whatever words it holds.
    EXPECT_EQ(status(LDAP_INVALID_CREDENTIALS, "SASL(-1): generic failure: GSSAPI Error: bad metadata 12", Operation::Bind),
              ERROR_LOGON_FAILURE);
    EXPECT_EQ(status(LDAP_INSUFFICIENT_ACCESS, "00002098: Insufficient access", Operation::AddUser),
              uint32_t(ERROR_ACCESS_DENIED));
    EXPECT_EQ(status(LDAP_CONSTRAINT_VIOLATION, "0000052D: Constraint violation - check_password_restrictions",
                     Operation::SetPassword), NERR_PasswordTooShort);
    EXPECT_EQ(status(LDAP_ALREADY_EXISTS, "", Operation::AddLocalGroup), ERROR_ALIAS_EXISTS);
    EXPECT_EQ(status(LDAP_TYPE_OR_VALUE_EXISTS, "", Operation::AddGlobalMember), NERR_UserInGroup);
    EXPECT_EQ(status(LDAP_ALREADY_EXISTS, "", Operation::AddLocalMember), ERROR_MEMBER_IN_ALIAS);
    EXPECT_EQ(status(LDAP_UNWILLING_TO_PERFORM, "", Operation::DeleteLocalMember), ERROR_MEMBER_NOT_IN_ALIAS);
    EXPECT_EQ(status(LDAP_NO_SUCH_ATTRIBUTE, "", Operation::DeleteGlobalMember), NERR_UserNotInGroup);
    EXPECT_EQ(status(LDAP_NO_SUCH_OBJECT, "00000525: no such user", Operation::AddLocalMember), ERROR_NO_SUCH_MEMBER);
    EXPECT_EQ(status(LDAP_STRONG_AUTH_REQUIRED, "", Operation::Bind), ERROR_TRUST_FAILURE);
    EXPECT_EQ(status(LDAP_OTHER, "something else", Operation::Change), NERR_InternalError);
}

}  // namespace
}  // namespace directory
