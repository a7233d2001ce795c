#include "accounts/Details.h"

#include "CaseInsensitive.h"
#include "accounts/RuntimeError.h"

#include <algorithm>

void Details::Add(std::string key, DetailValue value) {
    if (Find(key) != nullptr) {
        RaiseRuntimeError(RuntimeError::DuplicateKey);
    }
    entries_.emplace_back(std::move(key), std::move(value));
}

const DetailValue &Details::Item(std::string_view key) const {
    const DetailValue *value = Find(key);
    if (value == nullptr) {
        RaiseRuntimeError(RuntimeError::InvalidArgument);
    }
    return *value;
}

const DetailValue *Details::Find(std::string_view key) const {
    const auto entry = std::find_if(entries_.begin(), entries_.end(), [key](const Entry &e) {
        return EqualsIgnoringCase(e.first, key);
    });
    return entry != entries_.end() ? &entry->second : nullptr;
}

bool KeyExists(std::string_view key, const Details &details) {
    return details.Find(key) != nullptr;
}
