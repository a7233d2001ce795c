// Logon hours: 168 bits, one per hour of the week, in 21 bytes; bit b of byte i (both from 0)
// is hour i * 8 + b, bit 0 the least significant. The grid shows them as 7 day rows of 24
// hour cells, hour h in row h / 24 and column h % 24; a cell reading "X" is an allowed hour.
#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

class QTableWidget;

inline constexpr std::size_t kLogonHoursBytes = 21;
inline constexpr int kHoursPerDay = 24;
inline constexpr int kDaysPerWeek = 7;

// Weight of bit n of a byte, for turning logon-hour bytes into grid cells and back.
inline constexpr std::array<uint8_t, 8> BitValues{1, 2, 4, 8, 16, 32, 64, 128};

inline const QString kAllowedHour = QStringLiteral("X");
inline const QString kDeniedHour = QStringLiteral(" ");

// Writes "X" into the cell of every set bit and " " into every other cell; hours beyond the
// bytes given stay denied.
void HoursToGrid(QTableWidget &grid, std::span<const uint8_t> hours);

// Sets the bit of every cell that reads exactly "X". Bits are only ever set: the caller
// hands in zero bytes.
void GridToHours(const QTableWidget &grid, std::span<uint8_t> hours);
