// What the snapshot keeps of an account besides its name: the values the lists show beside it.
#pragma once

#include <cstdint>
#include <string>

struct UserColumns {
    std::string FullName;
    std::string Comment;
    uint32_t Flags = 0;  // the account's flag word as last read or written

    bool AccountDisabled() const;
    bool AccountLocked() const;
    bool PasswordNeverExpires() const;
};

struct GroupColumns {
    int32_t IsGlobal = 0;  // non-zero for a global group
    std::string Comment;
};
