// NetShare*: disk shares of a machine.
#include "call.h"
#include "enumeration.h"

namespace netapi {
namespace {

void fillShareInfo2(SHARE_INFO_2 &info, const backend::Share &share, BlockWriter &out) {
    info.shi2_netname = out.text(share.name);
    info.shi2_type = share.type;
    info.shi2_remark = out.text(share.remark);
    info.shi2_permissions = share.permissions;
    info.shi2_max_uses = share.maxUses;
    info.shi2_current_uses = share.currentUses;
    info.shi2_path = out.text(share.path);
    info.shi2_passwd = nullptr;
}

backend::Share newShare(const SHARE_INFO_2 &info) {
    backend::Share share;
    share.name = requiredText(info.shi2_netname);
    share.path = requiredText(info.shi2_path);
    share.remark = optionalText(info.shi2_remark).value_or("");
    share.type = info.shi2_type;
    share.permissions = info.shi2_permissions;
    share.maxUses = info.shi2_max_uses;
    return share;
}

}  // namespace
}  // namespace netapi

using namespace netapi;

extern "C" {

NET_API_STATUS NetShareGetInfo(LMSTR servername, LMSTR netname, DWORD level, LPBYTE *bufptr) {
    if (bufptr == nullptr) return ERROR_INVALID_PARAMETER;
    *bufptr = nullptr;
    if (level != 2) return ERROR_INVALID_LEVEL;
    return guarded([&] {
        const Call call("NetShareGetInfo", servername);
        const std::string name = requiredText(netname);
        const auto share = call.target().share(name);
        if (!share) throw backend::Error(NERR_NetNameNotFound, "no share " + name);
        *bufptr = buildSingle<SHARE_INFO_2>(*share, fillShareInfo2);
        return NERR_Success;
    });
}

NET_API_STATUS NetShareAdd(LMSTR servername, DWORD level, LPBYTE buf, LPDWORD parm_err) {
    if (parm_err != nullptr) *parm_err = 0;
    if (level != 2) return ERROR_INVALID_LEVEL;
    if (buf == nullptr) return ERROR_INVALID_PARAMETER;
    return guarded([&] {
        const Call call("NetShareAdd", servername);
        const backend::Share share = newShare(*reinterpret_cast<const SHARE_INFO_2 *>(buf));
        call.change([&](backend::Target &target) { target.addShare(share); });
        return NERR_Success;
    });
}

NET_API_STATUS NetShareDel(LMSTR servername, LMSTR netname, DWORD reserved) {
    if (reserved != 0) return ERROR_INVALID_PARAMETER;
    return guarded([&] {
        const Call call("NetShareDel", servername);
        const std::string name = requiredText(netname);
        call.change([&](backend::Target &target) { target.deleteShare(name); });
        return NERR_Success;
    });
}

}  // extern "C"
