#include "AccountsTest.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// Sales is global, Printing local; ann is a user.
class GroupObject : public AccountsTest {
protected:
    void buildWorld() override {
        world().addUser("CORP", "ann", withPassword("secret-1"));
        world().addGroup("CORP", "Sales", samworld::GroupKind::Global, "Sales staff");
        world().addGroup("CORP", "Printing", samworld::GroupKind::Local, "May print");
    }
};

Details with(std::initializer_list<std::pair<std::string, DetailValue>> items) {
    Details details;
    for (const auto &[key, value] : items)
        details.Add(key, value);
    return details;
}

TEST_F(GroupObject, AddCreatesTheSAMGroupAndARowWithItsComment) {
    ASSERT_FALSE(group().Add(with({{"GroupName", std::string("Ops")}, {"IsGlobal", true}})))
        << errors().ErrList();
    ASSERT_FALSE(group().Add(with({{"GroupName", std::string("Print Ops")},
                                   {"IsGlobal", 0},
                                   {"Comment", std::string("Queue operators")}})))
        << errors().ErrList();

    EXPECT_TRUE(storedGroups().contains({"Ops", true}));
    EXPECT_TRUE(storedGroups().contains({"Print Ops", false}));
    EXPECT_EQ(storedComment("Print Ops"), "Queue operators");
    EXPECT_EQ(storedComment("Ops"), "");
    Details details;
    ASSERT_FALSE(group().GetDetails("Ops", details));
    EXPECT_EQ(TextOf(details.Item("Comment")), "");
    EXPECT_EQ(TextOf(details.Item("GroupType")), "Global");
    ASSERT_FALSE(group().GetDetails("print ops", details));
    EXPECT_EQ(TextOf(details.Item("Comment")), "Queue operators");
    EXPECT_EQ(TextOf(details.Item("GroupType")), "Local");
}

TEST_F(GroupObject, AddWithoutNameOrKindCreatesNothing) {
    countCalls("NetGroupAdd");
    countCalls("NetLocalGroupAdd");
    EXPECT_TRUE(group().Add(with({{"GroupName", std::string("Ops")}})));
    EXPECT_EQ(errors().Number(), 17);
    EXPECT_EQ(errors().Description(), "Groupname or type not supplied.");
    EXPECT_TRUE(group().Add(with({{"IsGlobal", true}})));
    EXPECT_EQ(callsOf("NetGroupAdd") + callsOf("NetLocalGroupAdd"), 0);
    EXPECT_FALSE(storeHasGroup("Ops"));
}

TEST_F(GroupObject, AddThatTheSAMRefusesLeavesNoRow) {
    // A user holds the name in the SAM; the store knows it only as a user.
    EXPECT_TRUE(group().Add(with({{"GroupName", std::string("ann")}, {"IsGlobal", -1}})));
    EXPECT_THAT(errors().Description(), HasSubstr("Failed to create group 'ann' in SAM: "));
    EXPECT_FALSE(storeHasGroup("ann"));
}

TEST_F(GroupObject, UpdateWritesTheCommentToTheSAMThenTheRow) {
    countCalls("NetGroupSetInfo");
    EXPECT_FALSE(group().Update("Sales", with({{"FullName", std::string("ignored")}})));
    EXPECT_EQ(callsOf("NetGroupSetInfo"), 0);

    ASSERT_FALSE(group().Update("SALES", with({{"Comment", std::string("Sales and marketing")}})))
        << errors().ErrList();
    EXPECT_EQ(storedComment("Sales"), "Sales and marketing");
    Details details;
    ASSERT_FALSE(group().GetDetails("Sales", details));
    EXPECT_EQ(TextOf(details.Item("Comment")), "Sales and marketing");
}

TEST_F(GroupObject, UpdateRefusedByTheSAMLeavesTheRow) {
    failCalls("NetLocalGroupSetInfo", 5);
    EXPECT_TRUE(group().Update("Printing", with({{"Comment", std::string("Nobody prints")}})));
    EXPECT_EQ(errors().Description(),
              "Failed to update group 'Printing' in SAM: " + StatusMessage(5));
    EXPECT_EQ(storedComment("Printing"), "May print") << "as the load read it";
    EXPECT_TRUE(group().Update("Nowhere", with({{"Comment", std::string("x")}})));
    EXPECT_EQ(errors().Description(), "Group not found: Nowhere");
}

TEST_F(GroupObject, GetDetailsNamesTheGroupAsTheCallerSpellsIt) {
    Details details;
    ASSERT_FALSE(group().GetDetails("PRINTING", details));
    std::vector<std::string> keys;
    for (const auto &entry : details)
        keys.push_back(entry.first);
    EXPECT_THAT(keys, ElementsAre("GroupName", "Comment", "GroupType"));
    EXPECT_EQ(TextOf(details.Item("GroupName")), "PRINTING");
    EXPECT_EQ(TextOf(details.Item("Comment")), "May print");
    EXPECT_EQ(TextOf(details.Item("GroupType")), "Local");

    failCalls("NetGroupGetInfo", 5);
    EXPECT_TRUE(group().GetDetails("Sales", details));
    EXPECT_EQ(errors().Description(), "Failed to get group details from SAM: " + StatusMessage(5));
    EXPECT_EQ(details.Count(), 1);
    EXPECT_EQ(TextOf(details.Item("GroupName")), "Sales");
}

TEST_F(GroupObject, RemoveDeletesTheRowOnlyAfterTheSAM) {
    failCalls("NetGroupDel", 5);
    EXPECT_TRUE(group().Remove("Sales"));
    EXPECT_EQ(errors().Description(), "Failed to delete group 'Sales' in SAM: " + StatusMessage(5));
    EXPECT_TRUE(storeHasGroup("Sales"));

    ASSERT_FALSE(group().Remove("printing")) << errors().ErrList();
    EXPECT_FALSE(storeHasGroup("Printing"));
    EXPECT_FALSE(world().hasAccount("CORP", "Printing"));
}

TEST_F(GroupObject, GetByTypeListsOneKind) {
    NameArray names;
    EXPECT_FALSE(group().GetByType(1, names));
    EXPECT_THAT(names.items(),
                ElementsAre("Domain Admins", "Domain Guests", "Domain Users", "Sales"));
    for (const int32_t type : {0, 2}) {
        EXPECT_FALSE(group().GetByType(type, names));
        EXPECT_THAT(names.items(), ElementsAre("Administrators", "Guests", "Printing", "Users"));
    }
}

}  // namespace
