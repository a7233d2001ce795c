// The exports that create, read, change and delete single users.
#include "vantry.h"

#include "netclient/platform_buffer.hpp"
#include "netclient/text.hpp"
#include "user_record.hpp"

using namespace netclient;
using namespace vantry;

extern "C" {

uint32_t CreateUser(const char *server, const UserRecord *record) {
    if (record == nullptr) return ERROR_INVALID_PARAMETER;
    WideText wideServer;
    if (const uint32_t status = toWide({{server, wideServer}})) return status;
    PlatformUserInfo info;
    if (const uint32_t status = info.assign(*record)) return status;
    return NetUserAdd(wideServer.get(), 3, info.buffer(), nullptr);
}

uint32_t DeleteUser(const char *server, const char *user) {
    WideText wideServer, wideUser;
    if (const uint32_t status = toWide({{server, wideServer}, {user, wideUser}})) return status;
    return NetUserDel(wideServer.get(), wideUser.get());
}

uint32_t GetUserInfo(const char *server, const char *user, UserRecord *record) {
    if (record == nullptr) return ERROR_INVALID_PARAMETER;
    WideText wideServer, wideUser;
    if (const uint32_t status = toWide({{server, wideServer}, {user, wideUser}})) return status;
    PlatformBuffer<> buffer;
    const NET_API_STATUS status =
        NetUserGetInfo(wideServer.get(), wideUser.get(), 3, buffer.receive());
    if (status != NERR_Success) return status;
    return readUserRecord(*buffer.as<USER_INFO_3>(), *record);
}

// The account is read first: the update keeps its primary group and every long text that the
// caller could only have seen cut.
uint32_t SetUserInfo(const char *server, const char *user, const UserRecord *record) {
    if (record == nullptr) return ERROR_INVALID_PARAMETER;
    WideText wideServer, wideUser;
    if (const uint32_t status = toWide({{server, wideServer}, {user, wideUser}})) return status;
    PlatformBuffer<> current;
    if (const NET_API_STATUS status =
            NetUserGetInfo(wideServer.get(), wideUser.get(), 3, current.receive())) {
        return status;
    }
    PlatformUserInfo info;
    if (const uint32_t status = info.assign(*record, current.as<USER_INFO_3>())) return status;
    return NetUserSetInfo(wideServer.get(), wideUser.get(), 3, info.buffer(), nullptr);
}

}  // extern "C"
