// Memberships. A global group's users are its `member` values of this domain plus the users
// whose primary group it is; a local group's members may also be accounts of trusted domains
// and well-known accounts, which the directory holds as foreign-security-principal objects.
// The nesting rules of the account calls are enforced here: a global group holds only users of
// its own domain, a local group holds no local group.
#include "session.h"

#include "samworld/names.h"
#include "sid.h"
#include "values.h"

#include <algorithm>
#include <set>

namespace directory {
namespace {

bool sameName(const std::string &a, const std::string &b) { return samworld::foldCase(a) == samworld::foldCase(b); }

bool byRid(const Account &a, const Account &b) { return a.rid < b.rid; }

// The SID of each `member` value, in the order the directory keeps them.
std::vector<std::string> memberSids(const Domain::Session &s, const std::string &groupDn) {
    std::vector<std::string> sids;
    for (const auto &value : s.ldap.readRanged(groupDn, "member", true)) {
        if (const auto parsed = parseExtendedDn(value); parsed && parsed->sid) sids.push_back(*parsed->sid);
    }
    return sids;
}

std::vector<Account> accountsMatching(Domain::Session &s, const std::string &filter) {
    std::vector<Account> accounts;
    for (const auto &entry : s.ldap.search(s.domainDn, Scope::Subtree, filter, accountAttributes())) {
        if (auto account = s.accountOf(entry)) {
            s.remember(*account);
            accounts.push_back(*account);
        }
    }
    std::sort(accounts.begin(), accounts.end(), byRid);
    return accounts;
}

}  // namespace

// ---- global groups ----

Page<Account> Domain::groupUsers(const std::string &groupName, int64_t after, const Accept<Account> &accept) {
    return run(Operation::Read, [&](Session &s) {
        const auto [group, dn] = s.require(groupName, AccountKind::GlobalGroup, NERR_GroupNotFound);
        // Named again for the inner lambda: clang before 16 cannot capture structured bindings.
        return serve("group users " + dn, after, accept, [&, &group = group, &dn = dn] {
            std::vector<std::string> own;
            for (const auto &sid : memberSids(s, dn)) {
                if (ridUnder(sid, s.domainSid)) own.push_back(sid);
            }
            std::vector<Account> users;
            for (const auto &[sid, account] : s.accountsBySid(own, AccountKind::User)) users.push_back(account);
            // Primary-group members are not among the `member` values.
            const auto primary = accountsMatching(s, "(&(objectClass=user)(primaryGroupID=" + std::to_string(group.rid) + "))");
            users.insert(users.end(), primary.begin(), primary.end());
            std::sort(users.begin(), users.end(), byRid);
            std::erase_if(users, [](const Account &a) { return a.kind != AccountKind::User; });
            return users;
        });
    });
}

std::vector<Account> Domain::groupsOfUser(const std::string &userName) {
    return run(Operation::Read, [&](Session &s) {
        const auto [user, dn] = s.require(userName, AccountKind::User, NERR_UserNotFound);
        auto groups = accountsMatching(s, "(&" + typeFilter(typeGlobalGroup) + "(member=" + filterValue(dn) + "))");
        const auto entry = s.ldap.read(dn, {"primaryGroupID"});
        const std::string primarySid = s.domainSid + "-" + (entry ? entry->first("primaryGroupID") : "0");
        for (const auto &[sid, group] : s.accountsBySid({primarySid}, AccountKind::GlobalGroup)) groups.push_back(group);
        std::sort(groups.begin(), groups.end(), byRid);
        return groups;
    });
}

void Domain::addGroupUser(const std::string &groupName, const std::string &userName) {
    run(Operation::AddGlobalMember, [&](Session &s) {
        const auto [group, groupDn] = s.require(groupName, AccountKind::GlobalGroup, NERR_GroupNotFound);
        const auto [user, userDn] = s.require(userName, AccountKind::User, NERR_UserNotFound);
        const auto entry = s.ldap.read(userDn, {"primaryGroupID"});
        if (entry && integerValue(entry->first("primaryGroupID")) == group.rid) {
            refuse(NERR_UserInGroup, "'" + user.name + "' is already in '" + group.name + "'");
        }
        s.ldap.modify(groupDn, {{Modification::Kind::Add, "member", {userDn}}});
    });
}

void Domain::deleteGroupUser(const std::string &groupName, const std::string &userName) {
    run(Operation::DeleteGlobalMember, [&](Session &s) {
        const auto [group, groupDn] = s.require(groupName, AccountKind::GlobalGroup, NERR_GroupNotFound);
        const auto [user, userDn] = s.require(userName, AccountKind::User, NERR_UserNotFound);
        const auto entry = s.ldap.read(userDn, {"primaryGroupID"});
        if (entry && integerValue(entry->first("primaryGroupID")) == group.rid) {
            refuse(ERROR_MEMBERS_PRIMARY_GROUP, "'" + group.name + "' is the primary group of '" + user.name + "'");
        }
        s.ldap.modify(groupDn, {{Modification::Kind::Delete, "member", {userDn}}});
    });
}

// ---- local groups ----

namespace {

std::optional<std::string> foreignPrincipalDn(const Domain::Session &s, const std::string &sid) {
    const auto entries = s.ldap.search(s.domainDn, Scope::Subtree,
                                       "(&(objectClass=foreignSecurityPrincipal)" + sidFilter(sid) + ")", {"objectSid"});
    if (entries.empty()) return std::nullopt;
    return entries.front().dn;
}

// A link by SID: Samba refuses to add <SID=...> once the foreign-security-principal object
// exists, so an existing one is linked by its DN. (Everyone links to its well-known object,
// which <SID=...> finds.)
std::string linkBySid(const Domain::Session &s, const std::string &sid) {
    auto dn = foreignPrincipalDn(s, sid);
    return dn ? *dn : "<SID=" + sid + ">";
}

// The SID of a well-known account (Everyone, NT AUTHORITY\Interactive ...) by its name.
std::optional<std::string> wellKnownSid(Domain::Session &s, const std::optional<std::string> &domain,
                                        const std::string &name) {
    for (const auto &[sid, wellKnownName] : s.wellKnownNames()) {
        if (sameName(wellKnownName, name) && (!domain || sameName(*domain, s.qualifierOf(sid)))) return sid;
    }
    return std::nullopt;
}

void requireNoLocalGroup(const Account &account, const std::string &text) {
    if (account.kind == AccountKind::LocalGroup) {
        refuse(ERROR_INVALID_MEMBER, "a local group cannot hold the local group '" + text + "'");
    }
}

// The value of the `member` link for a member given as NAME or DOMAIN\NAME: the entry's DN,
// or a link by SID. ERROR_NO_SUCH_MEMBER when nothing within reach has that name; a local group
// is no member of another (ERROR_INVALID_MEMBER).
std::string memberLink(Domain::Session &s, const TrustedLookup &trusted, const std::string &text) {
    const auto [domain, name] = samworld::splitQualifiedName(text);
    const bool own = !domain || sameName(*domain, s.netbiosName) || sameName(*domain, "BUILTIN");
    if (own) {
        if (const auto entry = s.findEntry(name, accountAttributes())) {
            const auto account = s.accountOf(*entry);
            if (account && (!domain || sameName(*domain, account->samName))) {
                requireNoLocalGroup(*account, text);
                return entry->dn;
            }
        }
    }
    if (const auto sid = wellKnownSid(s, domain, name)) return linkBySid(s, *sid);
    if (domain && !own) {
        for (const auto &[sid, flatName] : s.trustedDomains()) {
            if (!sameName(flatName, *domain) || !trusted.byName) continue;
            std::optional<Account> account;
            try {
                account = trusted.byName(flatName, name);
            } catch (const backend::Error &) {
                continue;  // that controller cannot be asked: nothing within reach has the name
            }
            if (account) {
                requireNoLocalGroup(*account, text);
                return linkBySid(s, account->sid);
            }
        }
    }
    refuse(ERROR_NO_SUCH_MEMBER, "no account '" + text + "' within reach");
}

// A trusted domain's account by SID, asked at that domain's controller unless the controller
// could not be reached before: `unreachable` holds those domains for the length of one listing.
std::optional<Account> trustedAccount(const TrustedLookup &trusted, const std::string &domain, const std::string &sid,
                                      std::set<std::string> &unreachable) {
    if (!trusted.bySid || domain.empty() || unreachable.contains(domain)) return std::nullopt;
    try {
        return trusted.bySid(domain, sid);
    } catch (const backend::Error &) {
        unreachable.insert(domain);
        return std::nullopt;
    }
}

std::vector<std::string> memberLinks(Domain::Session &s, const TrustedLookup &trusted,
                                    const std::vector<std::string> &members) {
    std::vector<std::string> links;
    for (const auto &member : members) links.push_back(memberLink(s, trusted, member));
    return links;
}

}  // namespace

Page<Account> Domain::localMembers(const std::string &groupName, int64_t after,
                                   const Accept<Account> &accept) {
    return run(Operation::Read, [&](Session &s) {
        const auto [group, dn] = s.require(groupName, AccountKind::LocalGroup, NERR_GroupNotFound);
        return serve("local members " + dn, after, accept, [&, &dn = dn] {
            const auto sids = memberSids(s, dn);
            std::vector<std::string> ours;
            for (const auto &sid : sids) {
                if (ridUnder(sid, s.domainSid) || ridUnder(sid, builtinSid)) ours.push_back(sid);
            }
            const auto known = s.accountsBySid(ours);
            std::set<std::string> unreachable;
            std::vector<Account> members;
            for (const auto &sid : sids) {
                if (const auto found = known.find(sid); found != known.end()) {
                    members.push_back(found->second);
                    continue;
                }
                Account member;
                member.sid = sid;
                member.samName = s.qualifierOf(sid);
                if (const auto wellKnown = s.wellKnownNames().find(sid); wellKnown != s.wellKnownNames().end()) {
                    member.name = wellKnown->second;
                    member.kind = AccountKind::WellKnown;
                } else if (auto foreign = trustedAccount(trusted_, member.samName, sid, unreachable)) {
                    member = *foreign;
                } else {
                    // A trusted domain's account whose controller cannot be asked: its SID.
                    member.name = sid;
                    member.kind = AccountKind(SidTypeUnknown);
                }
                members.push_back(member);
            }
            return members;
        });
    });
}

// Several members in one modification: the directory takes all of them or none.
void Domain::addLocalMembers(const std::string &groupName, const std::vector<std::string> &members) {
    run(Operation::AddLocalMember, [&](Session &s) {
        const auto [group, dn] = s.require(groupName, AccountKind::LocalGroup, NERR_GroupNotFound);
        s.ldap.modify(dn, {{Modification::Kind::Add, "member", memberLinks(s, trusted_, members)}});
    });
}

void Domain::deleteLocalMembers(const std::string &groupName, const std::vector<std::string> &members) {
    run(Operation::DeleteLocalMember, [&](Session &s) {
        const auto [group, dn] = s.require(groupName, AccountKind::LocalGroup, NERR_GroupNotFound);
        s.ldap.modify(dn, {{Modification::Kind::Delete, "member", memberLinks(s, trusted_, members)}});
    });
}

std::vector<Account> Domain::localGroupsOf(const std::string &name, bool indirect) {
    return run(Operation::Read, [&](Session &s) {
        const auto [domain, bare] = samworld::splitQualifiedName(name);
        if (domain && !sameName(*domain, s.netbiosName)) refuse(NERR_UserNotFound, "no user '" + name + "' here");
        const auto [user, dn] = s.require(bare, AccountKind::User, NERR_UserNotFound);
        if (!indirect) {
            return accountsMatching(s, "(&" + typeFilter(typeLocalGroup) + "(member=" + filterValue(dn) + "))");
        }
        // tokenGroups holds every group reached, also through the primary group.
        std::vector<std::string> sids;
        if (const auto entry = s.ldap.read(dn, {"tokenGroups"})) {
            for (const auto &value : entry->values("tokenGroups")) {
                if (auto sid = sidText(value)) sids.push_back(*sid);
            }
        }
        std::vector<Account> groups;
        for (const auto &[sid, group] : s.accountsBySid(sids, AccountKind::LocalGroup)) groups.push_back(group);
        std::sort(groups.begin(), groups.end(), byRid);
        return groups;
    });
}

}  // namespace directory
