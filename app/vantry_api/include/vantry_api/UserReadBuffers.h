// A UserRecord prepared for GetUserInfo: each of its ten text fields points at 256 blanks and
// its logon hours at 21 bytes of 0xFF, room for whatever the library writes back.
#pragma once

#include "vantry.h"

#include <array>
#include <cstdint>
#include <string>

class UserReadBuffers {
public:
    UserReadBuffers();
    UserReadBuffers(const UserReadBuffers &) = delete;
    UserReadBuffers &operator=(const UserReadBuffers &) = delete;

    UserRecord &record() { return record_; }
    // A text field as the library left it: up to its first NUL, within the buffer.
    std::string text(char *UserRecord::*field) const;

    static constexpr std::size_t kTextBufferSize = 256;
    static constexpr std::size_t kLogonHoursSize = 21;

private:
    static constexpr std::size_t kTextFields = 10;
    std::array<std::array<char, kTextBufferSize>, kTextFields> texts_;
    std::array<uint8_t, kLogonHoursSize> logonHours_;
    UserRecord record_{};
};
