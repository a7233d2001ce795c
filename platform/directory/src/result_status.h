// From a directory result to the status of an account call, in layers: the client's own
// failures and the server's result code; then the Windows error that AD puts at the start of
// its diagnostic text (for binds, the "data 52e" part); then the operation decides.
#pragma once

#include "connection.h"
#include "lm.h"

#include <optional>
#include <string_view>

namespace directory {

enum class Operation {
    Bind,
    Read,
    AddUser,
    AddGlobalGroup,
    AddLocalGroup,
    DeleteGroup,
    Change,
    SetPassword,
    AddGlobalMember,
    AddLocalMember,
    DeleteGlobalMember,
    DeleteLocalMember,
};

// The Windows error at the start of an AD diagnostic ("0000052D: Constraint violation ..."),
// or after ", data " in a bind diagnostic ("... AcceptSecurityContext error, data 52e, v1db1").
std::optional<uint32_t> windowsErrorOf(std::string_view diagnostic);

NET_API_STATUS statusOf(const LdapError &error, Operation operation);

}  // namespace directory
