#include "accounts/DetailValue.h"

#include "CaseInsensitive.h"
#include "accounts/RuntimeError.h"

#include <charconv>
#include <limits>

namespace {

constexpr int32_t kTrueNumber = -1;

template <typename... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};

// A whole number written in text, blanks around it allowed.
int32_t numberIn(const std::string &text) {
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(' ');
    if (first == std::string::npos) {
        RaiseRuntimeError(RuntimeError::TypeMismatch);
    }
    int64_t number = 0;
    const char *end = text.data() + last + 1;
    const auto [stop, error] = std::from_chars(text.data() + first, end, number);
    if (error == std::errc::result_out_of_range) {
        RaiseRuntimeError(RuntimeError::Overflow);
    }
    if (error != std::errc() || stop != end) {
        RaiseRuntimeError(RuntimeError::TypeMismatch);
    }
    if (number < std::numeric_limits<int32_t>::min() ||
        number > std::numeric_limits<int32_t>::max()) {
        RaiseRuntimeError(RuntimeError::Overflow);
    }
    return static_cast<int32_t>(number);
}

[[noreturn]] void mismatch() { RaiseRuntimeError(RuntimeError::TypeMismatch); }

}  // namespace

std::string TextOf(const DetailValue &value) {
    return std::visit(Overloaded{[](const std::string &text) { return text; },
                                 [](int32_t number) { return std::to_string(number); },
                                 [](bool flag) { return std::string(flag ? "True" : "False"); },
                                 [](const ByteArray &) -> std::string { mismatch(); },
                                 [](DateTime moment) { return DateTimeText(moment); }},
                      value);
}

bool BooleanOf(const DetailValue &value) {
    return std::visit(
        Overloaded{[](const std::string &text) {
                       if (EqualsIgnoringCase(text, "True"))
                           return true;
                       if (EqualsIgnoringCase(text, "False"))
                           return false;
                       return numberIn(text) != 0;
                   },
                   [](int32_t number) { return number != 0; }, [](bool flag) { return flag; },
                   [](const ByteArray &) -> bool { mismatch(); },
                   [](DateTime) -> bool { mismatch(); }},
        value);
}

int32_t LongOf(const DetailValue &value) {
    return std::visit(Overloaded{[](const std::string &text) { return numberIn(text); },
                                 [](int32_t number) { return number; },
                                 [](bool flag) { return flag ? kTrueNumber : 0; },
                                 [](const ByteArray &) -> int32_t { mismatch(); },
                                 [](DateTime) -> int32_t { mismatch(); }},
                      value);
}

std::optional<DateTime> DateOf(const DetailValue &value) {
    if (const auto *moment = std::get_if<DateTime>(&value)) {
        return *moment;
    }
    if (const auto *text = std::get_if<std::string>(&value)) {
        return ParseDateTime(*text);
    }
    return std::nullopt;
}

const ByteArray &BytesOf(const DetailValue &value) {
    if (const auto *bytes = std::get_if<ByteArray>(&value)) {
        return *bytes;
    }
    mismatch();
}
