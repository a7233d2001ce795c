// GetTrustedDomains: the server's own domain, the domains it trusts and, for a machine that
// keeps its own accounts, the machine itself.
#include "orlop.h"

#include "common/list_target.hpp"
#include "common/platform_buffer.hpp"
#include "common/text.hpp"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

using namespace vantry;

namespace {

std::u16string_view withoutLeadingBackslashes(std::u16string_view name) {
    return name.substr(std::min(name.find_first_not_of(u'\\'), name.size()));
}

// Machine names are ASCII; they compare without regard to case.
bool sameMachineName(std::u16string_view a, std::u16string_view b) {
    const auto folded = [](char16_t c) { return c >= u'a' && c <= u'z' ? c - u'a' + u'A' : c; };
    return std::ranges::equal(a, b, {}, folded, folded);
}

// Whether the server is the controller of its own domain. A machine whose domain has no
// controller (a workgroup member) is none.
uint32_t isDomainController(LPWSTR server, std::u16string_view machineName, bool &controller) {
    PlatformBuffer<> buffer;
    const NET_API_STATUS status = NetGetDCName(server, u"", buffer.receive());
    controller = false;
    if (status == NERR_DCNotFound) return NERR_Success;
    if (status != NERR_Success) return status;
    controller = sameMachineName(withoutLeadingBackslashes(buffer.as<char16_t>()), machineName);
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
    const std::u16string ownDomain[] = {info.wki100_langroup};
    if (const uint32_t status = target.deliver(ownDomain)) return status;

    std::vector<std::u16string> domains;
    if (const uint32_t status = trustedDomains(wideServer.get(), domains)) return status;
    if (const uint32_t status = target.deliver(domains)) return status;

    const std::u16string_view machine = withoutLeadingBackslashes(info.wki100_computername);
    bool controller = false;
    if (const uint32_t status = isDomainController(wideServer.get(), machine, controller)) {
        return status;
    }
    if (controller) return NERR_Success;
    const std::u16string ownMachine[] = {std::u16string(machine)};
    return target.deliver(ownMachine);
}
