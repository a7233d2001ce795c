#include "sid.h"

#include <charconv>

namespace directory {
namespace {

constexpr size_t headerBytes = 8;
constexpr size_t maxSubAuthorities = 15;

uint32_t littleEndian32(std::string_view bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value |= uint32_t(uint8_t(bytes[at + i])) << (8 * i);
    return value;
}

std::optional<uint64_t> number(std::string_view text) {
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<std::string> sidText(std::string_view bytes) {
    if (bytes.size() < headerBytes || uint8_t(bytes[0]) != 1) return std::nullopt;
    const size_t count = uint8_t(bytes[1]);
    if (count > maxSubAuthorities || bytes.size() != headerBytes + 4 * count) return std::nullopt;
    uint64_t authority = 0;  // 48 bits, big-endian
    for (size_t i = 2; i < headerBytes; ++i) authority = (authority << 8) | uint8_t(bytes[i]);
    std::string text = "S-1-" + std::to_string(authority);
    for (size_t i = 0; i < count; ++i) {
        text += '-' + std::to_string(littleEndian32(bytes, headerBytes + 4 * i));
    }
    return text;
}

std::optional<std::string> sidBytes(std::string_view text) {
    if (!text.starts_with("S-1-")) return std::nullopt;
    text.remove_prefix(4);
    std::string bytes(headerBytes, '\0');
    bytes[0] = 1;
    bool authorityDone = false;
    while (true) {
        const size_t dash = text.find('-');
        const auto part = number(text.substr(0, dash));
        if (!part) return std::nullopt;
        if (!authorityDone) {
            if (*part >= (uint64_t(1) << 48)) return std::nullopt;
            for (size_t i = 0; i < 6; ++i) bytes[7 - i] = char((*part >> (8 * i)) & 0xFF);
            authorityDone = true;
        } else {
            if (*part > UINT32_MAX || bytes[1] == char(maxSubAuthorities)) return std::nullopt;
            for (size_t i = 0; i < 4; ++i) bytes += char((*part >> (8 * i)) & 0xFF);
            ++bytes[1];
        }
        if (dash == std::string_view::npos) break;
        text.remove_prefix(dash + 1);
    }
    return bytes;
}

std::optional<uint32_t> ridUnder(std::string_view sid, std::string_view domainSid) {
    if (!sid.starts_with(domainSid) || sid.size() <= domainSid.size() + 1 ||
        sid[domainSid.size()] != '-') {
        return std::nullopt;
    }
    const auto rid = number(sid.substr(domainSid.size() + 1));
    if (!rid || *rid > UINT32_MAX) return std::nullopt;
    return uint32_t(*rid);
}

std::optional<std::string> hexBytes(std::string_view hex) {
    if (hex.size() % 2 != 0) return std::nullopt;
    std::string bytes;
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int high = hexDigit(hex[i]), low = hexDigit(hex[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes += char(high * 16 + low);
    }
    return bytes;
}

}  // namespace directory
