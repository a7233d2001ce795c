#include "status/clsErr.h"

namespace {

constexpr int32_t kLargestStoredNumber = 65534;
constexpr int32_t kOutOfRangeNumber = 17;
// Entries end in a line feed followed by a carriage return, in that order.
constexpr const char *kEntryEnd = "\n\r";

}  // namespace

clsErr::clsErr() {
    Number(0);
    Description("");
}

std::string clsErr::ErrList() const {
    // A single entry goes without its number; it may have been emptied away since.
    if (count_ == 1) {
        return entries_.empty() ? std::string() : entries_.front().description + kEntryEnd;
    }
    std::string list;
    for (const ErrorEntry &entry : entries_) {
        list += std::to_string(entry.number) + ". " + entry.description + kEntryEnd;
    }
    return list;
}

void clsErr::Refresh() {
    entries_.clear();
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
        entries_.clear();
        return;
    }
    ++count_;
    entries_.push_back({count_, description});
}

void clsErr::TakeBack(int64_t count) {
    std::erase_if(entries_, [count](const ErrorEntry &entry) { return entry.number > count; });
    count_ = count;
}

void clsErr::CloneErr(const ProgramError &error) {
    Number(error.number());
    Description(error.description());
}

void clsErr::CloneErr() { CloneErr(CurrentError()); }
