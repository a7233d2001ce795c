// Text crossing the library boundary: narrow arguments (the code page, UTF-8 here) become the
// platform's wide text, and the platform's wide text comes back narrow.
#pragma once

#include "lm.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace netclient {

// Every text handed in, and every caller result buffer, holds 255 bytes plus the terminator.
inline constexpr std::size_t kTextBufferSize = 256;

// A narrow text converted for a platform call. Text that is too long or malformed is refused,
// never cut short: a shortened name could address a different account.
class WideText {
public:
    // 0; ERROR_INVALID_PARAMETER for null or over 255 bytes; ERROR_NO_UNICODE_TRANSLATION.
    uint32_t assign(const char *narrow);
    // Not const: some platform calls take their input text as LMSTR.
    LPWSTR get() { return chars_.data(); }

private:
    std::array<char16_t, kTextBufferSize> chars_{};
};

struct TextArgument {
    const char *narrow;
    WideText &wide;
};

// Converts the arguments in order; the status of the first that fails, else 0.
uint32_t toWide(std::initializer_list<TextArgument> arguments);

// A platform text (NUL-terminated) in the code page, whole: a list has no length limit.
// ERROR_NO_UNICODE_TRANSLATION when the text is not valid UTF-16.
uint32_t toNarrow(const char16_t *wide, std::string &narrow);

// A record text that does not fit a caller buffer (a controller may hold a description of
// 1,024 characters) is shown cut at a character boundary, ending in this mark so that nobody
// takes it for the whole text.
inline constexpr std::string_view kCutMark = "\u2026";

// What a caller buffer shows of a platform text: the text, or its cut form with the mark.
// ERROR_NO_UNICODE_TRANSLATION when the text is not valid UTF-16.
uint32_t shownText(const char16_t *platformText, std::string &shown);

// Whether the caller's text is exactly what a caller buffer shows of the platform's: sending it
// back would write the shown form over the account's own, perhaps longer, text.
bool isShownFormOf(const char *callerText, const char16_t *platformText);

// Record texts for caller buffers of 256 bytes, staged so that all are written or none: a call
// that fails leaves every buffer as it was.
class CallerTexts {
public:
    // Converts platformText for buffer, cut with the mark when it is too long. A null buffer (an
    // absent record field) or a null platform text has nothing to write.
    // ERROR_NO_UNICODE_TRANSLATION when the text is not valid UTF-16.
    uint32_t stage(char *buffer, const char16_t *platformText);
    // Each text with its terminator at the start of its buffer; the rest stays as it was.
    void write() const;

private:
    struct Pending {
        char *buffer;
        std::string text;
    };
    std::vector<Pending> pending_;
};

// One name result, such as a controller's: written whole, never cut, since a cut name could
// address another machine. ERROR_NO_UNICODE_TRANSLATION, or ERROR_INSUFFICIENT_BUFFER when the
// name and its terminator exceed 256 bytes; the buffer is then left as it was.
uint32_t writeCallerText(char *buffer, const char16_t *platformText);

}  // namespace netclient
