// Arrays numbered from 1 to Count(), as the windows number list entries and logon-hour bytes.
// An index outside that range raises run-time error 9, like any other bad subscript.
#pragma once

#include "accounts/RuntimeError.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

template <typename T>
class OneBasedArray {
public:
    OneBasedArray() = default;
    OneBasedArray(std::initializer_list<T> items) : items_(items) {}
    explicit OneBasedArray(std::vector<T> items) : items_(std::move(items)) {}

    int64_t Count() const { return static_cast<int64_t>(items_.size()); }
    const T &Item(int64_t index) const { return items_[position(index)]; }
    T &Item(int64_t index) { return items_[position(index)]; }

    void Append(T item) { items_.push_back(std::move(item)); }
    void Clear() { items_.clear(); }

    const std::vector<T> &items() const { return items_; }
    // Hands the items over, leaving the array empty.
    std::vector<T> TakeItems() { return std::exchange(items_, {}); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    bool operator==(const OneBasedArray &) const = default;

private:
    std::size_t position(int64_t index) const {
        if (index < 1 || index > Count()) {
            RaiseRuntimeError(RuntimeError::SubscriptOutOfRange);
        }
        return static_cast<std::size_t>(index - 1);
    }

    std::vector<T> items_;
};

using NameArray = OneBasedArray<std::string>;
// Logon hours travel as 21 of these, one bit per hour of the week.
using ByteArray = OneBasedArray<uint8_t>;
