// Users: the USER_INFO_3 fields as user attributes, and the rules the directory does not
// enforce itself (name rules, exactly one account type, 21 bytes of logon hours, the primary
// group among the user's groups, built-in accounts).
#include "session.h"

#include "samworld/names.h"
#include "sid.h"
#include "unicode.hpp"
#include "values.h"

#include <bit>
#include <ctime>

namespace directory {
namespace {

constexpr uint32_t accountTypeBits = UF_TEMP_DUPLICATE_ACCOUNT | UF_NORMAL_ACCOUNT | UF_INTERDOMAIN_TRUST_ACCOUNT |
                                     UF_WORKSTATION_TRUST_ACCOUNT | UF_SERVER_TRUST_ACCOUNT;
constexpr uint32_t lockedOut = 0x10;  // msDS-User-Account-Control-Computed
constexpr const char *administratorsSid = "S-1-5-32-544";
constexpr const char *guestsSid = "S-1-5-32-546";

// Text fields and their attributes; "" removes the attribute.
struct TextField {
    std::string UserRecord::*record;
    std::optional<std::string> UserUpdate::*update;
    const char *attribute;
};
constexpr TextField textFields[] = {
    {&UserRecord::homeDir, &UserUpdate::homeDir, "homeDirectory"},
    {&UserRecord::comment, &UserUpdate::comment, "description"},
    {&UserRecord::scriptPath, &UserUpdate::scriptPath, "scriptPath"},
    {&UserRecord::fullName, &UserUpdate::fullName, "displayName"},
    {&UserRecord::usrComment, &UserUpdate::usrComment, "comment"},
    {&UserRecord::workstations, &UserUpdate::workstations, "userWorkstations"},
    {&UserRecord::profile, &UserUpdate::profile, "profilePath"},
    {&UserRecord::homeDirDrive, &UserUpdate::homeDirDrive, "homeDrive"},
};

// Every attribute a user record reads; tokenGroups (for the privilege) only a base read returns.
std::vector<std::string> userAttributes(bool withPrivilege) {
    std::vector<std::string> all = {"sAMAccountName", "objectSid", "sAMAccountType", "description", "userAccountControl",
                                    "msDS-User-Account-Control-Computed", "accountExpires", "logonHours",
                                    "pwdLastSet", "primaryGroupID", "badPwdCount", "logonCount", "lastLogon",
                                    "lastLogoff", "countryCode", "codePage"};
    for (const auto &field : textFields) all.emplace_back(field.attribute);
    if (withPrivilege) all.emplace_back("tokenGroups");
    return all;
}

std::string number(int64_t value) { return std::to_string(value); }

Modification replace(const std::string &attribute, std::string value) {
    return {Modification::Kind::Replace, attribute, {std::move(value)}};
}

// The password as unicodePwd takes it: in double quotes, UTF-16LE.
std::string passwordValue(const std::string &password) {
    const auto wide = win32::toUtf16("\"" + password + "\"");
    if (!wide) refuse(ERROR_INVALID_PARAMETER, "the password is not well-formed text");
    std::string bytes;
    for (const char16_t unit : *wide) {
        bytes += char(unit & 0xFF);
        bytes += char(unit >> 8);
    }
    return bytes;
}

// Exactly one account type (none keeps the current one), and never TEMP_DUPLICATE, which the
// directory refuses; lockout is the directory's to set.
uint32_t checkedFlags(uint32_t flags, uint32_t currentType) {
    const uint32_t type = flags & accountTypeBits;
    if (std::popcount(type) > 1 || (type & UF_TEMP_DUPLICATE_ACCOUNT)) {
        refuse(ERROR_INVALID_PARAMETER, "a user has exactly one account type");
    }
    return (flags & ~(accountTypeBits | UF_LOCKOUT)) | (type != 0 ? type : currentType);
}

void checkLogonHours(const std::vector<uint8_t> &hours, uint32_t units) {
    if (units != UNITS_PER_WEEK || hours.size() != size_t(backend::logonHoursBytes)) {
        refuse(ERROR_INVALID_PARAMETER, "logon hours are 168 hours of the week, 21 bytes");
    }
}

std::string bytesOf(const std::vector<uint8_t> &data) { return std::string(data.begin(), data.end()); }

int64_t expiryValue(uint32_t seconds) { return seconds == TIMEQ_FOREVER ? filetimeNever : filetimeOfSeconds(seconds); }

uint32_t secondsSince(int64_t filetime) {
    const auto then = secondsOfFiletime(filetime);
    const auto now = uint32_t(std::time(nullptr));
    return then && *then < now ? now - *then : 0;
}

uint32_t privilegeOf(const Entry &entry) {
    uint32_t priv = USER_PRIV_USER;
    for (const auto &value : entry.values("tokenGroups")) {
        const auto sid = sidText(value);
        if (sid == administratorsSid) return USER_PRIV_ADMIN;
        if (sid == guestsSid) priv = USER_PRIV_GUEST;
    }
    return priv;
}

UserRecord recordOf(const Entry &entry, const Account &account) {
    UserRecord user;
    user.name = account.name;
    for (const auto &field : textFields) user.*field.record = entry.first(field.attribute);
    const uint32_t computed = uint32_t(integerValue(entry.first("msDS-User-Account-Control-Computed")));
    user.flags = (uint32_t(integerValue(entry.first("userAccountControl"))) & ~UF_LOCKOUT) |
                 (computed & lockedOut ? UF_LOCKOUT : 0);
    user.acctExpires = secondsOfFiletime(integerValue(entry.first("accountExpires"))).value_or(TIMEQ_FOREVER);
    if (const auto hours = entry.first("logonHours"); hours.size() == size_t(backend::logonHoursBytes)) {
        user.logonHours.assign(hours.begin(), hours.end());
    }
    const int64_t passwordSet = integerValue(entry.first("pwdLastSet"));
    user.passwordExpired = passwordSet == 0 ? 1 : 0;
    user.passwordAge = secondsSince(passwordSet);
    user.priv = privilegeOf(entry);
    user.userId = account.rid;
    user.primaryGroupId = uint32_t(integerValue(entry.first("primaryGroupID")));
    user.badPwCount = uint32_t(integerValue(entry.first("badPwdCount")));
    user.numLogons = uint32_t(integerValue(entry.first("logonCount")));
    user.lastLogon = secondsOfFiletime(integerValue(entry.first("lastLogon"))).value_or(0);
    user.lastLogoff = secondsOfFiletime(integerValue(entry.first("lastLogoff"))).value_or(0);
    user.countryCode = uint32_t(integerValue(entry.first("countryCode")));
    user.codePage = uint32_t(integerValue(entry.first("codePage")));
    return user;
}

// A user's entry, found by name; with its privilege it takes a second, base read.
std::pair<Account, Entry> userEntry(Domain::Session &s, const std::string &name, bool withPrivilege) {
    auto entry = s.findEntry(name, userAttributes(false));
    const auto account = entry ? s.accountOf(*entry) : std::nullopt;
    if (!account || account->kind != AccountKind::User) refuse(NERR_UserNotFound, "no user '" + name + "'");
    if (withPrivilege) {
        entry = s.ldap.read(entry->dn, userAttributes(true));
        if (!entry) refuse(NERR_UserNotFound, "no user '" + name + "'");
    }
    return {*account, std::move(*entry)};
}

std::vector<Modification> newUserAttributes(const UserRecord &user) {
    std::vector<Modification> attributes = {
        replace("objectClass", "user"),
        replace("sAMAccountName", user.name),
        replace("userAccountControl", number(checkedFlags(user.flags, UF_NORMAL_ACCOUNT))),
        replace("accountExpires", number(expiryValue(user.acctExpires))),
    };
    for (const auto &field : textFields) {
        if (!(user.*field.record).empty()) attributes.push_back(replace(field.attribute, user.*field.record));
    }
    checkLogonHours(user.logonHours, user.unitsPerWeek);
    attributes.push_back(replace("logonHours", bytesOf(user.logonHours)));
    if (!user.password.empty()) attributes.push_back(replace("unicodePwd", passwordValue(user.password)));
    if (user.passwordExpired == 0 && !user.password.empty()) attributes.push_back(replace("pwdLastSet", "-1"));
    return attributes;
}

// The changes an update makes, against the user's current entry: text as given ("" removes),
// numbers only where they differ, so that an unchanged field never resets what the directory
// keeps (pwdLastSet restarts the password's age when written).
std::vector<Modification> changesOf(Domain::Session &s, const Entry &current, const UserRecord &now,
                                    const UserUpdate &update) {
    std::vector<Modification> changes;
    for (const auto &field : textFields) {
        if (const auto &value = update.*field.update) {
            changes.push_back(value->empty() ? Modification{Modification::Kind::Replace, field.attribute, {}}
                                             : replace(field.attribute, *value));
        }
    }
    if (update.flags) {
        const uint32_t flags = checkedFlags(*update.flags, now.flags & accountTypeBits);
        if (flags != (now.flags & ~UF_LOCKOUT)) changes.push_back(replace("userAccountControl", number(flags)));
        if ((now.flags & UF_LOCKOUT) && !(*update.flags & UF_LOCKOUT)) changes.push_back(replace("lockoutTime", "0"));
    }
    if (update.acctExpires && *update.acctExpires != now.acctExpires) {
        changes.push_back(replace("accountExpires", number(expiryValue(*update.acctExpires))));
    }
    if (update.logonHours) {
        checkLogonHours(*update.logonHours, update.unitsPerWeek.value_or(UNITS_PER_WEEK));
        if (*update.logonHours != now.logonHours) changes.push_back(replace("logonHours", bytesOf(*update.logonHours)));
    }
    if (update.primaryGroupId && *update.primaryGroupId != now.primaryGroupId) {
        // The directory's own refusal says nothing useful: the group must be one of the user's.
        const auto groups = s.ldap.search(s.domainDn, Scope::Subtree,
                                          "(&(sAMAccountType=" + number(typeGlobalGroup) + ")" +
                                              sidFilter(s.domainSid + "-" + number(*update.primaryGroupId)) +
                                              "(member=" + filterValue(current.dn) + "))",
                                          {"objectSid"});
        if (groups.empty()) refuse(NERR_UserNotInGroup, "a primary group must be one of the user's groups");
        changes.push_back(replace("primaryGroupID", number(*update.primaryGroupId)));
    }
    if (update.password) changes.push_back(replace("unicodePwd", passwordValue(*update.password)));
    if (update.passwordExpired && (*update.passwordExpired != 0) != (now.passwordExpired != 0)) {
        changes.push_back(replace("pwdLastSet", *update.passwordExpired != 0 ? "0" : "-1"));
    }
    for (const auto &[value, attribute] : {std::pair{update.countryCode, "countryCode"}, {update.codePage, "codePage"}}) {
        if (value && *value != uint32_t(integerValue(current.first(attribute)))) {
            changes.push_back(replace(attribute, number(*value)));
        }
    }
    return changes;
}

std::string userTypeFilter(uint32_t anyFlags) {
    if (anyFlags == 0) return "(objectClass=user)";
    std::string filter = "(&(objectClass=user)(|";
    for (uint32_t bit = 1; bit != 0; bit <<= 1) {
        if (anyFlags & bit) filter += "(userAccountControl:1.2.840.113556.1.4.803:=" + number(bit) + ")";
    }
    return filter + "))";
}

}  // namespace

void Domain::addUser(const UserRecord &record) {
    if (!samworld::isValidAccountName(record.name)) refuse(NERR_BadUsername, "'" + record.name + "' is not a valid user name");
    run(Operation::AddUser, [&](Session &s) {
        if (const auto existing = s.findEntry(record.name, accountAttributes())) {
            const auto account = s.accountOf(*existing);
            refuse(account && account->kind == AccountKind::LocalGroup ? ERROR_ALIAS_EXISTS
                   : account && account->kind == AccountKind::GlobalGroup ? NERR_GroupExists
                                                                          : NERR_UserExists,
                   "'" + record.name + "' already exists");
        }
        s.ldap.add(s.newDn(record.name), newUserAttributes(record));
    });
}

UserRecord Domain::userRecord(const std::string &name) {
    return run(Operation::Read, [&](Session &s) {
        const auto [account, entry] = userEntry(s, name, true);
        return recordOf(entry, account);
    });
}

void Domain::updateUser(const std::string &name, const UserUpdate &update) {
    run(update.password ? Operation::SetPassword : Operation::Change, [&](Session &s) {
        const auto [account, entry] = userEntry(s, name, false);
        const auto changes = changesOf(s, entry, recordOf(entry, account), update);
        if (!changes.empty()) s.ldap.modify(entry.dn, changes);  // all of them, or none
    });
}

void Domain::deleteUser(const std::string &name) {
    run(Operation::Change, [&](Session &s) {
        const auto [account, dn] = s.require(name, AccountKind::User, NERR_UserNotFound);
        if (account.builtin) refuse(ERROR_SPECIAL_ACCOUNT, "'" + account.name + "' is a built-in account");
        s.ldap.remove(dn);
        s.forget(account.sid);
    });
}

Page<Account> Domain::accounts(AccountKind kind, uint32_t anyFlags, int64_t after,
                               const Accept<Account> &accept) {
    return run(Operation::Read, [&](Session &s) {
        const std::string filter = kind == AccountKind::User ? userTypeFilter(anyFlags)
                                   : typeFilter(kind == AccountKind::GlobalGroup ? typeGlobalGroup : typeLocalGroup);
        return serve(filter, after, accept, [&] {
            std::vector<Account> accounts;
            for (const auto &entry : s.ldap.search(s.domainDn, Scope::Subtree, filter, accountAttributes())) {
                if (auto account = s.accountOf(entry); account && account->kind == kind) {
                    s.remember(*account);
                    accounts.push_back(*account);
                }
            }
            std::sort(accounts.begin(), accounts.end(), [](const Account &a, const Account &b) {
                return std::tie(a.samName, a.rid) < std::tie(b.samName, b.rid);
            });
            return accounts;
        });
    });
}

}  // namespace directory
