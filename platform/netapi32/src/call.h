// What every Net* call shares: the backend that answers for its server and the target it names
// there, text crossing the edge, and the one path from a failure to a status.
#pragma once

#include "backend/backend.h"
#include "lm.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace netapi {

// Wide text in: absent stays absent; text that is not well-formed UTF-16 is
// ERROR_INVALID_PARAMETER.
std::optional<std::string> optionalText(const char16_t *text);
// As optionalText, but absent text is ERROR_INVALID_PARAMETER too.
std::string requiredText(const char16_t *text);

// One Net* call: picks the backend by the server's name (or by `domain`, for a call that names
// one) and takes the server it names there for the length of the call.
class Call {
public:
    Call(std::string_view name, const char16_t *server, std::string_view domain = {});

    backend::Target &target() const { return *target_; }

    // Reads that see one state of the SAM.
    template <class Read>
    auto read(Read &&body) const {
        std::optional<std::invoke_result_t<Read, backend::Target &>> result;
        target_->read([&] { result.emplace(body(*target_)); });
        return std::move(*result);
    }

    // A change to the SAM: all or nothing, and only for a caller with the right to make it.
    template <class Change>
    void change(Change &&body) const {
        target_->change([&] { body(*target_); });
    }

private:
    std::shared_ptr<backend::Backend> backend_;
    std::unique_ptr<backend::Target> target_;
};

// The status of the exception being handled: a backend Error's own status, else
// ERROR_NOT_ENOUGH_MEMORY or NERR_InternalError.
NET_API_STATUS statusOfCurrentException() noexcept;

// Runs the body of a call and turns whatever it throws into the call's status.
template <class Body>
NET_API_STATUS guarded(Body &&body) noexcept {
    try {
        return body();
    } catch (...) {
        return statusOfCurrentException();
    }
}

}  // namespace netapi
