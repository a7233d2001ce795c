#include "accounts/AccountTime.h"

#include <charconv>
#include <clocale>
#include <cstdio>
#include <ctime>
#include <limits>

namespace {

using namespace std::chrono;

// Reads an unsigned number of minDigits to maxDigits digits at the front of text.
std::optional<int> takeNumber(std::string_view &text, std::size_t minDigits,
                              std::size_t maxDigits) {
    std::size_t digits = 0;
    while (digits < text.size() && digits < maxDigits && text[digits] >= '0' &&
           text[digits] <= '9') {
        ++digits;
    }
    if (digits < minDigits) {
        return std::nullopt;
    }
    int value = 0;
    std::from_chars(text.data(), text.data() + digits, value);
    text.remove_prefix(digits);
    return value;
}

bool takeCharacter(std::string_view &text, char expected) {
    if (text.empty() || text.front() != expected) {
        return false;
    }
    text.remove_prefix(1);
    return true;
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<sys_days> takeDate(std::string_view &text) {
    const auto yearNumber = takeNumber(text, 4, 4);
    if (!yearNumber || !takeCharacter(text, '-'))
        return std::nullopt;
    const auto monthNumber = takeNumber(text, 1, 2);
    if (!monthNumber || !takeCharacter(text, '-'))
        return std::nullopt;
    const auto dayNumber = takeNumber(text, 1, 2);
    if (!dayNumber)
        return std::nullopt;
    const year_month_day date{year{*yearNumber}, month{static_cast<unsigned>(*monthNumber)},
                              day{static_cast<unsigned>(*dayNumber)}};
    if (!date.ok())
        return std::nullopt;
    return sys_days{date};
}

// HH:MM or HH:MM:SS, as seconds into the day.
std::optional<seconds> takeTimeOfDay(std::string_view &text) {
    const auto hour = takeNumber(text, 1, 2);
    if (!hour || !takeCharacter(text, ':'))
        return std::nullopt;
    const auto minute = takeNumber(text, 2, 2);
    if (!minute)
        return std::nullopt;
    std::optional<int> second = 0;
    if (takeCharacter(text, ':')) {
        second = takeNumber(text, 2, 2);
    }
    if (!second || *hour > 23 || *minute > 59 || *second > 59)
        return std::nullopt;
    return hours{*hour} + minutes{*minute} + seconds{*second};
}

std::string isoText(DateTime moment) {
    const sys_days date = floor<days>(moment);
    const year_month_day ymd{date};
    const hh_mm_ss time{moment - date};
    char text[sizeof "-32768-12-31 23:59:59"];
    int length =
        std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(ymd.year()),
                      static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
    if (moment != date) {
        std::snprintf(text + length, sizeof text - length, " %02d:%02d:%02d",
                      static_cast<int>(time.hours().count()),
                      static_cast<int>(time.minutes().count()),
                      static_cast<int>(time.seconds().count()));
    }
    return text;
}

std::optional<DateTime> parseIso(std::string_view text) {
    const auto date = takeDate(text);
    if (!date)
        return std::nullopt;
    if (text.empty())
        return DateTime{*date};
    if (!takeCharacter(text, ' '))
        return std::nullopt;
    text = trimmed(text);
    const auto timeOfDay = takeTimeOfDay(text);
    if (!timeOfDay || !text.empty())
        return std::nullopt;
    return DateTime{*date + *timeOfDay};
}

// The C and POSIX locales (also "C.UTF-8") describe no region: their short date is a
// two-digit-year American form that nobody chose, so they keep ISO.
bool regionalDates() {
    const char *name = std::setlocale(LC_TIME, nullptr);
    const std::string_view locale = name != nullptr ? name : "C";
    return locale != "C" && locale != "POSIX" && !locale.starts_with("C.");
}

// The calendar parts of a moment, read as universal time: account times carry no time zone.
std::tm partsOf(DateTime moment) {
    const std::time_t count = moment.time_since_epoch().count();
    std::tm parts{};
    gmtime_r(&count, &parts);
    return parts;
}

std::string regionalText(DateTime moment) {
    const std::tm parts = partsOf(moment);
    const char *format = moment == floor<days>(moment) ? "%x" : "%x %X";
    char text[128];
    const std::size_t length = std::strftime(text, sizeof text, format, &parts);
    return std::string(text, length);
}

bool onlyBlanksLeft(const char *rest) { return rest != nullptr && trimmed(rest).empty(); }

// The locale's time, or the 24-hour clock as a person types it, as seconds into the day.
std::optional<seconds> regionalTimeOfDay(const char *text) {
    for (const char *format : {"%X", "%H:%M:%S", "%H:%M"}) {
        std::tm parts{};
        if (!onlyBlanksLeft(strptime(text, format, &parts)) || parts.tm_sec > 59)
            continue;
        return hours{parts.tm_hour} + minutes{parts.tm_min} + seconds{parts.tm_sec};
    }
    return std::nullopt;
}

std::optional<DateTime> parseRegional(std::string_view text) {
    const std::string copy(text);  // the C library reads up to a NUL
    std::tm parts{};
    const char *rest = strptime(copy.c_str(), "%x", &parts);
    if (rest == nullptr)
        return std::nullopt;
    const year_month_day date{year{parts.tm_year + 1900},
                              month{static_cast<unsigned>(parts.tm_mon + 1)},
                              day{static_cast<unsigned>(parts.tm_mday)}};
    if (!date.ok())
        return std::nullopt;
    if (onlyBlanksLeft(rest))
        return DateTime{sys_days{date}};
    const auto timeOfDay = regionalTimeOfDay(rest);
    if (!timeOfDay)
        return std::nullopt;
    return DateTime{sys_days{date} + *timeOfDay};
}

}  // namespace

DateTime AccountTimeOf(int32_t count) { return DateTime{seconds{count}}; }

std::optional<int32_t> AccountSecondsOf(DateTime moment) {
    const int64_t count = moment.time_since_epoch().count();
    if (count == kNeverExpires || (count >= 0 && count <= std::numeric_limits<int32_t>::max())) {
        return static_cast<int32_t>(count);
    }
    return std::nullopt;
}

std::string DateTimeText(DateTime moment) {
    if (regionalDates()) {
        std::string text = regionalText(moment);
        // A locale whose form drops the seconds or the century would lose the moment.
        if (parseRegional(text) == moment)
            return text;
    }
    return isoText(moment);
}

std::optional<DateTime> ParseDateTime(std::string_view text) {
    text = trimmed(text);
    if (const auto moment = parseIso(text))
        return moment;
    return regionalDates() ? parseRegional(text) : std::nullopt;
}
