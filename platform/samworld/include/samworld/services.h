// What the world says about calls rather than accounts: who is calling and may they change a
// SAM, injected faults, and a machine's shares and logged-on users.
#pragma once

#include "samworld/database.h"
#include "samworld/network.h"
#include "samworld/records.h"

#include <optional>
#include <string_view>
#include <vector>

namespace samworld {

// ---- the caller ----
// DOMAIN\USER: the user must exist and may log on. Error ERROR_NO_SUCH_DOMAIN,
// NERR_UserNotFound, ERROR_ACCOUNT_DISABLED or ERROR_ACCOUNT_LOCKED_OUT.
void setCaller(const Network &network, std::string_view domainBackslashUser);
// The calling user, when the world names one that still exists.
std::optional<Account> caller(const Network &network);
// An account disabled or locked out since it logged on acts no more: Error ERROR_ACCESS_DENIED.
void requireActiveCaller(const Network &network);
// Changing a SAM needs membership of its Administrators group (directly or through a global
// group). Error ERROR_ACCESS_DENIED otherwise.
void requireAdministrator(const Network &network, const SamInfo &target);

// ---- faults ----
void addFault(const Database &database, const Fault &fault);
void clearFaults(const Database &database);
// Whether a fault names this call on this machine: a read, unlike takeFault.
bool faultMatches(const Database &database, std::string_view call, const Machine &machine);
// Counts this call against every matching fault; the status of the first fault that fires.
std::optional<uint32_t> takeFault(const Database &database, std::string_view call,
                                  const Machine &machine);

// ---- shares and logged-on users of one machine ----
class MachineServices {
public:
    MachineServices(const Database &database, Machine machine)
        : database_(database), machine_(std::move(machine)) {}

    std::optional<Share> share(std::string_view name) const;  // nullopt when unknown
    void addShare(const Share &share) const;                   // Error NERR_DuplicateShare
    void deleteShare(std::string_view name) const;             // Error NERR_NetNameNotFound
    std::vector<Share> shares() const;

    void addSession(std::string_view user) const;
    // In the order they began, after the key `after`, as far as `accept` takes them, or at most
    // `limit` (-1: all).
    Page<std::string> sessions(int64_t after, const Accept<std::string> &accept) const;
    std::vector<Keyed<std::string>> sessions(int64_t after, int64_t limit) const;

private:
    const Database &database_;
    Machine machine_;
};

}  // namespace samworld
