#include "vantry_api/NetworkConnection.h"

#include "unicode.hpp"
#include "vantry_api/SharedLibrary.h"
#include "winnetwk.h"

namespace {

SharedLibrary &NetworkLibrary() {
    static SharedLibrary library("libmpr.so");
    return library;
}

const LateBound<decltype(::WNetAddConnection2W)> AddConnection2{NetworkLibrary(), "WNetAddConnection2W"};

std::u16string wide(const std::string &text) { return win32::toUtf16(text).value_or(std::u16string()); }

}  // namespace

uint32_t AddConnection(const std::string &host, const std::string &user, const std::string &password) {
    std::u16string remote = wide((host.starts_with("\\\\") ? host : "\\\\" + host) + "\\IPC$");
    const std::u16string wideUser = wide(user), widePassword = wide(password);
    NETRESOURCEW resource{};
    resource.dwType = RESOURCETYPE_ANY;
    resource.lpRemoteName = remote.data();
    return AddConnection2(&resource, widePassword.c_str(), wideUser.c_str(), 0);
}
