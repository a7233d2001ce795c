#include "samworld/services.h"

#include "account_rows.h"

#include "samworld/accounts.h"
#include "samworld/names.h"

namespace samworld {
namespace {

constexpr const char *callerKey = "caller";

std::optional<std::string> storedCaller(const Database &database) {
    auto query = database.prepare("SELECT value FROM world WHERE key = ?");
    query.bind(1, callerKey);
    if (!query.step()) return std::nullopt;
    return query.text(0);
}

// The account named DOMAIN\USER, where DOMAIN is a domain or a machine.
std::optional<Account> findUser(const Network &network, std::string_view domainBackslashUser) {
    const QualifiedName name = splitQualifiedName(domainBackslashUser);
    if (!name.domain) return std::nullopt;
    const auto sam = network.findSam(*name.domain);
    if (!sam) return std::nullopt;
    auto account = Sam(network.database(), *sam).find(name.name);
    if (!account || account->kind != AccountKind::User) return std::nullopt;
    return account;
}

// The status that keeps a disabled or locked account from acting, or 0 when it may.
uint32_t inactiveStatus(const Database &database, const Account &account) {
    auto row = database.prepare("SELECT flags FROM users WHERE account_id = ?");
    row.bind(1, account.id).step();
    const auto flags = static_cast<uint32_t>(row.integer(0));
    if ((flags & UF_ACCOUNTDISABLE) != 0) return ERROR_ACCOUNT_DISABLED;
    if ((flags & UF_LOCKOUT) != 0) return ERROR_ACCOUNT_LOCKED_OUT;
    return 0;
}

}  // namespace

// ---- the caller ----

void setCaller(const Network &network, std::string_view domainBackslashUser) {
    const QualifiedName name = splitQualifiedName(domainBackslashUser);
    if (!name.domain) {
        throw Error(ERROR_INVALID_PARAMETER, "the caller is named DOMAIN\\USER");
    }
    const Account account = Sam(network.database(), network.sam(*name.domain)).user(name.name);
    if (const uint32_t status = inactiveStatus(network.database(), account)) {
        throw Error(status, "'" + account.name + "' is " +
                                (status == ERROR_ACCOUNT_DISABLED ? "disabled" : "locked out") +
                                " and cannot log on");
    }
    network.database()
        .prepare("INSERT OR REPLACE INTO world(key, value) VALUES (?, ?)")
        .bind(1, callerKey)
        .bind(2, domainBackslashUser)
        .run();
}

std::optional<Account> caller(const Network &network) {
    const auto name = storedCaller(network.database());
    return name ? findUser(network, *name) : std::nullopt;
}

void requireActiveCaller(const Network &network) {
    const auto account = caller(network);
    if (account && inactiveStatus(network.database(), *account) != 0) {
        throw Error(ERROR_ACCESS_DENIED, "the caller's account is disabled or locked out");
    }
}

void requireAdministrator(const Network &network, const SamInfo &target) {
    const auto account = caller(network);
    if (!account || !Sam(network.database(), target).isAdministrator(*account)) {
        throw Error(ERROR_ACCESS_DENIED,
                    "the caller is no administrator of " + target.name);
    }
}

// ---- faults ----

void addFault(const Database &database, const Fault &fault) {
    if (!fault.call.starts_with("Net") || fault.status == 0 || fault.after < 0 || fault.count == 0 ||
        fault.count < -1) {
        throw Error(ERROR_INVALID_PARAMETER, "a fault names a Net* call, a non-zero status, "
                                             "after >= 0 and count > 0 or -1");
    }
    database
        .prepare("INSERT INTO faults(call, status, server_key, after, count) VALUES (?, ?, ?, ?, ?)")
        .bind(1, fault.call)
        .bind(2, int64_t{fault.status})
        .bind(3, foldCase(machineOfServer(fault.server)))
        .bind(4, int64_t{fault.after})
        .bind(5, int64_t{fault.count})
        .run();
}

void clearFaults(const Database &database) { database.execute("DELETE FROM faults"); }

bool faultMatches(const Database &database, std::string_view call, const Machine &machine) {
    auto matching = database.prepare(
        "SELECT count(*) FROM faults WHERE call = ?1 AND (server_key = '' OR server_key = ?2)");
    matching.bind(1, call).bind(2, foldCase(machine.name)).step();
    return matching.integer(0) != 0;
}

std::optional<uint32_t> takeFault(const Database &database, std::string_view call,
                                  const Machine &machine) {
    if (!faultMatches(database, call, machine)) return std::nullopt;  // the common case writes nothing

    const std::string server = foldCase(machine.name);
    Transaction transaction(database);
    database
        .prepare("UPDATE faults SET seen = seen + 1 "
                 "WHERE call = ?1 AND (server_key = '' OR server_key = ?2)")
        .bind(1, call)
        .bind(2, server)
        .run();
    auto firing = database.prepare(
        "SELECT status FROM faults WHERE call = ?1 AND (server_key = '' OR server_key = ?2) "
        "AND seen > after AND (count = -1 OR seen <= after + count) ORDER BY id LIMIT 1");
    firing.bind(1, call).bind(2, server);
    std::optional<uint32_t> status;
    if (firing.step()) status = static_cast<uint32_t>(firing.integer(0));
    transaction.commit();
    return status;
}

// ---- shares and sessions ----

std::optional<Share> MachineServices::share(std::string_view name) const {
    auto query = database_.prepare(
        "SELECT name, path, remark, type, permissions, max_uses, current_uses FROM shares "
        "WHERE machine_key = ? AND name_key = ?");
    query.bind(1, foldCase(machine_.name)).bind(2, foldCase(name));
    if (!query.step()) return std::nullopt;
    return Share{query.text(0),
                 query.text(1),
                 query.text(2),
                 static_cast<uint32_t>(query.integer(3)),
                 static_cast<uint32_t>(query.integer(4)),
                 static_cast<uint32_t>(query.integer(5)),
                 static_cast<uint32_t>(query.integer(6))};
}

std::vector<Share> MachineServices::shares() const {
    auto query = database_.prepare("SELECT name FROM shares WHERE machine_key = ? ORDER BY name_key");
    query.bind(1, foldCase(machine_.name));
    std::vector<Share> shares;
    while (query.step()) shares.push_back(*share(query.text(0)));
    return shares;
}

void MachineServices::addShare(const Share &share) const {
    if (share.name.empty() || share.path.empty()) {
        throw Error(ERROR_INVALID_PARAMETER, "a share has a name and a path");
    }
    if (this->share(share.name)) {
        throw Error(NERR_DuplicateShare, "the share '" + share.name + "' already exists on " + machine_.name);
    }
    database_
        .prepare("INSERT INTO shares(machine_key, name, name_key, path, remark, type, permissions, "
                 "max_uses, current_uses) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")
        .bind(1, foldCase(machine_.name))
        .bind(2, share.name)
        .bind(3, foldCase(share.name))
        .bind(4, share.path)
        .bind(5, share.remark)
        .bind(6, int64_t{share.type})
        .bind(7, int64_t{share.permissions})
        .bind(8, int64_t{share.maxUses})
        .bind(9, int64_t{share.currentUses})
        .run();
}

void MachineServices::deleteShare(std::string_view name) const {
    database_.prepare("DELETE FROM shares WHERE machine_key = ? AND name_key = ?")
        .bind(1, foldCase(machine_.name))
        .bind(2, foldCase(name))
        .run();
    if (database_.changes() == 0) {
        throw Error(NERR_NetNameNotFound, "no share '" + std::string(name) + "' on " + machine_.name);
    }
}

void MachineServices::addSession(std::string_view user) const {
    database_.prepare("INSERT INTO sessions(machine_key, user) VALUES (?, ?)")
        .bind(1, foldCase(machine_.name))
        .bind(2, user)
        .run();
}

Page<std::string> MachineServices::sessions(int64_t after, const Accept<std::string> &accept) const {
    auto query = database_.prepare(
        "SELECT id, user FROM sessions WHERE machine_key = ? AND id > ? ORDER BY id");
    query.bind(1, foldCase(machine_.name)).bind(2, after);
    return readPage(query, 0, accept, [](const Statement &row) { return row.text(1); });
}

std::vector<Keyed<std::string>> MachineServices::sessions(int64_t after, int64_t limit) const {
    return sessions(after, firstOf<std::string>(limit)).entries;
}

}  // namespace samworld
