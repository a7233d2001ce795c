#include "status/ErrorReport.h"

namespace {

// Line breaks in the error list are a line feed followed by a carriage return.
constexpr const char *kLineBreak = "\n\r";
constexpr const char *kBlankLine = "\n\r\n\r";

}  // namespace

std::string ErrorReport::Message() const {
    std::string message = caption;
    if (!caption.empty()) message += std::string(":") + kLineBreak;
    message += list;
    if (!summary.empty()) message += summary + kLineBreak;
    return message;
}

EntryParts SplitAdvice(const std::string &description) {
    const std::size_t blank = description.find(kBlankLine);
    if (blank == std::string::npos) return {description, {}};
    return {description.substr(0, blank),
            description.substr(blank + std::char_traits<char>::length(kBlankLine))};
}

std::string PlainLines(const std::string &text) {
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\n' && at + 1 < text.size() && text[at + 1] == '\r') {
            plain += '\n';
            ++at;
        } else if (text[at] != '\r') {
            plain += text[at];
        }
    }
    return plain;
}
