#include "AccountsTest.h"
#include "status/modSAM.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using ::testing::UnorderedElementsAre;
using Names = std::vector<std::string>;

// ann and bob share Sales (global) and Printing (local), and like every new user Domain Users;
// ann alone is in Staff (global); cleo is in no group at all; Empty (local) has no members.
class UserMemberships : public AccountsTest {
protected:
    void buildWorld() override {
        for (const char *name : {"ann", "bob", "cleo"}) {
            world().addUser("CORP", name, withPassword("secret-1"));
        }
        world().addGroup("CORP", "Sales", samworld::GroupKind::Global);
        world().addGroup("CORP", "Staff", samworld::GroupKind::Global);
        world().addGroup("CORP", "Printing", samworld::GroupKind::Local);
        world().addGroup("CORP", "Empty", samworld::GroupKind::Local);
        for (const char *member : {"ann", "bob"}) {
            world().addMember("CORP", "Sales", member);
            world().addMember("CORP", "Printing", member);
        }
        world().addMember("CORP", "Staff", "ann");
    }

    void SetUp() override {
        AccountsTest::SetUp();
        forgetMemberships("cleo");
    }

    bool samHas(const std::string &group, const std::string &member) {
        for (const std::string &name : world().members("CORP", group)) {
            if (name == member || name == "CORP\\" + member)
                return true;
        }
        return false;
    }

    // Group name and kind of a common-groups answer.
    std::map<std::string, int32_t> commonGroups(const Names &users, bool reverse) {
        NameArray groups;
        OneBasedArray<int32_t> isGlobal;
        EXPECT_FALSE(user().GetCommonGroups(users, reverse, groups, isGlobal))
            << errors().ErrList();
        EXPECT_EQ(groups.Count(), isGlobal.Count());
        std::map<std::string, int32_t> answer;
        for (int64_t i = 1; i <= groups.Count(); ++i)
            answer[groups.Item(i)] = isGlobal.Item(i);
        return answer;
    }

    // Every group of the store that the answer must not hold.
    std::map<std::string, int32_t> allGroupsBut(const Names &excluded) {
        std::map<std::string, int32_t> groups;
        for (const auto &[name, isGlobal] : storedGroups()) {
            if (std::find(excluded.begin(), excluded.end(), name) == excluded.end()) {
                groups[name] = isGlobal ? -1 : 0;
            }
        }
        return groups;
    }
};

TEST_F(UserMemberships, AddToGroupsSkipsExistingMembershipsWithoutASAMCall) {
    countCalls("NetGroupAddUser");
    countCalls("NetLocalGroupAddMembers");
    EXPECT_FALSE(user().AddToGroups("ann", Names{"Sales", "printing"}));
    EXPECT_EQ(callsOf("NetGroupAddUser"), 0);
    EXPECT_EQ(callsOf("NetLocalGroupAddMembers"), 0);
    EXPECT_EQ(errors().count(), 0);

    EXPECT_FALSE(user().AddToGroups("cleo", Names{"Sales", "Empty"})) << errors().ErrList();
    EXPECT_TRUE(samHas("Sales", "cleo"));
    EXPECT_TRUE(samHas("Empty", "cleo"));
    EXPECT_TRUE(storeHasMembership("Sales", "cleo"));
    EXPECT_TRUE(storeHasMembership("Empty", "cleo"));
}

TEST_F(UserMemberships, AddToGroupsGoesOnPastAMissingOrRefusedGroup) {
    failCalls("NetGroupAddUser", 5);
    EXPECT_TRUE(user().AddToGroups("cleo", Names{"Nowhere", "Sales", "Empty"}));

    EXPECT_EQ(errors().ErrList(),
              "1. Group not found: Nowhere\n\r"
              "2. Add user 'cleo' to SAM group 'Sales' failed: " +
                  StatusMessage(5) + "\n\r");
    // Only the change the SAM accepted reaches the store.
    EXPECT_FALSE(storeHasMembership("Sales", "cleo"));
    EXPECT_TRUE(samHas("Empty", "cleo"));
    EXPECT_TRUE(storeHasMembership("Empty", "cleo"));
}

TEST_F(UserMemberships, AMembershipMadeBehindTheProgramsBackIsReportedAsOutOfStep) {
    world().addMember("CORP", "Empty", "cleo");  // by another administrator, after the snapshot
    OutOfStep = false;
    EXPECT_TRUE(user().AddToGroups("cleo", Names{"Empty"}));
    EXPECT_EQ(errors().ErrList(),
              "Add user 'cleo' to SAM group 'Empty' failed: The specified account name is already "
              "a member of the group.\n\r");
    EXPECT_TRUE(OutOfStep);
}

TEST_F(UserMemberships, RemoveFromGroupsChangesTheStoreOnlyAfterTheSAM) {
    countCalls("NetGroupDelUser");
    failCalls("NetLocalGroupDelMembers", 5);
    EXPECT_TRUE(user().RemoveFromGroups("bob", Names{"Staff", "Sales", "Printing"}));

    // bob was never in Staff: no call and no message for it.
    EXPECT_EQ(callsOf("NetGroupDelUser"), 1);
    EXPECT_EQ(errors().ErrList(),
              "Remove user 'bob' from SAM group 'Printing' failed: " + StatusMessage(5) + "\n\r");
    EXPECT_FALSE(samHas("Sales", "bob"));
    EXPECT_FALSE(storeHasMembership("Sales", "bob"));
    EXPECT_TRUE(samHas("Printing", "bob"));
    EXPECT_TRUE(storeHasMembership("Printing", "bob"));
}

TEST_F(UserMemberships, AMissingUserChangesNothing) {
    countCalls("NetGroupAddUser");
    EXPECT_TRUE(user().AddToGroups("zed", Names{"Sales"}));
    EXPECT_EQ(errors().Number(), 17);
    EXPECT_EQ(errors().Description(), "User not found: zed");
    EXPECT_TRUE(user().RemoveFromGroups("zed", Names{"Sales"}));
    EXPECT_EQ(callsOf("NetGroupAddUser"), 0);
}

TEST_F(UserMemberships, GetCommonGroupsAnswersForTheUsersTheStoreHolds) {
    const std::map<std::string, int32_t> shared{
        {"Domain Users", -1}, {"Printing", 0}, {"Sales", -1}};
    EXPECT_EQ(commonGroups({"ann", "BOB"}, false), shared);
    EXPECT_EQ(commonGroups({"ann", "bob"}, true),
              allGroupsBut({"Domain Users", "Printing", "Sales"}));
    // A name the store lacks is ignored, and a name given twice counts once.
    EXPECT_EQ(commonGroups({"bob", "zed", "Bob"}, false), shared);
    EXPECT_EQ(commonGroups({"ann", "zed"}, false).size(), 4u);
}

TEST_F(UserMemberships, GetCommonGroupsOfAUserInNoGroup) {
    EXPECT_TRUE(commonGroups({"cleo"}, false).empty());
    EXPECT_EQ(commonGroups({"cleo"}, true), allGroupsBut({}));
    EXPECT_TRUE(commonGroups({"cleo", "ann"}, false).empty());
    // Groups without members are never common, so the reverse holds them.
    EXPECT_TRUE(commonGroups({"ann"}, true).contains("Empty"));
}

TEST_F(UserMemberships, GetCommonGroupsWithNoKnownUserEmptiesTheErrorList) {
    errors().Description("from before");
    NameArray groups{"stale"};
    OneBasedArray<int32_t> isGlobal{1};
    EXPECT_TRUE(user().GetCommonGroups(Names{"zed", "yan"}, false, groups, isGlobal));
    EXPECT_EQ(errors().Number(), 0);
    EXPECT_EQ(errors().ErrList(), "");
    EXPECT_EQ(groups.Count(), 0);
}

// Names that would change the meaning of a query if they were written into its text.
class MembershipNamesLikeSQL : public AccountsTest {
protected:
    void buildWorld() override {
        world().addUser("CORP", "O'Neil", withPassword("secret-1"));
        world().addUser("CORP", "x' OR 'a' LIKE 'a", withPassword("secret-1"));
        world().addGroup("CORP", "Ops' OR '1' LIKE '1", samworld::GroupKind::Global);
    }
};

TEST_F(MembershipNamesLikeSQL, AreHandledAsPlainNames) {
    const std::string ops = "Ops' OR '1' LIKE '1";
    ASSERT_FALSE(user().AddToGroups("O'Neil", Names{ops})) << errors().ErrList();
    EXPECT_TRUE(storeHasMembership(ops, "O'Neil"));

    NameArray groups;
    OneBasedArray<int32_t> isGlobal;
    ASSERT_FALSE(user().GetCommonGroups(Names{"O'Neil"}, false, groups, isGlobal));
    EXPECT_THAT(groups.items(), UnorderedElementsAre("Domain Users", ops));
    NameArray users;
    ASSERT_FALSE(group().GetCommonUsers(Names{ops}, false, users));
    EXPECT_THAT(users.items(), UnorderedElementsAre("O'Neil"));
    ASSERT_FALSE(group().GetCommonUsers(Names{ops}, true, users));
    EXPECT_THAT(users.items(), UnorderedElementsAre("Administrator", "Guest", "x' OR 'a' LIKE 'a"));

    ASSERT_FALSE(group().RemoveUsers(ops, Names{"x' OR 'a' LIKE 'a", "O'Neil"}));
    EXPECT_FALSE(storeHasMembership(ops, "O'Neil"));
    ASSERT_FALSE(group().Remove(ops)) << errors().ErrList();
    EXPECT_FALSE(storeHasGroup(ops));
    EXPECT_TRUE(storeHasGroup("Domain Users"));
}

}  // namespace
