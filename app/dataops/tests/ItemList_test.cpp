#include "DataopsTest.h"

#include "dataops/ItemList.h"

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

}  // namespace
