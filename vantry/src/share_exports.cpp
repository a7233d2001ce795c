// The exports that create and remove disk shares.
#include "vantry.h"

#include "netclient/platform_buffer.hpp"
#include "netclient/text.hpp"

#include <string>
#include <string_view>

using namespace netclient;

namespace {

constexpr std::u16string_view kNetworkPathPrefix = u"\\\\";

// The local path to share. A network path, \\machine\share followed by an optional \rest, is
// looked up on its machine and becomes the share's own path followed by the rest. Any other
// path is used as it is. The look-up's status when it fails: there is then no path to share.
uint32_t resolveSharePath(std::u16string_view path, std::u16string &resolved) {
    if (!path.starts_with(kNetworkPathPrefix)) {
        resolved = path;
        return NERR_Success;
    }
    const std::size_t machineEnd = path.find(u'\\', kNetworkPathPrefix.size());
    std::u16string machine(path.substr(0, machineEnd));
    std::u16string share;
    std::u16string_view rest;
    if (machineEnd != std::u16string_view::npos) {
        const std::size_t shareStart = machineEnd + 1;
        const std::size_t shareEnd = path.find(u'\\', shareStart);
        share = path.substr(shareStart, shareEnd - shareStart);
        if (shareEnd != std::u16string_view::npos) rest = path.substr(shareEnd);
    }
    PlatformBuffer<> buffer;
    const NET_API_STATUS status = NetShareGetInfo(machine.data(), share.data(), 2, buffer.receive());
    if (status != NERR_Success) return status;
    resolved = buffer.as<SHARE_INFO_2>()->shi2_path;
    resolved += rest;
    return NERR_Success;
}

}  // namespace

extern "C" {

uint32_t CreateShare(const char *server, const char *path, const char *share) {
    WideText wideServer, widePath, wideShare;
    if (const uint32_t status =
            toWide({{server, wideServer}, {path, widePath}, {share, wideShare}})) {
        return status;
    }
    std::u16string localPath;
    if (const uint32_t status = resolveSharePath(widePath.get(), localPath)) return status;
    SHARE_INFO_2 info{};
    info.shi2_netname = wideShare.get();
    info.shi2_type = STYPE_DISKTREE;
    info.shi2_remark = wideShare.get();
    info.shi2_permissions = 0;
    info.shi2_max_uses = SHI_USES_UNLIMITED;
    info.shi2_current_uses = 0;
    info.shi2_path = localPath.data();
    info.shi2_passwd = nullptr;
    return NetShareAdd(wideServer.get(), 2, reinterpret_cast<LPBYTE>(&info), nullptr);
}

uint32_t DeleteShare(const char *server, const char *share) {
    WideText wideServer, wideShare;
    if (const uint32_t status = toWide({{server, wideServer}, {share, wideShare}})) return status;
    return NetShareDel(wideServer.get(), wideShare.get(), 0);
}

}  // extern "C"
