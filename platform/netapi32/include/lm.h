/* The network account management calls, rebuilt for Linux over the embedded SAM world and,
 * for the domains the directory configuration lists, over LDAP.
 * Usable from C and C++. Names, levels, structures and statuses are the Windows ones;
 * wide text is UTF-16.
 *
 * Ownership: every buffer a call hands out through an LPBYTE * argument is one block that
 * holds the structures and all their strings; the caller releases it with NetApiBufferFree
 * and with nothing else. On a failure the output pointer is null. Input structures belong
 * to the caller and are never kept after a call returns. */
#ifndef TARNWICK_LM_H
#define TARNWICK_LM_H

#include "win32.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef LPWSTR LMSTR;
typedef uint8_t BYTE;
typedef uint8_t *LPBYTE;
typedef uint8_t *PBYTE;
typedef DWORD *LPDWORD;
typedef uintptr_t DWORD_PTR;
typedef DWORD_PTR *PDWORD_PTR;
typedef void *LPVOID;
typedef void *PSID;
typedef DWORD NET_API_STATUS;

typedef enum _SID_NAME_USE {
    SidTypeUser = 1,
    SidTypeGroup,
    SidTypeDomain,
    SidTypeAlias,
    SidTypeWellKnownGroup,
    SidTypeDeletedAccount,
    SidTypeInvalid,
    SidTypeUnknown,
    SidTypeComputer,
    SidTypeLabel
} SID_NAME_USE;

/* ---- statuses (lmerr.h and the system error codes the calls give) ---- */
#define NERR_Success 0
#define ERROR_BAD_NETPATH 53
#define ERROR_NOT_ENOUGH_MEMORY 8
#define ERROR_WRITE_PROTECT 19
#define ERROR_NOT_SUPPORTED 50
#define ERROR_CANNOT_MAKE 82
#define ERROR_INVALID_NAME 123
#define ERROR_INVALID_LEVEL 124
#define ERROR_BUSY 170
#define ERROR_ALREADY_EXISTS 183
#define ERROR_MORE_DATA 234
#define ERROR_INVALID_ACCOUNT_NAME 1315
#define ERROR_LOGON_FAILURE 1326
#define ERROR_ACCOUNT_DISABLED 1331
#define ERROR_NO_SUCH_DOMAIN 1355
#define ERROR_SPECIAL_ACCOUNT 1371
#define ERROR_MEMBERS_PRIMARY_GROUP 1374
#define ERROR_NO_SUCH_ALIAS 1376
#define ERROR_MEMBER_NOT_IN_ALIAS 1377
#define ERROR_MEMBER_IN_ALIAS 1378
#define ERROR_ALIAS_EXISTS 1379
#define ERROR_NO_SUCH_MEMBER 1387
#define ERROR_INVALID_MEMBER 1388
#define ERROR_BAD_CONFIGURATION 1610
#define ERROR_TRUST_FAILURE 1790
#define ERROR_ACCOUNT_LOCKED_OUT 1909

#define NERR_BASE 2100
#define NERR_DuplicateShare 2118
#define NERR_BufTooSmall 2123
#define NERR_InternalError 2140
#define NERR_BadUsername 2202
#define NERR_GroupNotFound 2220
#define NERR_UserNotFound 2221
#define NERR_GroupExists 2223
#define NERR_UserExists 2224
#define NERR_NotPrimary 2226
#define NERR_ACFNotLoaded 2227
#define NERR_ACFFileIOFail 2229
#define NERR_SpeGroupOp 2234
#define NERR_UserInGroup 2236
#define NERR_UserNotInGroup 2237
#define NERR_PasswordTooShort 2245
#define NERR_InvalidDatabase 2247
#define NERR_NetNameNotFound 2310
#define NERR_InvalidComputer 2351
#define NERR_DCNotFound 2453

/* ---- constants ---- */
#define MAX_PREFERRED_LENGTH ((DWORD)-1)
#define FILTER_TEMP_DUPLICATE_ACCOUNT 0x0001
#define FILTER_NORMAL_ACCOUNT 0x0002
#define FILTER_INTERDOMAIN_TRUST_ACCOUNT 0x0008
#define FILTER_WORKSTATION_TRUST_ACCOUNT 0x0010
#define FILTER_SERVER_TRUST_ACCOUNT 0x0020
#define LG_INCLUDE_INDIRECT 0x0001
#define USER_MAXSTORAGE_UNLIMITED ((DWORD)-1)
#define TIMEQ_FOREVER ((DWORD)-1)
#define UNITS_PER_WEEK 168
#define DOMAIN_GROUP_RID_USERS 0x201
#define USER_PRIV_GUEST 0
#define USER_PRIV_USER 1
#define USER_PRIV_ADMIN 2
#define STYPE_DISKTREE 0
#define PLATFORM_ID_NT 500
#define SHI_USES_UNLIMITED ((DWORD)-1)

#define UF_SCRIPT 0x0001
#define UF_ACCOUNTDISABLE 0x0002
#define UF_HOMEDIR_REQUIRED 0x0008
#define UF_LOCKOUT 0x0010
#define UF_PASSWD_NOTREQD 0x0020
#define UF_PASSWD_CANT_CHANGE 0x0040
#define UF_TEMP_DUPLICATE_ACCOUNT 0x0100
#define UF_NORMAL_ACCOUNT 0x0200
#define UF_INTERDOMAIN_TRUST_ACCOUNT 0x0800
#define UF_WORKSTATION_TRUST_ACCOUNT 0x1000
#define UF_SERVER_TRUST_ACCOUNT 0x2000
#define UF_DONT_EXPIRE_PASSWD 0x10000

/* ---- structures ---- */
typedef struct _USER_INFO_0 {
    LPWSTR usri0_name;
} USER_INFO_0, *PUSER_INFO_0, *LPUSER_INFO_0;

typedef struct _USER_INFO_3 {
    LPWSTR usri3_name;
    LPWSTR usri3_password;
    DWORD usri3_password_age;
    DWORD usri3_priv;
    LPWSTR usri3_home_dir;
    LPWSTR usri3_comment;
    DWORD usri3_flags;
    LPWSTR usri3_script_path;
    DWORD usri3_auth_flags;
    LPWSTR usri3_full_name;
    LPWSTR usri3_usr_comment;
    LPWSTR usri3_parms;
    LPWSTR usri3_workstations;
    DWORD usri3_last_logon;
    DWORD usri3_last_logoff;
    DWORD usri3_acct_expires;
    DWORD usri3_max_storage;
    DWORD usri3_units_per_week;
    PBYTE usri3_logon_hours;
    DWORD usri3_bad_pw_count;
    DWORD usri3_num_logons;
    LPWSTR usri3_logon_server;
    DWORD usri3_country_code;
    DWORD usri3_code_page;
    DWORD usri3_user_id;
    DWORD usri3_primary_group_id;
    LPWSTR usri3_profile;
    LPWSTR usri3_home_dir_drive;
    DWORD usri3_password_expired;
} USER_INFO_3, *PUSER_INFO_3, *LPUSER_INFO_3;

typedef struct _USER_INFO_20 {
    LPWSTR usri20_name;
    LPWSTR usri20_full_name;
    LPWSTR usri20_comment;
    DWORD usri20_flags;
    DWORD usri20_user_id;
} USER_INFO_20, *PUSER_INFO_20, *LPUSER_INFO_20;

typedef struct _GROUP_INFO_0 {
    LPWSTR grpi0_name;
} GROUP_INFO_0, *PGROUP_INFO_0;

typedef struct _GROUP_INFO_1 {
    LPWSTR grpi1_name;
    LPWSTR grpi1_comment;
} GROUP_INFO_1, *PGROUP_INFO_1;

typedef struct _LOCALGROUP_INFO_0 {
    LPWSTR lgrpi0_name;
} LOCALGROUP_INFO_0, *PLOCALGROUP_INFO_0;

typedef struct _LOCALGROUP_INFO_1 {
    LPWSTR lgrpi1_name;
    LPWSTR lgrpi1_comment;
} LOCALGROUP_INFO_1, *PLOCALGROUP_INFO_1;

typedef struct _GROUP_USERS_INFO_0 {
    LPWSTR grui0_name;
} GROUP_USERS_INFO_0, *PGROUP_USERS_INFO_0;

typedef struct _LOCALGROUP_USERS_INFO_0 {
    LPWSTR lgrui0_name;
} LOCALGROUP_USERS_INFO_0, *PLOCALGROUP_USERS_INFO_0;

typedef struct _LOCALGROUP_MEMBERS_INFO_1 {
    PSID lgrmi1_sid;
    SID_NAME_USE lgrmi1_sidusage;
    LPWSTR lgrmi1_name;
} LOCALGROUP_MEMBERS_INFO_1, *PLOCALGROUP_MEMBERS_INFO_1;

typedef struct _LOCALGROUP_MEMBERS_INFO_2 {
    PSID lgrmi2_sid;
    SID_NAME_USE lgrmi2_sidusage;
    LPWSTR lgrmi2_domainandname;
} LOCALGROUP_MEMBERS_INFO_2, *PLOCALGROUP_MEMBERS_INFO_2;

typedef struct _LOCALGROUP_MEMBERS_INFO_3 {
    LPWSTR lgrmi3_domainandname;
} LOCALGROUP_MEMBERS_INFO_3, *PLOCALGROUP_MEMBERS_INFO_3;

typedef struct _WKSTA_INFO_100 {
    DWORD wki100_platform_id;
    LMSTR wki100_computername;
    LMSTR wki100_langroup;
    DWORD wki100_ver_major;
    DWORD wki100_ver_minor;
} WKSTA_INFO_100, *PWKSTA_INFO_100;

typedef struct _WKSTA_USER_INFO_0 {
    LMSTR wkui0_username;
} WKSTA_USER_INFO_0, *PWKSTA_USER_INFO_0;

typedef struct _SHARE_INFO_2 {
    LMSTR shi2_netname;
    DWORD shi2_type;
    LMSTR shi2_remark;
    DWORD shi2_permissions;
    DWORD shi2_max_uses;
    DWORD shi2_current_uses;
    LMSTR shi2_path;
    LMSTR shi2_passwd;
} SHARE_INFO_2, *PSHARE_INFO_2;

/* ---- calls ----
 * servername: null or empty text is the local machine; "\\NAME" and "NAME" are the same machine.
 * Enumerations return the entries that fit prefmaxlen (at least one), ERROR_MORE_DATA while more
 * remain, and continue after the last entry returned when called again with the same resume
 * handle. */
#define NET_API_FUNCTION __attribute__((visibility("default")))

NET_API_FUNCTION NET_API_STATUS NetUserEnum(LPCWSTR servername, DWORD level, DWORD filter,
    LPBYTE *bufptr, DWORD prefmaxlen, LPDWORD entriesread, LPDWORD totalentries,
    LPDWORD resume_handle);
NET_API_FUNCTION NET_API_STATUS NetUserAdd(LPCWSTR servername, DWORD level, LPBYTE buf,
    LPDWORD parm_err);
NET_API_FUNCTION NET_API_STATUS NetUserDel(LPCWSTR servername, LPCWSTR username);
NET_API_FUNCTION NET_API_STATUS NetUserGetInfo(LPCWSTR servername, LPCWSTR username, DWORD level,
    LPBYTE *bufptr);
NET_API_FUNCTION NET_API_STATUS NetUserSetInfo(LPCWSTR servername, LPCWSTR username, DWORD level,
    LPBYTE buf, LPDWORD parm_err);
NET_API_FUNCTION NET_API_STATUS NetUserGetGroups(LPCWSTR servername, LPCWSTR username, DWORD level,
    LPBYTE *bufptr, DWORD prefmaxlen, LPDWORD entriesread, LPDWORD totalentries);
NET_API_FUNCTION NET_API_STATUS NetUserGetLocalGroups(LPCWSTR servername, LPCWSTR username,
    DWORD level, DWORD flags, LPBYTE *bufptr, DWORD prefmaxlen, LPDWORD entriesread,
    LPDWORD totalentries);

NET_API_FUNCTION NET_API_STATUS NetGroupEnum(LPCWSTR servername, DWORD level, LPBYTE *bufptr,
    DWORD prefmaxlen, LPDWORD entriesread, LPDWORD totalentries, PDWORD_PTR resume_handle);
NET_API_FUNCTION NET_API_STATUS NetGroupAdd(LPCWSTR servername, DWORD level, LPBYTE buf,
    LPDWORD parm_err);
NET_API_FUNCTION NET_API_STATUS NetGroupDel(LPCWSTR servername, LPCWSTR groupname);
NET_API_FUNCTION NET_API_STATUS NetGroupGetInfo(LPCWSTR servername, LPCWSTR groupname, DWORD level,
    LPBYTE *bufptr);
NET_API_FUNCTION NET_API_STATUS NetGroupSetInfo(LPCWSTR servername, LPCWSTR groupname, DWORD level,
    LPBYTE buf, LPDWORD parm_err);
NET_API_FUNCTION NET_API_STATUS NetGroupGetUsers(LPCWSTR servername, LPCWSTR groupname, DWORD level,
    LPBYTE *bufptr, DWORD prefmaxlen, LPDWORD entriesread, LPDWORD totalentries,
    PDWORD_PTR resume_handle);
NET_API_FUNCTION NET_API_STATUS NetGroupAddUser(LPCWSTR servername, LPCWSTR groupname,
    LPCWSTR username);
NET_API_FUNCTION NET_API_STATUS NetGroupDelUser(LPCWSTR servername, LPCWSTR groupname,
    LPCWSTR username);

NET_API_FUNCTION NET_API_STATUS NetLocalGroupEnum(LPCWSTR servername, DWORD level, LPBYTE *bufptr,
    DWORD prefmaxlen, LPDWORD entriesread, LPDWORD totalentries, PDWORD_PTR resume_handle);
NET_API_FUNCTION NET_API_STATUS NetLocalGroupAdd(LPCWSTR servername, DWORD level, LPBYTE buf,
    LPDWORD parm_err);
NET_API_FUNCTION NET_API_STATUS NetLocalGroupDel(LPCWSTR servername, LPCWSTR groupname);
NET_API_FUNCTION NET_API_STATUS NetLocalGroupGetInfo(LPCWSTR servername, LPCWSTR groupname,
    DWORD level, LPBYTE *bufptr);
NET_API_FUNCTION NET_API_STATUS NetLocalGroupSetInfo(LPCWSTR servername, LPCWSTR groupname,
    DWORD level, LPBYTE buf, LPDWORD parm_err);
NET_API_FUNCTION NET_API_STATUS NetLocalGroupGetMembers(LPCWSTR servername, LPCWSTR groupname,
    DWORD level, LPBYTE *bufptr, DWORD prefmaxlen, LPDWORD entriesread, LPDWORD totalentries,
    PDWORD_PTR resume_handle);
NET_API_FUNCTION NET_API_STATUS NetLocalGroupAddMembers(LPCWSTR servername, LPCWSTR groupname,
    DWORD level, LPBYTE buf, DWORD totalentries);
NET_API_FUNCTION NET_API_STATUS NetLocalGroupDelMembers(LPCWSTR servername, LPCWSTR groupname,
    DWORD level, LPBYTE buf, DWORD totalentries);

/* DomainName null or empty: the server's own domain. The answer is "\\PDCNAME". */
NET_API_FUNCTION NET_API_STATUS NetGetDCName(LPCWSTR servername, LPCWSTR domainname,
    LPBYTE *bufptr);
NET_API_FUNCTION NET_API_STATUS NetWkstaGetInfo(LMSTR servername, DWORD level, LPBYTE *bufptr);
NET_API_FUNCTION NET_API_STATUS NetWkstaUserEnum(LMSTR servername, DWORD level, LPBYTE *bufptr,
    DWORD prefmaxlen, LPDWORD entriesread, LPDWORD totalentries, LPDWORD resumehandle);

NET_API_FUNCTION NET_API_STATUS NetShareGetInfo(LMSTR servername, LMSTR netname, DWORD level,
    LPBYTE *bufptr);
NET_API_FUNCTION NET_API_STATUS NetShareAdd(LMSTR servername, DWORD level, LPBYTE buf,
    LPDWORD parm_err);
NET_API_FUNCTION NET_API_STATUS NetShareDel(LMSTR servername, LMSTR netname, DWORD reserved);

/* The domains that the server's domain trusts, as one block of NUL-terminated names ending
 * with an empty name (a multi-string). */
NET_API_FUNCTION NET_API_STATUS NetEnumerateTrustedDomains(LPWSTR servername, LPWSTR *domainnames);

NET_API_FUNCTION NET_API_STATUS NetApiBufferFree(LPVOID buffer);

#ifdef __cplusplus
}
#endif

#endif
