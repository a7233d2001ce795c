#include "samworld/names.h"

#include "unicode.hpp"

#include <algorithm>
#include <clocale>
#include <cwctype>
#include <locale.h>

namespace samworld {
namespace {

constexpr size_t maxAccountNameLength = 20;
constexpr size_t maxMachineNameLength = 63;
constexpr std::u16string_view forbiddenCharacters = u"\"/\\[]:|<>+=;,?*@";

// Full Unicode case mapping needs a UTF-8 locale; the process's own locale is left alone.
locale_t caseLocale() {
    static const locale_t locale = [] {
        locale_t made = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
        return made != nullptr ? made : newlocale(LC_CTYPE_MASK, "C", nullptr);
    }();
    return locale;
}

char32_t upper(char32_t c) {
    if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c;
    return static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), caseLocale()));
}

void appendUtf8(std::string &out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string foldCase(std::string_view name) {
    const auto wide = win32::toUtf16(name);
    if (!wide) return std::string(name);  // not UTF-8: compared byte for byte
    std::string folded;
    folded.reserve(name.size());
    for (size_t i = 0; i < wide->size(); ++i) {
        char32_t c = (*wide)[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < wide->size()) {
            c = 0x10000 + ((c - 0xD800) << 10) + ((*wide)[++i] - 0xDC00);
        }
        appendUtf8(folded, upper(c));
    }
    return folded;
}

namespace {
bool isValidName(std::string_view name, size_t maxLength) {
    const auto wide = win32::toUtf16(name);
    if (!wide || wide->empty() || wide->size() > maxLength) return false;
    const bool forbidden = std::any_of(wide->begin(), wide->end(), [](char16_t c) {
        return c < 0x20 || c == 0x7F || forbiddenCharacters.find(c) != std::u16string_view::npos;
    });
    const bool onlyDotsAndSpaces =
        std::all_of(wide->begin(), wide->end(), [](char16_t c) { return c == u'.' || c == u' '; });
    return !forbidden && !onlyDotsAndSpaces;
}
}  // namespace

bool isValidAccountName(std::string_view name) { return isValidName(name, maxAccountNameLength); }

bool isValidMachineName(std::string_view name) {
    return isValidName(name, maxMachineNameLength) && name.find(' ') == std::string_view::npos;
}

QualifiedName splitQualifiedName(std::string_view text) {
    const auto slash = text.find('\\');
    if (slash == std::string_view::npos) return {std::nullopt, std::string(text)};
    return {std::string(text.substr(0, slash)), std::string(text.substr(slash + 1))};
}

std::string_view machineOfServer(std::string_view server) {
    if (server.starts_with("\\\\")) server.remove_prefix(2);
    return server;
}

}  // namespace samworld
