#include "call.h"

#include "samworld/services.h"
#include "unicode.hpp"

namespace netapi {

std::optional<std::string> optionalText(const char16_t *text) {
    if (text == nullptr) return std::nullopt;
    auto utf8 = win32::toUtf8(text);
    if (!utf8) throw samworld::Error(ERROR_INVALID_PARAMETER, "text is not well-formed UTF-16");
    return utf8;
}

std::string requiredText(const char16_t *text) {
    auto utf8 = optionalText(text);
    if (!utf8) throw samworld::Error(ERROR_INVALID_PARAMETER, "a required text is missing");
    return *utf8;
}

Call::Call(std::string_view name, const char16_t *server)
    : world_(samworld::World::openDefault()),
      network_(world_.database()),
      machine_(network_.machineOfServer(optionalText(server).value_or(""))) {
    if (const auto status = samworld::takeFault(database(), name, machine_)) {
        throw samworld::Error(*status, "injected fault");
    }
}

samworld::Sam Call::sam() const { return samworld::Sam(database(), network_.samOf(machine_)); }

void Call::requireAdministrator() const { samworld::requireAdministrator(network_, network_.samOf(machine_)); }

}  // namespace netapi
