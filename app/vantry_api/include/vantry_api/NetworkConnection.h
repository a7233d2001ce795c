// The platform's connections to servers, as target selection uses them: a name and password
// for a server that refused the logon (WNetAddConnection2W on \\server\IPC$), kept by the
// platform for the rest of the run. Bound by name at the first call, like the library's
// exports.
#pragma once

#include <cstdint>
#include <string>

// host: "\\NAME" or "NAME". The platform's status (0 on success).
uint32_t AddConnection(const std::string &host, const std::string &user, const std::string &password);
