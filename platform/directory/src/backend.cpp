// Until the LDAP backend replaces this definition, a configured domain is routed here and
// every call to it answers ERROR_NOT_SUPPORTED.
#include "directory/backend.h"

namespace directory {

std::unique_ptr<backend::Backend> open(const DirectoryDomain &domain) {
    throw backend::Error(ERROR_NOT_SUPPORTED,
                         "the domain " + domain.netbiosName + " is configured for LDAP, which this build cannot reach");
}

}  // namespace directory
