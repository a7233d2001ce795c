// Global and local groups: made as global or domain-local security groups in the Users
// container; built-in groups are refused before the directory is asked.
#include "session.h"

#include "samworld/names.h"

namespace directory {
namespace {

constexpr int64_t securityGroup = 0x80000000;
constexpr int64_t globalScope = 0x2;
constexpr int64_t domainLocalScope = 0x4;

std::string groupType(AccountKind kind) {
    const int64_t scope = kind == AccountKind::GlobalGroup ? globalScope : domainLocalScope;
    return std::to_string(int32_t(uint32_t(securityGroup | scope)));
}

void requireGroupKind(AccountKind kind) {
    if (kind != AccountKind::GlobalGroup && kind != AccountKind::LocalGroup) {
        refuse(ERROR_INVALID_PARAMETER, "not a group kind");
    }
}

}  // namespace

void Domain::addGroup(const std::string &name, AccountKind kind, const std::string &comment) {
    requireGroupKind(kind);
    if (!samworld::isValidAccountName(name)) refuse(ERROR_INVALID_ACCOUNT_NAME, "'" + name + "' is not a valid group name");
    const Operation operation = kind == AccountKind::GlobalGroup ? Operation::AddGlobalGroup : Operation::AddLocalGroup;
    run(operation, [&](Session &s) {
        if (const auto existing = s.findEntry(name, accountAttributes())) {
            const auto account = s.accountOf(*existing);
            refuse(account && account->kind == AccountKind::User ? NERR_UserExists
                   : account && account->kind == AccountKind::LocalGroup ? ERROR_ALIAS_EXISTS
                                                                         : NERR_GroupExists,
                   "'" + name + "' already exists");
        }
        std::vector<Modification> attributes = {
            {Modification::Kind::Replace, "objectClass", {"group"}},
            {Modification::Kind::Replace, "sAMAccountName", {name}},
            {Modification::Kind::Replace, "groupType", {groupType(kind)}},
        };
        if (!comment.empty()) attributes.push_back({Modification::Kind::Replace, "description", {comment}});
        s.ldap.add(s.newDn(name), attributes);
    });
}

void Domain::deleteGroup(const std::string &name, AccountKind kind) {
    requireGroupKind(kind);
    run(Operation::DeleteGroup, [&](Session &s) {
        const auto [group, dn] = s.require(name, kind, NERR_GroupNotFound);
        if (group.builtin) {
            refuse(kind == AccountKind::GlobalGroup ? NERR_SpeGroupOp : ERROR_SPECIAL_ACCOUNT,
                   "'" + group.name + "' is a built-in group");
        }
        s.ldap.remove(dn);
        s.forget(group.sid);
    });
}

void Domain::setGroupComment(const std::string &name, AccountKind kind, const std::string &comment) {
    requireGroupKind(kind);
    run(Operation::Change, [&](Session &s) {
        const auto [group, dn] = s.require(name, kind, NERR_GroupNotFound);
        std::vector<std::string> values;
        if (!comment.empty()) values.push_back(comment);  // "" removes the comment
        s.ldap.modify(dn, {{Modification::Kind::Replace, "description", values}});
    });
}

}  // namespace directory
