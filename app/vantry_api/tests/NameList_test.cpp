#include "vantry_api/NameList.h"

#include <gtest/gtest.h>

namespace {

LRESULT send(StringNameList &list, UINT message, const char *text) {
    return SendMessageA(list.window(), message, 0, reinterpret_cast<LPARAM>(text));
}

TEST(StringNameList, KeepsNamesInArrivalOrderAnsweringTheirIndex) {
    StringNameList list;
    EXPECT_EQ(send(list, LB_ADDSTRING, "zed"), 0);
    EXPECT_EQ(send(list, CB_ADDSTRING, "ann"), 1);
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.item(0), "zed");
    EXPECT_EQ(list.item(1), "ann");
    list.clear();
    EXPECT_EQ(list.count(), 0);
}

TEST(StringNameList, RefusesOtherMessagesAndMissingText) {
    StringNameList list;
    EXPECT_EQ(send(list, 0x0184 /* LB_RESETCONTENT */, "x"), -1);
    EXPECT_EQ(send(list, LB_ADDSTRING, nullptr), -1);
    EXPECT_EQ(list.count(), 0);
}

}  // namespace
