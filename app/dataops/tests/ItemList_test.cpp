#include "DataopsTest.h"

#include "dataops/ItemList.h"
#include "dataops/NaturalOrder.h"

namespace {

using ItemListTest = DataopsTest;

TEST_F(ItemListTest, EachKindHasItsOwnIconKeyAndPicture) {
    EXPECT_EQ(ItemIcons(kUsersType), "SUser");
    EXPECT_EQ(ItemIcons(kGroupsType, kLocalGroup), "SGroupLocal");
    EXPECT_EQ(ItemIcons(kGroupsType, kGlobalGroup), "SGroupGlobal");
    for (const char *key : {"SUser", "SGroupLocal", "SGroupGlobal"}) {
        EXPECT_FALSE(imlSmallList(key).isNull()) << key;
    }
    EXPECT_TRUE(imlSmallList("SMachine").isNull());
}

TEST_F(ItemListTest, TheSelectedItemIsTheCurrentOneWhileSelectedElseTheFirstSelected) {
    addEntry(list(), "first", "SUser");
    addEntry(list(), "second", "SGroupLocal");
    EXPECT_EQ(list().selectedRow(), -1);

    list().setCurrentIndex(list().model()->index(1, 0));
    EXPECT_EQ(list().selectedRow(), 1);
    EXPECT_EQ(list().iconKey(1), "SGroupLocal");

    setSelected(list(), 0, true);
    setSelected(list(), 1, false);  // a Ctrl-click took the current entry out of the selection
    EXPECT_EQ(list().selectedRow(), 0);

    setSelected(list(), 0, false);  // nothing selected: the focused entry stands for it
    EXPECT_EQ(list().selectedRow(), 1);
}

TEST_F(ItemListTest, NamesSortNaturallyAndTheSelectionFollowsSortAndSearch) {
    for (const char *name : {"user10", "User2", "user1", "alice"}) addEntry(list(), name, "SUser");
    const auto shown = [&] {
        QStringList names;
        for (int row = 0; row < list().count(); ++row) names << list().text(row);
        return names;
    };
    list().selectOnly(0);  // user10

    list().entries().sort(0, Qt::AscendingOrder);
    EXPECT_EQ(shown(), (QStringList{"alice", "user1", "User2", "user10"}));
    EXPECT_EQ(list().selectedRows(), std::vector<int>{3});
    list().entries().setSearch(QStringLiteral("USER1"));
    EXPECT_EQ(shown(), (QStringList{"user1", "user10"}));
    EXPECT_EQ(list().selectedRows(), std::vector<int>{1});
    EXPECT_EQ(list().text(list().currentRow()), "user10");
    list().entries().sort(-1);
    EXPECT_EQ(shown(), (QStringList{"user10", "user1"})) << "the order they were added in";
    list().entries().setSearch(QString());
    EXPECT_EQ(list().selectedRows(), std::vector<int>{0});

    EXPECT_LT(NaturalCompare("a2", "a10"), 0);
    EXPECT_GT(NaturalCompare("B", "a"), 0);
    EXPECT_NE(NaturalCompare("a02", "a2"), 0) << "the order is total";
    EXPECT_EQ(FoldedForSearch("ÄNN"), FoldedForSearch("änn"));
}

}  // namespace
