/* The few Windows calls that Tarnwick and its libraries make, rebuilt for Linux.
 * Usable from C and C++. The system code page (CP_ACP) is UTF-8 here; wide text is UTF-16. */
#ifndef TARNWICK_WIN32_H
#define TARNWICK_WIN32_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#else
#include <uchar.h>
#endif

typedef uint32_t DWORD;
typedef uint32_t UINT;
typedef int32_t BOOL;
typedef char16_t *LPWSTR;
typedef const char16_t *LPCWSTR;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef struct HWND__ *HWND;
typedef LRESULT (*WNDPROC)(HWND, UINT, WPARAM, LPARAM);

/* A window: anything that takes messages. The owner keeps it alive while it is in use. */
struct HWND__ {
    WNDPROC proc;
    void *context;
};

#define TRUE 1
#define FALSE 0

#define LB_ADDSTRING 0x0180
#define CB_ADDSTRING 0x0143
#define CP_ACP 0
#define MAX_COMPUTERNAME_LENGTH 15

#define ERROR_SUCCESS 0
#define ERROR_ACCESS_DENIED 5
#define ERROR_INVALID_PARAMETER 87
#define ERROR_BUFFER_OVERFLOW 111
#define ERROR_INSUFFICIENT_BUFFER 122
#define ERROR_NO_UNICODE_TRANSLATION 1113
#define ERROR_INVALID_WINDOW_HANDLE 1400

/* Calls hwnd->proc synchronously and returns its result. A null window or procedure
 * returns 0 and sets ERROR_INVALID_WINDOW_HANDLE. */
LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

/* The message number that a name stands for, the same in every module of the process, in the
 * range 0xC000-0xFFFF that no control uses for its own messages; 0 with ERROR_INVALID_PARAMETER
 * for a null or empty name. Windows keeps one table for the whole system; here the number is
 * worked out from the name alone, so that modules that each link this code agree on it without
 * sharing any state. */
UINT RegisterWindowMessageA(const char *name);

/* Strict conversions between the code page and UTF-16. srcLen -1 converts up to and including
 * the terminator; dstLen 0 asks for the size needed. An invalid sequence returns 0 with
 * ERROR_NO_UNICODE_TRANSLATION, a destination too small returns 0 with
 * ERROR_INSUFFICIENT_BUFFER; in both cases the destination is left untouched.
 * defaultChar and usedDefault must be null, as for UTF-8 on Windows. */
int MultiByteToWideChar(UINT codePage, DWORD flags, const char *src, int srcLen,
                        char16_t *dst, int dstLen);
int WideCharToMultiByte(UINT codePage, DWORD flags, const char16_t *src, int srcLen,
                        char *dst, int dstLen, const char *defaultChar, BOOL *usedDefault);

/* The variable COMPUTERNAME when set, else the host name upper-cased and cut at its first dot.
 * *size is the buffer's size in bytes on entry; on success the name's length without the
 * terminator. A buffer too small returns FALSE, ERROR_BUFFER_OVERFLOW and the size needed. */
BOOL GetComputerNameA(char *buffer, DWORD *size);

DWORD GetLastError(void);
void SetLastError(DWORD error);

#ifdef __cplusplus
}
#endif

#endif
