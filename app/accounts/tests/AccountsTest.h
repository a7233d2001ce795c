// A case with its own world: domain CORP on \\ALDER, its administrator logged on. A case
// describes its accounts in buildWorld(); SetUp then loads the store from CORP and opens both
// account objects on it, as switching to the target does.
#pragma once

#include "StoreTest.h"
#include "accounts/clsGroup.h"
#include "accounts/clsUser.h"

#include <cstdint>
#include <optional>
#include <string>

class AccountsTest : public StoreTest {
protected:
    void SetUp() override;

    virtual void buildWorld() {}

    clsUser &user() { return data().User(); }
    clsGroup &group() { return data().Group(); }
    clsErr &errors() { return data().LastErr(); }
    samworld::UserRecord samUser(const std::string &name);

    // Counts the calls of a Net* function from now on, failing none of them.
    void countCalls(const std::string &call);
    int64_t callsOf(const std::string &call);
    // Makes every call of a Net* function fail with status.
    void failCalls(const std::string &call, uint32_t status);

    bool storeHasUser(const std::string &name) const;
    bool storeHasGroup(const std::string &name) const;
    bool storeHasMembership(const std::string &group, const std::string &user) const;
    // Drops every membership of the user from the store. A SAM keeps each user in its primary
    // group, so only the store can hold a user who belongs to no group at all.
    void forgetMemberships(const std::string &user);
    // A group row's Comment; nullopt while it is unset.
    std::optional<std::string> storedComment(const std::string &group);
};

// A status's text as the administrator reads it.
std::string StatusMessage(uint32_t status);
