// The membership passes and the key lists of the common-membership queries, shared by the
// user and the group object.
#include "Memberships.h"

#include "StoreCursors.h"
#include "accounts/AccountObject.h"
#include "vantry_api/modVantryDeclare.h"

#include <set>
#include <vector>

namespace {

uint32_t changeInSAM(const std::string &host, bool add, const MembershipChange &change) {
    namespace api = modVantryDeclare;
    const int32_t direction = add ? api::kTrue : api::kFalse;
    return change.isGlobal != 0
               ? api::GroupAdjustUsers(direction, host.c_str(), change.group.c_str(),
                                       change.user.c_str())
               : api::LocalGroupAdjustMembers(direction, host.c_str(), change.group.c_str(),
                                              change.user.c_str());
}

std::string samChangeText(bool added, const MembershipChange &change) {
    return "User '" + change.user + (added ? "' was added to" : "' was removed from") +
           " SAM group '" + change.group + "'";
}

}  // namespace

bool AccountObject::EditMemberships(const MembershipEditing &how,
                                    std::span<const std::string> names) {
    const bool adding = how.edit == MembershipEdit::Add;
    bool failed = false;

    // Every name is looked up before the SAM is asked for anything. A membership that is
    // already as wanted needs no change and no message.
    std::vector<MembershipChange> changes;
    for (const std::string &name : names) {
        auto change = how.changeFor(name);
        if (!change) {
            Errors().Description(how.notFoundPrefix + name);
            failed = true;
        } else if (Memberships().Seek(change->groupId, change->userId) != adding) {
            changes.push_back(std::move(*change));
        }
    }

    for (const MembershipChange &change : changes) {
        if (const auto statusText = SAMRefusal(changeInSAM(SAMHost(), adding, change))) {
            Errors().Description(how.refusal(change, *statusText));
            failed = true;
            continue;
        }
        try {
            FollowInStore(samChangeText(adding, change), [&] {
                adding ? Memberships().AddNew(change.groupId, change.userId)
                       : Memberships().Delete(change.groupId, change.userId);
            });
        } catch (const ProgramError &) {
            // The SAM has changed: the others go on, and the failure is listed with them.
            Errors().CloneErr();
            failed = true;
        }
    }
    return failed;
}

std::optional<AccountObject::MatchedKeys> AccountObject::KeysOf(
    std::span<const std::string> names,
    const std::function<std::optional<int64_t>(const std::string &)> &keyOf) {
    // A name listed twice, in any case, is still one account: counted twice it could never be
    // common to all.
    std::set<int64_t> seen;
    MatchedKeys keys{"", 0};
    for (const std::string &name : names) {
        const auto key = keyOf(name);
        if (!key || !seen.insert(*key).second) {
            continue;
        }
        keys.list += (keys.count == 0 ? "" : ", ") + std::to_string(*key);
        ++keys.count;
    }
    if (keys.count == 0) {
        return std::nullopt;
    }
    return keys;
}
