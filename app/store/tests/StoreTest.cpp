#include "StoreTest.h"

#include "store/Database.h"
#include "vantry_api/ProgramFolder.h"

void StoreTest::SetUp() {
    WorldTest::SetUp();
    std::filesystem::copy_file(ProgramFolder() / "Template.MDB", folder() / "Template.MDB");
    recreateData();
}

void StoreTest::TearDown() {
    data_.reset();
    WorldTest::TearDown();
}

void StoreTest::recreateData() {
    data_.reset();
    data_.emplace(folder());
    data_->WorkList(workList_);
}

std::vector<std::string> StoreTest::storedUsers() const {
    const Database store(data_->WorkingPath());
    Statement rows = store.prepare("SELECT UserName FROM User ORDER BY UserID");
    std::vector<std::string> users;
    while (rows.step()) {
        users.push_back(rows.text(0));
    }
    return users;
}

std::set<std::pair<std::string, bool>> StoreTest::storedGroups() const {
    const Database store(data_->WorkingPath());
    Statement rows = store.prepare("SELECT GroupName, IsGlobal FROM [Group]");
    std::set<std::pair<std::string, bool>> groups;
    while (rows.step()) {
        groups.emplace(rows.text(0), rows.integer(1) != 0);
    }
    return groups;
}

std::set<std::pair<std::string, std::string>> StoreTest::storedMemberships() const {
    const Database store(data_->WorkingPath());
    Statement rows = store.prepare(
        "SELECT [Group].GroupName, User.UserName FROM GroupUser "
        "INNER JOIN [Group] ON [Group].GroupID = GroupUser.GroupID "
        "INNER JOIN User ON User.UserID = GroupUser.UserID");
    std::set<std::pair<std::string, std::string>> memberships;
    while (rows.step()) {
        memberships.emplace(rows.text(0), rows.text(1));
    }
    return memberships;
}
