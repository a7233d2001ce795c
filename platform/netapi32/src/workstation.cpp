// NetWksta*: what a machine says about itself and who is logged on at it.
#include "call.h"
#include "enumeration.h"

namespace netapi {
namespace {

constexpr DWORD versionMajor = 10;
constexpr DWORD versionMinor = 0;

void fillWkstaInfo100(WKSTA_INFO_100 &info, const backend::MachineInfo &machine, BlockWriter &out) {
    info.wki100_platform_id = PLATFORM_ID_NT;
    info.wki100_computername = out.text(machine.name);
    info.wki100_langroup = out.text(machine.langroup);
    info.wki100_ver_major = versionMajor;
    info.wki100_ver_minor = versionMinor;
}

void fillWkstaUserInfo0(WKSTA_USER_INFO_0 &info, const std::string &user, BlockWriter &out) {
    info.wkui0_username = out.text(user);
}

}  // namespace
}  // namespace netapi

using namespace netapi;

extern "C" {

NET_API_STATUS NetWkstaGetInfo(LMSTR servername, DWORD level, LPBYTE *bufptr) {
    if (bufptr == nullptr) return ERROR_INVALID_PARAMETER;
    *bufptr = nullptr;
    if (level != 100) return ERROR_INVALID_LEVEL;
    return guarded([&] {
        const Call call("NetWkstaGetInfo", servername);
        *bufptr = buildSingle<WKSTA_INFO_100>(call.target().machine(), fillWkstaInfo100);
        return NERR_Success;
    });
}

NET_API_STATUS NetWkstaUserEnum(LMSTR servername, DWORD level, LPBYTE *bufptr, DWORD prefmaxlen,
                                LPDWORD entriesread, LPDWORD totalentries, LPDWORD resumehandle) {
    const ListOutputs out{bufptr, entriesread, totalentries};
    if (const auto status = out.prepare()) return status;
    if (level != 0) return ERROR_INVALID_LEVEL;
    return guarded([&] {
        const Call call("NetWkstaUserEnum", servername);
        return call.read([&](backend::Target &target) {
            return enumerate<WKSTA_USER_INFO_0>(
                out, prefmaxlen, resumehandle,
                [&](auto after, const auto &accept) { return target.sessions(after, accept); },
                fillWkstaUserInfo0);
        });
    });
}

}  // extern "C"
