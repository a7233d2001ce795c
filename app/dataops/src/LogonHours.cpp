#include "dataops/LogonHours.h"

#include <QTableWidget>

namespace {

constexpr int kHoursPerWeek = kHoursPerDay * kDaysPerWeek;
constexpr int kBitsPerByte = static_cast<int>(BitValues.size());

bool IsAllowed(std::span<const uint8_t> hours, int hour) {
    const auto byte = static_cast<std::size_t>(hour / kBitsPerByte);
    return byte < hours.size() && (hours[byte] & BitValues[hour % kBitsPerByte]) != 0;
}

}  // namespace

void HoursToGrid(QTableWidget &grid, std::span<const uint8_t> hours) {
    for (int hour = 0; hour < kHoursPerWeek; ++hour) {
        const int row = hour / kHoursPerDay;
        const int column = hour % kHoursPerDay;
        const QString text = IsAllowed(hours, hour) ? kAllowedHour : kDeniedHour;
        if (QTableWidgetItem *cell = grid.item(row, column)) {
            cell->setText(text);
        } else {
            grid.setItem(row, column, new QTableWidgetItem(text));  // owned by the grid
        }
    }
}

void GridToHours(const QTableWidget &grid, std::span<uint8_t> hours) {
    for (int hour = 0; hour < kHoursPerWeek; ++hour) {
        const QTableWidgetItem *cell = grid.item(hour / kHoursPerDay, hour % kHoursPerDay);
        const auto byte = static_cast<std::size_t>(hour / kBitsPerByte);
        if (cell != nullptr && cell->text() == kAllowedHour && byte < hours.size()) {
            hours[byte] |= BitValues[hour % kBitsPerByte];
        }
    }
}
