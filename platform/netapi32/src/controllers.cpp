// Domain controllers and trusted domains, as a machine sees them.
#include "buffers.h"
#include "call.h"

extern "C" {

NET_API_STATUS NetGetDCName(LPCWSTR servername, LPCWSTR domainname, LPBYTE *bufptr) {
    using namespace netapi;
    if (bufptr == nullptr) return ERROR_INVALID_PARAMETER;
    *bufptr = nullptr;
    return guarded([&] {
        const std::string domain = optionalText(domainname).value_or("");
        const Call call("NetGetDCName", servername, domain);
        const std::string controller = "\\\\" + call.target().controller(domain);
        *bufptr = reinterpret_cast<LPBYTE>(buildTexts({controller}));
        return NERR_Success;
    });
}

NET_API_STATUS NetEnumerateTrustedDomains(LPWSTR servername, LPWSTR *domainnames) {
    using namespace netapi;
    if (domainnames == nullptr) return ERROR_INVALID_PARAMETER;
    *domainnames = nullptr;
    return guarded([&] {
        const Call call("NetEnumerateTrustedDomains", servername);
        *domainnames = buildTexts(call.target().trustedDomains());
        return NERR_Success;
    });
}

}  // extern "C"
