// The world's records: those it shares with every backend of the network account calls, and
// its own (SAMs, machines, faults). Text is UTF-8 here; the Net* calls convert at their edge.
#pragma once

#include "backend/records.h"

#include <cstdint>
#include <string>

namespace samworld {

using backend::Accept;
using backend::Account;
using backend::AccountKind;
using backend::Keyed;
using backend::logonHoursBytes;
using backend::Page;
using backend::Share;
using backend::UserRecord;
using backend::UserUpdate;

// Accepts the first `limit` entries of a listing (-1: all of them).
template <class T>
Accept<T> firstOf(int64_t limit) {
    return [limit, taken = int64_t{0}](const T &) mutable { return limit < 0 || taken++ < limit; };
}

enum class SamKind : int { Domain = 1, Machine = 2, WellKnown = 3 };

// One account database: a domain's, a machine's, or a holder of well-known accounts
// ("NT AUTHORITY", and the nameless one of Everyone).
struct SamInfo {
    int64_t id = 0;
    std::string name;
    SamKind kind = SamKind::Machine;
    std::string sid;  // S-1-5-21-a-b-c; an account's SID is this plus "-RID"
};

struct Machine {
    std::string name;
    std::string domain;     // empty for a workgroup machine
    std::string workgroup;  // empty for a domain member or controller
    bool controller = false;
    bool local = false;
    int64_t samId = 0;      // the SAM its account calls address (its domain's, for a controller)
};

// What hashing one password costs in a world. Strong, the default, makes each guess at a
// stolen world file cost tens of milliseconds; Quick is for test and benchmark worlds, which
// set thousands of passwords nobody needs to protect.
enum class PasswordCost { Strong, Quick };

// An injected failure: the `after` first calls of `call` (a Net* name) on `server` (any server
// when empty) succeed, then the next `count` calls fail with `status` (count -1: every call).
struct Fault {
    std::string call;
    uint32_t status = 0;
    std::string server;
    int after = 0;
    int count = 1;
};

}  // namespace samworld
