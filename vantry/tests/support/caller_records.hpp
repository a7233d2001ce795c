// Records as the program prepares them for the library: every text field addresses a buffer of
// 256 blanks that the record owns.
#pragma once

#include "vantry.h"

#include <array>
#include <cstdint>

namespace vantry_test {

inline constexpr std::size_t kCallerBufferSize = 256;
inline constexpr std::size_t kLogonHoursBytes = 21;
using CallerBuffer = std::array<char, kCallerBufferSize>;

// The text fields of a UserRecord, in record order.
inline constexpr std::array<char *UserRecord::*, 10> kUserTextFields = {
    &UserRecord::name,         &UserRecord::password,     &UserRecord::home_dir,
    &UserRecord::comment,      &UserRecord::script_path,  &UserRecord::full_name,
    &UserRecord::usr_comment,  &UserRecord::workstations, &UserRecord::profile,
    &UserRecord::home_dir_drive,
};

struct CallerUserRecord {
    CallerUserRecord();
    CallerUserRecord(const CallerUserRecord &) = delete;
    CallerUserRecord &operator=(const CallerUserRecord &) = delete;

    // Whether every text buffer still holds its 256 blanks.
    bool buffersUntouched() const;

    std::array<CallerBuffer, kUserTextFields.size()> buffers;
    std::array<uint8_t, kLogonHoursBytes> hours;
    UserRecord record{};
};

struct CallerGroupRecord {
    CallerGroupRecord();
    CallerGroupRecord(const CallerGroupRecord &) = delete;
    CallerGroupRecord &operator=(const CallerGroupRecord &) = delete;

    CallerBuffer name;
    CallerBuffer comment;
    GroupRecord record{};
};

CallerBuffer blankBuffer();
bool isBlank(const CallerBuffer &buffer);

}  // namespace vantry_test
