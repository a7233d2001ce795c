// A group's members, edited from the group's side, and the users a set of groups shares.
#include "Memberships.h"
#include "QueryText.h"
#include "StoreCursors.h"
#include "accounts/clsGroup.h"

namespace {

// The members kept in table $T that have a Group$T row for one of the listed group keys, counted
// once per group: those counted as often as there are groups belong to them all.
constexpr std::string_view kCommonMembers =
    "SELECT $T.$TName FROM $T INNER JOIN Group$T ON $T.$TID = Group$T.$TID "
    "WHERE Group$T.GroupID IN ($KEYS) GROUP BY $T.$TName HAVING Count($T.$TName) = $COUNT";
constexpr std::string_view kOutsideCommonMembers =
    "SELECT $T.$TName FROM $T WHERE $T.$TName NOT IN ($COMMON)";

}  // namespace

bool clsGroup::AddUsers(const std::string &group, std::span<const std::string> users) {
    return ChangeUsers(MembershipEdit::Add, group, users);
}

bool clsGroup::RemoveUsers(const std::string &group, std::span<const std::string> users) {
    return ChangeUsers(MembershipEdit::Remove, group, users);
}

bool clsGroup::ChangeUsers(MembershipEdit edit, const std::string &group,
                           std::span<const std::string> users) {
    return Guarded([&] {
        const auto row = Groups().Seek(group);
        if (!row) {
            return Missing("Group not found: " + group);
        }
        const auto changeFor = [&](const std::string &user) -> std::optional<MembershipChange> {
            const auto member = Users().Seek(user);
            if (!member) {
                return std::nullopt;
            }
            return MembershipChange{group, user, row->GroupID, member->UserID, row->IsGlobal};
        };
        // These texts are not the user side's: the blanks after the quotes are missing, and a
        // refused removal does not name the group.
        const auto refusal = [edit](const MembershipChange &change, const std::string &why) {
            return edit == MembershipEdit::Add
                       ? "Add user '" + change.user + "'to SAM group '" + change.group +
                             "'failed: " + why
                       : "Remove user '" + change.user + "' from SAM group failed: " + why;
        };
        return EditMemberships({edit, changeFor, "User not found: ", refusal}, users);
    });
}

bool clsGroup::GetCommonUsers(std::span<const std::string> groups, bool Reverse, NameArray &users) {
    return GetCommonMembers(groups, "User", Reverse, users);
}

bool clsGroup::GetCommonMembers(std::span<const std::string> groups, std::string_view memberTable,
                                bool Reverse, NameArray &names) {
    return Guarded([&] {
        names.Clear();
        // One read transaction for every lookup of a name and the query: the store's file is
        // locked and checked once, rather than once for each of thousands of names. Nothing is
        // written: the transaction ends rolled back.
        Transaction reading(Store());
        const auto keys = KeysOf(groups, [this](const std::string &name) {
            const auto row = Groups().Seek(name);
            return row ? std::optional(row->GroupID) : std::nullopt;
        });
        if (!keys) {
            return NoneMatched();
        }
        // Only the member table's name and integer keys are written into the query.
        const std::string count = std::to_string(keys->count);
        std::string query = Substituted(
            kCommonMembers, {{"$KEYS", keys->list}, {"$COUNT", count}, {"$T", memberTable}});
        if (Reverse) {
            query = Substituted(kOutsideCommonMembers, {{"$COMMON", query}, {"$T", memberTable}});
        }
        Statement rows = Store().prepare(query);
        while (rows.step()) {
            names.Append(rows.text(0));
        }
        return false;
    });
}
