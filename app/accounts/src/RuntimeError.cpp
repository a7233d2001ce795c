#include "accounts/RuntimeError.h"

#include "status/ProgramError.h"

namespace {

const char *descriptionOf(RuntimeError error) {
    switch (error) {
        case RuntimeError::InvalidArgument:
            return "Invalid procedure call or argument";
        case RuntimeError::Overflow:
            return "Overflow";
        case RuntimeError::SubscriptOutOfRange:
            return "Subscript out of range";
        case RuntimeError::TypeMismatch:
            return "Type mismatch";
        case RuntimeError::DuplicateKey:
            return "The key is already in the collection";
    }
    return "Run-time error";
}

}  // namespace

void RaiseRuntimeError(RuntimeError error) {
    throw ProgramError(static_cast<int32_t>(error), "Tarnwick", descriptionOf(error));
}
