#include "values.h"

#include "sid.h"

#include <charconv>

namespace directory {
namespace {

constexpr int64_t ticksPerSecond = 10'000'000;
constexpr int64_t secondsFrom1601To1970 = 11'644'473'600;

template <class Number>
std::optional<Number> parsed(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(uint8_t(a[i])) != std::tolower(uint8_t(b[i]))) return false;
    }
    return true;
}

}  // namespace

std::optional<Range> parseRange(std::string_view returned, std::string_view attribute) {
    constexpr std::string_view marker = ";range=";
    if (returned.size() <= attribute.size() + marker.size() ||
        !equalIgnoringCase(returned.substr(0, attribute.size()), attribute) ||
        !equalIgnoringCase(returned.substr(attribute.size(), marker.size()), marker)) {
        return std::nullopt;
    }
    const std::string_view bounds = returned.substr(attribute.size() + marker.size());
    const size_t dash = bounds.find('-');
    if (dash == std::string_view::npos) return std::nullopt;
    const auto first = parsed<uint64_t>(bounds.substr(0, dash));
    const std::string_view lastText = bounds.substr(dash + 1);
    if (!first) return std::nullopt;
    if (lastText == "*") return Range{*first, std::nullopt};
    const auto last = parsed<uint64_t>(lastText);
    if (!last || *last < *first) return std::nullopt;
    return Range{*first, *last};
}

std::optional<ExtendedDn> parseExtendedDn(std::string_view value) {
    ExtendedDn result;
    while (value.starts_with('<')) {
        const size_t close = value.find(">;");
        if (close == std::string_view::npos) return std::nullopt;
        const std::string_view part = value.substr(1, close - 1);
        if (part.starts_with("SID=")) {
            const auto bytes = hexBytes(part.substr(4));
            const auto text = bytes ? sidText(*bytes) : std::nullopt;
            if (!text) return std::nullopt;
            result.sid = text;
        }
        value.remove_prefix(close + 2);
    }
    if (value.empty()) return std::nullopt;
    result.dn = std::string(value);
    return result;
}

std::optional<uint32_t> secondsOfFiletime(int64_t filetime) {
    if (filetime <= 0 || filetime == filetimeNever) return std::nullopt;
    const int64_t seconds = filetime / ticksPerSecond - secondsFrom1601To1970;
    if (seconds <= 0) return 0;
    return uint32_t(std::min<int64_t>(seconds, int64_t(UINT32_MAX) - 1));
}

int64_t filetimeOfSeconds(uint32_t seconds) {
    return (int64_t(seconds) + secondsFrom1601To1970) * ticksPerSecond;
}

int64_t integerValue(std::string_view text) { return parsed<int64_t>(text).value_or(0); }

}  // namespace directory
