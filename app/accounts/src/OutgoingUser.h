// A user as the program sends it to CreateUser or SetUserInfo: the record's values, owning the
// texts and the logon hours the record points at. An absent text or absent hours reach the
// library as null and leave that property of the account as it is.
#pragma once

#include "vantry.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

inline constexpr std::size_t kLogonHoursBytes = 21;
using LogonHoursBytes = std::array<uint8_t, kLogonHoursBytes>;

struct OutgoingUser {
    std::optional<std::string> name;
    std::optional<std::string> password;
    std::optional<std::string> homeDir;
    std::optional<std::string> comment;
    std::optional<std::string> scriptPath;
    std::optional<std::string> fullName;
    std::optional<std::string> userComment;
    std::optional<std::string> workstations;
    std::optional<std::string> profile;
    std::optional<std::string> homeDirDrive;
    std::optional<LogonHoursBytes> logonHours;
    uint32_t flags = 0;
    int32_t accountExpires = 0;
    uint32_t passwordExpired = 0;

    // A record pointing into this object: valid while the object lives and its texts stay as
    // they are. Every field not named above is zero.
    UserRecord record();
};
