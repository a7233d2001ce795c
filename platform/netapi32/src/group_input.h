// The input levels that create a group, global or local: level 0 is a name, level 1 a name
// and a comment (absent reads as empty).
#pragma once

#include "call.h"

namespace netapi {

struct NewGroup {
    std::string name;
    std::string comment;
};

template <class Info0, class Info1>
NewGroup newGroup(DWORD level, const uint8_t *buf, LPWSTR Info0::*name0, LPWSTR Info1::*name1,
                  LPWSTR Info1::*comment1) {
    if (level == 0) return {requiredText(reinterpret_cast<const Info0 *>(buf)->*name0), ""};
    const auto &info = *reinterpret_cast<const Info1 *>(buf);
    return {requiredText(info.*name1), optionalText(info.*comment1).value_or("")};
}

}  // namespace netapi
