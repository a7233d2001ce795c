// Users of one SAM.
#include "samworld/accounts.h"

#include "password.h"
#include "writers.h"
#include "unicode.hpp"
#include "samworld/names.h"

#include <algorithm>
#include <bit>
#include <ctime>
#include <type_traits>

namespace samworld {
namespace {

constexpr uint32_t accountTypeBits = UF_TEMP_DUPLICATE_ACCOUNT | UF_NORMAL_ACCOUNT |
                                     UF_INTERDOMAIN_TRUST_ACCOUNT | UF_WORKSTATION_TRUST_ACCOUNT |
                                     UF_SERVER_TRUST_ACCOUNT;

int64_t now() { return static_cast<int64_t>(std::time(nullptr)); }

// Exactly one account type: none given keeps the current one; UF_SCRIPT is always set.
uint32_t normalisedFlags(uint32_t flags, uint32_t currentType) {
    const uint32_t type = flags & accountTypeBits;
    if (std::popcount(type) > 1) throw Error(ERROR_INVALID_PARAMETER, "more than one account type");
    return (flags & ~accountTypeBits) | (type != 0 ? type : currentType) | UF_SCRIPT;
}

// Calls visit(column, value) for each column of users that an update may write.
template <class Visit>
void forEachColumn(const UserUpdate &u, Visit &&visit) {
    visit("home_dir", u.homeDir);
    visit("flags", u.flags);
    visit("script_path", u.scriptPath);
    visit("auth_flags", u.authFlags);
    visit("full_name", u.fullName);
    visit("usr_comment", u.usrComment);
    visit("parms", u.parms);
    visit("workstations", u.workstations);
    visit("acct_expires", u.acctExpires);
    visit("max_storage", u.maxStorage);
    visit("units_per_week", u.unitsPerWeek);
    visit("logon_hours", u.logonHours);
    visit("country_code", u.countryCode);
    visit("code_page", u.codePage);
    visit("primary_group_id", u.primaryGroupId);
    visit("profile", u.profile);
    visit("home_dir_drive", u.homeDirDrive);
    visit("password_expired", u.passwordExpired);
}

}  // namespace

void Sam::requirePasswordLength(std::string_view password) const {
    auto policy = database_.prepare("SELECT min_password_length FROM sams WHERE id = ?");
    policy.bind(1, info_.id).step();
    const auto length = win32::toUtf16(password).value_or(std::u16string{}).size();
    if (static_cast<int64_t>(length) < policy.integer(0)) {
        throw Error(NERR_PasswordTooShort, "the password is shorter than " + info_.name + " allows");
    }
}

Account Sam::addUser(const UserRecord &record) const {
    if (!isValidAccountName(record.name)) {
        throw Error(NERR_BadUsername, "'" + record.name + "' is not a valid user name");
    }
    requireUnique(record.name);
    requirePasswordLength(record.password);
    UserRecord normalised = record;
    normalised.flags = normalisedFlags(record.flags, UF_NORMAL_ACCOUNT);
    return createUser(normalised);
}

Account Sam::createUser(const UserRecord &record) const {
    const Account account = insertAccount(record.name, AccountKind::User, record.comment, std::nullopt);
    UserRecord stored = record;
    stored.primaryGroupId = ridDomainUsers;
    insertUserRow(account, stored);
    insertGroupUser(*findByRid(ridDomainUsers), account);
    return account;
}

void Sam::insertUserRow(const Account &account, const UserRecord &record) const {
    UserRowWriter(database_).insert(account.id, record);
}

UserRecord Sam::userRecord(std::string_view name) const {
    const Account account = user(name);
    auto row = database_.prepare(
        "SELECT password_set, home_dir, flags, script_path, auth_flags, full_name, usr_comment, "
        "parms, workstations, last_logon, last_logoff, acct_expires, max_storage, "
        "units_per_week, logon_hours, bad_pw_count, num_logons, logon_server, country_code, "
        "code_page, primary_group_id, profile, home_dir_drive, password_expired "
        "FROM users WHERE account_id = ?");
    row.bind(1, account.id).step();
    const auto number = [&row](int column) { return static_cast<uint32_t>(row.integer(column)); };
    UserRecord r;
    r.name = account.name;
    r.passwordAge = static_cast<uint32_t>(std::max<int64_t>(0, now() - row.integer(0)));
    r.priv = holds(ridAdministrators, account) ? USER_PRIV_ADMIN
             : holds(ridGuests, account)       ? USER_PRIV_GUEST
                                               : USER_PRIV_USER;
    r.homeDir = row.text(1);
    r.comment = account.comment;
    r.flags = number(2);
    r.scriptPath = row.text(3);
    r.authFlags = number(4);
    r.fullName = row.text(5);
    r.usrComment = row.text(6);
    r.parms = row.text(7);
    r.workstations = row.text(8);
    r.lastLogon = number(9);
    r.lastLogoff = number(10);
    r.acctExpires = number(11);
    r.maxStorage = number(12);
    r.unitsPerWeek = number(13);
    r.logonHours = row.blob(14);
    r.badPwCount = number(15);
    r.numLogons = number(16);
    r.logonServer = row.text(17);
    r.countryCode = number(18);
    r.codePage = number(19);
    r.userId = account.rid;
    r.primaryGroupId = number(20);
    r.profile = row.text(21);
    r.homeDirDrive = row.text(22);
    r.passwordExpired = number(23);
    return r;
}

void Sam::updateUser(std::string_view name, const UserUpdate &update) const {
    const Account account = user(name);
    UserUpdate checked = update;
    if (update.flags) {
        const uint32_t currentType = userRecord(name).flags & accountTypeBits;
        checked.flags = normalisedFlags(*update.flags, currentType);
    }
    if (update.primaryGroupId) {
        const auto group = findByRid(*update.primaryGroupId);
        const auto groups = groupsOfUser(account);
        const bool member = group && std::any_of(groups.begin(), groups.end(),
                                                 [&](const Account &g) { return g.id == group->id; });
        if (!member) {
            throw Error(NERR_UserNotInGroup, "a primary group must be one of the user's groups");
        }
    }
    if (update.passwordExpired) checked.passwordExpired = *update.passwordExpired != 0;
    if (update.comment) setComment(account, *update.comment);
    if (update.password) setPassword(account, *update.password);

    std::string sql;
    forEachColumn(checked, [&sql](const char *column, const auto &value) {
        if (value) sql += std::string(sql.empty() ? "" : ", ") + column + " = ?";
    });
    if (sql.empty()) return;
    auto statement = database_.prepare("UPDATE users SET " + sql + " WHERE account_id = ?");
    int index = 0;
    forEachColumn(checked, [&](const char *, const auto &value) {
        if (!value) return;
        if constexpr (std::is_same_v<std::decay_t<decltype(*value)>, uint32_t>) {
            statement.bind(++index, int64_t{*value});
        } else {
            statement.bind(++index, *value);
        }
    });
    statement.bind(index + 1, account.id).run();
}

void Sam::setComment(const Account &account, std::string_view comment) const {
    database_.prepare("UPDATE accounts SET comment = ? WHERE id = ?")
        .bind(1, comment)
        .bind(2, account.id)
        .run();
}

void Sam::setPassword(const Account &account, std::string_view password) const {
    requirePasswordLength(password);
    storePasswordHash(account, hashPassword(password, passwordCost(database_)));
    database_.prepare("UPDATE users SET password_set = ? WHERE account_id = ?")
        .bind(1, now())
        .bind(2, account.id)
        .run();
}

void Sam::storePasswordHash(const Account &account, const PasswordHash &hash) const {
    database_.prepare("UPDATE users SET password_salt = ?, password_hash = ? WHERE account_id = ?")
        .bind(1, hash.salt)
        .bind(2, hash.hash)
        .bind(3, account.id)
        .run();
}

void Sam::deleteUser(std::string_view name) const {
    const Account account = user(name);
    if (account.builtin) {
        throw Error(ERROR_SPECIAL_ACCOUNT, "'" + account.name + "' is a built-in account");
    }
    database_.prepare("DELETE FROM accounts WHERE id = ?").bind(1, account.id).run();
}

bool Sam::passwordMatches(std::string_view name, std::string_view password) const {
    const Account account = user(name);
    auto row = database_.prepare("SELECT password_salt, password_hash FROM users WHERE account_id = ?");
    row.bind(1, account.id).step();
    const PasswordCost cost = passwordCost(database_);
    const PasswordCheck check = checkPassword({row.blob(0), row.blob(1)}, password, cost);
    // A right password kept in an older or weaker form is hashed again as the world asks.
    if (check == PasswordCheck::MatchButRehash) {
        storePasswordHash(account, hashPassword(password, cost));
    }
    return check != PasswordCheck::Mismatch;
}

void Sam::setMinPasswordLength(int length) const {
    if (length < 0) throw Error(ERROR_INVALID_PARAMETER, "a length is not negative");
    database_.prepare("UPDATE sams SET min_password_length = ? WHERE id = ?")
        .bind(1, int64_t{length})
        .bind(2, info_.id)
        .run();
}

}  // namespace samworld
