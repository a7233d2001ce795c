// Inside the directory backend: a bound connection with what it learnt about its domain, and
// the lookups every family of calls shares.
#pragma once

#include "connection.h"
#include "domain.h"
#include "quiet_sigpipe.h"
#include "result_status.h"
#include "backend/error.h"

#include <ldap.h>

#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace directory {

// sAMAccountType values.
inline constexpr int64_t typeUser = 805306368;
inline constexpr int64_t typeWorkstationTrust = 805306369;
inline constexpr int64_t typeInterdomainTrust = 805306370;
inline constexpr int64_t typeGlobalGroup = 268435456;
inline constexpr int64_t typeLocalGroup = 536870912;

inline std::string typeFilter(int64_t type) { return "(sAMAccountType=" + std::to_string(type) + ")"; }

inline constexpr uint32_t firstOrdinaryRid = 1000;
inline constexpr const char *builtinSid = "S-1-5-32";

// What an account search asks for.
const std::vector<std::string> &accountAttributes();

struct Domain::Session {
    Connection ldap;
    uint64_t generation;  // of the credentials it bound with
    std::string netbiosName;
    std::string domainDn;
    std::string configDn;
    std::string domainSid;
    std::string usersDn;          // where new accounts go
    std::string controller;       // the primary controller's NetBIOS name
    std::optional<std::map<std::string, std::string>> wellKnown;  // SID -> name, read once
    std::optional<std::map<std::string, std::string>> trusts;     // domain SID -> flat name
    std::unordered_map<std::string, Account> known;               // SID -> account

    Session(Connection connection, uint64_t generation, const DomainConfig &config);

    // ---- accounts ----
    // The account's kind from its sAMAccountType; nullopt for what the account calls do not
    // show (distribution groups, objects that are no accounts).
    std::optional<Account> accountOf(const Entry &entry) const;
    std::optional<Entry> findEntry(const std::string &name, const std::vector<std::string> &attributes) const;
    // The account and its DN; Error with `missing` when there is none of `kind`.
    std::pair<Account, std::string> require(const std::string &name, AccountKind kind, uint32_t missing) const;
    // Accounts of this domain (and its built-in container) by SID, of `kind` when one is
    // given: from the accounts the latest listings named, the rest looked up in batches of one
    // OR filter each. SIDs that name no such account are left out.
    std::map<std::string, Account> accountsBySid(const std::vector<std::string> &sids,
                                                 std::optional<AccountKind> kind = std::nullopt);
    // What a listing or lookup found, for accountsBySid; and what a deletion made stale.
    void remember(const Account &account) { known[account.sid] = account; }
    void forget(const std::string &sid) { known.erase(sid); }
    // The name of a well-known account (Everyone, NT AUTHORITY\INTERACTIVE ...), by SID.
    const std::map<std::string, std::string> &wellKnownNames();
    // Domains this one trusts, by SID.
    const std::map<std::string, std::string> &trustedDomains();
    // The DOMAIN part of an account's qualified name, by its SID.
    std::string qualifierOf(const std::string &sid);

    // A new account's DN in the Users container.
    std::string newDn(const std::string &name) const;
};

[[noreturn]] void refuse(uint32_t status, const std::string &message);

// "name" -> "(sAMAccountName=name)" with the value escaped.
std::string nameFilter(const std::string &name);
std::string sidFilter(const std::string &sid);

}  // namespace directory

namespace directory {

template <class Body>
auto Domain::run(Operation operation, Body &&body) {
    const std::lock_guard guard(lock_);
    const QuietSigpipe quiet;
    try {
        return body(session());
    } catch (const LdapError &error) {
        const NET_API_STATUS status = statusOf(error, operation);
        // Bind again at the next call: the controller may be back, or other credentials given.
        if (status == ERROR_BAD_NETPATH || status == ERROR_LOGON_FAILURE) session_.reset();
        throw backend::Error(status, error.what());
    }
}

}  // namespace directory
