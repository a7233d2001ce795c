// Machines, domains, trusts, and which accounts a SAM can see.
#include "samworld/network.h"

#include "account_rows.h"
#include "samworld/accounts.h"
#include "samworld/names.h"

#include <algorithm>

namespace samworld {
namespace {

constexpr const char *machineSelect =
    "SELECT m.name, coalesce(d.name, ''), m.workgroup, m.controller, m.local, m.sam_id "
    "FROM machines m LEFT JOIN sams d ON d.id = m.domain_sam_id ";
constexpr const char *samSelect = "SELECT id, name, kind, sid FROM sams ";

Machine readMachine(const Statement &row) {
    return Machine{row.text(0), row.text(1), row.text(2), row.integer(3) != 0,
                   row.integer(4) != 0, row.integer(5)};
}

SamInfo readSam(const Statement &row) {
    return SamInfo{row.integer(0), row.text(1), static_cast<SamKind>(row.integer(2)), row.text(3)};
}

std::optional<SamInfo> optionalSam(Statement &query) {
    if (!query.step()) return std::nullopt;
    return readSam(query);
}

std::vector<SamInfo> readSams(Statement &query) {
    std::vector<SamInfo> sams;
    while (query.step()) sams.push_back(readSam(query));
    return sams;
}

// Deterministic per name, so that a world built twice has the same SIDs.
std::string domainSid(std::string_view name) {
    const std::string key = foldCase(name);
    std::string sid = "S-1-5-21";
    for (uint32_t seed : {2166136261u, 84696351u, 3735928559u}) {
        uint32_t hash = seed;
        for (unsigned char c : key) hash = (hash ^ c) * 16777619u;
        sid += "-" + std::to_string(hash);
    }
    return sid;
}

void requireMachineName(std::string_view name) {
    if (!isValidMachineName(name)) {
        throw Error(ERROR_INVALID_NAME, "'" + std::string(name) + "' is not a valid machine or domain name");
    }
}

std::string computerName() {
    char name[256] = {};
    DWORD size = sizeof name;
    return GetComputerNameA(name, &size) ? std::string(name, size) : std::string();
}

}  // namespace

// ---- machines ----

std::optional<Machine> Network::findMachine(std::string_view name) const {
    auto query = database_.prepare(std::string(machineSelect) + "WHERE m.name_key = ?");
    query.bind(1, foldCase(name));
    if (!query.step()) return std::nullopt;
    return readMachine(query);
}

std::optional<Machine> Network::localMachine() const {
    auto query = database_.prepare(std::string(machineSelect) + "WHERE m.local = 1");
    if (query.step()) return readMachine(query);
    return findMachine(computerName());
}

Machine Network::machineOfServer(std::string_view server) const {
    const std::string_view name = samworld::machineOfServer(server);
    auto machine = name.empty() ? localMachine() : findMachine(name);
    if (!machine) {
        throw Error(ERROR_BAD_NETPATH, "no machine '" + std::string(name) + "' in the world");
    }
    return *machine;
}

// ---- SAMs ----

std::optional<SamInfo> Network::findSamByKey(const std::string &key) const {
    auto query = database_.prepare(std::string(samSelect) + "WHERE name_key = ?");
    query.bind(1, key);
    return optionalSam(query);
}

std::optional<SamInfo> Network::findSam(std::string_view name) const {
    if (auto sam = findSamByKey(foldCase(name))) return sam;
    if (auto machine = findMachine(name)) return samOf(*machine);
    return std::nullopt;
}

SamInfo Network::sam(std::string_view name) const {
    auto found = findSam(name);
    if (!found) throw Error(ERROR_NO_SUCH_DOMAIN, "no domain or machine '" + std::string(name) + "'");
    return *found;
}

SamInfo Network::samOf(const Machine &machine) const {
    auto query = database_.prepare(std::string(samSelect) + "WHERE id = ?");
    query.bind(1, machine.samId);
    return *optionalSam(query);
}

std::optional<SamInfo> Network::domainOf(const Machine &machine) const {
    if (machine.domain.empty()) return std::nullopt;
    return findSamByKey(foldCase(machine.domain));
}

std::vector<SamInfo> Network::trustedDomains(const SamInfo &domain) const {
    auto query = database_.prepare(
        "SELECT s.id, s.name, s.kind, s.sid FROM trusts t JOIN sams s ON s.id = t.trusted "
        "WHERE t.trusting = ? ORDER BY s.name_key");
    query.bind(1, domain.id);
    return readSams(query);
}

std::string Network::controllerOf(const SamInfo &domain) const {
    auto query = database_.prepare(
        "SELECT m.name FROM domains d JOIN machines m ON m.name_key = d.controller_key "
        "WHERE d.sam_id = ?");
    query.bind(1, domain.id);
    if (!query.step()) throw Error(NERR_DCNotFound, "no controller for " + domain.name);
    return query.text(0);
}

std::vector<SamInfo> Network::trustingReach(const SamInfo &sam) const {
    std::vector<SamInfo> reach{sam};
    std::optional<SamInfo> domain;
    if (sam.kind == SamKind::Domain) {
        domain = sam;
    } else if (sam.kind == SamKind::Machine) {
        auto query = database_.prepare(std::string(machineSelect) + "WHERE m.sam_id = ?");
        query.bind(1, sam.id);
        if (query.step()) domain = domainOf(readMachine(query));
        if (domain) reach.push_back(*domain);
    }
    if (domain) {
        for (auto &trusted : trustedDomains(*domain)) reach.push_back(trusted);
    }
    return reach;
}

// ---- accounts as seen from a SAM ----

std::optional<Account> Network::findVisible(const std::vector<SamInfo> &sams,
                                            std::string_view name) const {
    for (const auto &sam : sams) {
        if (auto account = Sam(database_, sam).find(name)) return account;
    }
    return std::nullopt;
}

Account Network::resolveAccount(const SamInfo &from, std::string_view text) const {
    auto wellKnownQuery = database_.prepare(std::string(samSelect) + "WHERE kind = ? ORDER BY id");
    wellKnownQuery.bind(1, int64_t{static_cast<int>(SamKind::WellKnown)});
    const auto wellKnown = readSams(wellKnownQuery);
    auto reach = trustingReach(from);
    reach.insert(reach.end(), wellKnown.begin(), wellKnown.end());

    const QualifiedName qualified = splitQualifiedName(text);
    std::optional<Account> account;
    if (qualified.domain) {
        const std::string key = foldCase(*qualified.domain);
        const auto sam = std::find_if(reach.begin(), reach.end(),
                                      [&](const SamInfo &s) { return foldCase(s.name) == key; });
        if (sam != reach.end()) account = Sam(database_, *sam).find(qualified.name);
    } else {
        account = findVisible(reach, qualified.name);
    }
    if (!account) {
        throw Error(ERROR_NO_SUCH_MEMBER,
                    "no account '" + std::string(text) + "' within reach of " + from.name);
    }
    return *account;
}

// ---- building ----

int64_t Network::createSam(std::string_view name, SamKind kind) const {
    if (findSamByKey(foldCase(name)) || findMachine(name)) {
        throw Error(ERROR_ALREADY_EXISTS, "'" + std::string(name) + "' already exists");
    }
    database_.prepare("INSERT INTO sams(name, name_key, kind, sid) VALUES (?, ?, ?, ?)")
        .bind(1, name)
        .bind(2, foldCase(name))
        .bind(3, int64_t{static_cast<int>(kind)})
        .bind(4, domainSid(name))
        .run();
    const int64_t id = database_.lastInsertId();
    Sam(database_, *findSamByKey(foldCase(name))).createBuiltinAccounts();
    return id;
}

void Network::createWellKnownAccounts() const {
    struct WellKnown {
        const char *authority;
        const char *sid;
        const char *name;
        uint32_t rid;
    };
    const WellKnown accounts[] = {{"", "S-1-1", "Everyone", 0},
                                  {"NT AUTHORITY", "S-1-5", "NETWORK", 2},
                                  {"NT AUTHORITY", "S-1-5", "INTERACTIVE", 4},
                                  {"NT AUTHORITY", "S-1-5", "Authenticated Users", 11}};
    for (const auto &account : accounts) {
        database_
            .prepare("INSERT OR IGNORE INTO sams(name, name_key, kind, sid) VALUES (?, ?, ?, ?)")
            .bind(1, account.authority)
            .bind(2, foldCase(account.authority))
            .bind(3, int64_t{static_cast<int>(SamKind::WellKnown)})
            .bind(4, account.sid)
            .run();
        database_
            .prepare("INSERT INTO accounts(sam_id, rid, name, name_key, kind, builtin) "
                     "SELECT id, ?, ?, ?, ?, 1 FROM sams WHERE name_key = ?")
            .bind(1, int64_t{account.rid})
            .bind(2, account.name)
            .bind(3, foldCase(account.name))
            .bind(4, int64_t{static_cast<int>(AccountKind::WellKnown)})
            .bind(5, foldCase(account.authority))
            .run();
    }
}

void Network::addDomain(std::string_view domain, std::string_view pdc) const {
    requireMachineName(domain);
    requireMachineName(pdc);
    if (findMachine(pdc) || findSamByKey(foldCase(pdc))) {
        throw Error(ERROR_ALREADY_EXISTS, "the machine '" + std::string(pdc) + "' already exists");
    }
    const int64_t id = createSam(domain, SamKind::Domain);
    database_.prepare("INSERT INTO domains(sam_id, controller_key) VALUES (?, ?)")
        .bind(1, id)
        .bind(2, foldCase(pdc))
        .run();
    database_
        .prepare("INSERT INTO machines(name, name_key, domain_sam_id, controller, sam_id) "
                 "VALUES (?, ?, ?, 1, ?)")
        .bind(1, pdc)
        .bind(2, foldCase(pdc))
        .bind(3, id)
        .bind(4, id)
        .run();
    Sam(database_, sam(domain)).addTrustAccount(pdc, true);
}

void Network::addMachine(std::string_view name, std::string_view domain,
                         std::string_view workgroup, bool local) const {
    if (domain.empty() == workgroup.empty()) {
        throw Error(ERROR_INVALID_PARAMETER, "a machine belongs to a domain or to a workgroup");
    }
    requireMachineName(name);
    std::optional<SamInfo> domainSam;
    if (!domain.empty()) {
        domainSam = findSamByKey(foldCase(domain));
        if (!domainSam || domainSam->kind != SamKind::Domain) {
            throw Error(ERROR_NO_SUCH_DOMAIN, "no domain '" + std::string(domain) + "'");
        }
    }
    const auto existing = findMachine(name);
    const bool controllerOfDomain =
        existing && existing->controller && domainSam && existing->samId == domainSam->id;
    if (existing && !controllerOfDomain) {
        throw Error(ERROR_ALREADY_EXISTS, "the machine '" + std::string(name) + "' already exists");
    }
    if (!existing) {
        const int64_t samId = createSam(name, SamKind::Machine);
        auto insert = database_.prepare(
            "INSERT INTO machines(name, name_key, domain_sam_id, workgroup, sam_id) "
            "VALUES (?, ?, ?, ?, ?)");
        insert.bind(1, name).bind(2, foldCase(name)).bind(4, workgroup).bind(5, samId);
        domainSam ? insert.bind(3, domainSam->id) : insert.bindNull(3);
        insert.run();
        if (domainSam) joinDomain(*findMachine(name), *domainSam);
    }
    if (local) {
        database_.execute("UPDATE machines SET local = 0");
        database_.prepare("UPDATE machines SET local = 1 WHERE name_key = ?").bind(1, foldCase(name)).run();
    }
}

// What joining a domain does: a trust account in the domain, and the domain's groups in
// the machine's built-in local groups.
void Network::joinDomain(const Machine &machine, const SamInfo &domain) const {
    const Sam domainSam(database_, domain);
    domainSam.addTrustAccount(machine.name, false);
    const Sam machineSam(database_, samOf(machine));
    const std::pair<uint32_t, uint32_t> nesting[] = {{ridAdministrators, ridDomainAdmins},
                                                     {ridUsers, ridDomainUsers},
                                                     {ridGuests, ridDomainGuests}};
    for (const auto &[localRid, globalRid] : nesting) {
        machineSam.addLocalMember(machineSam.findByRid(localRid)->name, *domainSam.findByRid(globalRid));
    }
}

void Network::addTrust(std::string_view trusting, std::string_view trusted) const {
    const auto domain = [this](std::string_view name) {
        auto found = findSamByKey(foldCase(name));
        if (!found || found->kind != SamKind::Domain) {
            throw Error(ERROR_NO_SUCH_DOMAIN, "no domain '" + std::string(name) + "'");
        }
        return *found;
    };
    const SamInfo from = domain(trusting);
    const SamInfo to = domain(trusted);
    if (from.id == to.id) throw Error(ERROR_INVALID_PARAMETER, "a domain does not trust itself");
    database_.prepare("INSERT OR IGNORE INTO trusts(trusting, trusted) VALUES (?, ?)")
        .bind(1, from.id)
        .bind(2, to.id)
        .run();
}

}  // namespace samworld
