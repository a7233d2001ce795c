// MultiByteToWideChar and WideCharToMultiByte over the strict UTF-8 codec.
#include "unicode.hpp"
#include "win32.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

template <typename Char>
std::basic_string_view<Char> sourceText(const Char *src, int srcLen) {
    if (srcLen >= 0) return {src, static_cast<std::size_t>(srcLen)};
    // -1: the text and its terminator.
    return {src, std::char_traits<Char>::length(src) + 1};
}

// Writes the converted text into dst, or reports the size needed when dstLen is 0.
template <typename Out, typename Char>
int deliver(const std::optional<Out> &converted, Char *dst, int dstLen) {
    if (!converted) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    const auto needed = static_cast<int>(converted->size());
    if (dstLen == 0) return needed;
    if (needed > dstLen) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::copy(converted->begin(), converted->end(), dst);
    return needed;
}

bool validArguments(UINT codePage, const void *src, int srcLen, const void *dst, int dstLen) {
    return codePage == CP_ACP && src != nullptr && srcLen != 0 && srcLen >= -1 && dstLen >= 0 &&
           (dstLen == 0 || dst != nullptr) && src != dst;
}

}  // namespace

extern "C" int MultiByteToWideChar(UINT codePage, DWORD /*flags*/, const char *src, int srcLen,
                                   char16_t *dst, int dstLen) {
    if (!validArguments(codePage, src, srcLen, dst, dstLen)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return deliver(win32::toUtf16(sourceText(src, srcLen)), dst, dstLen);
}

extern "C" int WideCharToMultiByte(UINT codePage, DWORD /*flags*/, const char16_t *src, int srcLen,
                                   char *dst, int dstLen, const char *defaultChar,
                                   BOOL *usedDefault) {
    if (!validArguments(codePage, src, srcLen, dst, dstLen) || defaultChar != nullptr ||
        usedDefault != nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return deliver(win32::toUtf8(sourceText(src, srcLen)), dst, dstLen);
}
