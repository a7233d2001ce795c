/* Connections to other machines, Windows-shaped, for Linux: here only the credentials for a
 * server's account calls. WNetAddConnection2W on \\SERVER\IPC$ keeps a user name and password
 * for that server in this process's memory, for the directory backend of the account calls to
 * bind with on their next call (a wrong password shows there, as ERROR_LOGON_FAILURE). Nothing
 * is ever written anywhere, whatever the flags say; the password's memory is wiped when the
 * connection is cancelled or replaced and when the process ends.
 * Usable from C and C++; wide text is UTF-16. */
#ifndef TARNWICK_WINNETWK_H
#define TARNWICK_WINNETWK_H

#include "win32.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct _NETRESOURCEW {
    DWORD dwScope;
    DWORD dwType;
    DWORD dwDisplayType;
    DWORD dwUsage;
    LPWSTR lpLocalName;  /* null or empty: no local device is redirected here */
    LPWSTR lpRemoteName; /* \\SERVER\IPC$ */
    LPWSTR lpComment;
    LPWSTR lpProvider;
} NETRESOURCEW, *LPNETRESOURCEW;

#define RESOURCETYPE_ANY 0x00000000
#define CONNECT_UPDATE_PROFILE 0x00000001
#define CONNECT_TEMPORARY 0x00000004
#define CONNECT_INTERACTIVE 0x00000008

#define NO_ERROR 0
#define ERROR_BAD_NET_NAME 67
#define ERROR_BAD_DEVICE 1200
#define ERROR_NOT_CONNECTED 2250

#define WNET_API_FUNCTION __attribute__((visibility("default")))

/* Keeps lpUserName (DOMAIN\NAME or NAME@dns.domain) and lpPassword for the server that
 * lpNetResource->lpRemoteName names, replacing what was kept for it. Server names compare
 * without regard to case. ERROR_INVALID_PARAMETER for a missing resource, user name or
 * password; ERROR_BAD_NET_NAME for a remote name other than \\SERVER\IPC$; ERROR_BAD_DEVICE
 * for a local name. */
WNET_API_FUNCTION DWORD WNetAddConnection2W(LPNETRESOURCEW lpNetResource, LPCWSTR lpPassword,
                                            LPCWSTR lpUserName, DWORD dwFlags);

/* Forgets what was kept for \\SERVER\IPC$ and wipes the password. ERROR_NOT_CONNECTED when
 * nothing is kept for that name; ERROR_INVALID_PARAMETER for a missing name. */
WNET_API_FUNCTION DWORD WNetCancelConnection2W(LPCWSTR lpName, DWORD dwFlags, BOOL fForce);

#ifdef __cplusplus
}
#endif

#endif
