// The program's only way to the account service library (libvantry.so) and to the
// trusted-domain library (liborlop.so). Each export is bound by name at its first call, so
// the program starts without them and a missing one fails that call with a ProgramError.
// The signatures come from the libraries' own headers.
#pragma once

#include "orlop.h"
#include "vantry.h"
#include "vantry_api/SharedLibrary.h"

namespace modVantryDeclare {

SharedLibrary &VantryLibrary();
SharedLibrary &OrlopLibrary();

// What the program passes: -1 for true, and -1 as the list kind of a list box.
inline constexpr int32_t kListBox = -1;
inline constexpr int32_t kTrue = -1;
inline constexpr int32_t kFalse = 0;
// The most bytes of UTF-8 a text given to the library may hold: its buffers of 256 less the
// terminator.
inline constexpr int kLibraryTextBytes = 255;

// Each export under its own name, bound to the export of that name.
#define TARNWICK_LATE_BOUND(library, name) \
    inline const LateBound<decltype(::name)> name { library(), #name }

TARNWICK_LATE_BOUND(VantryLibrary, CreateUser);
TARNWICK_LATE_BOUND(VantryLibrary, DeleteUser);
TARNWICK_LATE_BOUND(VantryLibrary, GetUserInfo);
TARNWICK_LATE_BOUND(VantryLibrary, SetUserInfo);
TARNWICK_LATE_BOUND(VantryLibrary, GetAllUsers);
TARNWICK_LATE_BOUND(VantryLibrary, GetUserGroups);
TARNWICK_LATE_BOUND(VantryLibrary, CreateGroup);
TARNWICK_LATE_BOUND(VantryLibrary, DeleteGroup);
TARNWICK_LATE_BOUND(VantryLibrary, GroupAdjustUsers);
TARNWICK_LATE_BOUND(VantryLibrary, LocalGroupAdjustMembers);
TARNWICK_LATE_BOUND(VantryLibrary, GetGroupInfo);
TARNWICK_LATE_BOUND(VantryLibrary, SetGroupInfo);
TARNWICK_LATE_BOUND(VantryLibrary, GetAllGroups);
TARNWICK_LATE_BOUND(VantryLibrary, GetGroupUsers);
TARNWICK_LATE_BOUND(VantryLibrary, GetLocalGroupMembers);
TARNWICK_LATE_BOUND(VantryLibrary, GetLocalGroupMembers2);
TARNWICK_LATE_BOUND(VantryLibrary, GetLocalGroupUsers);
TARNWICK_LATE_BOUND(VantryLibrary, GetDomainServer);
TARNWICK_LATE_BOUND(VantryLibrary, CreateShare);
TARNWICK_LATE_BOUND(VantryLibrary, DeleteShare);
TARNWICK_LATE_BOUND(VantryLibrary, GetUserLogons);
TARNWICK_LATE_BOUND(VantryLibrary, GetDomainName);

TARNWICK_LATE_BOUND(OrlopLibrary, GetTrustedDomains);

#undef TARNWICK_LATE_BOUND

}  // namespace modVantryDeclare
