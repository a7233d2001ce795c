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
    QTreeWidgetItem *first = AddListItem(list(), "first", "SUser");
    QTreeWidgetItem *second = AddListItem(list(), "second", "SGroupLocal");
    EXPECT_EQ(SelectedItem(list()), nullptr);

    list().setCurrentItem(second);
    EXPECT_EQ(SelectedItem(list()), second);
    EXPECT_EQ(IconKeyOf(*second), "SGroupLocal");

    first->setSelected(true);
    second->setSelected(false);  // a Ctrl-click took the current entry out of the selection
    EXPECT_EQ(SelectedItem(list()), first);

    first->setSelected(false);  // nothing selected: the focused entry stands for it
    EXPECT_EQ(SelectedItem(list()), second);
}

}  // namespace
