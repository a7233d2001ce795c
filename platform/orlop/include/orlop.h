/* The trusted-domain library: the domains a server's accounts may come from.
 * Usable from C and C++. Text is NUL-terminated in the system code page (UTF-8 here). */
#ifndef TARNWICK_ORLOP_H
#define TARNWICK_ORLOP_H

#include <stdint.h>

#include "win32.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Appends to the window, one add-string message per name (LB_ADDSTRING for a non-zero
 * listKind, CB_ADDSTRING for 0): the domain that server belongs to (not a workgroup), every
 * domain that domain trusts, and, when server is no domain controller, its own machine name
 * without backslashes. Empty server text is the local machine. Returns the platform status, 0 on
 * success (53 for an unknown server); names appended before a failure stay. */
__attribute__((visibility("default"))) uint32_t GetTrustedDomains(const char *server,
                                                                  int32_t listKind, HWND window);

#ifdef __cplusplus
}
#endif

#endif
