#include "arguments.h"

#include "unicode.hpp"

#include <charconv>

namespace samworld::tool {

void requireUtf8(const std::string &text, const std::string &what) {
    if (!win32::toUtf16(text)) throw UsageError(what + " is not valid UTF-8 text");
}

Arguments::Arguments(const std::vector<std::string> &words, const std::set<std::string> &switches) {
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string &word = words[i];
        if (!word.starts_with("--")) {
            requireUtf8(word, "word " + std::to_string(i + 1) + " after the command");
            positional_.push_back(word);
        } else if (switches.count(word) != 0) {
            options_[word] = "";
        } else if (i + 1 < words.size()) {
            requireUtf8(words[i + 1], "the value of " + word);
            options_[word] = words[++i];
        } else {
            throw UsageError(word + " needs a value");
        }
    }
}

bool Arguments::has(const std::string &option) const { return options_.count(option) != 0; }

std::optional<std::string> Arguments::value(const std::string &option) const {
    const auto found = options_.find(option);
    if (found == options_.end()) return std::nullopt;
    return found->second;
}

int64_t parseNumber(const std::string &word, const std::string &what) {
    const bool hex = word.starts_with("0x") || word.starts_with("0X");
    const char *first = word.data() + (hex ? 2 : 0);
    const char *last = word.data() + word.size();
    int64_t number = 0;
    const auto [end, error] = std::from_chars(first, last, number, hex ? 16 : 10);
    if (first == last || error != std::errc() || end != last) {
        throw UsageError(what + " must be a number, not '" + word + "'");
    }
    return number;
}

}  // namespace samworld::tool
