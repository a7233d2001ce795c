// The exports that answer questions about machines and domains.
#include "vantry.h"

#include "netclient/platform_buffer.hpp"
#include "netclient/text.hpp"
#include "enumeration.hpp"

using namespace netclient;
using namespace vantry;

namespace {

// The caller hands the address of its pointer to a 256-byte buffer; both must be there.
bool hasResultBuffer(char **result) { return result != nullptr && *result != nullptr; }

}  // namespace

extern "C" {

uint32_t GetDomainServer(const char *server, const char *domain, char **result) {
    if (!hasResultBuffer(result)) return ERROR_INVALID_PARAMETER;
    WideText wideServer, wideDomain;
    if (const uint32_t status = toWide({{server, wideServer}, {domain, wideDomain}})) {
        return status;
    }
    PlatformBuffer<> buffer;
    const NET_API_STATUS status = NetGetDCName(wideServer.get(), wideDomain.get(), buffer.receive());
    if (status != NERR_Success) return status;
    return writeCallerText(*result, buffer.as<char16_t>());
}

uint32_t GetDomainName(const char *server, char **result) {
    if (!hasResultBuffer(result)) return ERROR_INVALID_PARAMETER;
    WideText wideServer;
    if (const uint32_t status = toWide({{server, wideServer}})) return status;
    PlatformBuffer<> buffer;
    const NET_API_STATUS status = NetWkstaGetInfo(wideServer.get(), 100, buffer.receive());
    if (status != NERR_Success) return status;
    return writeCallerText(*result, buffer.as<WKSTA_INFO_100>()->wki100_langroup);
}

uint32_t GetUserLogons(const char *server, int32_t listKind, HWND window) {
    WideText wideServer;
    if (const uint32_t status = toWide({{server, wideServer}})) return status;
    DWORD resume = 0;
    return deliverResumed<WKSTA_USER_INFO_0>(
        [&](LPBYTE *buffer, DWORD *entriesRead) {
            DWORD total = 0;
            return NetWkstaUserEnum(wideServer.get(), 0, buffer, kLogonBatchBytes, entriesRead,
                                    &total, &resume);
        },
        nameField(&WKSTA_USER_INFO_0::wkui0_username), ListTarget(listKind, window));
}

}  // extern "C"
