/* The account service library: 22 exports that wrap the network account management calls.
 *
 * Text arguments are NUL-terminated text in the system code page (UTF-8 here), at most 255
 * bytes; longer text or text not valid in the code page is refused (87 or 1113) before any
 * platform call. Every export returns the platform status unchanged, 0 on success.
 *
 * Ownership: records and every buffer they point to belong to the caller for the whole call;
 * the library keeps nothing after returning and releases every platform buffer itself.
 * Text results are written, with their terminator, at the start of caller buffers of 256 bytes.
 * A record text that does not fit is written cut between characters and ending in U+2026; sent
 * back unchanged to SetUserInfo or SetGroupInfo, it leaves the account's whole text as it is.
 * A name that does not fit (GetDomainServer, GetDomainName) returns 122 and leaves the buffer
 * as it was.
 * A null record or result address, or a null comment in SetGroupInfo's record, returns 87.
 *
 * Lists: each name is sent to `window` as LB_ADDSTRING (listKind non-zero) or CB_ADDSTRING
 * (listKind 0), synchronously, in the platform's order. The window is never cleared.
 * GetAllUsers and GetAllGroups also tell what else the platform listed of each account: right
 * after a name's add-string message they send the message that RegisterWindowMessageA gives for
 * VANTRY_LIST_DETAILS_MESSAGE, with wParam 0 and lParam the address of a ListDetails. The
 * structure and its texts belong to the library and last only for that message. Ordinary list
 * and combo boxes ignore the message. */
#ifndef TARNWICK_VANTRY_H
#define TARNWICK_VANTRY_H

#include <stdint.h>

#include "win32.h"

#ifdef __cplusplus
extern "C" {
#endif

#define VANTRY_API __attribute__((visibility("default")))

typedef struct UserRecord {
    char *name;
    char *password;
    uint32_t password_age;
    char *home_dir;
    char *comment;
    uint32_t flags;
    char *script_path;
    char *full_name;
    char *usr_comment;
    char *workstations;
    int32_t last_logon;
    int32_t last_logoff;
    int32_t acct_expires; /* -1: never */
    uint8_t *logon_hours; /* 21 bytes, one bit per hour of the week; null: not read or written */
    uint32_t bad_pw_count;
    char *profile;
    char *home_dir_drive;
    uint32_t password_expired;
} UserRecord;

typedef struct GroupRecord {
    char *name;
    char *comment;
} GroupRecord;

#define VANTRY_LIST_DETAILS_MESSAGE "Vantry.ListDetails"

/* What a listing carries of the account just added besides its name. */
typedef struct ListDetails {
    const char *full_name; /* users; empty for groups */
    const char *comment;
    uint32_t flags;        /* users: the account flags (UF_ACCOUNTDISABLE, ...); 0 for groups */
} ListDetails;

/* Single accounts and memberships. `global` and `add` count any non-zero value as true. */
VANTRY_API uint32_t CreateUser(const char *server, const UserRecord *record);
VANTRY_API uint32_t DeleteUser(const char *server, const char *user);
VANTRY_API uint32_t GetUserInfo(const char *server, const char *user, UserRecord *record);
VANTRY_API uint32_t SetUserInfo(const char *server, const char *user, const UserRecord *record);
VANTRY_API uint32_t CreateGroup(int32_t global, const char *server, const char *group,
                                const char *comment /* may be null */);
VANTRY_API uint32_t DeleteGroup(int32_t global, const char *server, const char *group);
VANTRY_API uint32_t GroupAdjustUsers(int32_t add, const char *server, const char *group,
                                     const char *user);
VANTRY_API uint32_t LocalGroupAdjustMembers(int32_t add, const char *server, const char *group,
                                            const char *member);
VANTRY_API uint32_t GetGroupInfo(int32_t global, const char *server, const char *group,
                                 GroupRecord *record);
VANTRY_API uint32_t SetGroupInfo(int32_t global, const char *server, const char *group,
                                 const GroupRecord *record);

/* Lists of names, delivered to the window. */
VANTRY_API uint32_t GetAllUsers(const char *server, int32_t listKind, HWND window);
VANTRY_API uint32_t GetUserGroups(int32_t global, const char *server, const char *user,
                                  int32_t listKind, HWND window);
VANTRY_API uint32_t GetAllGroups(int32_t global, const char *server, int32_t listKind,
                                 HWND window);
VANTRY_API uint32_t GetGroupUsers(const char *server, const char *group, int32_t listKind,
                                  HWND window);
VANTRY_API uint32_t GetLocalGroupMembers(const char *server, const char *group, int32_t listKind,
                                         HWND window);
VANTRY_API uint32_t GetLocalGroupMembers2(const char *server, const char *group, int32_t listKind,
                                          HWND window);
VANTRY_API uint32_t GetLocalGroupUsers(const char *server, const char *group, int32_t listKind,
                                       HWND window);

/* Domains, shares and logons. `result` addresses the caller's pointer to a 256-byte buffer. */
VANTRY_API uint32_t GetDomainServer(const char *server, const char *domain, char **result);
VANTRY_API uint32_t GetDomainName(const char *server, char **result);
VANTRY_API uint32_t CreateShare(const char *server, const char *path, const char *share);
VANTRY_API uint32_t DeleteShare(const char *server, const char *share);
VANTRY_API uint32_t GetUserLogons(const char *server, int32_t listKind, HWND window);

#ifdef __cplusplus
}
#endif

#endif
