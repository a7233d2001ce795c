#include "writers.h"

#include "password.h"
#include "samworld/names.h"

#include <ctime>

namespace samworld {

AccountWriter::AccountWriter(const Database &database)
    : database_(database),
      insert_(database.prepare(
          "INSERT INTO accounts(sam_id, rid, name, name_key, kind, builtin, comment) "
          "VALUES (?, ?, ?, ?, ?, ?, ?)")) {}

int64_t AccountWriter::insert(const SamInfo &sam, uint32_t rid, std::string_view name,
                              AccountKind kind, bool builtin, std::string_view comment) {
    insert_.reset();
    insert_.bind(1, sam.id).bind(2, int64_t{rid}).bind(3, name).bind(4, foldCase(name));
    insert_.bind(5, int64_t{static_cast<int>(kind)}).bind(6, int64_t{builtin}).bind(7, comment);
    insert_.run();
    return database_.lastInsertId();
}

UserRowWriter::UserRowWriter(const Database &database)
    : insert_(database.prepare(
          "INSERT INTO users(account_id, password_salt, password_hash, password_set, "
          "home_dir, flags, script_path, auth_flags, full_name, usr_comment, parms, "
          "workstations, last_logon, last_logoff, acct_expires, max_storage, "
          "units_per_week, logon_hours, bad_pw_count, num_logons, logon_server, "
          "country_code, code_page, primary_group_id, profile, home_dir_drive, "
          "password_expired) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
          "?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")),
      passwordCost_(passwordCost(database)) {}

void UserRowWriter::insert(int64_t accountId, const UserRecord &r) {
    const PasswordHash password = hashPassword(r.password, passwordCost_);
    insert_.reset();
    insert_.bind(1, accountId)
        .bind(2, password.salt)
        .bind(3, password.hash)
        .bind(4, static_cast<int64_t>(std::time(nullptr)) - int64_t{r.passwordAge})
        .bind(5, r.homeDir)
        .bind(6, int64_t{r.flags})
        .bind(7, r.scriptPath)
        .bind(8, int64_t{r.authFlags})
        .bind(9, r.fullName)
        .bind(10, r.usrComment)
        .bind(11, r.parms)
        .bind(12, r.workstations)
        .bind(13, int64_t{r.lastLogon})
        .bind(14, int64_t{r.lastLogoff})
        .bind(15, int64_t{r.acctExpires})
        .bind(16, int64_t{r.maxStorage})
        .bind(17, int64_t{r.unitsPerWeek})
        .bind(18, r.logonHours)
        .bind(19, int64_t{r.badPwCount})
        .bind(20, int64_t{r.numLogons})
        .bind(21, r.logonServer)
        .bind(22, int64_t{r.countryCode})
        .bind(23, int64_t{r.codePage})
        .bind(24, int64_t{r.primaryGroupId})
        .bind(25, r.profile)
        .bind(26, r.homeDirDrive)
        .bind(27, int64_t{r.passwordExpired != 0});
    insert_.run();
}

MembershipWriter::MembershipWriter(const Database &database)
    : groupUser_(database.prepare(
          "INSERT INTO group_members(group_id, user_id, user_rid) VALUES (?, ?, ?)")),
      localMember_(database.prepare("INSERT INTO alias_members(alias_id, member_id) VALUES (?, ?)")) {}

void MembershipWriter::addGroupUser(int64_t groupId, int64_t userId, uint32_t userRid) {
    groupUser_.reset();
    groupUser_.bind(1, groupId).bind(2, userId).bind(3, int64_t{userRid}).run();
}

void MembershipWriter::addLocalMember(int64_t groupId, int64_t memberId) {
    localMember_.reset();
    localMember_.bind(1, groupId).bind(2, memberId).run();
}

}  // namespace samworld
