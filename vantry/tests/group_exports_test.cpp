// The group and membership exports against small worlds.
#include "vantry.h"

#include "caller_records.hpp"
#include "lm.h"
#include "world_fixture.hpp"

#include <gmock/gmock.h>

#include <string>

namespace {

using ::testing::Contains;
using ::testing::Not;
using samworld::GroupKind;
using vantry_test::CallerGroupRecord;

class GroupExportsTest : public vantry_test::WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        useLocalController();
        world().addUser(kDomain, "ann");
        world().addGroup(kDomain, "Staff", GroupKind::Global, "All staff");
        world().addGroup(kDomain, "Readers", GroupKind::Local, "May read");
    }
};

TEST_F(GroupExportsTest, CreateGroupMakesGlobalOrLocalGroupsWithAnEmptyCommentForNull) {
    ASSERT_EQ(CreateGroup(1, "", "Sales", nullptr), 0u);
    ASSERT_EQ(CreateGroup(0, "", "Auditors", "Read the books"), 0u);

    CallerGroupRecord sales, auditors;
    ASSERT_EQ(GetGroupInfo(-1, "", "Sales", &sales.record), 0u);
    EXPECT_STREQ(sales.record.comment, "");
    ASSERT_EQ(GetGroupInfo(0, "", "Auditors", &auditors.record), 0u);
    EXPECT_STREQ(auditors.record.name, "Auditors");
    EXPECT_STREQ(auditors.record.comment, "Read the books");
    EXPECT_EQ(GetGroupInfo(1, "", "Auditors", &auditors.record),
              static_cast<uint32_t>(NERR_GroupNotFound)) << "a local group is no global group";

    EXPECT_EQ(CreateGroup(1, "", "Staff", nullptr), static_cast<uint32_t>(NERR_GroupExists));
}

TEST_F(GroupExportsTest, GetGroupInfoFillsPresentFieldsOnlyAndNothingOnFailure) {
    CallerGroupRecord staff;
    staff.record.name = nullptr;
    ASSERT_EQ(GetGroupInfo(1, "", "Staff", &staff.record), 0u);
    EXPECT_TRUE(vantry_test::isBlank(staff.name));
    EXPECT_STREQ(staff.record.comment, "All staff");
    EXPECT_EQ(staff.comment[10], ' ') << "only the text and its terminator are written";

    CallerGroupRecord missing;
    EXPECT_EQ(GetGroupInfo(0, "", "Nobody", &missing.record),
              static_cast<uint32_t>(NERR_GroupNotFound));
    EXPECT_TRUE(vantry_test::isBlank(missing.name));
    EXPECT_TRUE(vantry_test::isBlank(missing.comment));
    EXPECT_EQ(GetGroupInfo(0, "", "Readers", nullptr), static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
}

TEST_F(GroupExportsTest, SetGroupInfoChangesOnlyTheCommentAndKeepsTheName) {
    char otherName[] = "Other", comment[] = "Everyone paid";
    GroupRecord record{otherName, comment};
    ASSERT_EQ(SetGroupInfo(1, "", "Staff", &record), 0u);
    ASSERT_EQ(SetGroupInfo(0, "", "Readers", &record), 0u);

    EXPECT_FALSE(world().hasAccount(kDomain, "Other"));
    for (const auto &[global, group] : {std::pair{1, "Staff"}, std::pair{0, "Readers"}}) {
        CallerGroupRecord read;
        ASSERT_EQ(GetGroupInfo(global, "", group, &read.record), 0u);
        EXPECT_STREQ(read.record.name, group);
        EXPECT_STREQ(read.record.comment, "Everyone paid");
    }
}

TEST_F(GroupExportsTest, ALongCommentIsReadCutAndKeptWholeWhenSentBackUnchanged) {
    const std::string longComment(300, 'c');
    world().addGroup(kDomain, "Archive", GroupKind::Local, longComment);

    CallerGroupRecord read;
    ASSERT_EQ(GetGroupInfo(0, "", "Archive", &read.record), 0u);
    EXPECT_EQ(std::string(read.record.comment), std::string(252, 'c') + "\xE2\x80\xA6");
    ASSERT_EQ(SetGroupInfo(0, "", "Archive", &read.record), 0u);
    EXPECT_EQ(sam(kDomain).find("Archive")->comment, longComment);

    char changed[] = "Old papers";
    read.record.comment = changed;
    ASSERT_EQ(SetGroupInfo(0, "", "Archive", &read.record), 0u);
    EXPECT_EQ(sam(kDomain).find("Archive")->comment, "Old papers");
}

TEST_F(GroupExportsTest, SetGroupInfoWithoutACommentChangesNothing) {
    char name[] = "Staff";
    GroupRecord record{name, nullptr};
    EXPECT_EQ(SetGroupInfo(1, "", "Staff", &record), static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
    CallerGroupRecord read;
    ASSERT_EQ(GetGroupInfo(1, "", "Staff", &read.record), 0u);
    EXPECT_STREQ(read.record.comment, "All staff");
}

TEST_F(GroupExportsTest, GroupAdjustUsersAddsForAnyNonZeroAndRemovesForZero) {
    ASSERT_EQ(GroupAdjustUsers(-1, "", "Staff", "ann"), 0u);
    EXPECT_THAT(world().members(kDomain, "Staff"), Contains("ann"));
    EXPECT_EQ(GroupAdjustUsers(1, "", "Staff", "ann"), static_cast<uint32_t>(NERR_UserInGroup));
    ASSERT_EQ(GroupAdjustUsers(0, "", "Staff", "ann"), 0u);
    EXPECT_THAT(world().members(kDomain, "Staff"), Not(Contains("ann")));
    EXPECT_EQ(GroupAdjustUsers(0, "", "Staff", "ann"), static_cast<uint32_t>(NERR_UserNotInGroup));
}

TEST_F(GroupExportsTest, LocalGroupAdjustMembersTakesQualifiedOrBareNames) {
    ASSERT_EQ(LocalGroupAdjustMembers(-1, "", "Readers", "CORP\\ann"), 0u);
    ASSERT_EQ(LocalGroupAdjustMembers(1, "", "Readers", "Staff"), 0u);
    EXPECT_THAT(world().members(kDomain, "Readers"), testing::ElementsAre("CORP\\ann", "CORP\\Staff"));

    ASSERT_EQ(LocalGroupAdjustMembers(0, "", "Readers", "CORP\\ann"), 0u);
    EXPECT_THAT(world().members(kDomain, "Readers"), testing::ElementsAre("CORP\\Staff"));
    EXPECT_EQ(LocalGroupAdjustMembers(0, "", "Readers", "CORP\\ann"),
              static_cast<uint32_t>(ERROR_MEMBER_NOT_IN_ALIAS));
    EXPECT_EQ(LocalGroupAdjustMembers(1, "", "Readers", "CORP\\nobody"),
              static_cast<uint32_t>(ERROR_NO_SUCH_MEMBER));
}

TEST_F(GroupExportsTest, DeleteGroupRemovesTheGroupOfTheChosenKind) {
    EXPECT_EQ(DeleteGroup(0, "", "Staff"), static_cast<uint32_t>(NERR_GroupNotFound));
    ASSERT_EQ(DeleteGroup(1, "", "Staff"), 0u);
    ASSERT_EQ(DeleteGroup(0, "", "Readers"), 0u);
    EXPECT_FALSE(world().hasAccount(kDomain, "Staff"));
    EXPECT_FALSE(world().hasAccount(kDomain, "Readers"));
}

TEST_F(GroupExportsTest, ANameThatCannotBeSentWholeChangesNoGroup) {
    const std::string tooLong = "Staff" + std::string(251, ' ');
    EXPECT_EQ(DeleteGroup(1, "", tooLong.c_str()), static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(GroupAdjustUsers(1, "", "Staff", "ann\xE2\x82"),
              static_cast<uint32_t>(ERROR_NO_UNICODE_TRANSLATION));
    EXPECT_TRUE(world().hasAccount(kDomain, "Staff"));
    EXPECT_THAT(world().members(kDomain, "Staff"), Not(Contains("ann")));
}

}  // namespace
