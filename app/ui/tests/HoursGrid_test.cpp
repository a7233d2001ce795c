#include "dataops/LogonHours.h"
#include "ui/HoursGrid.h"

#include <QHeaderView>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <array>

namespace {

using Hours = std::array<uint8_t, kLogonHoursBytes>;

class HoursGridTest : public ::testing::Test {
protected:
    void SetUp() override { SetupHoursGrid(grid); }

    Hours roundTrip(const Hours &hours) {
        HoursToGrid(grid, hours);
        Hours back{};
        GridToHours(grid, back);
        return back;
    }

    QTableWidget grid;
};

TEST_F(HoursGridTest, HasADayRowAndAnHourColumnPerCell) {
    ASSERT_EQ(grid.rowCount(), 7);
    ASSERT_EQ(grid.columnCount(), 24);
    EXPECT_EQ(grid.verticalHeaderItem(0)->text(), "Sunday");
    EXPECT_EQ(grid.verticalHeaderItem(6)->text(), "Saturday");
}

TEST_F(HoursGridTest, BitsLandInTheirDayAndHour) {
    Hours hours{};
    hours[0] = 0x01;   // Sunday, midnight
    hours[3] = 0x80;   // hour 31: Monday 7 AM
    hours[20] = 0x80;  // hour 167: Saturday 11 PM
    HoursToGrid(grid, hours);
    int allowed = 0;
    for (int row = 0; row < 7; ++row) {
        for (int column = 0; column < 24; ++column) {
            const QString text = grid.item(row, column)->text();
            EXPECT_TRUE(text == "X" || text == " ");
            allowed += text == "X" ? 1 : 0;
        }
    }
    EXPECT_EQ(allowed, 3);
    EXPECT_EQ(grid.item(0, 0)->text(), "X");
    EXPECT_EQ(grid.item(1, 7)->text(), "X");
    EXPECT_EQ(grid.item(6, 23)->text(), "X");
}

TEST_F(HoursGridTest, GridAndBytesConvertBothWays) {
    Hours all;
    all.fill(0xFF);
    EXPECT_EQ(roundTrip(all), all);
    EXPECT_EQ(roundTrip(Hours{}), Hours{});
    Hours pattern{};
    for (std::size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<uint8_t>(i * 37 + 5);
    EXPECT_EQ(roundTrip(pattern), pattern);
}

TEST_F(HoursGridTest, OnlyAnExactXCountsAsAllowed) {
    HoursToGrid(grid, Hours{});
    grid.item(0, 1)->setText("x");
    grid.item(0, 2)->setText("X ");
    grid.item(0, 3)->setText("X");
    Hours hours{};
    GridToHours(grid, hours);
    EXPECT_EQ(hours[0], 0x08);
}

}  // namespace
