// Account times: signed 32-bit counts of seconds since 1970-01-01 00:00:00, with no time-zone
// adjustment. In the expiry field -1 means that the account never expires; as a moment that is
// the last second of 1969.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

using DateTime = std::chrono::sys_seconds;

inline constexpr int32_t kNeverExpires = -1;

// The moment a count of seconds stands for.
DateTime AccountTimeOf(int32_t seconds);

// The count of seconds a moment is kept as; nullopt when the field cannot hold it: before
// 1970 (apart from the moment of "never"), or after 2038-01-19 03:14:07.
std::optional<int32_t> AccountSecondsOf(DateTime moment);

// The short date of the user's locale (the C library's LC_TIME), followed by the locale's time
// unless the time is exactly midnight. The C and POSIX locales, which stand for no region, and
// any locale whose text would not read back to the same moment, get "YYYY-MM-DD HH:MM:SS",
// or "YYYY-MM-DD" at midnight.
std::string DateTimeText(DateTime moment);

// Reads what DateTimeText writes, and ISO dates in every locale, also as a person types them:
// blanks around the text, one-digit months, days and hours, the seconds left out. Days that do
// not exist, such as February 31st, are not dates: nullopt, as for any other text.
std::optional<DateTime> ParseDateTime(std::string_view text);
