// A text result of the account library: 256 blanks, of which the library overwrites the start
// with the answer and its terminator.
#pragma once

#include <cstddef>
#include <string>

class TextResult {
public:
    TextResult() = default;
    TextResult(const TextResult &) = delete;
    TextResult &operator=(const TextResult &) = delete;

    // What the library's text-result parameter takes.
    char **address() { return &start_; }
    // The answer: the buffer up to its first NUL.
    std::string text() const { return buffer_.substr(0, buffer_.find('\0')); }
    const std::string &blanks() const { return buffer_; }

    static constexpr std::size_t kSize = 256;

private:
    std::string buffer_ = std::string(kSize, ' ');
    char *start_ = buffer_.data();
};
