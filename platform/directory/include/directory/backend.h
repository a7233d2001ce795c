// The directory backend of the network account calls: a domain that the directory
// configuration lists, reached over LDAP at its controller.
#pragma once

#include "backend/backend.h"
#include "directory/configuration.h"

#include <memory>

namespace directory {

// The backend that answers for one configured domain, kept by the caller for the life of the
// process. It connects when a call first needs it, with the credentials that the platform's
// connection store holds for the domain's servers, or with a Kerberos ticket.
std::unique_ptr<backend::Backend> open(const DirectoryDomain &domain);

}  // namespace directory
