#include "result_status.h"

#include "win32.h"

#include <ldap.h>

#include <algorithm>
#include <cctype>

namespace directory {
namespace {

constexpr uint32_t windowsPasswordRestriction = 0x52D;
constexpr uint32_t windowsNoSuchUser = 0x525;
constexpr uint32_t windowsBadName = 0x202F;
constexpr uint32_t windowsNoSuchObject = 0x2141;

std::optional<uint32_t> hexNumber(std::string_view text, size_t maxDigits) {
    uint32_t value = 0;
    size_t digits = 0;
    while (digits < text.size() && digits < maxDigits && std::isxdigit(uint8_t(text[digits]))) {
        const char c = char(std::tolower(uint8_t(text[digits])));
        value = value * 16 + uint32_t(c <= '9' ? c - '0' : c - 'a' + 10);
        ++digits;
    }
    if (digits == 0) return std::nullopt;
    return value;
}

bool isConnectionFailure(int code) {
    return code == LDAP_SERVER_DOWN || code == LDAP_CONNECT_ERROR || code == LDAP_TIMEOUT ||
           code == LDAP_UNAVAILABLE || code == LDAP_BUSY;
}

NET_API_STATUS exists(Operation operation) {
    switch (operation) {
    case Operation::AddUser: return NERR_UserExists;
    case Operation::AddGlobalGroup: return NERR_GroupExists;
    case Operation::AddLocalGroup: return ERROR_ALIAS_EXISTS;
    case Operation::AddGlobalMember: return NERR_UserInGroup;
    case Operation::AddLocalMember: return ERROR_MEMBER_IN_ALIAS;
    case Operation::DeleteGroup: return ERROR_MEMBERS_PRIMARY_GROUP;
    default: return ERROR_ALREADY_EXISTS;
    }
}

NET_API_STATUS missing(Operation operation) {
    switch (operation) {
    case Operation::AddGlobalMember:
    case Operation::AddLocalMember: return ERROR_NO_SUCH_MEMBER;
    case Operation::DeleteGlobalMember: return NERR_UserNotInGroup;
    case Operation::DeleteLocalMember: return ERROR_MEMBER_NOT_IN_ALIAS;
    case Operation::AddGlobalGroup:
    case Operation::AddLocalGroup:
    case Operation::DeleteGroup: return NERR_GroupNotFound;
    default: return NERR_UserNotFound;
    }
}

}  // namespace

std::optional<uint32_t> windowsErrorOf(std::string_view diagnostic) {
    constexpr std::string_view bindReason = ", data ";
    if (const size_t data = diagnostic.find(bindReason); data != std::string_view::npos) {
        return hexNumber(diagnostic.substr(data + bindReason.size()), 8);
    }
    const bool leadingCode = diagnostic.size() >= 9 && diagnostic[8] == ':' &&
                             std::all_of(diagnostic.begin(), diagnostic.begin() + 8,
                                         [](char c) { return std::isxdigit(uint8_t(c)) != 0; });
    if (leadingCode) return hexNumber(diagnostic, 8);
    return std::nullopt;
}

NET_API_STATUS statusOf(const LdapError &error, Operation operation) {
    if (isConnectionFailure(error.code)) return ERROR_BAD_NETPATH;
    const auto windows = windowsErrorOf(error.diagnostic);
    switch (error.code) {
    case LDAP_INVALID_CREDENTIALS:
        // The bind's own reason (52e wrong password, 775 locked out, 533 disabled) is a
        // Windows status already; without one the identity is refused.
        return windows.value_or(ERROR_LOGON_FAILURE);
    case LDAP_STRONG_AUTH_REQUIRED:
        // TLS refused or a connection that is not sealed: never retried in plain text.
        return ERROR_TRUST_FAILURE;
    case LDAP_INSUFFICIENT_ACCESS:
        return ERROR_ACCESS_DENIED;
    case LDAP_ALREADY_EXISTS:
    case LDAP_TYPE_OR_VALUE_EXISTS:
        return exists(operation);
    case LDAP_NO_SUCH_OBJECT:
        return missing(operation);
    case LDAP_NO_SUCH_ATTRIBUTE:
    case LDAP_UNWILLING_TO_PERFORM:
        if (operation == Operation::DeleteGlobalMember || operation == Operation::DeleteLocalMember) {
            return missing(operation);
        }
        if (windows == windowsNoSuchObject) return missing(operation);
        break;
    case LDAP_CONSTRAINT_VIOLATION:
        if (windows == windowsPasswordRestriction) return NERR_PasswordTooShort;
        if (windows == windowsBadName) {
            return operation == Operation::AddUser ? NERR_BadUsername : ERROR_INVALID_ACCOUNT_NAME;
        }
        break;
    default:
        break;
    }
    if (windows == windowsNoSuchUser) return missing(operation);
    return NERR_InternalError;
}

}  // namespace directory
