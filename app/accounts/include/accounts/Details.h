// The details collection: account properties under text keys, in the order they were added.
// Keys compare without regard to case. The windows and the account objects exchange properties
// this way, and a caller sends only the keys it means to change, so whether a key is present
// is itself information: KeyExists asks without raising anything.
#pragma once

#include "accounts/DetailValue.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class Details {
public:
    using Entry = std::pair<std::string, DetailValue>;

    // A key already present raises run-time error 457.
    void Add(std::string key, DetailValue value);
    // The value under key; an absent key raises run-time error 5.
    const DetailValue &Item(std::string_view key) const;
    // The value under key, or null when the key is absent.
    const DetailValue *Find(std::string_view key) const;

    int64_t Count() const { return static_cast<int64_t>(entries_.size()); }
    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }

private:
    std::vector<Entry> entries_;
};

bool KeyExists(std::string_view key, const Details &details);
