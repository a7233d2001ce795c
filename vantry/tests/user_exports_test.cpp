// The user exports against small worlds: records written and read, and left alone on failure.
#include "vantry.h"

#include "caller_records.hpp"
#include "lm.h"
#include "world_fixture.hpp"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

using vantry_test::CallerUserRecord;

class UserExportsTest : public vantry_test::WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        useLocalController();
    }

    void addAnn() {
        samworld::UserOptions options;
        options.fullName = "Ann Archer";
        options.comment = "Accounts";
        world().addUser(kDomain, "ann", options);
    }
};

// A record with every writable field set, as the program fills one for a new user.
struct NewUser {
    NewUser() {
        hours.fill(0);
        hours[0] = 0xF0;
        hours[20] = 0x0F;
        record.name = name;
        record.password = password;
        record.home_dir = homeDir;
        record.comment = comment;
        record.flags = UF_SCRIPT | UF_DONT_EXPIRE_PASSWD;
        record.script_path = script;
        record.full_name = fullName;
        record.usr_comment = usrComment;
        record.workstations = workstations;
        record.acct_expires = 1893456000;
        record.logon_hours = hours.data();
        record.profile = profile;
        record.home_dir_drive = drive;
        record.password_expired = 1;
    }
    char name[8] = "ann";
    char password[16] = "Tr0ub4dor&3";
    char homeDir[32] = "\\\\ALDER\\home\\ann";
    char comment[16] = "Accounts";
    char script[16] = "logon.cmd";
    char fullName[32] = "Ann \xC3\x85kesson";
    char usrComment[16] = "Desk 4";
    char workstations[16] = "OAK,ELM";
    char profile[32] = "\\\\ALDER\\profiles\\ann";
    char drive[4] = "H:";
    std::array<uint8_t, 21> hours{};
    UserRecord record{};
};

TEST_F(UserExportsTest, CreatedUserReadsBackWithEveryWrittenField) {
    NewUser user;
    ASSERT_EQ(CreateUser("", &user.record), 0u);
    EXPECT_TRUE(world().passwordMatches(kDomain, "ann", "Tr0ub4dor&3"));

    CallerUserRecord read;
    ASSERT_EQ(GetUserInfo("", "ann", &read.record), 0u);
    EXPECT_STREQ(read.record.name, "ann");
    EXPECT_STREQ(read.record.home_dir, user.homeDir);
    EXPECT_STREQ(read.record.comment, "Accounts");
    EXPECT_STREQ(read.record.script_path, "logon.cmd");
    EXPECT_STREQ(read.record.full_name, "Ann \xC3\x85kesson");
    EXPECT_STREQ(read.record.usr_comment, "Desk 4");
    EXPECT_STREQ(read.record.workstations, "OAK,ELM");
    EXPECT_STREQ(read.record.profile, user.profile);
    EXPECT_STREQ(read.record.home_dir_drive, "H:");
    EXPECT_TRUE(vantry_test::isBlank(read.buffers[1])) << "no password is ever read back";
    EXPECT_EQ(read.record.flags & (UF_SCRIPT | UF_DONT_EXPIRE_PASSWD),
              static_cast<uint32_t>(UF_SCRIPT | UF_DONT_EXPIRE_PASSWD));
    EXPECT_EQ(read.record.acct_expires, 1893456000);
    EXPECT_EQ(read.record.password_expired, 1u);
    EXPECT_EQ(read.hours, user.hours);
}

TEST_F(UserExportsTest, GetUserInfoSkipsNullTextFields) {
    addAnn();
    CallerUserRecord read;
    read.record.full_name = nullptr;
    ASSERT_EQ(GetUserInfo("", "ann", &read.record), 0u);
    EXPECT_EQ(read.record.full_name, nullptr);
    EXPECT_TRUE(vantry_test::isBlank(read.buffers[5]));
    EXPECT_STREQ(read.record.comment, "Accounts");
    EXPECT_STREQ(read.record.name, "ann");
}

TEST_F(UserExportsTest, FailedReadLeavesTheWholeRecordAsItWas) {
    CallerUserRecord read;
    read.record.flags = 77;
    read.record.acct_expires = 12;
    EXPECT_EQ(GetUserInfo("", "nobody", &read.record), static_cast<uint32_t>(NERR_UserNotFound));
    EXPECT_TRUE(read.buffersUntouched());
    EXPECT_EQ(read.record.flags, 77u);
    EXPECT_EQ(read.record.acct_expires, 12);
    EXPECT_EQ(read.hours[0], 0x5A);
}

// A controller may hold texts longer than a record field: such an account can still be read
// and changed, and its long text survives every update that does not change it.
TEST_F(UserExportsTest, ALongTextIsReadCutAndMarkedAndNeverWrittenBackCut) {
    samworld::UserRecord wordy;
    wordy.name = "bob";
    wordy.fullName = "Bob Long";
    for (int i = 0; i < 130; ++i) wordy.comment += "\xC3\xA9";  // 260 bytes: no room in 256
    world().addUser(kDomain, wordy);

    CallerUserRecord read;
    ASSERT_EQ(GetUserInfo("", "bob", &read.record), 0u);
    std::string shown;
    for (int i = 0; i < 126; ++i) shown += "\xC3\xA9";
    EXPECT_EQ(std::string(read.record.comment), shown + "\xE2\x80\xA6");
    EXPECT_STREQ(read.record.full_name, "Bob Long");

    // Everything sent back as it was read, with a new password: the comment stays whole.
    char password[] = "Sea-salt-9";
    read.record.password = password;
    ASSERT_EQ(SetUserInfo("", "bob", &read.record), 0u);
    EXPECT_EQ(world().user(kDomain, "bob").comment, wordy.comment);
    EXPECT_TRUE(world().passwordMatches(kDomain, "bob", "Sea-salt-9"));

    char changed[] = "Shorter now";
    read.record.comment = changed;
    ASSERT_EQ(SetUserInfo("", "bob", &read.record), 0u);
    EXPECT_EQ(world().user(kDomain, "bob").comment, "Shorter now");
}

TEST_F(UserExportsTest, SetUserInfoKeepsTheAccountsOwnPrimaryGroup) {
    addAnn();
    world().addGroup(kDomain, "Rowers", samworld::GroupKind::Global);
    world().addMember(kDomain, "Rowers", "ann");
    // Another administrator makes Rowers her primary group and takes her out of Domain Users.
    samworld::UserUpdate primary;
    primary.primaryGroupId = sam(kDomain).find("Rowers")->rid;
    sam(kDomain).updateUser("ann", primary);
    world().deleteMember(kDomain, "Domain Users", "ann");

    char comment[] = "Moved to the boathouse";
    UserRecord change{};
    change.comment = comment;
    change.flags = UF_SCRIPT;
    change.acct_expires = -1;
    ASSERT_EQ(SetUserInfo("", "ann", &change), 0u);
    EXPECT_EQ(world().user(kDomain, "ann").comment, "Moved to the boathouse");
    EXPECT_EQ(world().user(kDomain, "ann").primaryGroupId, *primary.primaryGroupId);
}

TEST_F(UserExportsTest, SetUserInfoWithOnlyNumbersLeavesEveryTextAndTheHoursUnchanged) {
    addAnn();
    const samworld::UserRecord before = world().user(kDomain, "ann");

    UserRecord numbersOnly{};
    numbersOnly.flags = UF_SCRIPT | UF_ACCOUNTDISABLE;
    numbersOnly.acct_expires = 1700000000;
    numbersOnly.password_expired = 1;
    ASSERT_EQ(SetUserInfo("", "ann", &numbersOnly), 0u);

    const samworld::UserRecord after = world().user(kDomain, "ann");
    EXPECT_EQ(after.fullName, "Ann Archer");
    EXPECT_EQ(after.comment, "Accounts");
    EXPECT_EQ(after.homeDir, before.homeDir);
    EXPECT_EQ(after.logonHours, before.logonHours);
    EXPECT_EQ(after.flags & UF_ACCOUNTDISABLE, static_cast<uint32_t>(UF_ACCOUNTDISABLE));
    EXPECT_EQ(after.acctExpires, 1700000000u);
    EXPECT_EQ(after.passwordExpired, 1u);
}

TEST_F(UserExportsTest, SetUserInfoChangesThePresentTextsOfTheNamedUser) {
    addAnn();
    char fullName[] = "Ann Baker";
    UserRecord change{};
    change.full_name = fullName;
    change.flags = UF_SCRIPT;
    change.acct_expires = -1;
    ASSERT_EQ(SetUserInfo("", "ann", &change), 0u);
    EXPECT_EQ(world().user(kDomain, "ann").fullName, "Ann Baker");
    EXPECT_EQ(world().user(kDomain, "ann").comment, "Accounts");
    EXPECT_EQ(SetUserInfo("", "nobody", &change), static_cast<uint32_t>(NERR_UserNotFound));
}

TEST_F(UserExportsTest, TextThatCannotBeSentWholeChangesNoAccount) {
    world().addUser(kDomain, "ann");
    EXPECT_EQ(DeleteUser("", "ann\xFF"), static_cast<uint32_t>(ERROR_NO_UNICODE_TRANSLATION));
    EXPECT_TRUE(world().hasAccount(kDomain, "ann"));

    NewUser user;
    std::string longComment(256, 'c');
    user.record.comment = longComment.data();
    user.record.name[0] = 'b';
    EXPECT_EQ(CreateUser("", &user.record), static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(world().hasAccount(kDomain, "bnn"));

    EXPECT_EQ(GetUserInfo("", "ann", nullptr), static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(SetUserInfo("", "ann", nullptr), static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
}

TEST_F(UserExportsTest, DeleteUserRemovesTheAccountAndReportsAMissingOne) {
    world().addUser(kDomain, "ann");
    ASSERT_EQ(DeleteUser("", "ann"), 0u);
    EXPECT_FALSE(world().hasAccount(kDomain, "ann"));
    EXPECT_EQ(DeleteUser("", "ann"), static_cast<uint32_t>(NERR_UserNotFound));
}

}  // namespace
