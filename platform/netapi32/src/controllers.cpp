// Domain controllers and trusted domains, as a machine sees them.
#include "buffers.h"
#include "call.h"
#include "samworld/names.h"

#include <algorithm>

namespace netapi {
namespace {

// The domain that `domain` names as seen from the machine: empty is its own; otherwise its
// own or one its domain trusts. NERR_DCNotFound for anything else, and on a workgroup machine.
samworld::SamInfo domainSeenFrom(const Call &call, const std::string &domain) {
    const auto own = call.network().domainOf(call.machine());
    if (!own) throw samworld::Error(NERR_DCNotFound, call.machine().name + " is in no domain");
    if (domain.empty() || samworld::foldCase(domain) == samworld::foldCase(own->name)) return *own;
    const auto trusted = call.network().trustedDomains(*own);
    const auto found = std::find_if(trusted.begin(), trusted.end(), [&](const samworld::SamInfo &sam) {
        return samworld::foldCase(sam.name) == samworld::foldCase(domain);
    });
    if (found == trusted.end()) {
        throw samworld::Error(NERR_DCNotFound, own->name + " does not trust " + domain);
    }
    return *found;
}

}  // namespace
}  // namespace netapi

using namespace netapi;

extern "C" {

NET_API_STATUS NetGetDCName(LPCWSTR servername, LPCWSTR domainname, LPBYTE *bufptr) {
    if (bufptr == nullptr) return ERROR_INVALID_PARAMETER;
    *bufptr = nullptr;
    return guarded([&] {
        const Call call("NetGetDCName", servername);
        const std::string domain = optionalText(domainname).value_or("");
        const samworld::SamInfo seen = domainSeenFrom(call, domain);
        const std::string controller = "\\\\" + call.network().controllerOf(seen);
        *bufptr = reinterpret_cast<LPBYTE>(buildTexts({controller}));
        return NERR_Success;
    });
}

NET_API_STATUS NetEnumerateTrustedDomains(LPWSTR servername, LPWSTR *domainnames) {
    if (domainnames == nullptr) return ERROR_INVALID_PARAMETER;
    *domainnames = nullptr;
    return guarded([&] {
        const Call call("NetEnumerateTrustedDomains", servername);
        std::vector<std::string> names;
        if (const auto own = call.network().domainOf(call.machine())) {
            for (const auto &domain : call.network().trustedDomains(*own)) names.push_back(domain.name);
        }
        *domainnames = buildTexts(names);
        return NERR_Success;
    });
}

}  // extern "C"
