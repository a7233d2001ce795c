// Lookups, account creation and groups of one SAM.
#include "samworld/accounts.h"

#include "account_rows.h"
#include "samworld/names.h"
#include "writers.h"

namespace samworld {
namespace {

std::string quoted(std::string_view name) { return "'" + std::string(name) + "'"; }

uint32_t existsStatus(AccountKind kind) {
    switch (kind) {
    case AccountKind::User:
        return NERR_UserExists;
    case AccountKind::LocalGroup:
        return ERROR_ALIAS_EXISTS;
    default:
        return NERR_GroupExists;
    }
}

}  // namespace

std::optional<Account> Sam::find(std::string_view name) const {
    auto query = database_.prepare(std::string(accountSelect) +
                                   "WHERE a.sam_id = ? AND a.name_key = ?");
    query.bind(1, info_.id).bind(2, foldCase(name));
    if (!query.step()) return std::nullopt;
    return readAccount(query);
}

std::optional<Account> Sam::findByRid(uint32_t rid) const {
    auto query = database_.prepare(std::string(accountSelect) + "WHERE a.sam_id = ? AND a.rid = ?");
    query.bind(1, info_.id).bind(2, int64_t{rid});
    if (!query.step()) return std::nullopt;
    return readAccount(query);
}

Account Sam::user(std::string_view name) const {
    auto account = find(name);
    if (!account || account->kind != AccountKind::User) {
        throw Error(NERR_UserNotFound, "no user " + quoted(name) + " in " + info_.name);
    }
    return *account;
}

Account Sam::group(std::string_view name, AccountKind kind) const {
    auto account = find(name);
    if (!account || account->kind != kind) {
        const char *what = kind == AccountKind::GlobalGroup ? "global" : "local";
        throw Error(NERR_GroupNotFound,
                    std::string("no ") + what + " group " + quoted(name) + " in " + info_.name);
    }
    return *account;
}

void Sam::requireUnique(std::string_view name) const {
    if (auto existing = find(name)) {
        throw Error(existsStatus(existing->kind),
                    quoted(existing->name) + " already exists in " + info_.name);
    }
}

Account Sam::insertAccount(std::string_view name, AccountKind kind, std::string_view comment,
                           std::optional<uint32_t> builtinRid) const {
    requireUnique(name);
    int64_t rid = 0;
    if (builtinRid) {
        rid = *builtinRid;
    } else {
        // Relative ids are never reused, so an enumeration resumed by id skips nothing.
        auto next = database_.prepare(
            "UPDATE sams SET next_rid = next_rid + 1 WHERE id = ? RETURNING next_rid - 1");
        next.bind(1, info_.id).step();
        rid = next.integer(0);
    }
    const int64_t id = AccountWriter(database_).insert(info_, static_cast<uint32_t>(rid), name, kind,
                                                       builtinRid.has_value(), comment);
    return Account{id, static_cast<uint32_t>(rid), std::string(name), kind,
                   std::string(comment), builtinRid.has_value(), info_.name,
                   info_.sid + "-" + std::to_string(rid), {}, 0};
}

Account Sam::addGroup(std::string_view name, AccountKind kind, std::string_view comment) const {
    if (kind != AccountKind::GlobalGroup && kind != AccountKind::LocalGroup) {
        throw Error(ERROR_INVALID_PARAMETER, "not a group kind");
    }
    if (!isValidAccountName(name)) {
        throw Error(ERROR_INVALID_ACCOUNT_NAME, quoted(name) + " is not a valid group name");
    }
    if (kind == AccountKind::GlobalGroup && info_.kind != SamKind::Domain) {
        // A machine's SAM has exactly one global group, None.
        throw Error(NERR_NotPrimary, "global groups are made on a domain only, not on " + info_.name);
    }
    return insertAccount(name, kind, comment, std::nullopt);
}

void Sam::deleteGroup(std::string_view name, AccountKind kind) const {
    const Account account = group(name, kind);
    if (account.builtin) {
        if (kind == AccountKind::GlobalGroup) {
            throw Error(NERR_SpeGroupOp, quoted(account.name) + " is a built-in group");
        }
        throw Error(ERROR_SPECIAL_ACCOUNT, quoted(account.name) + " is a built-in group");
    }
    auto primary = database_.prepare(
        "SELECT count(*) FROM users u JOIN accounts a ON a.id = u.account_id "
        "WHERE a.sam_id = ? AND u.primary_group_id = ?");
    primary.bind(1, info_.id).bind(2, int64_t{account.rid}).step();
    if (kind == AccountKind::GlobalGroup && primary.integer(0) > 0) {
        throw Error(ERROR_MEMBERS_PRIMARY_GROUP,
                    quoted(account.name) + " is the primary group of some of its members");
    }
    database_.prepare("DELETE FROM accounts WHERE id = ?").bind(1, account.id).run();
}

void Sam::setGroupComment(std::string_view name, AccountKind kind, std::string_view comment) const {
    const Account account = group(name, kind);
    setComment(account, comment);
}

void Sam::createBuiltinAccounts() const {
    const bool domain = info_.kind == SamKind::Domain;
    UserRecord administrator;
    administrator.name = "Administrator";
    administrator.comment = domain ? "Built-in account for administering the computer/domain"
                                   : "Built-in account for administering the computer";
    administrator.flags = UF_SCRIPT | UF_NORMAL_ACCOUNT | UF_DONT_EXPIRE_PASSWD;
    UserRecord guest;
    guest.name = "Guest";
    guest.comment = "Built-in account for guest access to the computer/domain";
    guest.flags = UF_SCRIPT | UF_NORMAL_ACCOUNT | UF_ACCOUNTDISABLE | UF_PASSWD_NOTREQD;

    insertAccount(domain ? "Domain Users" : "None", AccountKind::GlobalGroup,
                  domain ? "All domain users" : "Ordinary users", ridDomainUsers);
    if (domain) {
        insertAccount("Domain Admins", AccountKind::GlobalGroup,
                      "Designated administrators of the domain", ridDomainAdmins);
        insertAccount("Domain Guests", AccountKind::GlobalGroup, "All domain guests",
                      ridDomainGuests);
    }
    insertAccount("Administrators", AccountKind::LocalGroup,
                  "Members can fully administer the computer/domain", ridAdministrators);
    insertAccount("Users", AccountKind::LocalGroup, "Ordinary users", ridUsers);
    insertAccount("Guests", AccountKind::LocalGroup,
                  "Users granted guest access to the computer/domain", ridGuests);

    const Account admin = insertAccount(administrator.name, AccountKind::User,
                                        administrator.comment, ridAdministrator);
    insertUserRow(admin, administrator);
    const Account guestAccount = insertAccount(guest.name, AccountKind::User, guest.comment, ridGuest);
    insertUserRow(guestAccount, guest);

    const auto builtin = [this](uint32_t rid) { return *findByRid(rid); };
    insertGroupUser(builtin(ridDomainUsers), admin);
    insertGroupUser(builtin(ridDomainUsers), guestAccount);
    insertLocalMember(builtin(ridAdministrators), admin);
    insertLocalMember(builtin(ridGuests), guestAccount);
    if (domain) {
        insertGroupUser(builtin(ridDomainAdmins), admin);
        insertGroupUser(builtin(ridDomainGuests), guestAccount);
        insertLocalMember(builtin(ridAdministrators), builtin(ridDomainAdmins));
        insertLocalMember(builtin(ridUsers), builtin(ridDomainUsers));
        insertLocalMember(builtin(ridGuests), builtin(ridDomainGuests));
    }
}

void Sam::addTrustAccount(std::string_view machine, bool controller) const {
    UserRecord record;
    record.name = std::string(machine) + "$";
    record.flags = UF_SCRIPT |
                   (controller ? UF_SERVER_TRUST_ACCOUNT : UF_WORKSTATION_TRUST_ACCOUNT);
    createUser(record);  // a machine's secret is not a person's password: no policy applies
}

}  // namespace samworld
