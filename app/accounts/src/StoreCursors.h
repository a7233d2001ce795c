// The store's three tables as the account objects work on them: prepared statements that seek
// one row by its index, add a row and delete one. Each cursor lives from OpenData to CloseData.
// Names are always bound, never written into the statements.
#pragma once

#include "accounts/AccountColumns.h"
#include "accounts/OneBasedArray.h"
#include "store/Database.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

struct UserRow {
    int64_t UserID;
    std::string UserName;
    UserColumns Columns;
};

struct GroupRow {
    int64_t GroupID;
    std::string GroupName;
    int32_t IsGlobal;  // non-zero for a global group
    std::string Comment;
};

class UserCursor {
public:
    explicit UserCursor(const Database &store);

    // The row whose UserName equals name, compared without regard to case.
    std::optional<UserRow> Seek(const std::string &name);
    // The new row's UserID.
    int64_t AddNew(const std::string &name, const UserColumns &columns);
    void Delete(int64_t userId);
    void SetColumns(int64_t userId, const UserColumns &columns);
    // Every UserName, in the order of the name index.
    NameArray AllNames() const;
    // Every user's columns, by UserName.
    void EachColumns(
        const std::function<void(const std::string &, const UserColumns &)> &each) const;

private:
    const Database &store_;
    Statement seek_;
    Statement add_;
    Statement delete_;
    Statement setColumns_;
};

class GroupCursor {
public:
    explicit GroupCursor(const Database &store);

    std::optional<GroupRow> Seek(const std::string &name);
    // The new row's GroupID. Stored as the store keeps truth: -1 or 0.
    int64_t AddNew(const std::string &name, int32_t isGlobal, const std::string &comment);
    void Delete(int64_t groupId);
    void SetComment(int64_t groupId, const std::string &comment);

private:
    const Database &store_;
    Statement seek_;
    Statement add_;
    Statement delete_;
    Statement setComment_;
};

class MembershipCursor {
public:
    explicit MembershipCursor(const Database &store);

    bool Seek(int64_t groupId, int64_t userId);
    void AddNew(int64_t groupId, int64_t userId);
    void Delete(int64_t groupId, int64_t userId);

private:
    Statement seek_;
    Statement add_;
    Statement delete_;
};
