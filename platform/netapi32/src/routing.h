// Which backend answers for a server: the directory of a domain that the directory
// configuration lists by that name, else the embedded world. Each backend is opened once and
// kept for the process.
#pragma once

#include "backend/backend.h"

#include <memory>
#include <string_view>

namespace netapi {

// The backend for `server`, or for `domain` when the configuration lists that (NetGetDCName
// names both). Error ERROR_BAD_CONFIGURATION while the configuration is malformed: no call can
// tell where it should go.
std::shared_ptr<backend::Backend> backendFor(std::string_view server, std::string_view domain);

}  // namespace netapi
