#include "status/modSAM.h"

#include "testing/WorldTest.h"

#include <gtest/gtest.h>

namespace {

const std::string kAccessDenied =
    "Access denied.\n\r\n\rSuggestion - ensure that the 'Domain Admins' global group is a member "
    "of the target SAM's local 'Administrators' group and log on to the target domain as a "
    "domain administrator.";

std::tm timeOfDay(int hour, int minute, int second) {
    std::tm time{};
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    return time;
}

using IsDomainTargetTest = WorldTest;

TEST_F(IsDomainTargetTest, OneGlobalGroupIsAStandAloneMachine) {
    addStandAlonePc1();
    StringNameList list;
    EXPECT_FALSE(IsDomainTarget("\\\\PC1", list));
    EXPECT_EQ(list.names(), std::vector<std::string>{"None"});
}

TEST_F(IsDomainTargetTest, SeveralGlobalGroupsAreADomain) {
    addDomainCorp();
    StringNameList list;
    EXPECT_TRUE(IsDomainTarget("\\\\ALDER", list));
    EXPECT_EQ(list.count(), 3);
}

TEST_F(IsDomainTargetTest, ClearsTheListBeforeEnumerating) {
    addStandAlonePc1();
    StringNameList list;
    SendMessageA(list.window(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("left over"));
    EXPECT_FALSE(IsDomainTarget("\\\\PC1", list));
}

TEST_F(IsDomainTargetTest, AFailedEnumerationCountsAsADomain) {
    addStandAlonePc1();
    world().addFault({.call = "NetGroupEnum", .status = 5, .server = "", .after = 0, .count = -1});
    StringNameList list;
    EXPECT_TRUE(IsDomainTarget("\\\\PC1", list));
    EXPECT_TRUE(IsDomainTarget("\\\\NOWHERE", list));
}

class CheckSAMRightsTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        addDomainCorp();
        gSAMHost = "\\\\ALDER";
    }
};

TEST_F(CheckSAMRightsTest, AddsAndDeletesTheTestUser) {
    std::string message = "unchanged";
    EXPECT_FALSE(CheckSAMRights(message, timeOfDay(9, 5, 7)));
    EXPECT_EQ(message, "unchanged");
    EXPECT_FALSE(world().hasAccount("CORP", "Test090507"));
}

TEST_F(CheckSAMRightsTest, ACallerWithoutRightsCannotAdd) {
    world().addUser("CORP", "bob", withPassword("bob's secret"));
    world().logon("CORP\\bob");
    std::string message;
    EXPECT_TRUE(CheckSAMRights(message, timeOfDay(14, 23, 5)));
    EXPECT_EQ(message, "Failed to add test user: " + kAccessDenied);
}

TEST_F(CheckSAMRightsTest, APolicyRefusingEmptyPasswordsFailsTheAdd) {
    world().setMinPasswordLength("CORP", 6);
    std::string message;
    EXPECT_TRUE(CheckSAMRights(message, timeOfDay(14, 23, 5)));
    EXPECT_EQ(message,
              "Failed to add test user: The password does not meet the password policy "
              "requirements. Check the minimum password length, password complexity and password "
              "history requirements.");
    EXPECT_FALSE(world().hasAccount("CORP", "Test142305"));
}

TEST_F(CheckSAMRightsTest, AFailedDeleteNamesTheUserLeftBehindDisabled) {
    world().addFault({.call = "NetUserDel", .status = 5, .server = "", .after = 0, .count = 1});
    std::string message;
    EXPECT_TRUE(CheckSAMRights(message, timeOfDay(9, 5, 7)));
    EXPECT_EQ(message, "Added test user Test090507\r\nbut failed to delete :" + kAccessDenied);

    // The user left behind is the probe's whole record: disabled, never expiring, no password.
    const samworld::UserRecord left = world().user("CORP", "Test090507");
    EXPECT_EQ(left.fullName, "Test - please delete");
    EXPECT_EQ(left.comment, "");
    EXPECT_EQ(left.flags, static_cast<uint32_t>(UF_SCRIPT | UF_NORMAL_ACCOUNT | UF_ACCOUNTDISABLE));
    EXPECT_EQ(left.acctExpires, TIMEQ_FOREVER);
    EXPECT_EQ(left.passwordExpired, 0u);
    EXPECT_TRUE(world().passwordMatches("CORP", "Test090507", ""));
}

TEST_F(CheckSAMRightsTest, AFailedReadBeforeTheDeleteFailsLikeIt) {
    world().addFault(
        {.call = "NetUserGetInfo", .status = 2221, .server = "", .after = 0, .count = 1});
    std::string message;
    EXPECT_TRUE(CheckSAMRights(message, timeOfDay(23, 59, 59)));
    EXPECT_EQ(message,
              "Added test user Test235959\r\nbut failed to delete :"
              "The user name could not be found.");
    EXPECT_TRUE(world().hasAccount("CORP", "Test235959"));
}

}  // namespace
