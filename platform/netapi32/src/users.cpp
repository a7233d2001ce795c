// NetUser*: users of the SAM that the server's account calls address.
#include "call.h"
#include "enumeration.h"

namespace netapi {
namespace {

using backend::Account;
using backend::Target;
using backend::UserRecord;
using backend::UserUpdate;

constexpr DWORD maxUnitsPerWeek = 7 * 24 * 60;

// ---- output levels, each built from one record ----

void fillUserInfo0(USER_INFO_0 &info, const Account &account, BlockWriter &out) {
    info.usri0_name = out.text(account.name);
}

void fillUserInfo20(USER_INFO_20 &info, const Account &account, BlockWriter &out) {
    info.usri20_name = out.text(account.name);
    info.usri20_full_name = out.text(account.fullName);
    info.usri20_comment = out.text(account.comment);
    info.usri20_flags = account.flags;
    info.usri20_user_id = account.rid;
}

void fillUserInfo3(USER_INFO_3 &info, const UserRecord &user, BlockWriter &out) {
    info.usri3_name = out.text(user.name);
    info.usri3_password = nullptr;  // never handed out
    info.usri3_password_age = user.passwordAge;
    info.usri3_priv = user.priv;
    info.usri3_home_dir = out.text(user.homeDir);
    info.usri3_comment = out.text(user.comment);
    info.usri3_flags = user.flags;
    info.usri3_script_path = out.text(user.scriptPath);
    info.usri3_auth_flags = user.authFlags;
    info.usri3_full_name = out.text(user.fullName);
    info.usri3_usr_comment = out.text(user.usrComment);
    info.usri3_parms = out.text(user.parms);
    info.usri3_workstations = out.text(user.workstations);
    info.usri3_last_logon = user.lastLogon;
    info.usri3_last_logoff = user.lastLogoff;
    info.usri3_acct_expires = user.acctExpires;
    info.usri3_max_storage = user.maxStorage;
    info.usri3_units_per_week = user.unitsPerWeek;
    info.usri3_logon_hours = out.bytes(user.logonHours);
    info.usri3_bad_pw_count = user.badPwCount;
    info.usri3_num_logons = user.numLogons;
    info.usri3_logon_server = out.text(user.logonServer);
    info.usri3_country_code = user.countryCode;
    info.usri3_code_page = user.codePage;
    info.usri3_user_id = user.userId;
    info.usri3_primary_group_id = user.primaryGroupId;
    info.usri3_profile = out.text(user.profile);
    info.usri3_home_dir_drive = out.text(user.homeDirDrive);
    info.usri3_password_expired = user.passwordExpired;
}

void fillGroupUsersInfo0(GROUP_USERS_INFO_0 &info, const Account &group, BlockWriter &out) {
    info.grui0_name = out.text(group.name);
}

void fillLocalGroupUsersInfo0(LOCALGROUP_USERS_INFO_0 &info, const Account &group, BlockWriter &out) {
    info.lgrui0_name = out.text(group.name);
}

// ---- the input level, made into one record or one update ----

// The hours of the week: as many bits as units, or absent.
std::optional<std::vector<uint8_t>> logonHours(const USER_INFO_3 &info) {
    if (info.usri3_logon_hours == nullptr) return std::nullopt;
    if (info.usri3_units_per_week == 0 || info.usri3_units_per_week > maxUnitsPerWeek) {
        throw backend::Error(ERROR_INVALID_PARAMETER, "units per week out of range");
    }
    const size_t bytes = (info.usri3_units_per_week + 7) / 8;
    return std::vector<uint8_t>(info.usri3_logon_hours, info.usri3_logon_hours + bytes);
}

UserRecord newUser(const USER_INFO_3 &info) {
    UserRecord user;
    user.name = requiredText(info.usri3_name);
    user.password = optionalText(info.usri3_password).value_or("");
    user.homeDir = optionalText(info.usri3_home_dir).value_or("");
    user.comment = optionalText(info.usri3_comment).value_or("");
    user.flags = info.usri3_flags;
    user.scriptPath = optionalText(info.usri3_script_path).value_or("");
    user.authFlags = info.usri3_auth_flags;
    user.fullName = optionalText(info.usri3_full_name).value_or("");
    user.usrComment = optionalText(info.usri3_usr_comment).value_or("");
    user.parms = optionalText(info.usri3_parms).value_or("");
    user.workstations = optionalText(info.usri3_workstations).value_or("");
    user.acctExpires = info.usri3_acct_expires;
    user.maxStorage = info.usri3_max_storage;
    if (auto hours = logonHours(info)) {
        user.unitsPerWeek = info.usri3_units_per_week;
        user.logonHours = *hours;
    }
    user.countryCode = info.usri3_country_code;
    user.codePage = info.usri3_code_page;
    user.profile = optionalText(info.usri3_profile).value_or("");
    user.homeDirDrive = optionalText(info.usri3_home_dir_drive).value_or("");
    user.passwordExpired = info.usri3_password_expired;
    return user;
}

// Null text and null hours leave a property as it is; numbers are written as given, except
// the privilege (which follows group membership) and the counters the system keeps. The name
// in the structure is not used: the account is the one the call names.
UserUpdate changedUser(const USER_INFO_3 &info) {
    UserUpdate update;
    update.password = optionalText(info.usri3_password);
    update.homeDir = optionalText(info.usri3_home_dir);
    update.comment = optionalText(info.usri3_comment);
    update.flags = info.usri3_flags;
    update.scriptPath = optionalText(info.usri3_script_path);
    update.authFlags = info.usri3_auth_flags;
    update.fullName = optionalText(info.usri3_full_name);
    update.usrComment = optionalText(info.usri3_usr_comment);
    update.parms = optionalText(info.usri3_parms);
    update.workstations = optionalText(info.usri3_workstations);
    update.acctExpires = info.usri3_acct_expires;
    update.maxStorage = info.usri3_max_storage;
    if ((update.logonHours = logonHours(info))) update.unitsPerWeek = info.usri3_units_per_week;
    update.countryCode = info.usri3_country_code;
    update.codePage = info.usri3_code_page;
    update.primaryGroupId = info.usri3_primary_group_id;
    update.profile = optionalText(info.usri3_profile);
    update.homeDirDrive = optionalText(info.usri3_home_dir_drive);
    update.passwordExpired = info.usri3_password_expired;
    return update;
}

// The user flags an enumeration filter asks for (0: every user).
uint32_t flagsOfFilter(DWORD filter) {
    constexpr std::pair<DWORD, uint32_t> filters[] = {
        {FILTER_TEMP_DUPLICATE_ACCOUNT, UF_TEMP_DUPLICATE_ACCOUNT},
        {FILTER_NORMAL_ACCOUNT, UF_NORMAL_ACCOUNT},
        {FILTER_INTERDOMAIN_TRUST_ACCOUNT, UF_INTERDOMAIN_TRUST_ACCOUNT},
        {FILTER_WORKSTATION_TRUST_ACCOUNT, UF_WORKSTATION_TRUST_ACCOUNT},
        {FILTER_SERVER_TRUST_ACCOUNT, UF_SERVER_TRUST_ACCOUNT}};
    uint32_t flags = 0;
    DWORD known = 0;
    for (const auto &[bit, flag] : filters) {
        if (filter & bit) flags |= flag;
        known |= bit;
    }
    if (filter & ~known) throw backend::Error(ERROR_INVALID_PARAMETER, "unknown filter");
    return flags;
}

}  // namespace
}  // namespace netapi

using namespace netapi;

extern "C" {

NET_API_STATUS NetUserEnum(LPCWSTR servername, DWORD level, DWORD filter, LPBYTE *bufptr,
                           DWORD prefmaxlen, LPDWORD entriesread, LPDWORD totalentries,
                           LPDWORD resume_handle) {
    const ListOutputs out{bufptr, entriesread, totalentries};
    if (const auto status = out.prepare()) return status;
    if (level != 0 && level != 3 && level != 20) return ERROR_INVALID_LEVEL;
    return guarded([&] {
        const Call call("NetUserEnum", servername);
        const uint32_t flags = flagsOfFilter(filter);
        return call.read([&](Target &target) {
            const auto users = [&](auto after, const auto &accept) {
                return target.users(flags, after, accept);
            };
            if (level == 0) {
                return enumerate<USER_INFO_0>(out, prefmaxlen, resume_handle, users, fillUserInfo0);
            }
            if (level == 20) {
                return enumerate<USER_INFO_20>(out, prefmaxlen, resume_handle, users,
                                               fillUserInfo20);
            }
            return enumerate<USER_INFO_3>(
                out, prefmaxlen, resume_handle,
                [&](auto after, const auto &accept) {
                    return target.userRecords(flags, after, accept);
                },
                fillUserInfo3);
        });
    });
}

NET_API_STATUS NetUserAdd(LPCWSTR servername, DWORD level, LPBYTE buf, LPDWORD parm_err) {
    if (parm_err != nullptr) *parm_err = 0;
    if (level != 3) return ERROR_INVALID_LEVEL;
    if (buf == nullptr) return ERROR_INVALID_PARAMETER;
    return guarded([&] {
        const Call call("NetUserAdd", servername);
        const UserRecord user = newUser(*reinterpret_cast<const USER_INFO_3 *>(buf));
        call.change([&](Target &target) { target.addUser(user); });
        return NERR_Success;
    });
}

NET_API_STATUS NetUserDel(LPCWSTR servername, LPCWSTR username) {
    return guarded([&] {
        const Call call("NetUserDel", servername);
        const std::string name = requiredText(username);
        call.change([&](Target &target) { target.deleteUser(name); });
        return NERR_Success;
    });
}

NET_API_STATUS NetUserGetInfo(LPCWSTR servername, LPCWSTR username, DWORD level, LPBYTE *bufptr) {
    if (bufptr == nullptr) return ERROR_INVALID_PARAMETER;
    *bufptr = nullptr;
    if (level != 0 && level != 3) return ERROR_INVALID_LEVEL;
    return guarded([&] {
        const Call call("NetUserGetInfo", servername);
        const std::string name = requiredText(username);
        *bufptr = call.read([&](Target &target) {
            return level == 0 ? buildSingle<USER_INFO_0>(target.user(name), fillUserInfo0)
                              : buildSingle<USER_INFO_3>(target.userRecord(name), fillUserInfo3);
        });
        return NERR_Success;
    });
}

NET_API_STATUS NetUserSetInfo(LPCWSTR servername, LPCWSTR username, DWORD level, LPBYTE buf,
                              LPDWORD parm_err) {
    if (parm_err != nullptr) *parm_err = 0;
    if (level != 3) return ERROR_INVALID_LEVEL;
    if (buf == nullptr) return ERROR_INVALID_PARAMETER;
    return guarded([&] {
        const Call call("NetUserSetInfo", servername);
        const std::string name = requiredText(username);
        const UserUpdate update = changedUser(*reinterpret_cast<const USER_INFO_3 *>(buf));
        call.change([&](Target &target) { target.updateUser(name, update); });
        return NERR_Success;
    });
}

NET_API_STATUS NetUserGetGroups(LPCWSTR servername, LPCWSTR username, DWORD level, LPBYTE *bufptr,
                                DWORD prefmaxlen, LPDWORD entriesread, LPDWORD totalentries) {
    const ListOutputs out{bufptr, entriesread, totalentries};
    if (const auto status = out.prepare()) return status;
    if (level != 0) return ERROR_INVALID_LEVEL;
    return guarded([&] {
        const Call call("NetUserGetGroups", servername);
        const std::string name = requiredText(username);
        return call.read([&](Target &target) {
            return listAll<GROUP_USERS_INFO_0>(out, prefmaxlen, target.groupsOfUser(name),
                                               fillGroupUsersInfo0);
        });
    });
}

NET_API_STATUS NetUserGetLocalGroups(LPCWSTR servername, LPCWSTR username, DWORD level,
                                     DWORD flags, LPBYTE *bufptr, DWORD prefmaxlen,
                                     LPDWORD entriesread, LPDWORD totalentries) {
    const ListOutputs out{bufptr, entriesread, totalentries};
    if (const auto status = out.prepare()) return status;
    if (level != 0) return ERROR_INVALID_LEVEL;
    if (flags & ~DWORD{LG_INCLUDE_INDIRECT}) return ERROR_INVALID_PARAMETER;
    return guarded([&] {
        const Call call("NetUserGetLocalGroups", servername);
        const std::string name = requiredText(username);
        const bool indirect = (flags & LG_INCLUDE_INDIRECT) != 0;
        return call.read([&](Target &target) {
            return listAll<LOCALGROUP_USERS_INFO_0>(out, prefmaxlen,
                                                    target.localGroupsOf(name, indirect),
                                                    fillLocalGroupUsersInfo0);
        });
    });
}

}  // extern "C"
