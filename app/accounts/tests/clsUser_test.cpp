#include "AccountsTest.h"
#include "status/modSAM.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr uint32_t kLocked = UF_LOCKOUT;
// 2030-06-01 12:00:00 and the same day at midnight.
constexpr int32_t kJuneNoon = 1906545600;
constexpr int32_t kJuneMidnight = 1906502400;

std::vector<uint8_t> someLogonHours() {
    std::vector<uint8_t> hours(21, 0);
    hours[0] = 0x0F;
    hours[20] = 0x80;
    return hours;
}

// ann: every property set to something other than its default.
samworld::UserRecord ann() {
    samworld::UserRecord record;
    record.name = "ann";
    record.password = "secret-1";
    record.fullName = "Ann Smith";
    record.comment = "Accounts";
    record.usrComment = "Back in May";
    record.homeDir = "\\\\FILES\\ann";
    record.homeDirDrive = "H:";
    record.scriptPath = "logon.cmd";
    record.profile = "\\\\FILES\\profiles\\ann";
    record.workstations = "PC1,PC2";
    // Besides the flags the object handles, two it does not: an update keeps them.
    record.flags = UF_SCRIPT | UF_NORMAL_ACCOUNT | UF_ACCOUNTDISABLE | UF_PASSWD_CANT_CHANGE |
                   UF_PASSWD_NOTREQD | UF_HOMEDIR_REQUIRED;
    record.acctExpires = kJuneNoon;
    record.passwordExpired = 1;
    record.logonHours = someLogonHours();
    return record;
}

class UserObject : public AccountsTest {
protected:
    void buildWorld() override {
        world().addUser("CORP", ann());
        world().addUser("CORP", "bob", withPassword("secret-1"));
        world().addGroup("CORP", "Sales", samworld::GroupKind::Global);
    }

    Details detailsOf(const std::string &name) {
        Details details;
        EXPECT_FALSE(user().GetDetails(name, details)) << errors().ErrList();
        return details;
    }
    bool update(const std::string &name, const Details &details) {
        return user().Update(name, details);
    }
};

Details with(std::initializer_list<std::pair<std::string, DetailValue>> items) {
    Details details;
    for (const auto &[key, value] : items)
        details.Add(key, value);
    return details;
}

TEST_F(UserObject, GetDetailsReadsTheAccountInItsOrder) {
    const Details details = detailsOf("ANN");
    std::vector<std::string> keys;
    for (const auto &entry : details)
        keys.push_back(entry.first);
    EXPECT_THAT(
        keys,
        ElementsAre("UserName", "HomeDirectory", "FullName", "ScriptPath", "PasswordChangeNext",
                    "Profile", "Comment", "UserComment", "AccountExpires", "PasswordCannotChange",
                    "PasswordNeverExpires", "AccountDisabled", "AccountLocked", "BadPasswordCount",
                    "HomeDirDrive", "LastLogon", "LastLogoff", "LogonHours", "PasswordAge"));
    // The store's spelling of the name, not the caller's.
    EXPECT_EQ(TextOf(details.Item("UserName")), "ann");
    EXPECT_EQ(TextOf(details.Item("FullName")), "Ann Smith");
    EXPECT_EQ(TextOf(details.Item("HomeDirDrive")), "H:");
    EXPECT_EQ(TextOf(details.Item("AccountExpires")), "2030-06-01 12:00:00");
    EXPECT_EQ(TextOf(details.Item("LastLogon")), "1970-01-01");
    EXPECT_EQ(LongOf(details.Item("PasswordChangeNext")), 1);
    EXPECT_TRUE(BooleanOf(details.Item("AccountDisabled")));
    EXPECT_TRUE(BooleanOf(details.Item("PasswordCannotChange")));
    EXPECT_FALSE(BooleanOf(details.Item("PasswordNeverExpires")));
    EXPECT_FALSE(BooleanOf(details.Item("AccountLocked")));
    EXPECT_EQ(BytesOf(details.Item("LogonHours")).items(), someLogonHours());
    EXPECT_EQ(TextOf(detailsOf("bob").Item("AccountExpires")), "1969-12-31 23:59:59");
}

TEST_F(UserObject, GetDetailsFailureLeavesTheCallersCollection) {
    Details details = with({{"Comment", std::string("kept")}});
    EXPECT_TRUE(user().GetDetails("zed", details));
    EXPECT_EQ(errors().Number(), 17);
    EXPECT_EQ(errors().Description(), "User not found: zed");

    failCalls("NetUserGetInfo", 5);
    EXPECT_TRUE(user().GetDetails("ann", details));
    EXPECT_EQ(errors().Description(), "Failed to get user details from SAM: " + StatusMessage(5));
    EXPECT_EQ(details.Count(), 1);
    EXPECT_EQ(TextOf(details.Item("Comment")), "kept");
}

TEST_F(UserObject, UpdateWritesOnlyThePresentKeys) {
    ASSERT_FALSE(update("Ann", with({{"FullName", std::string("Ann Jones")}})))
        << errors().ErrList();

    samworld::UserRecord expected = ann();
    expected.fullName = "Ann Jones";
    const samworld::UserRecord now = samUser("ann");
    EXPECT_EQ(now.fullName, "Ann Jones");
    EXPECT_EQ(now.comment, expected.comment);
    EXPECT_EQ(now.usrComment, expected.usrComment);
    EXPECT_EQ(now.homeDir, expected.homeDir);
    EXPECT_EQ(now.homeDirDrive, expected.homeDirDrive);
    EXPECT_EQ(now.scriptPath, expected.scriptPath);
    EXPECT_EQ(now.profile, expected.profile);
    EXPECT_EQ(now.logonHours, expected.logonHours);
    EXPECT_TRUE(world().passwordMatches("CORP", "ann", "secret-1"));
    // An update never lifts the restriction to certain workstations.
    EXPECT_EQ(now.workstations, "PC1,PC2");
}

TEST_F(UserObject, UpdateAlwaysWritesFlagsExpiryAndPasswordExpiredAsTheyAre) {
    countCalls("NetUserSetInfo");
    ASSERT_FALSE(update("ann", Details())) << errors().ErrList();
    EXPECT_EQ(callsOf("NetUserSetInfo"), 1);

    const samworld::UserRecord now = samUser("ann");
    EXPECT_EQ(now.flags, ann().flags);
    EXPECT_EQ(now.acctExpires, static_cast<uint32_t>(kJuneNoon));
    EXPECT_EQ(now.passwordExpired, 1u);
}

TEST_F(UserObject, UpdateTakesFlagsExpiryAndPasswordExpiredFromTheDetails) {
    ASSERT_FALSE(update("ann", with({{"AccountDisabled", 0},
                                     {"PasswordNeverExpires", std::string("True")},
                                     {"PasswordChangeNext", 0},
                                     {"AccountExpires", std::string("2030-06-01")}})))
        << errors().ErrList();

    const samworld::UserRecord now = samUser("ann");
    EXPECT_EQ(now.flags, (ann().flags & ~UF_ACCOUNTDISABLE) | UF_DONT_EXPIRE_PASSWD);
    EXPECT_EQ(now.acctExpires, static_cast<uint32_t>(kJuneMidnight));
    EXPECT_EQ(now.passwordExpired, 0u);
}

TEST_F(UserObject, ALockedAccountStaysLockedUnlessTheDetailsUnlockIt) {
    // ann's alone: a locked caller could change nothing.
    world().database().execute(
        "UPDATE users SET flags = flags | 16 WHERE account_id = "
        "(SELECT id FROM accounts WHERE name = 'ann')");
    ASSERT_TRUE(samUser("ann").flags & kLocked);

    ASSERT_FALSE(update("ann", with({{"FullName", std::string("Ann")}})));
    EXPECT_TRUE(samUser("ann").flags & kLocked);
    ASSERT_FALSE(update("ann", with({{"AccountLocked", true}})));
    EXPECT_TRUE(samUser("ann").flags & kLocked);
    ASSERT_FALSE(update("ann", with({{"AccountLocked", 0}})));
    EXPECT_FALSE(samUser("ann").flags & kLocked);
    ASSERT_FALSE(update("ann", with({{"AccountLocked", true}})));
    EXPECT_FALSE(samUser("ann").flags & kLocked);
}

TEST_F(UserObject, NeverReadsAsTheLastSecondOf1969AndWritesBackAsMinusOne) {
    const DetailValue never = detailsOf("bob").Item("AccountExpires");
    const DetailValue june = detailsOf("ann").Item("AccountExpires");
    ASSERT_FALSE(update("ann", with({{"AccountExpires", never}}))) << errors().ErrList();
    EXPECT_EQ(samUser("ann").acctExpires, TIMEQ_FOREVER);

    // What GetDetails shows, written back, is the same moment.
    ASSERT_FALSE(update("bob", with({{"AccountExpires", june}})));
    EXPECT_EQ(samUser("bob").acctExpires, static_cast<uint32_t>(kJuneNoon));
}

TEST_F(UserObject, AnInvalidDateWritesNothing) {
    countCalls("NetUserSetInfo");
    for (const std::string text : {"abc", "2030-02-31", "1969-12-31 23:59:58",
                                   "2038-01-19 03:14:08", "2106-02-07 06:28:15"}) {
        errors().Refresh();
        EXPECT_TRUE(
            update("ann", with({{"FullName", std::string("Changed")}, {"AccountExpires", text}})));
        EXPECT_EQ(errors().Number(), 17) << text;
        EXPECT_EQ(errors().ErrList(), "Invalid date specified " + text + "\n\r");
    }
    EXPECT_EQ(callsOf("NetUserSetInfo"), 0);
    EXPECT_EQ(samUser("ann").fullName, "Ann Smith");

    // A date value the field cannot hold fails in the same way.
    const DateTime beyond =
        AccountTimeOf(std::numeric_limits<int32_t>::max()) + std::chrono::hours(24 * 366);
    EXPECT_TRUE(update("ann", with({{"AccountExpires", beyond}})));
    EXPECT_EQ(errors().Description(), "Invalid date specified 2039-01-20 03:14:07");
    EXPECT_EQ(callsOf("NetUserSetInfo"), 0);
}

TEST_F(UserObject, UpdateReportsAMissingUserAndARefusal) {
    EXPECT_TRUE(update("zed", Details()));
    EXPECT_EQ(errors().Description(), "User not found: zed");

    failCalls("NetUserSetInfo", 5);
    EXPECT_TRUE(update("ANN", with({{"Comment", std::string("x")}})));
    EXPECT_EQ(errors().Number(), 17);
    EXPECT_EQ(errors().Description(), "Failed to update user 'ann' in SAM: " + StatusMessage(5));
}

// The lists show what the store keeps beside each name: it must follow every write.
TEST_F(UserObject, TheStoresColumnsFollowTheLoadUpdatesAndAdds) {
    UserColumns columns = user().Columns("ANN").value();
    EXPECT_EQ(columns.FullName, "Ann Smith");
    EXPECT_EQ(columns.Comment, "Accounts");
    EXPECT_TRUE(columns.AccountDisabled());
    EXPECT_FALSE(columns.PasswordNeverExpires());

    ASSERT_FALSE(update("ann", with({{"FullName", std::string("Ann Jones")},
                                     {"AccountDisabled", false},
                                     {"PasswordNeverExpires", true}})))
        << errors().ErrList();
    columns = user().Columns("ann").value();
    EXPECT_EQ(columns.FullName, "Ann Jones");
    EXPECT_EQ(columns.Comment, "Accounts") << "a key left out keeps its value";
    EXPECT_FALSE(columns.AccountDisabled());
    EXPECT_TRUE(columns.PasswordNeverExpires());

    failCalls("NetUserSetInfo", 5);
    EXPECT_TRUE(update("ann", with({{"Comment", std::string("refused")}})));
    EXPECT_EQ(user().Columns("ann").value().Comment, "Accounts");

    ASSERT_FALSE(user().Add(with({{"UserName", std::string("carl")},
                                  {"Password", std::string("secret-2")},
                                  {"FullName", std::string("Carl Ek")}})))
        << errors().ErrList();
    columns = user().Columns("carl").value();
    EXPECT_EQ(columns.FullName, "Carl Ek");
    EXPECT_TRUE(columns.PasswordNeverExpires()) << "the new user's default";
    EXPECT_EQ(user().Columns("nobody"), std::nullopt);
}

TEST_F(UserObject, AddWithNameAndPasswordGivesTheNewUserDefaults) {
    ASSERT_FALSE(user().Add(
        with({{"UserName", std::string("carl")}, {"Password", std::string("secret-2")}})))
        << errors().ErrList();

    EXPECT_TRUE(storeHasUser("carl"));
    const samworld::UserRecord carl = samUser("carl");
    EXPECT_EQ(carl.logonHours, std::vector<uint8_t>(21, 0xFF));
    EXPECT_EQ(carl.acctExpires, TIMEQ_FOREVER);
    EXPECT_EQ(carl.flags &
                  (UF_DONT_EXPIRE_PASSWD | UF_ACCOUNTDISABLE | UF_PASSWD_CANT_CHANGE | UF_LOCKOUT),
              static_cast<uint32_t>(UF_DONT_EXPIRE_PASSWD));
    EXPECT_EQ(carl.comment, "");
    EXPECT_EQ(carl.usrComment, "");
    EXPECT_EQ(carl.workstations, "");
    EXPECT_EQ(carl.passwordExpired, 0u);
    EXPECT_TRUE(world().passwordMatches("CORP", "carl", "secret-2"));
}

TEST_F(UserObject, AddUsesTheDefaultsUntilTheyAreReset) {
    user().def_Comment = "Temporary staff";
    user().def_AccountDisabled = true;
    user().def_AccountExpires = kJuneNoon;
    ASSERT_FALSE(user().Add(with({{"UserName", std::string("carl")},
                                  {"Password", std::string("secret-2")},
                                  {"AccountExpires", std::string("2030-06-01")}})));
    EXPECT_EQ(samUser("carl").comment, "Temporary staff");
    EXPECT_TRUE(samUser("carl").flags & UF_ACCOUNTDISABLE);
    EXPECT_EQ(samUser("carl").acctExpires, static_cast<uint32_t>(kJuneMidnight));

    user().ResetDefaults();
    ASSERT_FALSE(user().Add(
        with({{"UserName", std::string("dora")}, {"Password", std::string("secret-2")}})));
    EXPECT_EQ(samUser("dora").comment, "");
    EXPECT_FALSE(samUser("dora").flags & UF_ACCOUNTDISABLE);
    EXPECT_EQ(samUser("dora").acctExpires, TIMEQ_FOREVER);
}

TEST_F(UserObject, AddThatTheSAMRefusesLeavesNoRow) {
    world().setMinPasswordLength("CORP", 8);
    EXPECT_TRUE(
        user().Add(with({{"UserName", std::string("carl")}, {"Password", std::string("short")}})));
    EXPECT_THAT(errors().Description(), HasSubstr("Failed to create user 'carl' in SAM: "));
    EXPECT_FALSE(storeHasUser("carl"));
    EXPECT_FALSE(world().hasAccount("CORP", "carl"));

    // The row can be added again once the SAM accepts.
    ASSERT_FALSE(user().Add(
        with({{"UserName", std::string("carl")}, {"Password", std::string("long-enough")}})));
    EXPECT_TRUE(storeHasUser("carl"));
}

TEST_F(UserObject, AddWithoutANameOrWithABadValueCreatesNothing) {
    countCalls("NetUserAdd");
    EXPECT_TRUE(user().Add(with({{"Password", std::string("secret-2")}})));
    EXPECT_EQ(errors().Number(), 17);
    EXPECT_EQ(errors().Description(), "Username not supplied.");

    EXPECT_TRUE(user().Add(
        with({{"UserName", std::string("carl")}, {"LogonHours", ByteArray{0xFF, 0xFF}}})));
    EXPECT_EQ(errors().Description(), "Subscript out of range");
    EXPECT_EQ(callsOf("NetUserAdd"), 0);
    EXPECT_FALSE(storeHasUser("carl"));
}

TEST_F(UserObject, RemoveDeletesTheRowOnlyAfterTheSAM) {
    failCalls("NetUserDel", 5);
    EXPECT_TRUE(user().Remove("bob"));
    EXPECT_EQ(errors().Description(), "Failed to delete user 'bob' in SAM: " + StatusMessage(5));
    EXPECT_TRUE(storeHasUser("bob"));

    world().clearFaults();
    ASSERT_FALSE(user().Remove("BOB")) << errors().ErrList();
    EXPECT_FALSE(storeHasUser("bob"));
    EXPECT_FALSE(world().hasAccount("CORP", "bob"));
    EXPECT_TRUE(user().Remove("bob"));
    EXPECT_EQ(errors().Description(), "User not found: bob");
}

// Another program holds the local copy while the SAM accepts changes: the snapshot cannot
// follow, and the administrator is told so plainly and warned that it is out of step.
TEST_F(UserObject, AChangeTheLocalCopyCannotFollowIsReportedPlainlyAndOutOfStep) {
    const Database otherProgram(data().WorkingPath());
    otherProgram.execute("BEGIN IMMEDIATE");

    OutOfStep = false;
    EXPECT_TRUE(user().Remove("bob"));
    EXPECT_FALSE(world().hasAccount("CORP", "bob"));
    EXPECT_EQ(errors().Description(), "User 'bob' was deleted from the SAM, but the local copy "
                                      "could not be updated: another program is using it.");
    EXPECT_TRUE(OutOfStep);

    OutOfStep = false;
    EXPECT_TRUE(user().AddToGroups("ann", std::vector<std::string>{"Sales"}));
    EXPECT_THAT(world().members("CORP", "Sales"), ElementsAre("ann"));
    EXPECT_EQ(errors().Description(), "User 'ann' was added to SAM group 'Sales', but the local "
                                      "copy could not be updated: another program is using it.");
    EXPECT_TRUE(OutOfStep);
}

TEST_F(UserObject, ExistsForUsersAndGroupsAlike) {
    EXPECT_TRUE(user().Exists("BOB"));
    EXPECT_TRUE(user().Exists("sales"));
    EXPECT_FALSE(user().Exists("zed"));
}

TEST_F(UserObject, GetAllListsTheStoreInNameOrder) {
    NameArray names;
    EXPECT_FALSE(user().GetAll(names));
    EXPECT_THAT(names.items(), ElementsAre("Administrator", "ann", "bob", "Guest"));
    EXPECT_EQ(names.Item(1), "Administrator");

    user().DataSource()->execute("DELETE FROM User");
    EXPECT_FALSE(user().GetAll(names));
    EXPECT_EQ(names.Count(), 0);
}

TEST_F(UserObject, OperationsBeforeOpenDataFailAndAreRecorded) {
    user().CloseData();
    Details details;
    EXPECT_TRUE(user().GetDetails("ann", details));
    EXPECT_EQ(errors().Description(), "The account data is not open");
    EXPECT_FALSE(user().OpenData());
    EXPECT_FALSE(user().GetDetails("ann", details));
}

// Names that would change the meaning of a query if they were written into its text.
class NamesLikeSQL : public AccountsTest {
protected:
    void buildWorld() override { world().addUser("CORP", "ann", withPassword("secret-1")); }
};

TEST_F(NamesLikeSQL, AreHandledAsPlainNames) {
    for (const std::string name : {"O'Neil", "x' OR 'a' LIKE 'a"}) {
        EXPECT_FALSE(user().Exists(name)) << name;
        Details details;
        EXPECT_TRUE(user().GetDetails(name, details));
        EXPECT_EQ(errors().Description(), "User not found: " + name);

        ASSERT_FALSE(user().Add(with({{"UserName", name}, {"Password", std::string("pw-12345")}})))
            << errors().ErrList();
        EXPECT_TRUE(user().Exists(name));
        EXPECT_FALSE(user().GetDetails(name, details)) << errors().ErrList();
        EXPECT_EQ(TextOf(details.Item("UserName")), name);
        ASSERT_FALSE(user().Update(name, with({{"FullName", std::string("Quoted")}})));
        EXPECT_EQ(samUser(name).fullName, "Quoted");
        ASSERT_FALSE(user().Remove(name)) << errors().ErrList();
        EXPECT_FALSE(storeHasUser(name));
    }
    EXPECT_TRUE(storeHasUser("ann"));
}

}  // namespace
