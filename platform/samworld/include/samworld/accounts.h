// The accounts of one SAM and the rules that guard them: name validity, uniqueness across
// users and groups without regard to case, built-in accounts, the password minimum, the
// members a group may hold. The `samworld` tool and the Net* calls both change accounts
// through this class only; rights and injected faults are the callers' concern.
#pragma once

#include "samworld/database.h"
#include "samworld/records.h"

#include <optional>
#include <string_view>
#include <vector>

namespace samworld {

// Built-in relative ids.
inline constexpr uint32_t ridAdministrator = 500;
inline constexpr uint32_t ridGuest = 501;
inline constexpr uint32_t ridDomainAdmins = 512;
inline constexpr uint32_t ridDomainUsers = DOMAIN_GROUP_RID_USERS;  // also "None" of a machine
inline constexpr uint32_t ridDomainGuests = 514;
inline constexpr uint32_t ridAdministrators = 544;
inline constexpr uint32_t ridUsers = 545;
inline constexpr uint32_t ridGuests = 546;

class Sam {
public:
    Sam(const Database &database, SamInfo info) : database_(database), info_(std::move(info)) {}
    const SamInfo &info() const { return info_; }
    const Database &database() const { return database_; }

    // ---- lookups ----
    std::optional<Account> find(std::string_view name) const;
    std::optional<Account> findByRid(uint32_t rid) const;
    Account user(std::string_view name) const;                       // else NERR_UserNotFound
    Account group(std::string_view name, AccountKind kind) const;    // else NERR_GroupNotFound

    // ---- users ----
    // A new user joins the global group of relative id 513 (Domain Users, or None on a
    // machine), which is its primary group. The account type defaults to a normal account.
    Account addUser(const UserRecord &record) const;
    // Every field of the user; usri3_priv from its membership of Administrators or Guests.
    UserRecord userRecord(std::string_view name) const;
    void updateUser(std::string_view name, const UserUpdate &update) const;
    void deleteUser(std::string_view name) const;
    // Whether the password is the user's; a right one kept in an older or weaker form than the
    // world asks for is hashed again.
    bool passwordMatches(std::string_view name, std::string_view password) const;
    void setMinPasswordLength(int length) const;

    // ---- groups ----
    Account addGroup(std::string_view name, AccountKind kind, std::string_view comment) const;
    void deleteGroup(std::string_view name, AccountKind kind) const;
    void setGroupComment(std::string_view name, AccountKind kind, std::string_view comment) const;

    // ---- memberships ----
    void addGroupUser(std::string_view group, std::string_view user) const;
    void deleteGroupUser(std::string_view group, std::string_view user) const;
    // member: an account of this SAM or within its reach (see Network::resolveAccount).
    void addLocalMember(std::string_view group, const Account &member) const;
    void deleteLocalMember(std::string_view group, const Account &member) const;

    // ---- enumerations: in key order after the key `after`, as far as `accept` takes them
    // (reading no further than the first entry it refuses), or at most `limit` (-1: all) ----
    // Accounts of one kind keyed by relative id; users only with a flag of anyFlags when it
    // is not zero.
    Page<Account> accounts(AccountKind kind, uint32_t anyFlags, int64_t after,
                           const Accept<Account> &accept) const;
    std::vector<Keyed<Account>> accounts(AccountKind kind, uint32_t anyFlags, int64_t after,
                                         int64_t limit) const;
    // Users of a global group, keyed by relative id.
    Page<Account> groupUsers(const Account &group, int64_t after, const Accept<Account> &accept) const;
    std::vector<Keyed<Account>> groupUsers(const Account &group, int64_t after, int64_t limit) const;
    // Members of a local group, keyed by when they joined.
    Page<Account> localMembers(const Account &group, int64_t after,
                               const Accept<Account> &accept) const;
    std::vector<Keyed<Account>> localMembers(const Account &group, int64_t after,
                                             int64_t limit) const;
    std::vector<Account> groupsOfUser(const Account &user) const;
    // Local groups of this SAM that hold the account (of any SAM), also through a global
    // group when indirect.
    std::vector<Account> localGroupsOf(const Account &account, bool indirect) const;
    // A member of Administrators, directly or through a global group.
    bool isAdministrator(const Account &account) const;

    // ---- building ----
    // The accounts a new domain or machine has.
    void createBuiltinAccounts() const;
    // A machine's trust account NAME$ in this (domain) SAM.
    void addTrustAccount(std::string_view machine, bool controller) const;

private:
    Account insertAccount(std::string_view name, AccountKind kind, std::string_view comment,
                          std::optional<uint32_t> builtinRid) const;
    Account createUser(const UserRecord &record) const;
    void insertUserRow(const Account &account, const UserRecord &record) const;
    bool holds(uint32_t localGroupRid, const Account &account) const;
    // An account of this SAM from columns 0-5 of a row (see account_rows.h).
    Account ownAccount(const Statement &row) const;
    void setComment(const Account &account, std::string_view comment) const;
    void setPassword(const Account &account, std::string_view password) const;
    void storePasswordHash(const Account &account, const struct PasswordHash &hash) const;
    void requireUnique(std::string_view name) const;
    void requirePasswordLength(std::string_view password) const;
    void insertGroupUser(const Account &group, const Account &user) const;
    void insertLocalMember(const Account &group, const Account &member) const;

    const Database &database_;
    SamInfo info_;
};

}  // namespace samworld
