// Security identifiers as the directory stores them (objectSid, the SID part of an extended
// DN) and as the account calls show them (S-1-5-21-a-b-c-RID).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace directory {

// The text form of a binary SID; nullopt unless the bytes are exactly one well-formed SID
// (revision 1, then 8 + 4 x count bytes).
std::optional<std::string> sidText(std::string_view bytes);
// The binary form of S-1-A-S1-...; nullopt for text that is not a SID.
std::optional<std::string> sidBytes(std::string_view text);
// The relative id (the last part) of sid when it lies directly under domainSid.
std::optional<uint32_t> ridUnder(std::string_view sid, std::string_view domainSid);

// Hexadecimal text to bytes; nullopt for an odd length or a character that is no hex digit.
std::optional<std::string> hexBytes(std::string_view hex);

}  // namespace directory
