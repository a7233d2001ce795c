#include "status/clsErr.h"

#include <algorithm>

namespace {

constexpr int32_t kLargestStoredNumber = 65534;
constexpr int32_t kOutOfRangeNumber = 17;
// Entries end in a line feed followed by a carriage return, in that order.
constexpr const char *kEntryEnd = "\n\r";
// "1. ": the number, full stop and blank of a single entry.
constexpr std::size_t kSingleEntryPrefixLength = 3;

}  // namespace

clsErr::clsErr() {
    Number(0);
    Description("");
}

std::string clsErr::ErrList() const {
    if (count_ == 1) {
        // The one entry may have been emptied away since it was recorded.
        return list_.substr(std::min(kSingleEntryPrefixLength, list_.size()));
    }
    return list_;
}

void clsErr::Refresh() {
    list_.clear();
    Description("");
    count_ = 0;
    Number(0);
}

void clsErr::Number(int32_t number) {
    number_ = (number >= 0 && number <= kLargestStoredNumber) ? number : kOutOfRangeNumber;
}

void clsErr::Description(const std::string &description) {
    description_ = description;
    if (description.empty()) {
        list_.clear();
        return;
    }
    ++count_;
    list_ += std::to_string(count_) + ". " + description + kEntryEnd;
}

void clsErr::CloneErr(const ProgramError &error) {
    Number(error.number());
    Description(error.description());
}

void clsErr::CloneErr() { CloneErr(CurrentError()); }
