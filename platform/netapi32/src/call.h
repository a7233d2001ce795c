// What every Net* call shares: the world behind it, the machine its server text names, the
// injected faults, the caller's rights, text crossing the edge, and the one path from a
// failure to a status.
#pragma once

#include "lm.h"
#include "samworld/accounts.h"
#include "samworld/network.h"
#include "samworld/world.h"

#include <optional>
#include <string>
#include <string_view>

namespace netapi {

// Wide text in: absent stays absent; text that is not well-formed UTF-16 is
// ERROR_INVALID_PARAMETER.
std::optional<std::string> optionalText(const char16_t *text);
// As optionalText, but absent text is ERROR_INVALID_PARAMETER too.
std::string requiredText(const char16_t *text);

// One Net* call against the world: opens it (World::openDefault), resolves the server
// (ERROR_BAD_NETPATH), then consults the fault table for this call and machine.
class Call {
public:
    Call(std::string_view name, const char16_t *server);

    const samworld::Database &database() const { return world_.database(); }
    const samworld::Network &network() const { return network_; }
    const samworld::Machine &machine() const { return machine_; }
    // The SAM that this machine's account calls address (its domain's, for a controller).
    samworld::Sam sam() const;

    // Reads in one snapshot.
    template <class Read>
    auto read(Read &&body) const {
        samworld::Transaction transaction(database(), samworld::Transaction::Kind::Read);
        return body(sam());
    }

    // A change to the SAM: one transaction, and only for a member of its Administrators.
    template <class Change>
    void change(Change &&body) const {
        samworld::Transaction transaction(database());
        requireAdministrator();
        body(sam());
        transaction.commit();
    }

    void requireAdministrator() const;

private:
    samworld::World world_;
    samworld::Network network_;
    samworld::Machine machine_;
};

// The status of the exception being handled: a world Error's own status, else
// ERROR_NOT_ENOUGH_MEMORY or NERR_InternalError.
NET_API_STATUS statusOfCurrentException() noexcept;

// Runs the body of a call and turns whatever it throws into the call's status.
template <class Body>
NET_API_STATUS guarded(Body &&body) noexcept {
    try {
        return body();
    } catch (...) {
        return statusOfCurrentException();
    }
}

}  // namespace netapi
