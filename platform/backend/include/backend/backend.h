// The one interface between the network account calls and whatever answers them: the embedded
// SAM world, or a domain's directory reached over LDAP. The calls check their outputs, map
// levels and build the result blocks, once for every backend; a backend answers in the records
// of backend/records.h and fails by throwing backend::Error with the call's status. What a
// backend cannot do at all (a directory has no shares) it answers with ERROR_NOT_SUPPORTED.
// Account names are compared without regard to case.
#pragma once

#include "backend/error.h"
#include "backend/records.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace backend {

// One server as one call addresses it: the machine itself, the SAM its account calls address
// (its domain's, for a controller), its shares and who is logged on at it. A call holds it for
// its whole length, and a backend serves one call at a time through it.
//
// Listings return the entries after the position `after`, as far as `accept` takes them, and
// read no further than the first entry it refuses.
class Target {
public:
    virtual ~Target() = default;

    // ---- transactions ----
    // Reads that see one state of the SAM.
    virtual void read(const std::function<void()> &body) = 0;
    // A change, all of it or none of it, for a caller with the right to change this SAM
    // (else ERROR_ACCESS_DENIED, before anything is changed).
    virtual void change(const std::function<void()> &body) = 0;

    // ---- the machine and its domain ----
    virtual MachineInfo machine() = 0;
    // The primary controller's machine name (no backslashes) of `domain` as this machine sees
    // it: its own domain's when domain is empty, else of its own domain or one that domain
    // trusts. NERR_DCNotFound for any other domain, and on a workgroup machine.
    virtual std::string controller(std::string_view domain) = 0;
    // The domains that this machine's domain trusts, by name; none on a workgroup machine.
    virtual std::vector<std::string> trustedDomains() = 0;

    // ---- users ----
    // Users with any of anyFlags set (every user for 0), by name or with every property.
    virtual Page<Account> users(uint32_t anyFlags, Position after,
                                const Accept<Account> &accept) = 0;
    virtual Page<UserRecord> userRecords(uint32_t anyFlags, Position after,
                                        const Accept<UserRecord> &accept) = 0;
    virtual Account user(std::string_view name) = 0;           // else NERR_UserNotFound
    virtual UserRecord userRecord(std::string_view name) = 0;  // else NERR_UserNotFound
    // The record's flags as the caller gave them: UF_LOCKOUT is never set by a caller.
    virtual void addUser(const UserRecord &user) = 0;
    // A caller may clear UF_LOCKOUT in the flags, never set it.
    virtual void updateUser(std::string_view name, const UserUpdate &update) = 0;
    virtual void deleteUser(std::string_view name) = 0;
    // The global groups that hold the user.
    virtual std::vector<Account> groupsOfUser(std::string_view user) = 0;
    // The local groups of this SAM that hold the user named NAME or DOMAIN\NAME (of this SAM or
    // within its reach), also through a global group when indirect. Else NERR_UserNotFound.
    virtual std::vector<Account> localGroupsOf(std::string_view user, bool indirect) = 0;

    // ---- groups: kind is GlobalGroup or LocalGroup ----
    virtual Page<Account> groups(AccountKind kind, Position after,
                                 const Accept<Account> &accept) = 0;
    virtual Account group(std::string_view name, AccountKind kind) = 0;  // else NERR_GroupNotFound
    virtual void addGroup(std::string_view name, AccountKind kind, std::string_view comment) = 0;
    virtual void deleteGroup(std::string_view name, AccountKind kind) = 0;
    virtual void setGroupComment(std::string_view name, AccountKind kind,
                                 std::string_view comment) = 0;

    // ---- memberships ----
    virtual Page<Account> groupUsers(std::string_view group, Position after,
                                     const Accept<Account> &accept) = 0;
    virtual void addGroupUser(std::string_view group, std::string_view user) = 0;
    virtual void deleteGroupUser(std::string_view group, std::string_view user) = 0;
    // A local group's members: users and global groups of this SAM or of domains within its
    // reach, and well-known accounts.
    virtual Page<Account> localMembers(std::string_view group, Position after,
                                       const Accept<Account> &accept) = 0;
    // Members named DOMAIN\NAME or NAME (looked up in this SAM, its domain, the domains that
    // one trusts, then the well-known accounts): all of them or, on the first failure, none.
    virtual void addLocalMembers(std::string_view group, const std::vector<std::string> &members) = 0;
    virtual void deleteLocalMembers(std::string_view group,
                                    const std::vector<std::string> &members) = 0;

    // ---- shares and logged-on users ----
    virtual std::optional<Share> share(std::string_view name) = 0;  // nullopt when unknown
    virtual void addShare(const Share &share) = 0;                   // else NERR_DuplicateShare
    virtual void deleteShare(std::string_view name) = 0;             // else NERR_NetNameNotFound
    virtual Page<std::string> sessions(Position after, const Accept<std::string> &accept) = 0;
};

// What answers for a set of servers, kept for the life of the process and used from any
// thread: it hands one Target to one call at a time.
class Backend {
public:
    virtual ~Backend() = default;
    // The server that `call` (the Net* function's name) names, as the call got it: empty text
    // is the local machine, "NAME" and "\\NAME" are the same. ERROR_BAD_NETPATH when this
    // backend knows no such server.
    virtual std::unique_ptr<Target> target(std::string_view call, std::string_view server) = 0;
};

}  // namespace backend
