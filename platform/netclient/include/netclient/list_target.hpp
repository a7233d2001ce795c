// Where listed names go: one add-string message per name, sent to the caller's window in the
// order the platform gave them. A list box takes LB_ADDSTRING (any non-zero kind), a combo box
// CB_ADDSTRING (kind 0). The window is never cleared. Listings of accounts may follow each
// name with its details, which only the program's own lists understand.
#pragma once

#include "win32.h"

#include <cstdint>
#include <span>
#include <string>

namespace netclient {

// A listed name with what else the platform listed of its account.
struct DetailedName {
    std::u16string name;
    std::u16string fullName;
    std::u16string comment;
    uint32_t flags = 0;
};

class ListTarget {
public:
    ListTarget(int32_t listKind, HWND window);

    // Converts the whole batch before sending any of it, so a batch holding a name that cannot
    // be converted delivers nothing and returns ERROR_NO_UNICODE_TRANSLATION.
    uint32_t deliver(std::span<const std::u16string> names) const;
    // As above, and right after each name its details, in a ListDetails (vantry.h) that lasts
    // for the one message.
    uint32_t deliver(std::span<const DetailedName> entries) const;

private:
    UINT message_;
    HWND window_;
};

}  // namespace netclient
