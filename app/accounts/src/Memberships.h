// How the user and the group object each describe a membership edit to the pass they share.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// One membership of a user in a group: both named as the caller gave them, with their store
// keys and the group's kind, which decides the account service call.
struct MembershipChange {
    std::string group;
    std::string user;
    int64_t groupId;
    int64_t userId;
    int32_t isGlobal;
};

enum class MembershipEdit { Add, Remove };

struct MembershipEditing {
    MembershipEdit edit;
    // The membership a listed name stands for; nullopt when the store does not hold the name.
    std::function<std::optional<MembershipChange>(const std::string &listedName)> changeFor;
    // Put before a listed name the store does not hold.
    std::string notFoundPrefix;
    // The error list entry for a change the SAM refused, given the status's message.
    std::function<std::string(const MembershipChange &, const std::string &statusText)> refusal;
};
