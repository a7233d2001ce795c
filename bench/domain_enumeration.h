// A target's names as the snapshot load enumerates them, through the account library into plain
// lists: the same calls in the same order, without the store. What is left of the load's time
// beyond this is the store's.
#pragma once

#include "vantry_api/NameList.h"

#include <string>
#include <utility>
#include <vector>

struct Enumerated {
    std::vector<std::string> users;
    std::vector<ListedDetails> userDetails;            // in the order of users
    std::vector<std::pair<std::string, bool>> groups;  // name, global
    std::vector<std::string> groupComments;            // in the order of groups
    std::vector<std::vector<std::string>> members;     // per group, in the order of groups
};

// Throws std::runtime_error when a call fails.
Enumerated enumerateDomain(const char *server);
