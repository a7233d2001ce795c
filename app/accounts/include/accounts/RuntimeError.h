// The run-time errors that values and collections raise when they are misused: a bad
// subscript, a value of the wrong kind, a number too large, a missing or repeated key. They keep
// their own numbers, so the error list shows them as such.
#pragma once

#include <cstdint>

enum class RuntimeError : int32_t {
    InvalidArgument = 5,
    Overflow = 6,
    SubscriptOutOfRange = 9,
    TypeMismatch = 13,
    DuplicateKey = 457,
};

// Raises the error as a ProgramError with source "Tarnwick" and the error's usual text.
[[noreturn]] void RaiseRuntimeError(RuntimeError error);
