// The session behind a domain: binding, what the domain says about itself, account lookups,
// and the listings held between the pieces of an enumeration.
#include "session.h"

#include "ldap_handles.h"
#include "sid.h"
#include "values.h"

#include <algorithm>

namespace directory {
namespace {

constexpr const char *usersContainerGuid = "A9D1CA15768811D1ADED00C04FD8D5CD";
constexpr size_t sidsPerFilter = 200;
constexpr uint32_t listingBits = 20;  // a resume key: listing number, then position
constexpr uint32_t positionMask = (1u << listingBits) - 1;
constexpr uint32_t maxListingNumber = (1u << (32 - listingBits)) - 1;
// Listings are let go only when newer ones need the room: a call cannot tell whether the
// caller took the last piece it was given.
constexpr size_t heldListings = 16;

// The value of the RDN at `index` of a DN (0 is the object's own).
std::string rdnValue(const std::string &dn, size_t index) {
    LDAPDN parsed = nullptr;
    if (ldap_str2dn(dn.c_str(), &parsed, LDAP_DN_FORMAT_LDAPV3) != LDAP_SUCCESS) return {};
    std::string value;
    for (size_t i = 0; parsed[i] != nullptr; ++i) {
        if (i == index && parsed[i][0] != nullptr) {
            value.assign(parsed[i][0]->la_value.bv_val, parsed[i][0]->la_value.bv_len);
            break;
        }
    }
    ldap_dnfree(parsed);
    return value;
}

// "B:32:<GUID>:<DN>" of wellKnownObjects.
std::string wellKnownContainer(const Entry &domain, const std::string &guid) {
    const std::string prefix = "B:32:" + guid + ":";
    for (const auto &value : domain.values("wellKnownObjects")) {
        if (value.starts_with(prefix)) return value.substr(prefix.size());
    }
    return {};
}

std::string requiredValue(const std::optional<Entry> &entry, const std::string &attribute) {
    if (!entry || !entry->has(attribute)) {
        throw LdapError(LDAP_NO_SUCH_ATTRIBUTE, attribute + " is not readable", "read the domain");
    }
    return entry->first(attribute);
}

}  // namespace

void refuse(uint32_t status, const std::string &message) { throw backend::Error(status, message); }

std::string nameFilter(const std::string &name) { return "(sAMAccountName=" + filterValue(name) + ")"; }

std::string sidFilter(const std::string &sid) {
    const auto bytes = sidBytes(sid);
    if (!bytes) refuse(ERROR_INVALID_PARAMETER, sid + " is not a SID");
    return "(objectSid=" + filterValue(*bytes) + ")";
}

const std::vector<std::string> &accountAttributes() {
    static const std::vector<std::string> attributes = {"sAMAccountName", "objectSid", "sAMAccountType",
                                                        "description", "displayName", "userAccountControl"};
    return attributes;
}

Domain::Session::Session(Connection connection, uint64_t generation, const DomainConfig &config)
    : ldap(std::move(connection)), generation(generation), netbiosName(config.netbiosName) {
    const auto root = ldap.read("", {"defaultNamingContext", "configurationNamingContext"});
    domainDn = requiredValue(root, "defaultNamingContext");
    configDn = requiredValue(root, "configurationNamingContext");
    const auto domain = ldap.read(domainDn, {"objectSid", "wellKnownObjects", "fSMORoleOwner"});
    const auto sid = sidText(requiredValue(domain, "objectSid"));
    if (!sid) throw LdapError(LDAP_DECODING_ERROR, "the domain SID is malformed", "read the domain");
    domainSid = *sid;
    usersDn = wellKnownContainer(*domain, usersContainerGuid);
    if (usersDn.empty()) usersDn = "CN=Users," + domainDn;
    // fSMORoleOwner names the NTDS Settings object under the controller's server object.
    controller = rdnValue(domain->first("fSMORoleOwner"), 1);
}

std::optional<Account> Domain::Session::accountOf(const Entry &entry) const {
    const auto sid = sidText(entry.first("objectSid"));
    if (!sid) return std::nullopt;
    Account account;
    switch (integerValue(entry.first("sAMAccountType"))) {
    case typeUser:
    case typeWorkstationTrust:
    case typeInterdomainTrust: account.kind = AccountKind::User; break;
    case typeGlobalGroup: account.kind = AccountKind::GlobalGroup; break;
    case typeLocalGroup: account.kind = AccountKind::LocalGroup; break;
    default: return std::nullopt;
    }
    account.name = entry.first("sAMAccountName");
    account.comment = entry.first("description");
    if (account.kind == AccountKind::User) {
        account.fullName = entry.first("displayName");
        // Lockout is computed per entry and a listing's search cannot ask for it.
        account.flags = uint32_t(integerValue(entry.first("userAccountControl"))) & ~UF_LOCKOUT;
    }
    account.sid = *sid;
    const auto slash = sid->rfind('-');
    account.rid = uint32_t(integerValue(sid->substr(slash + 1)));
    const bool builtinDomain = sid->substr(0, slash) == builtinSid;
    account.builtin = builtinDomain || account.rid < firstOrdinaryRid;
    account.samName = builtinDomain ? "BUILTIN" : netbiosName;
    return account;
}

std::optional<Entry> Domain::Session::findEntry(const std::string &name,
                                                const std::vector<std::string> &attributes) const {
    auto entries = ldap.search(domainDn, Scope::Subtree,
                               "(&(|(objectClass=user)(objectClass=group))" + nameFilter(name) + ")", attributes);
    if (entries.empty()) return std::nullopt;
    return std::move(entries.front());
}

std::pair<Account, std::string> Domain::Session::require(const std::string &name, AccountKind kind,
                                                         uint32_t missing) const {
    const auto entry = findEntry(name, accountAttributes());
    const auto account = entry ? accountOf(*entry) : std::nullopt;
    if (!account || account->kind != kind) refuse(missing, "no such account '" + name + "'");
    return {*account, entry->dn};
}

std::map<std::string, Account> Domain::Session::accountsBySid(const std::vector<std::string> &sids,
                                                             std::optional<AccountKind> kind) {
    std::vector<std::string> unknown;
    for (const auto &sid : sids) {
        if (!known.contains(sid)) unknown.push_back(sid);
    }
    for (size_t start = 0; start < unknown.size(); start += sidsPerFilter) {
        std::string filter = "(|";
        for (size_t i = start; i < std::min(unknown.size(), start + sidsPerFilter); ++i) filter += sidFilter(unknown[i]);
        for (const auto &entry : ldap.search(domainDn, Scope::Subtree, filter + ")", accountAttributes())) {
            if (const auto account = accountOf(entry)) remember(*account);
        }
    }
    std::map<std::string, Account> found;
    for (const auto &sid : sids) {
        const auto account = known.find(sid);
        if (account != known.end() && (!kind || account->second.kind == *kind)) found.emplace(sid, account->second);
    }
    return found;
}

const std::map<std::string, std::string> &Domain::Session::wellKnownNames() {
    if (!wellKnown) {
        wellKnown.emplace();
        for (const auto &entry : ldap.search("CN=WellKnown Security Principals," + configDn, Scope::OneLevel,
                                             "(objectClass=*)", {"cn", "objectSid"})) {
            if (const auto sid = sidText(entry.first("objectSid"))) (*wellKnown)[*sid] = entry.first("cn");
        }
    }
    return *wellKnown;
}

const std::map<std::string, std::string> &Domain::Session::trustedDomains() {
    if (!trusts) {
        trusts.emplace();
        for (const auto &entry : ldap.search("CN=System," + domainDn, Scope::OneLevel, "(objectClass=trustedDomain)",
                                             {"flatName", "securityIdentifier", "trustDirection"})) {
            constexpr int64_t outbound = 2;  // this domain trusts that one
            const auto sid = sidText(entry.first("securityIdentifier"));
            if (sid && (integerValue(entry.first("trustDirection")) & outbound)) {
                (*trusts)[*sid] = entry.first("flatName");
            }
        }
    }
    return *trusts;
}

std::string Domain::Session::qualifierOf(const std::string &sid) {
    const std::string domainPart = sid.substr(0, sid.rfind('-'));
    if (domainPart == domainSid) return netbiosName;
    if (domainPart == builtinSid) return "BUILTIN";
    if (const auto trusted = trustedDomains().find(domainPart); trusted != trustedDomains().end()) {
        return trusted->second;
    }
    if (sid.starts_with("S-1-5-") && !sid.starts_with("S-1-5-21-")) return "NT AUTHORITY";
    return {};
}

std::string Domain::Session::newDn(const std::string &name) const {
    LDAPAVA ava{};
    ava.la_attr = berval{2, const_cast<char *>("CN")};
    ava.la_value = berval{name.size(), const_cast<char *>(name.data())};
    ava.la_flags = LDAP_AVA_STRING;
    LDAPAVA *rdn[] = {&ava, nullptr};
    LDAPRDN dn[] = {rdn, nullptr};
    char *text = nullptr;
    if (ldap_dn2str(dn, &text, LDAP_DN_FORMAT_LDAPV3) != LDAP_SUCCESS) {
        refuse(ERROR_INVALID_ACCOUNT_NAME, "'" + name + "' cannot name an entry");
    }
    const LdapText owned(text);
    return std::string(owned.get()) + "," + usersDn;
}

// ---- the domain ----

Domain::Domain(DomainConfig config, CredentialSource credentials, TrustedLookup trusted)
    : config_(std::move(config)), credentials_(std::move(credentials)), trusted_(std::move(trusted)) {}

Domain::~Domain() = default;

Domain::Session &Domain::session() {
    const uint64_t generation = credentials_.generation ? credentials_.generation() : 0;
    if (session_ && session_->generation == generation) return *session_;
    session_.reset();
    listings_.clear();
    if (config_.host.empty()) config_.host = primaryControllerOf(config_.dnsName);
    const Endpoint endpoint{config_.host, config_.caFile, config_.dnsName};
    std::optional<Connection> connection;
    const auto bind = [&](const std::optional<Credentials> &given) { connection.emplace(Connection::open(endpoint, given)); };
    if (credentials_.lend) {
        credentials_.lend(bind);
    } else {
        bind(std::nullopt);
    }
    session_ = std::make_unique<Session>(std::move(*connection), generation, config_);
    return *session_;
}

void Domain::connect() {
    run(Operation::Bind, [](Session &) {});
}

std::string Domain::controllerName() {
    return run(Operation::Read, [](Session &s) { return s.controller; });
}

std::vector<std::string> Domain::trustedDomainNames() {
    return run(Operation::Read, [](Session &s) {
        std::vector<std::string> names;
        for (const auto &[sid, name] : s.trustedDomains()) names.push_back(name);
        return names;
    });
}

std::optional<Account> Domain::find(const std::string &name) {
    return run(Operation::Read, [&](Session &s) -> std::optional<Account> {
        const auto entry = s.findEntry(name, accountAttributes());
        return entry ? s.accountOf(*entry) : std::nullopt;
    });
}

Account Domain::user(const std::string &name) {
    return run(Operation::Read, [&](Session &s) { return s.require(name, AccountKind::User, NERR_UserNotFound).first; });
}

Account Domain::group(const std::string &name, AccountKind kind) {
    return run(Operation::Read, [&](Session &s) { return s.require(name, kind, NERR_GroupNotFound).first; });
}

std::optional<Account> Domain::findBySid(const std::string &sid) {
    return run(Operation::Read, [&](Session &s) -> std::optional<Account> {
        const auto found = s.accountsBySid({sid});
        if (found.empty()) return std::nullopt;
        return found.begin()->second;
    });
}

// ---- listings ----

Page<Account> Domain::serve(const std::string &query, int64_t after, const Accept<Account> &accept,
                            const std::function<std::vector<Account>()> &load) {
    uint32_t number = uint32_t(after) >> listingBits;
    const size_t start = size_t(uint32_t(after) & positionMask);
    auto held = listings_.find(number);
    if (after == 0 || held == listings_.end() || held->second.query != query) {
        // A new listing, or one resumed after it was let go: search again.
        if (after == 0) {
            number = nextListing_;
            nextListing_ = nextListing_ % maxListingNumber + 1;
        }
        if (listings_.size() >= heldListings) {
            listings_.erase(std::min_element(listings_.begin(), listings_.end(), [](const auto &a, const auto &b) {
                return a.second.lastUse < b.second.lastUse;
            }));
        }
        held = listings_.insert_or_assign(number, Listing{query, load()}).first;
    }
    held->second.lastUse = ++uses_;
    const auto &accounts = held->second.accounts;
    Page<Account> piece;
    piece.remaining = accounts.size() - std::min(start, accounts.size());
    for (size_t i = start; i < accounts.size(); ++i) {
        if (!accept(accounts[i])) {
            piece.more = true;
            break;
        }
        piece.entries.push_back({int64_t((number << listingBits) | uint32_t(i + 1)), accounts[i]});
    }
    return piece;
}

}  // namespace directory
