// Logon hours: 168 bits, one per hour of the week, in 21 bytes; bit b of byte i (both from 0)
// is hour i * 8 + b, bit 0 the least significant. The grid shows them as 7 day rows of 24
// hour cells, hour h in row h / 24 and column h % 24; a cell reading "X" is an allowed hour.
// With several accounts selected the grid shows no account's hours: its cells read "?" until
// the administrator sets or clears them.
#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class QTableWidget;

inline constexpr std::size_t kLogonHoursBytes = 21;
inline constexpr int kHoursPerDay = 24;
inline constexpr int kDaysPerWeek = 7;

// Weight of bit n of a byte, for turning logon-hour bytes into grid cells and back.
inline constexpr std::array<uint8_t, 8> BitValues{1, 2, 4, 8, 16, 32, 64, 128};

inline const QString kAllowedHour = QStringLiteral("X");
inline const QString kDeniedHour = QStringLiteral(" ");
inline const QString kUnknownHour = QStringLiteral("?");

// Writes "X" into the cell of every set bit and " " into every other cell; hours beyond the
// bytes given stay denied. The grid's tool tip goes: it shows one account's hours.
void HoursToGrid(QTableWidget &grid, std::span<const uint8_t> hours);

// Sets the bit of every cell that reads exactly "X". Bits are only ever set: the caller
// hands in zero bytes.
void GridToHours(const QTableWidget &grid, std::span<uint8_t> hours);

// Writes "?" into every cell, and a tool tip on the grid says why: the hours of the accounts
// are not shown, and only the hours set or cleared are applied.
void ShowUnknownHours(QTableWidget &grid);

// The hours the administrator allowed and denied in the grid; every other hour is one the grid
// did not show.
struct LogonHoursEdit {
    std::array<uint8_t, kLogonHoursBytes> allowed{};
    std::array<uint8_t, kLogonHoursBytes> denied{};

    // Every hour was allowed or denied: the account's own hours do not matter.
    bool complete() const;
    // The account's own hours with the allowed ones set and the denied ones cleared.
    std::vector<uint8_t> AppliedTo(std::span<const uint8_t> own) const;
};

LogonHoursEdit HoursEditOf(const QTableWidget &grid);
