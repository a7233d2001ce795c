// NetGroup*: global groups and their users.
#include "call.h"
#include "enumeration.h"
#include "group_input.h"

namespace netapi {
namespace {

using backend::Account;
using backend::Target;

constexpr auto global = backend::AccountKind::GlobalGroup;

void fillGroupInfo0(GROUP_INFO_0 &info, const Account &group, BlockWriter &out) {
    info.grpi0_name = out.text(group.name);
}

void fillGroupInfo1(GROUP_INFO_1 &info, const Account &group, BlockWriter &out) {
    info.grpi1_name = out.text(group.name);
    info.grpi1_comment = out.text(group.comment);
}

void fillGroupUsersInfo0(GROUP_USERS_INFO_0 &info, const Account &user, BlockWriter &out) {
    info.grui0_name = out.text(user.name);
}

}  // namespace
}  // namespace netapi

using namespace netapi;

extern "C" {

NET_API_STATUS NetGroupEnum(LPCWSTR servername, DWORD level, LPBYTE *bufptr, DWORD prefmaxlen,
                            LPDWORD entriesread, LPDWORD totalentries, PDWORD_PTR resume_handle) {
    const ListOutputs out{bufptr, entriesread, totalentries};
    if (const auto status = out.prepare()) return status;
    if (level != 0 && level != 1) return ERROR_INVALID_LEVEL;
    return guarded([&] {
        const Call call("NetGroupEnum", servername);
        return call.read([&](Target &target) {
            const auto fetch = [&](auto after, const auto &accept) {
                    return target.groups(global, after, accept);
                };
            return level == 0
                       ? enumerate<GROUP_INFO_0>(out, prefmaxlen, resume_handle, fetch, fillGroupInfo0)
                       : enumerate<GROUP_INFO_1>(out, prefmaxlen, resume_handle, fetch, fillGroupInfo1);
        });
    });
}

NET_API_STATUS NetGroupAdd(LPCWSTR servername, DWORD level, LPBYTE buf, LPDWORD parm_err) {
    if (parm_err != nullptr) *parm_err = 0;
    if (level != 0 && level != 1) return ERROR_INVALID_LEVEL;
    if (buf == nullptr) return ERROR_INVALID_PARAMETER;
    return guarded([&] {
        const Call call("NetGroupAdd", servername);
        const NewGroup group = newGroup(level, buf, &GROUP_INFO_0::grpi0_name, &GROUP_INFO_1::grpi1_name,
                                        &GROUP_INFO_1::grpi1_comment);
        call.change([&](Target &target) { target.addGroup(group.name, global, group.comment); });
        return NERR_Success;
    });
}

NET_API_STATUS NetGroupDel(LPCWSTR servername, LPCWSTR groupname) {
    return guarded([&] {
        const Call call("NetGroupDel", servername);
        const std::string name = requiredText(groupname);
        call.change([&](Target &target) { target.deleteGroup(name, global); });
        return NERR_Success;
    });
}

NET_API_STATUS NetGroupGetInfo(LPCWSTR servername, LPCWSTR groupname, DWORD level, LPBYTE *bufptr) {
    if (bufptr == nullptr) return ERROR_INVALID_PARAMETER;
    *bufptr = nullptr;
    if (level != 0 && level != 1) return ERROR_INVALID_LEVEL;
    return guarded([&] {
        const Call call("NetGroupGetInfo", servername);
        const std::string name = requiredText(groupname);
        *bufptr = call.read([&](Target &target) {
            const Account group = target.group(name, global);
            return level == 0 ? buildSingle<GROUP_INFO_0>(group, fillGroupInfo0)
                              : buildSingle<GROUP_INFO_1>(group, fillGroupInfo1);
        });
        return NERR_Success;
    });
}

// Level 1 sets the comment; the name in the structure is not used, so the group keeps its
// name. An absent comment leaves it as it is.
NET_API_STATUS NetGroupSetInfo(LPCWSTR servername, LPCWSTR groupname, DWORD level, LPBYTE buf,
                               LPDWORD parm_err) {
    if (parm_err != nullptr) *parm_err = 0;
    if (level != 1) return ERROR_INVALID_LEVEL;
    if (buf == nullptr) return ERROR_INVALID_PARAMETER;
    return guarded([&] {
        const Call call("NetGroupSetInfo", servername);
        const std::string name = requiredText(groupname);
        const auto comment = optionalText(reinterpret_cast<const GROUP_INFO_1 *>(buf)->grpi1_comment);
        call.change([&](Target &target) {
            const Account group = target.group(name, global);
            if (comment) target.setGroupComment(group.name, global, *comment);
        });
        return NERR_Success;
    });
}

NET_API_STATUS NetGroupGetUsers(LPCWSTR servername, LPCWSTR groupname, DWORD level, LPBYTE *bufptr,
                                DWORD prefmaxlen, LPDWORD entriesread, LPDWORD totalentries,
                                PDWORD_PTR resume_handle) {
    const ListOutputs out{bufptr, entriesread, totalentries};
    if (const auto status = out.prepare()) return status;
    if (level != 0) return ERROR_INVALID_LEVEL;
    return guarded([&] {
        const Call call("NetGroupGetUsers", servername);
        const std::string name = requiredText(groupname);
        return call.read([&](Target &target) {
            return enumerate<GROUP_USERS_INFO_0>(
                out, prefmaxlen, resume_handle,
                [&](auto after, const auto &accept) {
                    return target.groupUsers(name, after, accept);
                },
                fillGroupUsersInfo0);
        });
    });
}

NET_API_STATUS NetGroupAddUser(LPCWSTR servername, LPCWSTR groupname, LPCWSTR username) {
    return guarded([&] {
        const Call call("NetGroupAddUser", servername);
        const std::string group = requiredText(groupname);
        const std::string user = requiredText(username);
        call.change([&](Target &target) { target.addGroupUser(group, user); });
        return NERR_Success;
    });
}

NET_API_STATUS NetGroupDelUser(LPCWSTR servername, LPCWSTR groupname, LPCWSTR username) {
    return guarded([&] {
        const Call call("NetGroupDelUser", servername);
        const std::string group = requiredText(groupname);
        const std::string user = requiredText(username);
        call.change([&](Target &target) { target.deleteGroupUser(group, user); });
        return NERR_Success;
    });
}

}  // extern "C"
