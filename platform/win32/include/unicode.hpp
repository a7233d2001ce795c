// Strict UTF-8 <-> UTF-16 conversion shared by the platform stand-ins.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace win32 {

// Empty when the input is not well-formed (overlong forms, surrogates encoded in UTF-8,
// code points past U+10FFFF, truncated sequences, unpaired surrogates in UTF-16).
std::optional<std::u16string> toUtf16(std::string_view utf8);
// The same into `out`, whose storage is reused: false when the input is not well-formed.
bool toUtf16(std::string_view utf8, std::u16string &out);
// How many UTF-16 code units toUtf16 would give, without converting.
std::optional<std::size_t> utf16Length(std::string_view utf8);
std::optional<std::string> toUtf8(std::u16string_view utf16);

}  // namespace win32
