#include "call.h"

#include "routing.h"
#include "unicode.hpp"

namespace netapi {

std::optional<std::string> optionalText(const char16_t *text) {
    if (text == nullptr) return std::nullopt;
    auto utf8 = win32::toUtf8(text);
    if (!utf8) throw backend::Error(ERROR_INVALID_PARAMETER, "text is not well-formed UTF-16");
    return utf8;
}

std::string requiredText(const char16_t *text) {
    auto utf8 = optionalText(text);
    if (!utf8) throw backend::Error(ERROR_INVALID_PARAMETER, "a required text is missing");
    return *utf8;
}

Call::Call(std::string_view name, const char16_t *server, std::string_view domain) {
    const std::string serverText = optionalText(server).value_or("");
    backend_ = backendFor(serverText, domain);
    target_ = backend_->target(name, serverText);
}

}  // namespace netapi
