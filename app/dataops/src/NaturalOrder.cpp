#include "dataops/NaturalOrder.h"

#include <QString>

#include <algorithm>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// ASCII letters compare without case; any other byte as it is.
unsigned char folded(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

std::string_view digitRun(std::string_view text, std::size_t from) {
    std::size_t end = from;
    while (end < text.size() && isDigit(text[end])) ++end;
    return text.substr(from, end - from);
}

// Two runs of digits by their value: fewer significant digits is less, then digit by digit.
int compareNumbers(std::string_view a, std::string_view b) {
    const auto significant = [](std::string_view run) {
        return run.substr(std::min(run.find_first_not_of('0'), run.size()));
    };
    const std::string_view x = significant(a);
    const std::string_view y = significant(b);
    if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
    return x.compare(y);
}

}  // namespace

int NaturalCompare(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const std::string_view x = digitRun(a, i);
            const std::string_view y = digitRun(b, j);
            if (const int order = compareNumbers(x, y); order != 0) return order;
            i += x.size();
            j += y.size();
            continue;
        }
        if (folded(a[i]) != folded(b[j])) return folded(a[i]) < folded(b[j]) ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size()) return i < a.size() ? 1 : -1;
    return a.compare(b);
}

std::string FoldedForSearch(std::string_view text) {
    const bool ascii = std::all_of(text.begin(), text.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii) {
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
            .toCaseFolded()
            .toStdString();
    }
    std::string result(text);
    for (char &c : result) c = static_cast<char>(folded(c));
    return result;
}
