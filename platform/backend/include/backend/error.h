// The one failure type of the platform below the calls: the Windows status that describes it
// (NERR_*, ERROR_*) and a message for whoever reads logs and tests.
#pragma once

#include "lm.h"  // the statuses

#include <cstdint>
#include <stdexcept>
#include <string>

namespace backend {

struct Error : std::runtime_error {
    Error(uint32_t status, const std::string &message)
        : std::runtime_error(message), status(status) {}
    uint32_t status;
};

}  // namespace backend
