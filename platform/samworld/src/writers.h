// The inserts that make accounts, each prepared once per writer so that bulk generation can
// reuse them; the ordinary account operations make a writer per call.
#pragma once

#include "samworld/database.h"
#include "samworld/records.h"

namespace samworld {

class AccountWriter {
public:
    explicit AccountWriter(const Database &database);
    // The new account's id. A clash of names or relative ids is a DatabaseError.
    int64_t insert(const SamInfo &sam, uint32_t rid, std::string_view name, AccountKind kind,
                   bool builtin, std::string_view comment);

private:
    const Database &database_;
    Statement insert_;
};

class UserRowWriter {
public:
    explicit UserRowWriter(const Database &database);
    // The password is hashed at the world's cost.
    void insert(int64_t accountId, const UserRecord &record);

private:
    Statement insert_;
    PasswordCost passwordCost_;
};

class MembershipWriter {
public:
    explicit MembershipWriter(const Database &database);
    void addGroupUser(int64_t groupId, int64_t userId, uint32_t userRid);
    void addLocalMember(int64_t groupId, int64_t memberId);

private:
    Statement groupUser_;
    Statement localMember_;
};

}  // namespace samworld
