// Where listed names go: one add-string message per name, sent to the caller's window in the
// order the platform gave them. A list box takes LB_ADDSTRING (any non-zero kind), a combo box
// CB_ADDSTRING (kind 0). The window is never cleared. A caller may follow each name with
// messages of its own (the library's listings send an account's details).
#pragma once

#include "win32.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace netclient {

class ListTarget {
public:
    ListTarget(int32_t listKind, HWND window);

    // Converts the whole batch before sending any of it, so a batch holding a name that cannot
    // be converted delivers nothing and returns ERROR_NO_UNICODE_TRANSLATION.
    // afterName(window, index) runs right after names[index] is sent.
    uint32_t deliver(std::span<const std::u16string> names,
                     const std::function<void(HWND, std::size_t)> &afterName = {}) const;

private:
    UINT message_;
    HWND window_;
};

}  // namespace netclient
