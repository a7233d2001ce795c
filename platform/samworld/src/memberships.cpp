// Memberships of global and local groups, and the enumerations of one SAM.
#include "samworld/accounts.h"

#include "account_rows.h"
#include "writers.h"

namespace samworld {
namespace {

std::string quoted(std::string_view name) { return "'" + std::string(name) + "'"; }

int64_t count(Statement &query) {
    query.step();
    return query.integer(0);
}

// The local groups of a SAM that hold an account directly or (indirect) through a global
// group; ?1 the SAM, ?2 the account, ?3 whether to follow global groups.
constexpr std::string_view holdingGroups =
    "FROM accounts a JOIN sams s ON s.id = a.sam_id "
    "WHERE a.sam_id = ?1 AND a.kind = 4 AND EXISTS (SELECT 1 FROM alias_members m "
    "WHERE m.alias_id = a.id AND (m.member_id = ?2 OR (?3 AND m.member_id IN "
    "(SELECT group_id FROM group_members WHERE user_id = ?2)))) ";

}  // namespace

// ---- global groups ----

void Sam::insertGroupUser(const Account &group, const Account &user) const {
    MembershipWriter(database_).addGroupUser(group.id, user.id, user.rid);
}

void Sam::addGroupUser(std::string_view groupName, std::string_view userName) const {
    const Account group = this->group(groupName, AccountKind::GlobalGroup);
    const Account user = this->user(userName);
    auto existing = database_.prepare(
        "SELECT count(*) FROM group_members WHERE group_id = ? AND user_id = ?");
    if (count(existing.bind(1, group.id).bind(2, user.id)) > 0) {
        throw Error(NERR_UserInGroup, quoted(user.name) + " is already in " + quoted(group.name));
    }
    insertGroupUser(group, user);
}

void Sam::deleteGroupUser(std::string_view groupName, std::string_view userName) const {
    const Account group = this->group(groupName, AccountKind::GlobalGroup);
    const Account user = this->user(userName);
    auto primary = database_.prepare("SELECT primary_group_id FROM users WHERE account_id = ?");
    primary.bind(1, user.id).step();
    if (primary.integer(0) == group.rid) {
        throw Error(ERROR_MEMBERS_PRIMARY_GROUP,
                    quoted(group.name) + " is the primary group of " + quoted(user.name));
    }
    database_.prepare("DELETE FROM group_members WHERE group_id = ? AND user_id = ?")
        .bind(1, group.id)
        .bind(2, user.id)
        .run();
    if (database_.changes() == 0) {
        throw Error(NERR_UserNotInGroup, quoted(user.name) + " is not in " + quoted(group.name));
    }
}

// ---- local groups ----

void Sam::insertLocalMember(const Account &group, const Account &member) const {
    MembershipWriter(database_).addLocalMember(group.id, member.id);
}

void Sam::addLocalMember(std::string_view groupName, const Account &member) const {
    const Account group = this->group(groupName, AccountKind::LocalGroup);
    if (member.kind == AccountKind::LocalGroup) {
        throw Error(ERROR_INVALID_MEMBER, "a local group cannot hold the local group " +
                                              quoted(member.qualifiedName()));
    }
    auto existing = database_.prepare(
        "SELECT count(*) FROM alias_members WHERE alias_id = ? AND member_id = ?");
    if (count(existing.bind(1, group.id).bind(2, member.id)) > 0) {
        throw Error(ERROR_MEMBER_IN_ALIAS,
                    quoted(member.qualifiedName()) + " is already in " + quoted(group.name));
    }
    insertLocalMember(group, member);
}

void Sam::deleteLocalMember(std::string_view groupName, const Account &member) const {
    const Account group = this->group(groupName, AccountKind::LocalGroup);
    database_.prepare("DELETE FROM alias_members WHERE alias_id = ? AND member_id = ?")
        .bind(1, group.id)
        .bind(2, member.id)
        .run();
    if (database_.changes() == 0) {
        throw Error(ERROR_MEMBER_NOT_IN_ALIAS,
                    quoted(member.qualifiedName()) + " is not in " + quoted(group.name));
    }
}

// ---- enumerations ----

// The accounts of these two listings are this SAM's own: they read no SAM row, and their key,
// the relative id, is column 1. A user's full name and flags come along in the first: a listing
// of users at level 20 carries them.
Page<Account> Sam::accounts(AccountKind kind, uint32_t anyFlags, int64_t after,
                            const Accept<Account> &accept) const {
    auto query = database_.prepare(
        "SELECT a.id, a.rid, a.name, a.kind, a.builtin, a.comment, u.full_name, u.flags "
        "FROM accounts a LEFT JOIN users u ON u.account_id = a.id "
        "WHERE a.sam_id = ?1 AND a.kind = ?2 AND a.rid > ?3 AND (?4 = 0 OR (u.flags & ?4) != 0) "
        "ORDER BY a.rid");
    query.bind(1, info_.id).bind(2, int64_t{static_cast<int>(kind)}).bind(3, after);
    query.bind(4, int64_t{anyFlags});
    return readPage(query, 1, accept, [this](const Statement &row) {
        Account account = ownAccount(row);
        account.fullName = row.text(6);
        account.flags = static_cast<uint32_t>(row.integer(7));
        return account;
    });
}

Page<Account> Sam::groupUsers(const Account &group, int64_t after,
                              const Accept<Account> &accept) const {
    auto query = database_.prepare(
        "SELECT a.id, a.rid, a.name, a.kind, a.builtin, a.comment "
        "FROM group_members g JOIN accounts a ON a.id = g.user_id "
        "WHERE g.group_id = ? AND g.user_rid > ? ORDER BY g.user_rid");
    query.bind(1, group.id).bind(2, after);
    return readPage(query, 1, accept, [this](const Statement &row) { return ownAccount(row); });
}

Page<Account> Sam::localMembers(const Account &group, int64_t after,
                                const Accept<Account> &accept) const {
    auto query = database_.prepare(
        "SELECT " + std::string(accountColumns) + ", m.id " +
        "FROM alias_members m JOIN accounts a ON a.id = m.member_id "
        "JOIN sams s ON s.id = a.sam_id WHERE m.alias_id = ? AND m.id > ? ORDER BY m.id");
    query.bind(1, group.id).bind(2, after);
    return readPage(query, 8, accept, [](const Statement &row) { return readAccount(row); });
}

std::vector<Keyed<Account>> Sam::accounts(AccountKind kind, uint32_t anyFlags, int64_t after,
                                          int64_t limit) const {
    return accounts(kind, anyFlags, after, firstOf<Account>(limit)).entries;
}

std::vector<Keyed<Account>> Sam::groupUsers(const Account &group, int64_t after,
                                            int64_t limit) const {
    return groupUsers(group, after, firstOf<Account>(limit)).entries;
}

std::vector<Keyed<Account>> Sam::localMembers(const Account &group, int64_t after,
                                              int64_t limit) const {
    return localMembers(group, after, firstOf<Account>(limit)).entries;
}

std::vector<Account> Sam::groupsOfUser(const Account &user) const {
    auto query = database_.prepare(
        accountSelect + "JOIN group_members g ON g.group_id = a.id WHERE g.user_id = ? "
                        "ORDER BY a.rid");
    query.bind(1, user.id);
    return readAccounts(query);
}

std::vector<Account> Sam::localGroupsOf(const Account &account, bool indirect) const {
    auto query = database_.prepare("SELECT " + std::string(accountColumns) +
                                   std::string(holdingGroups) + "ORDER BY a.rid");
    query.bind(1, info_.id).bind(2, account.id).bind(3, int64_t{indirect});
    return readAccounts(query);
}

bool Sam::holds(uint32_t localGroupRid, const Account &account) const {
    auto query = database_.prepare("SELECT count(*) " + std::string(holdingGroups) + "AND a.rid = ?4");
    query.bind(1, info_.id).bind(2, account.id).bind(3, int64_t{1}).bind(4, int64_t{localGroupRid});
    return count(query) > 0;
}

bool Sam::isAdministrator(const Account &account) const { return holds(ridAdministrators, account); }

Account Sam::ownAccount(const Statement &row) const { return readAccount(row, info_.name, info_.sid); }

}  // namespace samworld
