#include "store/Database.h"

#include "testing/TempFolder.h"
#include "vantry_api/ProgramFolder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A fresh copy of the built template.
class TemplateCopy : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::copy_file(ProgramFolder() / "Template.MDB", path()); }
    std::filesystem::path path() const { return folder_.path() / "Kelvary.MDB"; }

private:
    TempFolder folder_;
};

std::vector<std::string> groupsOfType(const Database &store, int64_t isGlobal) {
    Statement query = store.storedQuery("Q_Groups of a Particular Type");
    query.bind("pIsGlobal", isGlobal);
    std::vector<std::string> names;
    while (query.step()) {
        names.push_back(query.text(1));
    }
    return names;
}

TEST_F(TemplateCopy, TheTemplateHoldsNoRows) {
    const Database store(path());
    for (const char *table : {"User", "[Group]", "GroupUser"}) {
        Statement count = store.prepare(std::string("SELECT Count(*) FROM ") + table);
        ASSERT_TRUE(count.step());
        EXPECT_EQ(count.integer(0), 0) << table;
    }
}

TEST_F(TemplateCopy, StoredQueryListsTheGroupsOfOneKindByNamedParameter) {
    const Database store(path());
    store.execute(
        "INSERT INTO [Group] (GroupName, IsGlobal) VALUES "
        "('Staff', -1), ('Printers', 0), ('Admins', -1), ('Backup', 0)");
    EXPECT_EQ(groupsOfType(store, -1), (std::vector<std::string>{"Admins", "Staff"}));
    EXPECT_EQ(groupsOfType(store, 0), (std::vector<std::string>{"Backup", "Printers"}));
}

TEST_F(TemplateCopy, NamesCompareWithoutRegardToCaseAndStayUnique) {
    const Database store(path());
    store.execute("INSERT INTO User (UserName) VALUES ('Ann')");
    Statement find = store.prepare("SELECT UserName FROM User WHERE UserName = ?");
    find.bind(1, "ANN");
    ASSERT_TRUE(find.step());
    EXPECT_EQ(find.text(0), "Ann");
    EXPECT_THROW(store.execute("INSERT INTO User (UserName) VALUES ('aNN')"), ProgramError);
}

TEST_F(TemplateCopy, KeysOfDeletedRowsAreNeverGivenAgain) {
    const Database store(path());
    store.execute("INSERT INTO User (UserName) VALUES ('ann'), ('bob')");
    store.execute("DELETE FROM User WHERE UserName = 'bob'");
    store.execute("INSERT INTO User (UserName) VALUES ('carl')");
    EXPECT_EQ(store.lastInsertId(), 3);
}

TEST_F(TemplateCopy, EngineFailuresRaiseProgramErrorsWithTheirText) {
    const Database store(path());
    try {
        store.execute("INSERT INTO Nowhere VALUES (1)");
        FAIL() << "no error raised";
    } catch (const ProgramError &error) {
        EXPECT_EQ(error.source(), "Database");
        EXPECT_NE(error.description().find("no such table: Nowhere"), std::string::npos);
    }
    EXPECT_THROW(store.storedQuery("Q_Nothing"), ProgramError);
    Statement query = store.storedQuery("Q_Groups of a Particular Type");
    EXPECT_THROW(query.bind("pNothing", int64_t{1}), ProgramError);
}

TEST_F(TemplateCopy, TransactionsRollBackUnlessCommitted) {
    const Database store(path());
    {
        Transaction abandoned(store);
        store.execute("INSERT INTO User (UserName) VALUES ('ann')");
    }
    {
        Transaction kept(store);
        store.execute("INSERT INTO User (UserName) VALUES ('bob')");
        kept.commit();
    }
    Statement names = store.prepare("SELECT group_concat(UserName) FROM User");
    ASSERT_TRUE(names.step());
    EXPECT_EQ(names.text(0), "bob");
}

TEST(Database, AMissingFileIsNotCreatedUnlessAsked) {
    TempFolder folder;
    EXPECT_THROW(Database(folder.path() / "absent.MDB"), ProgramError);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "absent.MDB"));
    Database created(folder.path() / "new.MDB", Database::Mode::Create);
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "new.MDB"));
}

}  // namespace
