// The connections that WNetAddConnection2W keeps: per server, a user name and a password in
// memory that is wiped whenever it is let go.
#include "mpr/connections.h"
#include "winnetwk.h"

#include "unicode.hpp"

#include <string.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace mpr {
namespace {

// UTF-8 text and its terminator in one buffer that never grows (so never moves) and is wiped
// when it goes, also when another secret is moved over it.
class Secret {
public:
    // Null for text that is not well-formed UTF-16.
    static std::optional<Secret> of(LPCWSTR text) {
        const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
        if (size <= 0) return std::nullopt;
        Secret secret(static_cast<size_t>(size));
        WideCharToMultiByte(CP_ACP, 0, text, -1, secret.bytes_.data(), size, nullptr, nullptr);
        return secret;
    }

    Secret(Secret &&) noexcept = default;
    Secret &operator=(Secret &&other) noexcept {
        wipe();
        bytes_ = std::move(other.bytes_);
        return *this;
    }
    ~Secret() { wipe(); }

    std::string_view text() const { return {bytes_.data(), bytes_.size() - 1}; }

private:
    explicit Secret(size_t size) : bytes_(size) {}
    void wipe() noexcept {
        if (!bytes_.empty()) explicit_bzero(bytes_.data(), bytes_.size());  // moved from: nothing
    }

    std::vector<char> bytes_;
};

struct Connection {
    std::string user;
    Secret password;
};

// Servers compare without regard to case; their names are host names, ASCII.
std::string serverKey(std::string_view server) {
    server.remove_prefix(std::min(server.find_first_not_of('\\'), server.size()));
    std::string key(server);
    std::ranges::transform(key, key.begin(), [](char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; });
    return key;
}

// The server of \\SERVER\IPC$; nullopt for any other name.
std::optional<std::string> serverOfRemoteName(LPCWSTR name) {
    const auto text = name != nullptr ? win32::toUtf8(name) : std::nullopt;
    if (!text || !text->starts_with("\\\\")) return std::nullopt;
    const std::string_view path = std::string_view(*text).substr(2);
    const auto slash = path.find('\\');
    if (slash == 0 || slash == std::string_view::npos || serverKey(path.substr(slash + 1)) != "IPC$") {
        return std::nullopt;
    }
    return serverKey(path.substr(0, slash));
}

class Store {
public:
    void keep(const std::string &server, Connection connection) {
        const std::lock_guard guard(mutex_);
        connections_.insert_or_assign(server, std::move(connection));
        ++changes_;
    }

    bool forget(const std::string &server) {
        const std::lock_guard guard(mutex_);
        const bool forgotten = connections_.erase(server) > 0;
        changes_ += forgotten ? 1 : 0;
        return forgotten;
    }

    uint64_t changes() {
        const std::lock_guard guard(mutex_);
        return changes_;
    }

    bool lend(const std::string &server, const CredentialUse &use) {
        const std::lock_guard guard(mutex_);
        const auto found = connections_.find(server);
        if (found == connections_.end()) return false;
        use(found->second.user, found->second.password.text());
        return true;
    }

private:
    std::mutex mutex_;
    std::map<std::string, Connection> connections_;
    uint64_t changes_ = 0;
};

// Kept until the process ends, when every password in it is wiped.
Store &store() {
    static Store connections;
    return connections;
}

}  // namespace

bool useConnection(std::string_view server, const CredentialUse &use) {
    return store().lend(serverKey(server), use);
}

uint64_t connectionsChanged() { return store().changes(); }

}  // namespace mpr

extern "C" {

DWORD WNetAddConnection2W(LPNETRESOURCEW lpNetResource, LPCWSTR lpPassword, LPCWSTR lpUserName,
                          DWORD /*dwFlags: nothing is remembered beyond the process anyway*/) {
    if (lpNetResource == nullptr || lpPassword == nullptr || lpUserName == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    if (lpNetResource->lpLocalName != nullptr && lpNetResource->lpLocalName[0] != u'\0') {
        return ERROR_BAD_DEVICE;
    }
    const auto server = mpr::serverOfRemoteName(lpNetResource->lpRemoteName);
    if (!server) return ERROR_BAD_NET_NAME;
    auto user = win32::toUtf8(lpUserName);
    auto password = mpr::Secret::of(lpPassword);
    if (!user || user->empty() || !password) return ERROR_INVALID_PARAMETER;
    mpr::store().keep(*server, {std::move(*user), std::move(*password)});
    return NO_ERROR;
}

DWORD WNetCancelConnection2W(LPCWSTR lpName, DWORD /*dwFlags*/, BOOL /*fForce*/) {
    if (lpName == nullptr) return ERROR_INVALID_PARAMETER;
    const auto server = mpr::serverOfRemoteName(lpName);
    return server && mpr::store().forget(*server) ? NO_ERROR : ERROR_NOT_CONNECTED;
}

}  // extern "C"
