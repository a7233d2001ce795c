#include "AccountsTest.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

using ::testing::UnorderedElementsAre;
using ::testing::UnorderedElementsAreArray;
using Names = std::vector<std::string>;

// Sales (global) holds ann and bob, Printing (local) holds ann; cleo is in no group at all.
class GroupMemberships : public AccountsTest {
protected:
    void buildWorld() override {
        for (const char *name : {"ann", "bob", "cleo"}) {
            world().addUser("CORP", name, withPassword("secret-1"));
        }
        world().addGroup("CORP", "Sales", samworld::GroupKind::Global);
        world().addGroup("CORP", "Printing", samworld::GroupKind::Local);
        world().addMember("CORP", "Sales", "ann");
        world().addMember("CORP", "Sales", "bob");
        world().addMember("CORP", "Printing", "ann");
    }

    void SetUp() override {
        AccountsTest::SetUp();
        forgetMemberships("cleo");
    }

    Names commonUsers(const Names &groups, bool reverse) {
        NameArray users;
        EXPECT_FALSE(group().GetCommonUsers(groups, reverse, users)) << errors().ErrList();
        return users.items();
    }
};

TEST_F(GroupMemberships, AddUsersWhoAreAllMembersMakesNoSAMCall) {
    countCalls("NetGroupAddUser");
    EXPECT_FALSE(group().AddUsers("Sales", Names{"ANN", "bob"}));
    EXPECT_EQ(callsOf("NetGroupAddUser"), 0);
    EXPECT_EQ(errors().count(), 0);
}

TEST_F(GroupMemberships, AddUsersGoesOnPastAMissingUser) {
    EXPECT_TRUE(group().AddUsers("Printing", Names{"zed", "bob", "cleo"}));
    EXPECT_EQ(errors().ErrList(), "User not found: zed\n\r");
    EXPECT_TRUE(storeHasMembership("Printing", "bob"));
    EXPECT_TRUE(storeHasMembership("Printing", "cleo"));
    EXPECT_THAT(world().members("CORP", "Printing"),
                UnorderedElementsAre("CORP\\ann", "CORP\\bob", "CORP\\cleo"));
}

TEST_F(GroupMemberships, RefusalsKeepTheirOwnWording) {
    failCalls("NetGroupAddUser", 5);
    failCalls("NetLocalGroupDelMembers", 5);
    EXPECT_TRUE(group().AddUsers("Sales", Names{"cleo"}));
    EXPECT_EQ(errors().Description(),
              "Add user 'cleo'to SAM group 'Sales'failed: " + StatusMessage(5));
    EXPECT_TRUE(group().RemoveUsers("Printing", Names{"ann"}));
    EXPECT_EQ(errors().Description(),
              "Remove user 'ann' from SAM group failed: " + StatusMessage(5));
    EXPECT_FALSE(storeHasMembership("Sales", "cleo"));
    EXPECT_TRUE(storeHasMembership("Printing", "ann"));
}

TEST_F(GroupMemberships, RemoveUsersSkipsNonMembersAndChangesTheStoreAfterTheSAM) {
    countCalls("NetGroupDelUser");
    EXPECT_FALSE(group().RemoveUsers("Sales", Names{"cleo", "bob"})) << errors().ErrList();
    EXPECT_EQ(callsOf("NetGroupDelUser"), 1);
    EXPECT_FALSE(storeHasMembership("Sales", "bob"));
    EXPECT_THAT(world().members("CORP", "Sales"), UnorderedElementsAre("ann"));

    EXPECT_TRUE(group().RemoveUsers("Nowhere", Names{"ann"}));
    EXPECT_EQ(errors().Number(), 17);
    EXPECT_EQ(errors().Description(), "Group not found: Nowhere");
}

TEST_F(GroupMemberships, GetCommonUsersPlainAndReversed) {
    EXPECT_THAT(commonUsers({"sales"}, false), UnorderedElementsAre("ann", "bob"));
    EXPECT_THAT(commonUsers({"Sales", "Printing", "Nowhere"}, false), UnorderedElementsAre("ann"));
    // Users in no group at all are outside every common set.
    EXPECT_THAT(commonUsers({"Sales", "Printing"}, true),
                UnorderedElementsAre("Administrator", "Guest", "bob", "cleo"));
    const auto everyone = storedUsers();
    EXPECT_THAT(commonUsers({"Printing", "Domain Guests"}, true),
                UnorderedElementsAreArray(everyone));
}

TEST_F(GroupMemberships, GetCommonUsersWithNoKnownGroupEmptiesTheErrorList) {
    errors().Description("from before");
    NameArray users{"stale"};
    EXPECT_TRUE(group().GetCommonUsers(Names{"Nowhere"}, true, users));
    EXPECT_EQ(errors().Number(), 0);
    EXPECT_EQ(errors().ErrList(), "");
    EXPECT_EQ(users.Count(), 0);
}

}  // namespace
