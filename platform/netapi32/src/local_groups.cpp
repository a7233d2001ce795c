// NetLocalGroup*: local groups and their members, which may be accounts of trusted domains
// and well-known accounts.
#include "call.h"
#include "enumeration.h"
#include "group_input.h"

#include <span>

namespace netapi {
namespace {

using backend::Account;
using backend::Target;

constexpr auto local = backend::AccountKind::LocalGroup;

void fillLocalGroupInfo0(LOCALGROUP_INFO_0 &info, const Account &group, BlockWriter &out) {
    info.lgrpi0_name = out.text(group.name);
}

void fillLocalGroupInfo1(LOCALGROUP_INFO_1 &info, const Account &group, BlockWriter &out) {
    info.lgrpi1_name = out.text(group.name);
    info.lgrpi1_comment = out.text(group.comment);
}

SID_NAME_USE sidUsage(const Account &member) { return static_cast<SID_NAME_USE>(member.kind); }

void fillMembersInfo1(LOCALGROUP_MEMBERS_INFO_1 &info, const Account &member, BlockWriter &out) {
    info.lgrmi1_sid = out.sid(member.sid);
    info.lgrmi1_sidusage = sidUsage(member);
    info.lgrmi1_name = out.text(member.name);
}

void fillMembersInfo2(LOCALGROUP_MEMBERS_INFO_2 &info, const Account &member, BlockWriter &out) {
    info.lgrmi2_sid = out.sid(member.sid);
    info.lgrmi2_sidusage = sidUsage(member);
    info.lgrmi2_domainandname = out.text(member.qualifiedName());
}

void fillMembersInfo3(LOCALGROUP_MEMBERS_INFO_3 &info, const Account &member, BlockWriter &out) {
    info.lgrmi3_domainandname = out.text(member.qualifiedName());
}

// The members that level-3 entries name: "DOMAIN\NAME" or a bare NAME.
std::vector<std::string> memberNames(const uint8_t *buf, DWORD totalentries) {
    const std::span entries(reinterpret_cast<const LOCALGROUP_MEMBERS_INFO_3 *>(buf), totalentries);
    std::vector<std::string> names;
    for (const auto &entry : entries) names.push_back(requiredText(entry.lgrmi3_domainandname));
    return names;
}

}  // namespace
}  // namespace netapi

using namespace netapi;

extern "C" {

NET_API_STATUS NetLocalGroupEnum(LPCWSTR servername, DWORD level, LPBYTE *bufptr,
                                 DWORD prefmaxlen, LPDWORD entriesread, LPDWORD totalentries,
                                 PDWORD_PTR resume_handle) {
    const ListOutputs out{bufptr, entriesread, totalentries};
    if (const auto status = out.prepare()) return status;
    if (level != 0 && level != 1) return ERROR_INVALID_LEVEL;
    return guarded([&] {
        const Call call("NetLocalGroupEnum", servername);
        return call.read([&](Target &target) {
            const auto fetch = [&](auto after, const auto &accept) {
                    return target.groups(local, after, accept);
                };
            return level == 0
                       ? enumerate<LOCALGROUP_INFO_0>(out, prefmaxlen, resume_handle, fetch, fillLocalGroupInfo0)
                       : enumerate<LOCALGROUP_INFO_1>(out, prefmaxlen, resume_handle, fetch, fillLocalGroupInfo1);
        });
    });
}

NET_API_STATUS NetLocalGroupAdd(LPCWSTR servername, DWORD level, LPBYTE buf, LPDWORD parm_err) {
    if (parm_err != nullptr) *parm_err = 0;
    if (level != 0 && level != 1) return ERROR_INVALID_LEVEL;
    if (buf == nullptr) return ERROR_INVALID_PARAMETER;
    return guarded([&] {
        const Call call("NetLocalGroupAdd", servername);
        const NewGroup group = newGroup(level, buf, &LOCALGROUP_INFO_0::lgrpi0_name,
                                        &LOCALGROUP_INFO_1::lgrpi1_name, &LOCALGROUP_INFO_1::lgrpi1_comment);
        call.change([&](Target &target) { target.addGroup(group.name, local, group.comment); });
        return NERR_Success;
    });
}

NET_API_STATUS NetLocalGroupDel(LPCWSTR servername, LPCWSTR groupname) {
    return guarded([&] {
        const Call call("NetLocalGroupDel", servername);
        const std::string name = requiredText(groupname);
        call.change([&](Target &target) { target.deleteGroup(name, local); });
        return NERR_Success;
    });
}

NET_API_STATUS NetLocalGroupGetInfo(LPCWSTR servername, LPCWSTR groupname, DWORD level,
                                    LPBYTE *bufptr) {
    if (bufptr == nullptr) return ERROR_INVALID_PARAMETER;
    *bufptr = nullptr;
    if (level != 0 && level != 1) return ERROR_INVALID_LEVEL;
    return guarded([&] {
        const Call call("NetLocalGroupGetInfo", servername);
        const std::string name = requiredText(groupname);
        *bufptr = call.read([&](Target &target) {
            const Account group = target.group(name, local);
            return level == 0 ? buildSingle<LOCALGROUP_INFO_0>(group, fillLocalGroupInfo0)
                              : buildSingle<LOCALGROUP_INFO_1>(group, fillLocalGroupInfo1);
        });
        return NERR_Success;
    });
}

// Level 1 sets the comment; the name in the structure is not used. An absent comment leaves
// it as it is.
NET_API_STATUS NetLocalGroupSetInfo(LPCWSTR servername, LPCWSTR groupname, DWORD level,
                                    LPBYTE buf, LPDWORD parm_err) {
    if (parm_err != nullptr) *parm_err = 0;
    if (level != 1) return ERROR_INVALID_LEVEL;
    if (buf == nullptr) return ERROR_INVALID_PARAMETER;
    return guarded([&] {
        const Call call("NetLocalGroupSetInfo", servername);
        const std::string name = requiredText(groupname);
        const auto comment = optionalText(reinterpret_cast<const LOCALGROUP_INFO_1 *>(buf)->lgrpi1_comment);
        call.change([&](Target &target) {
            const Account group = target.group(name, local);
            if (comment) target.setGroupComment(group.name, local, *comment);
        });
        return NERR_Success;
    });
}

NET_API_STATUS NetLocalGroupGetMembers(LPCWSTR servername, LPCWSTR groupname, DWORD level,
                                       LPBYTE *bufptr, DWORD prefmaxlen, LPDWORD entriesread,
                                       LPDWORD totalentries, PDWORD_PTR resume_handle) {
    const ListOutputs out{bufptr, entriesread, totalentries};
    if (const auto status = out.prepare()) return status;
    if (level < 1 || level > 3) return ERROR_INVALID_LEVEL;
    return guarded([&] {
        const Call call("NetLocalGroupGetMembers", servername);
        const std::string name = requiredText(groupname);
        return call.read([&](Target &target) {
            const auto fetch = [&](auto after, const auto &accept) {
                    return target.localMembers(name, after, accept);
                };
            switch (level) {
            case 1:
                return enumerate<LOCALGROUP_MEMBERS_INFO_1>(out, prefmaxlen, resume_handle, fetch, fillMembersInfo1);
            case 2:
                return enumerate<LOCALGROUP_MEMBERS_INFO_2>(out, prefmaxlen, resume_handle, fetch, fillMembersInfo2);
            default:
                return enumerate<LOCALGROUP_MEMBERS_INFO_3>(out, prefmaxlen, resume_handle, fetch, fillMembersInfo3);
            }
        });
    });
}

NET_API_STATUS NetLocalGroupAddMembers(LPCWSTR servername, LPCWSTR groupname, DWORD level,
                                       LPBYTE buf, DWORD totalentries) {
    if (level != 3) return ERROR_INVALID_LEVEL;
    if (buf == nullptr && totalentries > 0) return ERROR_INVALID_PARAMETER;
    return guarded([&] {
        const Call call("NetLocalGroupAddMembers", servername);
        const std::string group = requiredText(groupname);
        const auto members = memberNames(buf, totalentries);
        call.change([&](Target &target) { target.addLocalMembers(group, members); });
        return NERR_Success;
    });
}

NET_API_STATUS NetLocalGroupDelMembers(LPCWSTR servername, LPCWSTR groupname, DWORD level,
                                       LPBYTE buf, DWORD totalentries) {
    if (level != 3) return ERROR_INVALID_LEVEL;
    if (buf == nullptr && totalentries > 0) return ERROR_INVALID_PARAMETER;
    return guarded([&] {
        const Call call("NetLocalGroupDelMembers", servername);
        const std::string group = requiredText(groupname);
        const auto members = memberNames(buf, totalentries);
        call.change([&](Target &target) { target.deleteLocalMembers(group, members); });
        return NERR_Success;
    });
}

}  // extern "C"
