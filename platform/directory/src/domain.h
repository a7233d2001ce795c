// One AD domain reached over LDAP: the account operations of its SAM, as the Net* calls ask
// for them, on one connection that is opened at first use and opened again when the
// credentials change or the controller went away. Failures are backend::Error with the
// status the account calls give.
#pragma once

#include "connection.h"
#include "result_status.h"
#include "backend/records.h"

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace directory {

using backend::Account;
using backend::AccountKind;
using backend::Keyed;
using backend::Accept;
using backend::Page;
using backend::UserRecord;
using backend::UserUpdate;

// A domain as the directory configuration names it.
struct DomainConfig {
    std::string netbiosName;  // TARN
    std::string dnsName;      // tarn.test
    std::string host;         // the controller's host name (as its certificate says); empty: from DNS
    std::string caFile;       // empty: the system's certificate authorities
};

// How a domain's connection gets its identity: the name and password given for the domain,
// lent for the bind alone, or none (the caller's Kerberos ticket).
struct CredentialSource {
    // A number that changes whenever the credentials given change: time to bind again.
    std::function<uint64_t()> generation;
    // Calls bind with the credentials given for the domain, or with none.
    std::function<void(const std::function<void(const std::optional<Credentials> &)> &bind)> lend;
};

// Accounts of the domains this one trusts, looked up at their own controllers; either may be
// empty. Each answers nothing when the account or the domain's configuration is not there, and
// throws backend::Error when that domain's controller cannot be asked.
struct TrustedLookup {
    std::function<std::optional<Account>(const std::string &domain, const std::string &sid)> bySid;
    std::function<std::optional<Account>(const std::string &domain, const std::string &name)> byName;
};

class Domain {
public:
    Domain(DomainConfig config, CredentialSource credentials, TrustedLookup trusted = {});
    ~Domain();

    const DomainConfig &config() const { return config_; }

    // ---- the domain ----
    std::string controllerName();                 // the primary controller's NetBIOS name
    std::vector<std::string> trustedDomainNames(); // domains this one trusts (flat names)

    // ---- lookups (users and groups of the domain and its built-in container) ----
    std::optional<Account> find(const std::string &name);
    Account user(const std::string &name);                        // else NERR_UserNotFound
    Account group(const std::string &name, AccountKind kind);     // else NERR_GroupNotFound
    std::optional<Account> findBySid(const std::string &sid);

    // ---- users ----
    void addUser(const UserRecord &record);
    UserRecord userRecord(const std::string &name);
    void updateUser(const std::string &name, const UserUpdate &update);
    void deleteUser(const std::string &name);

    // ---- groups ----
    void addGroup(const std::string &name, AccountKind kind, const std::string &comment);
    void deleteGroup(const std::string &name, AccountKind kind);
    void setGroupComment(const std::string &name, AccountKind kind, const std::string &comment);

    // ---- memberships ----
    void addGroupUser(const std::string &group, const std::string &user);
    void deleteGroupUser(const std::string &group, const std::string &user);
    // Members NAME or DOMAIN\NAME: accounts of this domain, of a trusted one, or well-known;
    // all of them or, on the first failure, none.
    void addLocalMembers(const std::string &group, const std::vector<std::string> &members);
    void deleteLocalMembers(const std::string &group, const std::vector<std::string> &members);
    std::vector<Account> groupsOfUser(const std::string &user);
    std::vector<Account> localGroupsOf(const std::string &account, bool indirect);

    // ---- listings: one search each, held and served in pieces as far as `accept` takes them;
    // keys resume after an entry ----
    // Users only with a flag of anyFlags when it is not zero.
    Page<Account> accounts(AccountKind kind, uint32_t anyFlags, int64_t after, const Accept<Account> &accept);
    Page<Account> groupUsers(const std::string &group, int64_t after, const Accept<Account> &accept);
    Page<Account> localMembers(const std::string &group, int64_t after, const Accept<Account> &accept);

    // The caller may create and delete users here (the directory decides at the write; this
    // only says whether a bound connection can be had).
    void connect();

    struct Session;

private:
    // Runs body on a bound session under the domain's lock; LDAP failures become statuses
    // through `operation`, and a lost controller drops the session.
    template <class Body>
    auto run(Operation operation, Body &&body);

    Session &session();
    Page<Account> serve(const std::string &query, int64_t after, const Accept<Account> &accept,
                        const std::function<std::vector<Account>()> &load);

    DomainConfig config_;
    CredentialSource credentials_;
    TrustedLookup trusted_;
    std::mutex lock_;
    std::unique_ptr<Session> session_;
    struct Listing {
        std::string query;
        std::vector<Account> accounts;
        uint64_t lastUse = 0;
    };
    std::map<uint32_t, Listing> listings_;
    uint32_t nextListing_ = 1;
    uint64_t uses_ = 0;
};

}  // namespace directory
