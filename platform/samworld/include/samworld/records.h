// The world's records, shared by the world, the `samworld` tool and the NETAPI32 stand-in.
// Text is UTF-8 here; the Net* calls convert at their edge.
#pragma once

#include "lm.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace samworld {

// The SID usage of an account (the Windows SID_NAME_USE numbers).
enum class AccountKind : int {
    User = SidTypeUser,
    GlobalGroup = SidTypeGroup,
    LocalGroup = SidTypeAlias,
    WellKnown = SidTypeWellKnownGroup,
};

enum class SamKind : int { Domain = 1, Machine = 2, WellKnown = 3 };

// One account database: a domain's, a machine's, or a holder of well-known accounts
// ("NT AUTHORITY", and the nameless one of Everyone).
struct SamInfo {
    int64_t id = 0;
    std::string name;
    SamKind kind = SamKind::Machine;
    std::string sid;  // S-1-5-21-a-b-c; an account's SID is this plus "-RID"
};

struct Machine {
    std::string name;
    std::string domain;     // empty for a workgroup machine
    std::string workgroup;  // empty for a domain member or controller
    bool controller = false;
    bool local = false;
    int64_t samId = 0;      // the SAM its account calls address (its domain's, for a controller)
};

struct Account {
    int64_t id = 0;
    uint32_t rid = 0;
    std::string name;
    AccountKind kind = AccountKind::User;
    std::string comment;
    bool builtin = false;
    std::string samName;  // the domain or machine that holds it ("" for Everyone)
    std::string sid;

    // DOMAIN\NAME, or NAME alone for an account of a nameless SAM.
    std::string qualifiedName() const { return samName.empty() ? name : samName + "\\" + name; }
};

constexpr int logonHoursBytes = UNITS_PER_WEEK / 8;

// Every property of a user, as USER_INFO_3 carries it (the password only as a hash).
struct UserRecord {
    std::string name;
    std::string password;  // input only: never read back
    uint32_t passwordAge = 0;
    uint32_t priv = USER_PRIV_USER;
    std::string homeDir;
    std::string comment;
    uint32_t flags = UF_SCRIPT | UF_NORMAL_ACCOUNT;
    std::string scriptPath;
    uint32_t authFlags = 0;
    std::string fullName;
    std::string usrComment;
    std::string parms;
    std::string workstations;
    uint32_t lastLogon = 0;
    uint32_t lastLogoff = 0;
    uint32_t acctExpires = TIMEQ_FOREVER;
    uint32_t maxStorage = USER_MAXSTORAGE_UNLIMITED;
    uint32_t unitsPerWeek = UNITS_PER_WEEK;
    std::vector<uint8_t> logonHours = std::vector<uint8_t>(logonHoursBytes, 0xFF);
    uint32_t badPwCount = 0;
    uint32_t numLogons = 0;
    std::string logonServer = "\\\\*";
    uint32_t countryCode = 0;
    uint32_t codePage = 0;
    uint32_t userId = 0;
    uint32_t primaryGroupId = DOMAIN_GROUP_RID_USERS;
    std::string profile;
    std::string homeDirDrive;
    uint32_t passwordExpired = 0;
};

// A change to a user: an absent member leaves that property as it is.
struct UserUpdate {
    std::optional<std::string> password;
    std::optional<std::string> homeDir;
    std::optional<std::string> comment;
    std::optional<uint32_t> flags;
    std::optional<std::string> scriptPath;
    std::optional<uint32_t> authFlags;
    std::optional<std::string> fullName;
    std::optional<std::string> usrComment;
    std::optional<std::string> parms;
    std::optional<std::string> workstations;
    std::optional<uint32_t> acctExpires;
    std::optional<uint32_t> maxStorage;
    std::optional<uint32_t> unitsPerWeek;
    std::optional<std::vector<uint8_t>> logonHours;
    std::optional<uint32_t> countryCode;
    std::optional<uint32_t> codePage;
    std::optional<uint32_t> primaryGroupId;
    std::optional<std::string> profile;
    std::optional<std::string> homeDirDrive;
    std::optional<uint32_t> passwordExpired;
};

struct Share {
    std::string name;
    std::string path;
    std::string remark;
    uint32_t type = STYPE_DISKTREE;
    uint32_t permissions = 0;
    uint32_t maxUses = SHI_USES_UNLIMITED;
    uint32_t currentUses = 0;
};

// An injected failure: the `after` first calls of `call` (a Net* name) on `server` (any server
// when empty) succeed, then the next `count` calls fail with `status` (count -1: every call).
struct Fault {
    std::string call;
    uint32_t status = 0;
    std::string server;
    int after = 0;
    int count = 1;
};

// An entry of an enumeration with the key that a later call resumes after.
template <class T>
struct Keyed {
    int64_t key;
    T value;
};

}  // namespace samworld
