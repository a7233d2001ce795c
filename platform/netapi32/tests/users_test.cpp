// NetUser*: what a level-3 write keeps and changes, what reads give back, and the statuses.
#include "net_fixture.h"

#include <fstream>
#include <iterator>

namespace nettest {
namespace {

class Users : public NetTest {
protected:
    // A level-3 record as a caller fills it, every text absent unless set.
    USER_INFO_3 record(const char16_t *name) {
        USER_INFO_3 info{};
        info.usri3_name = const_cast<LPWSTR>(name);
        info.usri3_flags = UF_SCRIPT;
        info.usri3_acct_expires = TIMEQ_FOREVER;
        info.usri3_max_storage = USER_MAXSTORAGE_UNLIMITED;
        info.usri3_units_per_week = UNITS_PER_WEEK;
        info.usri3_primary_group_id = DOMAIN_GROUP_RID_USERS;
        return info;
    }

    NET_API_STATUS add(const char16_t *server, USER_INFO_3 info) {
        DWORD parmErr = 0;
        return NetUserAdd(server, 3, reinterpret_cast<LPBYTE>(&info), &parmErr);
    }

    NET_API_STATUS set(const char16_t *server, const char16_t *user, USER_INFO_3 info) {
        return NetUserSetInfo(server, user, 3, reinterpret_cast<LPBYTE>(&info), nullptr);
    }

    NetBuffer buffer_;
    const USER_INFO_3 &get(const char16_t *server, const char16_t *user) {
        const auto status = NetUserGetInfo(server, user, 3, buffer_.out());
        EXPECT_EQ(status, NERR_Success);
        static const USER_INFO_3 none{};
        return buffer_.empty() ? none : *buffer_.as<USER_INFO_3>();
    }
};

TEST_F(Users, AddThenGetGivesEveryFieldBackButThePassword) {
    std::u16string password = u"Sunrise-7", full = u"Ann Archer", home = u"\\\\ALDER\\homes\\ann";
    USER_INFO_3 info = record(u"ann");
    info.usri3_password = password.data();
    info.usri3_full_name = full.data();
    info.usri3_home_dir = home.data();
    info.usri3_flags = UF_SCRIPT | UF_ACCOUNTDISABLE | UF_LOCKOUT;
    info.usri3_acct_expires = 1893456000;
    info.usri3_priv = USER_PRIV_ADMIN;
    ASSERT_EQ(add(u"ALDER", info), NERR_Success);

    const USER_INFO_3 &got = get(u"ALDER", u"ANN");
    EXPECT_EQ(narrow(got.usri3_name), "ann");
    EXPECT_EQ(got.usri3_password, nullptr);
    EXPECT_EQ(narrow(got.usri3_full_name), "Ann Archer");
    EXPECT_EQ(narrow(got.usri3_home_dir), "\\\\ALDER\\homes\\ann");
    EXPECT_EQ(narrow(got.usri3_comment), "");
    EXPECT_EQ(got.usri3_flags, DWORD{UF_SCRIPT | UF_ACCOUNTDISABLE | UF_NORMAL_ACCOUNT})
        << "a new account is a normal one, and a caller cannot lock it";
    EXPECT_EQ(got.usri3_acct_expires, 1893456000u);
    EXPECT_EQ(got.usri3_priv, DWORD{USER_PRIV_USER}) << "privilege follows Administrators membership";
    EXPECT_GE(got.usri3_user_id, 1000u);
    EXPECT_EQ(got.usri3_primary_group_id, DWORD{DOMAIN_GROUP_RID_USERS});
    EXPECT_EQ(got.usri3_units_per_week, DWORD{UNITS_PER_WEEK});
    for (int i = 0; i < 21; ++i) EXPECT_EQ(got.usri3_logon_hours[i], 0xFF);
    EXPECT_TRUE(world().passwordMatches("CORP", "ann", "Sunrise-7"));
    EXPECT_FALSE(world().passwordMatches("CORP", "ann", "sunrise-7"));
    EXPECT_EQ(world().members("CORP", "Domain Users").back(), "ann");
}

TEST_F(Users, PasswordsAreStoredOnlyAsSaltedHashes) {
    std::u16string password = u"Marmalade-Sky-42";
    USER_INFO_3 info = record(u"ann");
    info.usri3_password = password.data();
    ASSERT_EQ(add(u"ALDER", info), NERR_Success);
    ASSERT_EQ(add(u"OAK", info), NERR_Success);
    std::ifstream file(path(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(bytes.find("Marmalade-Sky-42"), std::string::npos);
    EXPECT_TRUE(world().passwordMatches("OAK", "ann", "Marmalade-Sky-42"));
}

TEST_F(Users, SetInfoLeavesAbsentTextAndHoursAndWritesNumbersAsGiven) {
    std::u16string full = u"Ann Archer", comment = u"Keeps the boats";
    USER_INFO_3 info = record(u"ann");
    info.usri3_full_name = full.data();
    info.usri3_comment = comment.data();
    std::vector<uint8_t> hours(21, 0x0F);
    info.usri3_logon_hours = hours.data();
    ASSERT_EQ(add(u"ALDER", info), NERR_Success);

    std::u16string profile = u"\\\\ALDER\\profiles\\ann";
    USER_INFO_3 change{};
    change.usri3_profile = profile.data();
    change.usri3_flags = UF_SCRIPT | UF_DONT_EXPIRE_PASSWD;
    change.usri3_acct_expires = 1900000000;
    change.usri3_password_expired = 1;
    change.usri3_priv = USER_PRIV_ADMIN;
    change.usri3_last_logon = 12345;
    change.usri3_bad_pw_count = 9;
    change.usri3_max_storage = USER_MAXSTORAGE_UNLIMITED;
    change.usri3_primary_group_id = DOMAIN_GROUP_RID_USERS;
    ASSERT_EQ(set(u"ALDER", u"ann", change), NERR_Success);

    const USER_INFO_3 &got = get(u"ALDER", u"ann");
    EXPECT_EQ(narrow(got.usri3_full_name), "Ann Archer");
    EXPECT_EQ(narrow(got.usri3_comment), "Keeps the boats");
    EXPECT_EQ(narrow(got.usri3_profile), "\\\\ALDER\\profiles\\ann");
    EXPECT_EQ(got.usri3_logon_hours[0], 0x0F);
    EXPECT_EQ(got.usri3_flags, DWORD{UF_SCRIPT | UF_DONT_EXPIRE_PASSWD | UF_NORMAL_ACCOUNT});
    EXPECT_EQ(got.usri3_acct_expires, 1900000000u);
    EXPECT_EQ(got.usri3_password_expired, 1u);
    EXPECT_EQ(got.usri3_priv, DWORD{USER_PRIV_USER});
    EXPECT_EQ(got.usri3_last_logon, 0u);
    EXPECT_EQ(got.usri3_bad_pw_count, 0u);
}

TEST_F(Users, ACallerMayClearALockoutButNeverSetOne) {
    samworld::UserRecord locked;
    locked.name = "ann";
    locked.flags = UF_SCRIPT | UF_NORMAL_ACCOUNT | UF_LOCKOUT;
    world().addUser("CORP", locked);
    addUser("CORP", "bob");

    USER_INFO_3 keep{};
    keep.usri3_flags = UF_SCRIPT | UF_NORMAL_ACCOUNT | UF_LOCKOUT;
    keep.usri3_primary_group_id = DOMAIN_GROUP_RID_USERS;
    ASSERT_EQ(set(u"ALDER", u"bob", keep), NERR_Success);
    EXPECT_EQ(get(u"ALDER", u"bob").usri3_flags & UF_LOCKOUT, 0u);
    ASSERT_EQ(set(u"ALDER", u"ann", keep), NERR_Success);
    EXPECT_NE(get(u"ALDER", u"ann").usri3_flags & UF_LOCKOUT, 0u);

    USER_INFO_3 unlock = keep;
    unlock.usri3_flags = UF_SCRIPT | UF_NORMAL_ACCOUNT;
    ASSERT_EQ(set(u"ALDER", u"ann", unlock), NERR_Success);
    EXPECT_EQ(get(u"ALDER", u"ann").usri3_flags & UF_LOCKOUT, 0u);
}

TEST_F(Users, PasswordPolicyAppliesToAddAndToChange) {
    world().setMinPasswordLength("CORP", 8);
    std::u16string shortPassword = u"tide", longPassword = u"high-tide";
    USER_INFO_3 info = record(u"ann");
    info.usri3_password = shortPassword.data();
    EXPECT_EQ(add(u"ALDER", info), DWORD{NERR_PasswordTooShort});
    info.usri3_password = nullptr;
    EXPECT_EQ(add(u"ALDER", info), DWORD{NERR_PasswordTooShort}) << "no password is an empty one";
    info.usri3_password = longPassword.data();
    ASSERT_EQ(add(u"ALDER", info), NERR_Success);
    EXPECT_EQ(add(u"OAK", record(u"ann")), NERR_Success) << "the policy is CORP's only";

    USER_INFO_3 change{};
    change.usri3_flags = UF_SCRIPT;
    change.usri3_primary_group_id = DOMAIN_GROUP_RID_USERS;
    change.usri3_password = shortPassword.data();
    EXPECT_EQ(set(u"ALDER", u"ann", change), DWORD{NERR_PasswordTooShort});
    EXPECT_TRUE(world().passwordMatches("CORP", "ann", "high-tide"));
}

TEST_F(Users, StatusesOfAddDeleteAndLookup) {
    world().addGroup("CORP", "Rowers", samworld::GroupKind::Global);
    world().addGroup("CORP", "Readers", samworld::GroupKind::Local);
    addUser("CORP", "ann");
    const struct {
        const char16_t *name;
        NET_API_STATUS status;
    } adds[] = {{u"ANN", NERR_UserExists},
                {u"rowers", NERR_GroupExists},
                {u"Readers", ERROR_ALIAS_EXISTS},
                {u"abcdefghijklmnopqrstu", NERR_BadUsername},
                {u"abcdefghijklmnopqrst", NERR_Success},
                {u"bad/name", NERR_BadUsername},
                {u"bad*name", NERR_BadUsername},
                {u"bad@name", NERR_BadUsername},
                {u"bad\"name", NERR_BadUsername},
                {u"...", NERR_BadUsername},
                {u"", NERR_BadUsername},
                {u"Ünal", NERR_Success},
                {u"ÜNAL", NERR_UserExists}};
    for (const auto &a : adds) EXPECT_EQ(add(u"ALDER", record(a.name)), a.status) << narrow(a.name);

    NetBuffer buffer;
    EXPECT_EQ(NetUserGetInfo(u"ALDER", u"nobody", 3, buffer.out()), DWORD{NERR_UserNotFound});
    EXPECT_TRUE(buffer.empty());
    EXPECT_EQ(NetUserGetInfo(u"ALDER", u"Rowers", 3, buffer.out()), DWORD{NERR_UserNotFound});
    EXPECT_EQ(set(u"ALDER", u"nobody", record(u"nobody")), DWORD{NERR_UserNotFound});
    EXPECT_EQ(NetUserDel(u"ALDER", u"nobody"), DWORD{NERR_UserNotFound});
    EXPECT_EQ(NetUserDel(u"ALDER", u"Administrator"), DWORD{ERROR_SPECIAL_ACCOUNT});
    EXPECT_EQ(NetUserDel(u"OAK", u"guest"), DWORD{ERROR_SPECIAL_ACCOUNT});
    EXPECT_EQ(NetUserDel(u"ALDER", u"Ann"), NERR_Success);
    EXPECT_FALSE(world().hasAccount("CORP", "ann"));
}

TEST_F(Users, UnknownLevelsAreRefusedBeforeAnyWork) {
    setenv("SAMWORLD", (folder() / "missing.db").c_str(), 1);
    NetBuffer buffer;
    DWORD read = 0, total = 0, resume = 0;
    EXPECT_EQ(NetUserEnum(u"", 1, 0, buffer.out(), 100, &read, &total, &resume), DWORD{ERROR_INVALID_LEVEL});
    EXPECT_EQ(NetUserGetInfo(u"", u"ann", 2, buffer.out()), DWORD{ERROR_INVALID_LEVEL});
    EXPECT_EQ(NetUserAdd(u"", 1, nullptr, nullptr), DWORD{ERROR_INVALID_LEVEL});
    EXPECT_EQ(NetUserSetInfo(u"", u"ann", 0, nullptr, nullptr), DWORD{ERROR_INVALID_LEVEL});
    EXPECT_EQ(NetUserGetGroups(u"", u"ann", 1, buffer.out(), 100, &read, &total), DWORD{ERROR_INVALID_LEVEL});
    EXPECT_EQ(NetUserGetInfo(u"", u"ann", 3, buffer.out()), DWORD{NERR_ACFNotLoaded})
        << "a valid level does reach the missing world";
}

TEST_F(Users, GetGroupsListsGlobalGroupsAndSaysWhenTheyDoNotFit) {
    addUser("CORP", "ann");
    for (const char *group : {"Rowers", "Sailors", "Walkers"}) {
        world().addGroup("CORP", group, samworld::GroupKind::Global);
        world().addMember("CORP", group, "ann");
    }
    NetBuffer buffer;
    DWORD read = 0, total = 0;
    ASSERT_EQ(NetUserGetGroups(u"ALDER", u"ann", 0, buffer.out(), MAX_PREFERRED_LENGTH, &read, &total),
              NERR_Success);
    ASSERT_EQ(read, 4u);
    EXPECT_EQ(narrow(buffer.as<GROUP_USERS_INFO_0>()[0].grui0_name), "Domain Users");
    EXPECT_EQ(narrow(buffer.as<GROUP_USERS_INFO_0>()[3].grui0_name), "Walkers");

    ASSERT_EQ(NetUserGetGroups(u"ALDER", u"ann", 0, buffer.out(), 60, &read, &total), DWORD{ERROR_MORE_DATA});
    EXPECT_GE(read, 1u);
    EXPECT_LT(read, 4u);
    EXPECT_EQ(total, 4u);
    EXPECT_EQ(NetUserGetGroups(u"ALDER", u"nobody", 0, buffer.out(), 1000, &read, &total),
              DWORD{NERR_UserNotFound});
}

TEST_F(Users, GetLocalGroupsFollowsGlobalGroupsOnlyWhenAskedTo) {
    addUser("CORP", "ann");
    world().addGroup("CORP", "Rowers", samworld::GroupKind::Global);
    world().addMember("CORP", "Rowers", "ann");
    world().addGroup("OAK", "Boathouse", samworld::GroupKind::Local);
    world().addMember("OAK", "Boathouse", "CORP\\Rowers");
    world().addGroup("OAK", "Kitchen", samworld::GroupKind::Local);
    world().addMember("OAK", "Kitchen", "CORP\\ann");

    const auto localGroups = [&](const char16_t *user, DWORD flags) {
        NetBuffer buffer;
        DWORD read = 0, total = 0;
        std::vector<std::string> names;
        const auto status = NetUserGetLocalGroups(u"OAK", user, 0, flags, buffer.out(),
                                                  MAX_PREFERRED_LENGTH, &read, &total);
        EXPECT_EQ(status, NERR_Success);
        for (DWORD i = 0; i < read; ++i) names.push_back(narrow(buffer.as<LOCALGROUP_USERS_INFO_0>()[i].lgrui0_name));
        return names;
    };
    EXPECT_EQ(localGroups(u"CORP\\ann", 0), std::vector<std::string>{"Kitchen"});
    EXPECT_EQ(localGroups(u"CORP\\ann", LG_INCLUDE_INDIRECT),
              (std::vector<std::string>{"Users", "Boathouse", "Kitchen"}));
    EXPECT_EQ(localGroups(u"ann", LG_INCLUDE_INDIRECT).size(), 3u) << "a bare name reaches the domain";

    NetBuffer buffer;
    DWORD read = 0, total = 0;
    EXPECT_EQ(NetUserGetLocalGroups(u"OAK", u"CORP\\nobody", 0, 0, buffer.out(), 1000, &read, &total),
              DWORD{NERR_UserNotFound});
    EXPECT_EQ(NetUserGetLocalGroups(u"OAK", u"ann", 0, 4, buffer.out(), 1000, &read, &total),
              DWORD{ERROR_INVALID_PARAMETER});
}

}  // namespace
}  // namespace nettest
