// What the directory's attribute values mean: ranged attribute names, extended DNs, times.
// Pure functions, tested without a server.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace directory {

// "member;range=0-1499" -> {0, 1499}; "member;range=1500-*" -> {1500, nullopt} (the last
// window). nullopt when the name is not a ranged form of `attribute`.
struct Range {
    uint64_t first = 0;
    std::optional<uint64_t> last;
};
std::optional<Range> parseRange(std::string_view returned, std::string_view attribute);

// A value read with the extended-DN control in its hexadecimal form:
// "<GUID=hex>;<SID=hex>;CN=...": the SID in text form (absent for objects without one) and
// the plain DN. nullopt for a value that is not of that form.
struct ExtendedDn {
    std::optional<std::string> sid;
    std::string dn;
};
std::optional<ExtendedDn> parseExtendedDn(std::string_view value);

// Times: the directory counts 100 ns since 1601 (0 or the largest value for "never" where
// the attribute allows it); the account calls count seconds since 1970, unsigned.
// Seconds since 1970 of a directory time, clamped to [0, UINT32_MAX - 1]; nullopt for 0 and
// for the largest value.
std::optional<uint32_t> secondsOfFiletime(int64_t filetime);
int64_t filetimeOfSeconds(uint32_t seconds);
inline constexpr int64_t filetimeNever = INT64_MAX;

// A directory integer (text) as a number; 0 for text that is none.
int64_t integerValue(std::string_view text);

}  // namespace directory
