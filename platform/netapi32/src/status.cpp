// The one place where a failure inside a call becomes the call's status.
#include "call.h"

#include <new>

namespace netapi {

NET_API_STATUS statusOfCurrentException() noexcept {
    try {
        throw;
    } catch (const backend::Error &error) {
        return error.status;
    } catch (const std::bad_alloc &) {
        return ERROR_NOT_ENOUGH_MEMORY;
    } catch (...) {
        return NERR_InternalError;
    }
}

}  // namespace netapi
