// Machines, domains, trusts and the SAMs behind them; which accounts a SAM can see.
#pragma once

#include "samworld/database.h"
#include "samworld/records.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace samworld {

class Network {
public:
    explicit Network(const Database &database) : database_(database) {}
    const Database &database() const { return database_; }

    // ---- machines ----
    std::optional<Machine> findMachine(std::string_view name) const;
    // Server text as the Net* calls take it: empty is the local machine, "\\NAME" is NAME.
    // Error ERROR_BAD_NETPATH when no such machine is known.
    Machine machineOfServer(std::string_view server) const;
    // The machine flagged local, else the one named as GetComputerNameA says.
    std::optional<Machine> localMachine() const;

    // ---- SAMs ----
    // A domain, a machine (a controller's name gives its domain's SAM) or a holder of
    // well-known accounts. Error ERROR_NO_SUCH_DOMAIN when there is none.
    SamInfo sam(std::string_view name) const;
    std::optional<SamInfo> findSam(std::string_view name) const;
    SamInfo samOf(const Machine &machine) const;
    std::optional<SamInfo> domainOf(const Machine &machine) const;
    std::vector<SamInfo> trustedDomains(const SamInfo &domain) const;
    // The primary controller's machine name.
    std::string controllerOf(const SamInfo &domain) const;
    // The domains whose accounts a SAM's local groups may hold: its own (for a domain),
    // the machine's domain (for a member), and the domains that one trusts.
    std::vector<SamInfo> trustingReach(const SamInfo &sam) const;

    // ---- accounts as seen from a SAM ----
    // "DOMAIN\NAME", or a bare NAME looked up in the SAM, then its domain, then the domains
    // it trusts, then the well-known accounts. Error ERROR_NO_SUCH_MEMBER when none matches
    // or the domain is not within reach.
    Account resolveAccount(const SamInfo &from, std::string_view text) const;

    // ---- building ----
    void createWellKnownAccounts() const;
    void addDomain(std::string_view domain, std::string_view pdc) const;
    void addMachine(std::string_view name, std::string_view domain, std::string_view workgroup,
                    bool local) const;
    void addTrust(std::string_view trusting, std::string_view trusted) const;

private:
    std::optional<SamInfo> findSamByKey(const std::string &key) const;
    std::optional<Account> findVisible(const std::vector<SamInfo> &sams, std::string_view name) const;
    int64_t createSam(std::string_view name, SamKind kind) const;
    void joinDomain(const Machine &machine, const SamInfo &domain) const;

    const Database &database_;
};

}  // namespace samworld
