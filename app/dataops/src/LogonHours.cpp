#include "dataops/LogonHours.h"

#include <QTableWidget>

namespace {

constexpr int kHoursPerWeek = kHoursPerDay * kDaysPerWeek;

const char *const kUnknownHoursHint =
    "The selected users' hours may differ, so none are shown here. Only the hours you set or "
    "clear are applied; every other hour of each user stays as it is.";
constexpr int kBitsPerByte = static_cast<int>(BitValues.size());

// Sets the bit of every hour whose cell reads exactly text.
void SetBitsOfCells(const QTableWidget &grid, const QString &text, std::span<uint8_t> hours) {
    for (int hour = 0; hour < kHoursPerWeek; ++hour) {
        const QTableWidgetItem *cell = grid.item(hour / kHoursPerDay, hour % kHoursPerDay);
        const auto byte = static_cast<std::size_t>(hour / kBitsPerByte);
        if (cell != nullptr && cell->text() == text && byte < hours.size()) {
            hours[byte] |= BitValues[hour % kBitsPerByte];
        }
    }
}

bool IsAllowed(std::span<const uint8_t> hours, int hour) {
    const auto byte = static_cast<std::size_t>(hour / kBitsPerByte);
    return byte < hours.size() && (hours[byte] & BitValues[hour % kBitsPerByte]) != 0;
}

}  // namespace

void HoursToGrid(QTableWidget &grid, std::span<const uint8_t> hours) {
    grid.setToolTip(QString());
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
    SetBitsOfCells(grid, kAllowedHour, hours);
}

void ShowUnknownHours(QTableWidget &grid) {
    grid.setToolTip(QString::fromUtf8(kUnknownHoursHint));
    for (int row = 0; row < kDaysPerWeek; ++row) {
        for (int column = 0; column < kHoursPerDay; ++column) {
            if (QTableWidgetItem *cell = grid.item(row, column)) cell->setText(kUnknownHour);
        }
    }
}

bool LogonHoursEdit::complete() const {
    for (std::size_t i = 0; i < kLogonHoursBytes; ++i) {
        if ((allowed[i] | denied[i]) != 0xFF) return false;
    }
    return true;
}

std::vector<uint8_t> LogonHoursEdit::AppliedTo(std::span<const uint8_t> own) const {
    std::vector<uint8_t> hours(kLogonHoursBytes, 0);
    for (std::size_t i = 0; i < kLogonHoursBytes; ++i) {
        const uint8_t kept = i < own.size() ? own[i] : 0;
        hours[i] = static_cast<uint8_t>((kept & ~denied[i]) | allowed[i]);
    }
    return hours;
}

LogonHoursEdit HoursEditOf(const QTableWidget &grid) {
    LogonHoursEdit edit;
    SetBitsOfCells(grid, kAllowedHour, edit.allowed);
    SetBitsOfCells(grid, kDeniedHour, edit.denied);
    return edit;
}
