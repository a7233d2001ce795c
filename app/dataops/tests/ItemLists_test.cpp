#include "DataopsTest.h"

#include "dataops/ItemList.h"
#include "dataops/ItemLists.h"
#include "store/Database.h"
#include "store/ProgramValues.h"

#include <QSet>

namespace {

using FillItemListTest = DataopsTest;

TEST_F(FillItemListTest, AppendsWithTheirIconsAndSelectsOnlyTheFirstEntry) {
    addEntry(list(), "kept", "SUser");
    addEntry(list(), "earlier", "SUser");
    list().setCurrentIndex(list().model()->index(1, 0));

    FillItemList(list(), {"Staff", "Admins"}, {ItemIcon::LocalGroup, ItemIcon::GlobalGroup});

    EXPECT_EQ(texts(list()), QStringList({"kept", "earlier", "Staff", "Admins"}));
    EXPECT_EQ(iconKeys(list()), QStringList({"SUser", "SUser", "SGroupLocal", "SGroupGlobal"}));
    EXPECT_EQ(selectedTexts(list()), QStringList({"kept"}));
    EXPECT_EQ(list().selectedRow(), 0);
    for (int row = 0; row < list().count(); ++row) {
        EXPECT_FALSE(list().model()->index(row, 0).data(Qt::DecorationRole).value<QIcon>().isNull())
            << row;
    }
}

TEST_F(FillItemListTest, NoNamesLeaveTheListAndItsSelectionAlone) {
    FillItemList(list(), {}, {});
    EXPECT_EQ(list().count(), 0);
    EXPECT_EQ(list().selectedRow(), -1);

    addEntry(list(), "first", "SUser");
    addEntry(list(), "second", "SUser");
    list().setCurrentIndex(list().model()->index(1, 0));
    FillItemList(list(), {}, {});
    EXPECT_EQ(texts(list()), QStringList({"first", "second"}));
    EXPECT_EQ(selectedTexts(list()), QStringList({"second"}));
}

// Domain CORP with two users and groups of both kinds: ann is in Staff (global) and in
// Printers (local); bob in neither; Empty has no members.
class ListItemsByFilterTest : public DataopsTest {
protected:
    void SetUp() override {
        DataopsTest::SetUp();
        addDomainCorp();
        world().addUser("CORP", "ann");
        world().addUser("CORP", "bob");
        world().addGroup("CORP", "Staff", samworld::GroupKind::Global);
        world().addGroup("CORP", "Printers", samworld::GroupKind::Local);
        world().addGroup("CORP", "Empty", samworld::GroupKind::Local);
        world().addMember("CORP", "Staff", "ann");
        world().addMember("CORP", "Printers", "ann");
        gDomainName = "CORP";
        openTarget("\\\\ALDER");
    }

    static QSet<QString> asSet(const QStringList &names) { return {names.begin(), names.end()}; }
};

TEST_F(ListItemsByFilterTest, AllUsersCarryTheKeyPassedIn) {
    ListItemsByFilter(list(), kUsersType, false, kAllUsers, "SUser");
    EXPECT_TRUE(asSet(texts(list())).contains({"ann", "bob", "Administrator"}));
    EXPECT_EQ(asSet(iconKeys(list())), QSet<QString>({"SUser"}));
    EXPECT_EQ(selectedTexts(list()), QStringList({texts(list()).first()}));
    EXPECT_TRUE(messages().shown().empty());
}

TEST_F(ListItemsByFilterTest, AGroupFilterListsItsMembers) {
    ListItemsByFilter(list(), kUsersType, false, "Printers", "SUser");
    EXPECT_EQ(texts(list()), QStringList({"ann"}));
    EXPECT_EQ(iconKeys(list()), QStringList({"SUser"}));
}

TEST_F(ListItemsByFilterTest, AllGroupsListTheKindAskedFor) {
    ListItemsByFilter(list(), kGroupsType, false, kAllGroups, "SGroupLocal");
    const QStringList local = texts(list());
    EXPECT_TRUE(local.contains("Printers") && local.contains("Administrators"));
    EXPECT_FALSE(local.contains("Staff"));
    EXPECT_EQ(asSet(iconKeys(list())), QSet<QString>({"SGroupLocal"}));

    list().clear();
    ListItemsByFilter(list(), kGroupsType, true, kAllGroups, "SGroupGlobal");
    const QStringList global = texts(list());
    EXPECT_TRUE(global.contains("Staff") && global.contains("Domain Users"));
    EXPECT_FALSE(global.contains("Printers"));
    EXPECT_EQ(asSet(iconKeys(list())), QSet<QString>({"SGroupGlobal"}));
}

TEST_F(ListItemsByFilterTest, AUserFilterListsBothKindsEachWithItsOwnIcon) {
    ListItemsByFilter(list(), kGroupsType, true, "ann", "SGroupGlobal");
    const QStringList names = texts(list());
    const QStringList keys = iconKeys(list());
    ASSERT_TRUE(names.contains("Printers") && names.contains("Staff"))
        << names.join(",").toStdString();
    EXPECT_EQ(keys[names.indexOf("Printers")], "SGroupLocal");
    EXPECT_EQ(keys[names.indexOf("Staff")], "SGroupGlobal");
    EXPECT_FALSE(names.contains("Empty"));
}

TEST_F(ListItemsByFilterTest, AnEmptyResultLeavesTheListAsTheCallerLeftIt) {
    addEntry(list(), "earlier", "SUser");
    ListItemsByFilter(list(), kUsersType, false, "Empty", "SUser");
    EXPECT_EQ(texts(list()), QStringList({"earlier"}));
    EXPECT_TRUE(selectedTexts(list()).isEmpty());
    EXPECT_TRUE(messages().shown().empty());
}

// The store holds no such user: the query fails without a reason, and an empty error box
// would say nothing.
TEST_F(ListItemsByFilterTest, AFilterNameTheStoreLacksListsNothingAndShowsNoEmptyError) {
    ListItemsByFilter(list(), kGroupsType, true, "ghost", "SGroupGlobal");
    EXPECT_EQ(list().count(), 0);
    EXPECT_TRUE(messages().shown().empty());
}

TEST_F(ListItemsByFilterTest, AnObjectThatCannotBeOpenedIsReportedOnceAndNothingIsListed) {
    {
        Database store(gData->WorkingPath());
        store.execute("DROP TABLE GroupUser");
    }
    ListItemsByFilter(list(), kUsersType, false, kAllUsers, "SUser");
    EXPECT_EQ(list().count(), 0);
    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().shown()[0].text.rfind("Opening data failed: ", 0), 0u)
        << messages().shown()[0].text;
    EXPECT_EQ(messages().shown()[0].title, "Error");
}

}  // namespace
