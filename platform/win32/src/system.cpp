// The calling thread's last error, window messages and the computer name.
#include "win32.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
thread_local DWORD lastError = ERROR_SUCCESS;

std::string computerName() {
    if (const char *name = std::getenv("COMPUTERNAME"); name != nullptr && *name != '\0') {
        return name;
    }
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) != 0) return {};
    std::string name(host, strnlen(host, sizeof host));
    name = name.substr(0, name.find('.'));
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return name;
}
}  // namespace

extern "C" {

DWORD GetLastError(void) { return lastError; }

void SetLastError(DWORD error) { lastError = error; }

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (hwnd == nullptr || hwnd->proc == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return hwnd->proc(hwnd, msg, wParam, lParam);
}

UINT RegisterWindowMessageA(const char *name) {
    if (name == nullptr || *name == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // FNV-1a of the name, folded into the registered range.
    uint32_t hash = 2166136261u;
    for (const char *c = name; *c != '\0'; ++c) {
        hash = (hash ^ static_cast<unsigned char>(*c)) * 16777619u;
    }
    constexpr UINT kFirstRegistered = 0xC000;
    return kFirstRegistered + hash % 0x4000;
}

BOOL GetComputerNameA(char *buffer, DWORD *size) {
    if (size == nullptr || (buffer == nullptr && *size != 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string name = computerName();
    const auto needed = static_cast<DWORD>(name.size() + 1);
    if (*size < needed) {
        *size = needed;
        SetLastError(ERROR_BUFFER_OVERFLOW);
        return FALSE;
    }
    std::memcpy(buffer, name.c_str(), needed);
    *size = needed - 1;
    return TRUE;
}

}  // extern "C"
