// GetTrustedDomains: the server's own domain, the domains it trusts and, for a machine that
// keeps its own accounts, the machine itself. A workgroup is no domain and is not offered.
#include "orlop.h"

#include "netclient/list_target.hpp"
#include "netclient/platform_buffer.hpp"
#include "netclient/text.hpp"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

using namespace netclient;

namespace {

std::u16string_view withoutLeadingBackslashes(std::u16string_view name) {
    return name.substr(std::min(name.find_first_not_of(u'\\'), name.size()));
}

// Machine names are ASCII; they compare without regard to case.
bool sameMachineName(std::u16string_view a, std::u16string_view b) {
    const auto folded = [](char16_t c) { return c >= u'a' && c <= u'z' ? c - u'a' + u'A' : c; };
    return std::ranges::equal(a, b, {}, folded, folded);
}

// Whether the server belongs to a domain (a workgroup has no controller) and whether it is
// that domain's controller.
struct DomainRole {
    bool domain = false;
    bool controller = false;
};

uint32_t domainRole(LPWSTR server, std::u16string_view machineName, DomainRole &role) {
    PlatformBuffer<> buffer;
    const NET_API_STATUS status = NetGetDCName(server, u"", buffer.receive());
    role = {};
    if (status == NERR_DCNotFound) return NERR_Success;
    if (status != NERR_Success) return status;
    role.domain = true;
    role.controller =
        sameMachineName(withoutLeadingBackslashes(buffer.as<char16_t>()), machineName);
    return NERR_Success;
}

// The domains that the server's domain trusts, from the platform's list of names that ends
// with an empty one.
uint32_t trustedDomains(LPWSTR server, std::vector<std::u16string> &domains) {
    PlatformBuffer<char16_t> block;
    const NET_API_STATUS status = NetEnumerateTrustedDomains(server, block.receive());
    if (status != NERR_Success) return status;
    for (const char16_t *name = block.as<char16_t>(); name != nullptr && *name != u'\0';
         name += std::char_traits<char16_t>::length(name) + 1) {
        domains.emplace_back(name);
    }
    return NERR_Success;
}

}  // namespace

extern "C" uint32_t GetTrustedDomains(const char *server, int32_t listKind, HWND window) {
    WideText wideServer;
    if (const uint32_t status = toWide({{server, wideServer}})) return status;
    const ListTarget target(listKind, window);

    PlatformBuffer<> workstation;
    if (const NET_API_STATUS status = NetWkstaGetInfo(wideServer.get(), 100, workstation.receive())) {
        return status;
    }
    const auto &info = *workstation.as<WKSTA_INFO_100>();
    const std::u16string_view machine = withoutLeadingBackslashes(info.wki100_computername);
    DomainRole role;
    if (const uint32_t status = domainRole(wideServer.get(), machine, role)) return status;

    // A workgroup keeps no accounts that another machine could use.
    if (role.domain) {
        const std::u16string ownDomain[] = {info.wki100_langroup};
        if (const uint32_t status = target.deliver(ownDomain)) return status;
    }

    std::vector<std::u16string> domains;
    if (const uint32_t status = trustedDomains(wideServer.get(), domains)) return status;
    if (const uint32_t status = target.deliver(domains)) return status;

    if (role.controller) return NERR_Success;
    const std::u16string ownMachine[] = {std::u16string(machine)};
    return target.deliver(ownMachine);
}
