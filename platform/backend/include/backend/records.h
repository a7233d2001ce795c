// The records that cross the backend interface, shared by the network account calls and every
// backend. Text is UTF-8 here; the calls convert at their edge.
#pragma once

#include "lm.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace backend {

// The SID usage of an account (the Windows SID_NAME_USE numbers).
enum class AccountKind : int {
    User = SidTypeUser,
    GlobalGroup = SidTypeGroup,
    LocalGroup = SidTypeAlias,
    WellKnown = SidTypeWellKnownGroup,
};

struct Account {
    int64_t id = 0;  // the backend's own handle of the account, meaningless to the calls
    uint32_t rid = 0;
    std::string name;
    AccountKind kind = AccountKind::User;
    std::string comment;
    bool builtin = false;
    std::string samName;  // the domain or machine that holds it ("" for Everyone)
    std::string sid;      // S-1-5-21-a-b-c-RID
    // Users only, as a listing of users carries them: the full name and the account flags.
    std::string fullName;
    uint32_t flags = 0;

    // DOMAIN\NAME, or NAME alone for an account of a nameless SAM.
    std::string qualifiedName() const { return samName.empty() ? name : samName + "\\" + name; }
};

constexpr int logonHoursBytes = UNITS_PER_WEEK / 8;

// Every property of a user, as USER_INFO_3 carries it.
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

// What a machine says about itself.
struct MachineInfo {
    std::string name;
    std::string langroup;  // its domain, or its workgroup
};

// ---- listings ----
// Where a listing stands: 0 before its first entry, otherwise the position of the entry last
// handed out, which the next call resumes after. The backend decides what a position means
// (the world: a relative id or a row; a directory: an index into a listing it holds); the
// calls only hand it back. Positions grow along a listing, and those of users and sessions fit
// 32 bits, since NetUserEnum and NetWkstaUserEnum keep them in a DWORD.
using Position = int64_t;

// An entry of a listing with the position a later call resumes after.
template <class T>
struct Keyed {
    Position key;
    T value;
};

// How far a page goes: a listing offers its entries in order, and the first one refused ends
// the page without it. A call that hands entries out in batches accepts as many as fit one.
template <class T>
using Accept = std::function<bool(const T &)>;

// The entries after the position asked for, in order, as far as they were accepted.
template <class T>
struct Page {
    std::vector<Keyed<T>> entries;
    // An entry after these was offered and refused: the listing goes on.
    bool more = false;
    // How many entries the listing holds after the position asked for, when the backend knows
    // (it holds the whole listing); absent when it read only what was accepted.
    std::optional<size_t> remaining;
};

}  // namespace backend
