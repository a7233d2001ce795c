// The error list: every failure of one operation becomes a numbered line, shown together
// once the operation ends. It also remembers the number and text of the last failure.
#pragma once

#include "status/ErrorReport.h"
#include "status/ProgramError.h"

#include <cstdint>
#include <string>
#include <vector>

class clsErr {
public:
    clsErr();

    int32_t Number() const { return number_; }
    const std::string &Description() const { return description_; }
    // A single entry reads as its bare description, without "1. ".
    std::string ErrList() const;
    // The entries still in the list, each with its number.
    const std::vector<ErrorEntry> &Entries() const { return entries_; }
    // Entries recorded since the last Refresh.
    int64_t count() const { return count_; }

    void Refresh();
    // Numbers outside 0-65534 are stored as 17.
    void Number(int32_t number);
    // Non-empty text records the next entry; empty text empties the list, keeping the count.
    void Description(const std::string &description);
    // Takes back the entries recorded since count() was count: a try that is made again.
    void TakeBack(int64_t count);

    void CloneErr(const ProgramError &error);
    // Records the error being handled; call it only inside a catch block.
    void CloneErr();

private:
    int32_t number_ = 0;
    std::string description_;
    std::vector<ErrorEntry> entries_;
    int64_t count_ = 0;  // not bounded at 16 bits: a long operation may record many entries
};
