// The UserRecord mapping to and from the platform's level-3 user information.
#include "user_record.hpp"

#include "caller_records.hpp"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

using vantry::PlatformUserInfo;
using vantry_test::CallerUserRecord;

USER_INFO_3 platformUser(char16_t *name, char16_t *fullName) {
    USER_INFO_3 info{};
    info.usri3_name = name;
    info.usri3_full_name = fullName;
    info.usri3_home_dir = const_cast<char16_t *>(u"\\\\ALDER\\home\\ann");
    info.usri3_comment = const_cast<char16_t *>(u"");
    info.usri3_password_age = 3600;
    info.usri3_flags = UF_SCRIPT | UF_DONT_EXPIRE_PASSWD;
    info.usri3_last_logon = 1700000000;
    info.usri3_last_logoff = 1700003600;
    info.usri3_acct_expires = TIMEQ_FOREVER;
    info.usri3_bad_pw_count = 2;
    info.usri3_password_expired = 1;
    return info;
}

TEST(ReadUserRecord, FillsPresentFieldsAndSkipsNullOnes) {
    std::u16string name = u"ann", fullName = u"Ann Archer";
    std::array<uint8_t, vantry::kLogonHoursBytes> hours{};
    hours[0] = 0x0F;
    USER_INFO_3 info = platformUser(name.data(), fullName.data());
    info.usri3_logon_hours = hours.data();

    CallerUserRecord caller;
    caller.record.full_name = nullptr;
    ASSERT_EQ(vantry::readUserRecord(info, caller.record), 0u);

    EXPECT_STREQ(caller.record.name, "ann");
    EXPECT_EQ(caller.record.full_name, nullptr);
    EXPECT_STREQ(caller.record.home_dir, "\\\\ALDER\\home\\ann");
    EXPECT_STREQ(caller.record.comment, "");
    EXPECT_EQ(caller.record.password[0], ' ') << "the platform returns no password";
    EXPECT_EQ(caller.record.password_age, 3600u);
    EXPECT_EQ(caller.record.flags, static_cast<uint32_t>(UF_SCRIPT | UF_DONT_EXPIRE_PASSWD));
    EXPECT_EQ(caller.record.last_logon, 1700000000);
    EXPECT_EQ(caller.record.last_logoff, 1700003600);
    EXPECT_EQ(caller.record.acct_expires, -1);
    EXPECT_EQ(caller.record.bad_pw_count, 2u);
    EXPECT_EQ(caller.record.password_expired, 1u);
    EXPECT_EQ(caller.hours, hours);
}

TEST(ReadUserRecord, UnsetPlatformHoursAllowEveryHourAndANullHoursFieldIsSkipped) {
    std::u16string name = u"ann", fullName = u"Ann";
    const USER_INFO_3 info = platformUser(name.data(), fullName.data());

    CallerUserRecord caller;
    ASSERT_EQ(vantry::readUserRecord(info, caller.record), 0u);
    for (const uint8_t hour : caller.hours) EXPECT_EQ(hour, 0xFF);

    caller.record.logon_hours = nullptr;
    EXPECT_EQ(vantry::readUserRecord(info, caller.record), 0u);
}

TEST(PlatformUserInfo, SendsPresentTextsTheFourNumbersAndTheFixedValues) {
    std::array<uint8_t, vantry::kLogonHoursBytes> hours{};
    char name[] = "ann", fullName[] = "Ann Archer";
    UserRecord record{};
    record.name = name;
    record.full_name = fullName;
    record.password_age = 99;
    record.flags = UF_SCRIPT | UF_ACCOUNTDISABLE;
    record.last_logon = 5;
    record.bad_pw_count = 7;
    record.acct_expires = -1;
    record.logon_hours = hours.data();
    record.password_expired = 1;

    PlatformUserInfo platform;
    ASSERT_EQ(platform.assign(record), 0u);
    const USER_INFO_3 &info = platform.info();
    EXPECT_EQ(std::u16string(info.usri3_name), u"ann");
    EXPECT_EQ(std::u16string(info.usri3_full_name), u"Ann Archer");
    EXPECT_EQ(info.usri3_password, nullptr);
    EXPECT_EQ(info.usri3_home_dir, nullptr);
    EXPECT_EQ(info.usri3_profile, nullptr);
    EXPECT_EQ(info.usri3_flags, static_cast<DWORD>(UF_SCRIPT | UF_ACCOUNTDISABLE));
    EXPECT_EQ(info.usri3_acct_expires, TIMEQ_FOREVER);
    EXPECT_EQ(info.usri3_logon_hours, hours.data());
    EXPECT_EQ(info.usri3_password_expired, 1u);
    // Not written: the platform keeps its own.
    EXPECT_EQ(info.usri3_password_age, 0u);
    EXPECT_EQ(info.usri3_last_logon, 0u);
    EXPECT_EQ(info.usri3_bad_pw_count, 0u);
    // Fixed values.
    EXPECT_EQ(info.usri3_priv, 0u);
    EXPECT_EQ(info.usri3_auth_flags, 0u);
    EXPECT_EQ(info.usri3_parms, nullptr);
    EXPECT_EQ(info.usri3_max_storage, USER_MAXSTORAGE_UNLIMITED);
    EXPECT_EQ(info.usri3_units_per_week, 168u);
    EXPECT_EQ(info.usri3_primary_group_id, 513u);
    EXPECT_EQ(info.usri3_logon_server, nullptr);
    EXPECT_EQ(info.usri3_user_id, 0u);
}

TEST(PlatformUserInfo, RefusesARecordTextThatCannotBeSentWhole) {
    std::string longComment(300, 'c');
    char badName[] = "ann\xFF";
    UserRecord record{};
    record.comment = longComment.data();
    PlatformUserInfo platform;
    EXPECT_EQ(platform.assign(record), static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
    record.comment = nullptr;
    record.name = badName;
    EXPECT_EQ(platform.assign(record), static_cast<uint32_t>(ERROR_NO_UNICODE_TRANSLATION));
}

}  // namespace
