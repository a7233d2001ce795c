// What the platform's own libraries ask of the connections that WNetAddConnection2W keeps.
// Not for programs: they give credentials through winnetwk.h.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

namespace mpr {

using CredentialUse = std::function<void(std::string_view user, std::string_view password)>;

// Lends the user name and password kept for `server` ("NAME" or "\\NAME", any case), as UTF-8,
// to `use` while it runs; the password is never copied out of the store, so `use` must not
// keep it (nor call back into the store). False, without calling `use`, when nothing is kept
// for that server. The password may be empty: a bind with it would be anonymous.
__attribute__((visibility("default"))) bool useConnection(std::string_view server,
                                                          const CredentialUse &use);

// A number that changes whenever a connection is kept, replaced or forgotten: a backend that
// bound with what it was lent compares it to know when to bind again.
__attribute__((visibility("default"))) uint64_t connectionsChanged();

}  // namespace mpr
