// One value of a details collection, and how the account objects read a value as the kind a
// property needs. A value of a kind that cannot be read so raises a run-time error (type
// mismatch, or overflow for a number too large for 32 bits).
#pragma once

#include "accounts/AccountTime.h"
#include "accounts/OneBasedArray.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

using DetailValue = std::variant<std::string, int32_t, bool, ByteArray, DateTime>;

// Text as shown: numbers in decimal, "True" or "False", dates as DateTimeText writes them.
// Byte arrays have no text.
std::string TextOf(const DetailValue &value);

// Booleans; numbers (non-zero is true); the texts "True" and "False" in any case, or a number.
bool BooleanOf(const DetailValue &value);

// Numbers; Booleans (true is -1); text holding a whole number.
int32_t LongOf(const DetailValue &value);

// Dates, and text that reads as one (ParseDateTime); nullopt for anything else.
std::optional<DateTime> DateOf(const DetailValue &value);

const ByteArray &BytesOf(const DetailValue &value);
