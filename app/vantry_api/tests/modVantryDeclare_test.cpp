#include "vantry_api/modVantryDeclare.h"

#include "testing/WorldTest.h"
#include "vantry_api/NameList.h"
#include "vantry_api/UserReadBuffers.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using modVantryDeclare::kListBox;
using modVantryDeclare::kTrue;

class BoundExports : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        addDomainCorp();
        world().addUser("CORP", "ann",
                        {.password = "secret-1", .fullName = "Ann Archer", .comment = ""});
    }
};

TEST_F(BoundExports, DeliverNamesIntoTheList) {
    StringNameList users;
    EXPECT_EQ(modVantryDeclare::GetAllUsers("\\\\ALDER", kListBox, users.window()), 0u);
    const auto &names = users.names();
    EXPECT_NE(std::find(names.begin(), names.end(), "ann"), names.end());

    StringNameList groups;
    EXPECT_EQ(modVantryDeclare::GetAllGroups(kTrue, "\\\\ALDER", kListBox, groups.window()), 0u);
    EXPECT_EQ(groups.count(), 3);
}

TEST_F(BoundExports, ReadIntoTransferBuffers) {
    UserReadBuffers buffers;
    EXPECT_EQ(buffers.text(&UserRecord::comment), std::string(256, ' '));
    ASSERT_EQ(modVantryDeclare::GetUserInfo("\\\\ALDER", "ann", &buffers.record()), 0u);
    EXPECT_EQ(buffers.text(&UserRecord::full_name), "Ann Archer");
    EXPECT_EQ(buffers.text(&UserRecord::name), "ann");
}

TEST_F(BoundExports, ReachTheTrustedDomainLibrary) {
    world().addDomain("HARBOUR", "BIRCH");
    world().addTrust("CORP", "HARBOUR");
    StringNameList domains;
    EXPECT_EQ(modVantryDeclare::GetTrustedDomains("\\\\ALDER", kListBox, domains.window()), 0u);
    EXPECT_EQ(domains.names(), (std::vector<std::string>{"CORP", "HARBOUR"}));
}

}  // namespace
