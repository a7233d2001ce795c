#include "StoreCursors.h"

#include "vantry_api/modVantryDeclare.h"

namespace {

// The statement made ready for another use, its parameters bound from 1 in order. The reset
// comes first, so that a statement whose last use failed half way is usable again.
template <typename... Values>
Statement &afresh(Statement &statement, const Values &...values) {
    statement.reset();
    int index = 0;
    (statement.bind(++index, values), ...);
    return statement;
}

// Runs a statement that returns no rows.
template <typename... Values>
void runAfresh(Statement &statement, const Values &...values) {
    afresh(statement, values...).run();
    statement.reset();
}

// The first row of a statement, as read turns it into a value.
template <typename Read, typename... Values>
auto firstRow(Statement &statement, Read read, const Values &...values)
    -> std::optional<decltype(read(statement))> {
    std::optional<decltype(read(statement))> row;
    if (afresh(statement, values...).step()) {
        row = read(statement);
    }
    // Ends the read at once rather than at the next use.
    statement.reset();
    return row;
}

}  // namespace

UserCursor::UserCursor(const Database &store)
    : store_(store),
      seek_(store.prepare(
          "SELECT UserID, UserName, FullName, Comment, Flags FROM User WHERE UserName = ?")),
      add_(store.prepare(
          "INSERT INTO User (UserName, FullName, Comment, Flags) VALUES (?, ?, ?, ?)")),
      delete_(store.prepare("DELETE FROM User WHERE UserID = ?")),
      setColumns_(store.prepare(
          "UPDATE User SET FullName = ?, Comment = ?, Flags = ? WHERE UserID = ?")) {}

std::optional<UserRow> UserCursor::Seek(const std::string &name) {
    return firstRow(
        seek_,
        [](const Statement &row) {
            return UserRow{row.integer(0), row.text(1),
                           {row.text(2), row.text(3), static_cast<uint32_t>(row.integer(4))}};
        },
        name);
}

int64_t UserCursor::AddNew(const std::string &name, const UserColumns &columns) {
    runAfresh(add_, name, columns.FullName, columns.Comment, int64_t{columns.Flags});
    return store_.lastInsertId();
}

void UserCursor::Delete(int64_t userId) { runAfresh(delete_, userId); }

void UserCursor::SetColumns(int64_t userId, const UserColumns &columns) {
    runAfresh(setColumns_, columns.FullName, columns.Comment, int64_t{columns.Flags}, userId);
}

NameArray UserCursor::AllNames() const {
    Statement rows = store_.prepare("SELECT UserName FROM User ORDER BY UserName");
    NameArray names;
    while (rows.step()) {
        names.Append(rows.text(0));
    }
    return names;
}

void UserCursor::EachColumns(
    const std::function<void(const std::string &, const UserColumns &)> &each) const {
    Statement rows = store_.prepare("SELECT UserName, FullName, Comment, Flags FROM User");
    while (rows.step()) {
        each(rows.text(0),
             UserColumns{rows.text(1), rows.text(2), static_cast<uint32_t>(rows.integer(3))});
    }
}

GroupCursor::GroupCursor(const Database &store)
    : store_(store),
      seek_(store.prepare(
          "SELECT GroupID, GroupName, IsGlobal, Comment FROM [Group] WHERE GroupName = ?")),
      add_(store.prepare("INSERT INTO [Group] (GroupName, IsGlobal, Comment) VALUES (?, ?, ?)")),
      delete_(store.prepare("DELETE FROM [Group] WHERE GroupID = ?")),
      setComment_(store.prepare("UPDATE [Group] SET Comment = ? WHERE GroupID = ?")) {}

std::optional<GroupRow> GroupCursor::Seek(const std::string &name) {
    return firstRow(
        seek_,
        [](const Statement &row) {
            return GroupRow{row.integer(0), row.text(1), static_cast<int32_t>(row.integer(2)),
                            row.text(3)};
        },
        name);
}

int64_t GroupCursor::AddNew(const std::string &name, int32_t isGlobal,
                            const std::string &comment) {
    const int64_t storedTruth = isGlobal != 0 ? modVantryDeclare::kTrue : modVantryDeclare::kFalse;
    runAfresh(add_, name, storedTruth, comment);
    return store_.lastInsertId();
}

void GroupCursor::Delete(int64_t groupId) { runAfresh(delete_, groupId); }

void GroupCursor::SetComment(int64_t groupId, const std::string &comment) {
    runAfresh(setComment_, comment, groupId);
}

MembershipCursor::MembershipCursor(const Database &store)
    : seek_(store.prepare("SELECT 1 FROM GroupUser WHERE GroupID = ? AND UserID = ?")),
      add_(store.prepare("INSERT INTO GroupUser (GroupID, UserID) VALUES (?, ?)")),
      delete_(store.prepare("DELETE FROM GroupUser WHERE GroupID = ? AND UserID = ?")) {}

bool MembershipCursor::Seek(int64_t groupId, int64_t userId) {
    return firstRow(
               seek_, [](const Statement &) { return true; }, groupId, userId)
        .has_value();
}

void MembershipCursor::AddNew(int64_t groupId, int64_t userId) { runAfresh(add_, groupId, userId); }

void MembershipCursor::Delete(int64_t groupId, int64_t userId) {
    runAfresh(delete_, groupId, userId);
}
