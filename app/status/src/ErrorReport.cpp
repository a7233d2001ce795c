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
