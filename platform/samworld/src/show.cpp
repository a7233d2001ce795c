// `samworld show`: the world as text, for a person reading it.
#include "samworld/world.h"

#include "samworld/accounts.h"
#include "samworld/network.h"
#include "samworld/services.h"

#include <sstream>

namespace samworld {
namespace {

void showMachines(std::ostream &out, const Database &database) {
    out << "Machines\n";
    auto query = database.prepare(
        "SELECT m.name, coalesce(d.name, ''), m.workgroup, m.controller, m.local "
        "FROM machines m LEFT JOIN sams d ON d.id = m.domain_sam_id ORDER BY m.name_key");
    while (query.step()) {
        out << "  " << query.text(0) << ": ";
        if (query.integer(3) != 0) {
            out << "primary controller of " << query.text(1);
        } else if (!query.text(1).empty()) {
            out << "member of " << query.text(1);
        } else {
            out << "workgroup " << query.text(2);
        }
        out << (query.integer(4) != 0 ? " (local)" : "") << "\n";
    }
}

void showDomains(std::ostream &out, const Network &network) {
    out << "Domains\n";
    auto query = network.database().prepare(
        "SELECT s.name FROM sams s JOIN domains d ON d.sam_id = s.id ORDER BY s.name_key");
    while (query.step()) {
        const SamInfo domain = network.sam(query.text(0));
        out << "  " << domain.name << ": controller " << network.controllerOf(domain) << ", "
            << domain.sid << "\n";
    }
    out << "Trusts\n";
    auto trusts = network.database().prepare(
        "SELECT a.name, b.name FROM trusts t JOIN sams a ON a.id = t.trusting "
        "JOIN sams b ON b.id = t.trusted ORDER BY a.name_key, b.name_key");
    while (trusts.step()) out << "  " << trusts.text(0) << " trusts " << trusts.text(1) << "\n";
}

void showCallerAndFaults(std::ostream &out, const Network &network) {
    const auto account = caller(network);
    out << "Caller: " << (account ? account->qualifiedName() : "(nobody)") << "\n";
    auto faults = network.database().prepare(
        "SELECT call, status, server_key, after, count, seen FROM faults ORDER BY id");
    while (faults.step()) {
        out << "Fault: " << faults.text(0) << " -> " << faults.integer(1)
            << (faults.text(2).empty() ? "" : " on " + faults.text(2)) << ", after "
            << faults.integer(3) << ", count " << faults.integer(4) << ", seen "
            << faults.integer(5) << "\n";
    }
}

std::string flagWords(uint32_t flags) {
    std::string words;
    if (flags & UF_ACCOUNTDISABLE) words += " disabled";
    if (flags & UF_LOCKOUT) words += " locked";
    if (flags & (UF_WORKSTATION_TRUST_ACCOUNT | UF_SERVER_TRUST_ACCOUNT)) words += " machine";
    return words;
}

// One query for all users: a bulk world has a hundred thousand of them.
void showUsers(std::ostream &out, const Database &database, const SamInfo &sam) {
    auto users = database.prepare(
        "SELECT a.rid, a.name, u.full_name, u.flags FROM accounts a "
        "JOIN users u ON u.account_id = a.id WHERE a.sam_id = ? ORDER BY a.rid");
    users.bind(1, sam.id);
    while (users.step()) {
        out << "  user " << users.integer(0) << " " << users.text(1);
        if (!users.text(2).empty()) out << " \"" << users.text(2) << "\"";
        out << flagWords(static_cast<uint32_t>(users.integer(3))) << "\n";
    }
}

void showGroups(std::ostream &out, const Sam &sam) {
    for (const auto &[rid, group] : sam.accounts(AccountKind::GlobalGroup, 0, 0, -1)) {
        out << "  global group " << rid << " " << group.name << ":";
        for (const auto &member : sam.groupUsers(group, 0, -1)) out << " " << member.value.name;
        out << "\n";
    }
    for (const auto &[rid, group] : sam.accounts(AccountKind::LocalGroup, 0, 0, -1)) {
        out << "  local group " << rid << " " << group.name << ":";
        for (const auto &member : sam.localMembers(group, 0, -1)) {
            out << " " << member.value.qualifiedName();
        }
        out << "\n";
    }
}

void showSam(std::ostream &out, const Sam &sam) {
    out << "Accounts of " << sam.info().name << " (" << sam.info().sid << ")\n";
    showUsers(out, sam.database(), sam.info());
    showGroups(out, sam);
}

void showServices(std::ostream &out, const Network &network, const Machine &machine) {
    const MachineServices services(network.database(), machine);
    for (const auto &share : services.shares()) {
        out << "  share " << share.name << " = " << share.path << "\n";
    }
    for (const auto &session : services.sessions(0, -1)) out << "  session " << session.value << "\n";
}

}  // namespace

std::string World::show(const std::string &sam) const {
    const Network network(database_);
    std::ostringstream out;
    showMachines(out, database_);
    showDomains(out, network);
    showCallerAndFaults(out, network);
    if (!sam.empty()) {
        showSam(out, Sam(database_, network.sam(sam)));
        if (auto machine = network.findMachine(sam)) showServices(out, network, *machine);
        return out.str();
    }
    auto sams = database_.prepare("SELECT name FROM sams WHERE kind != ? ORDER BY id");
    sams.bind(1, int64_t{static_cast<int>(SamKind::WellKnown)});
    while (sams.step()) showSam(out, Sam(database_, network.sam(sams.text(0))));
    auto machines = database_.prepare("SELECT name FROM machines ORDER BY name_key");
    while (machines.step()) {
        out << "Machine " << machines.text(0) << "\n";
        showServices(out, network, *network.findMachine(machines.text(0)));
    }
    return out.str();
}

}  // namespace samworld
