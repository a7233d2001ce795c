// A user's memberships, edited from the user's side, and the groups a set of users shares.
#include "Memberships.h"
#include "QueryText.h"
#include "StoreCursors.h"
#include "accounts/clsUser.h"

namespace {

// The groups of GroupUser rows for one of the listed user keys, counted once per user: those
// counted as often as there are users hold them all.
constexpr std::string_view kCommonGroups =
    "SELECT $COLUMNS FROM [Group] INNER JOIN GroupUser ON [Group].GroupID = GroupUser.GroupID "
    "WHERE GroupUser.UserID IN ($KEYS) GROUP BY [Group].GroupName "
    "HAVING Count([Group].GroupName) = $COUNT";
constexpr std::string_view kOutsideCommonGroups =
    "SELECT GroupName, IsGlobal FROM [Group] WHERE GroupName NOT IN ($COMMON)";

}  // namespace

bool clsUser::AddToGroups(const std::string &user, std::span<const std::string> groups) {
    return ChangeGroups(MembershipEdit::Add, user, groups);
}

bool clsUser::RemoveFromGroups(const std::string &user, std::span<const std::string> groups) {
    return ChangeGroups(MembershipEdit::Remove, user, groups);
}

bool clsUser::ChangeGroups(MembershipEdit edit, const std::string &user,
                           std::span<const std::string> groups) {
    return Guarded([&] {
        const auto member = Users().Seek(user);
        if (!member) {
            return Missing("User not found: " + user);
        }
        const auto changeFor = [&](const std::string &group) -> std::optional<MembershipChange> {
            const auto row = Groups().Seek(group);
            if (!row) {
                return std::nullopt;
            }
            return MembershipChange{group, user, row->GroupID, member->UserID, row->IsGlobal};
        };
        const auto refusal = [edit](const MembershipChange &change, const std::string &why) {
            return edit == MembershipEdit::Add
                       ? "Add user '" + change.user + "' to SAM group '" + change.group +
                             "' failed: " + why
                       : "Remove user '" + change.user + "' from SAM group '" + change.group +
                             "' failed: " + why;
        };
        return EditMemberships({edit, changeFor, "Group not found: ", refusal}, groups);
    });
}

bool clsUser::GetCommonGroups(std::span<const std::string> users, bool Reverse, NameArray &groups,
                              OneBasedArray<int32_t> &isGlobal) {
    return Guarded([&] {
        groups.Clear();
        isGlobal.Clear();
        // One read transaction for every lookup of a name and the query: the store's file is
        // locked and checked once, rather than once for each of thousands of names. Nothing is
        // written: the transaction ends rolled back.
        Transaction reading(Store());
        const auto keys = KeysOf(users, [this](const std::string &name) {
            const auto row = Users().Seek(name);
            return row ? std::optional(row->UserID) : std::nullopt;
        });
        if (!keys) {
            return NoneMatched();
        }
        // Only integer keys and counts are written into the query.
        const std::string count = std::to_string(keys->count);
        const auto common = [&](std::string_view columns) {
            return Substituted(kCommonGroups,
                               {{"$COLUMNS", columns}, {"$KEYS", keys->list}, {"$COUNT", count}});
        };
        const std::string query =
            Reverse ? Substituted(kOutsideCommonGroups, {{"$COMMON", common("[Group].GroupName")}})
                    : common("[Group].GroupName, [Group].IsGlobal");
        Statement rows = Store().prepare(query);
        while (rows.step()) {
            groups.Append(rows.text(0));
            isGlobal.Append(static_cast<int32_t>(rows.integer(1)));
        }
        return false;
    });
}
