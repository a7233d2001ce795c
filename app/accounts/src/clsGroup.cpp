#include "accounts/clsGroup.h"

#include "StoreCursors.h"
#include "vantry_api/UserReadBuffers.h"
#include "vantry_api/modVantryDeclare.h"

#include <algorithm>
#include <array>

namespace {

namespace api = modVantryDeclare;

// The stored query yields GroupID, GroupName, IsGlobal.
constexpr int kGroupNameColumn = 1;

// A GroupRecord with room for what GetGroupInfo writes: 256 blanks in each field.
class GroupReadBuffers {
public:
    GroupReadBuffers() {
        name_.fill(' ');
        comment_.fill(' ');
    }
    GroupReadBuffers(const GroupReadBuffers &) = delete;
    GroupReadBuffers &operator=(const GroupReadBuffers &) = delete;

    GroupRecord &record() { return record_; }
    // The comment as the library left it: up to its first NUL.
    std::string comment() const {
        return std::string(comment_.begin(), std::find(comment_.begin(), comment_.end(), '\0'));
    }

private:
    std::array<char, UserReadBuffers::kTextBufferSize> name_;
    std::array<char, UserReadBuffers::kTextBufferSize> comment_;
    GroupRecord record_{name_.data(), comment_.data()};
};

}  // namespace

clsGroup::clsGroup() : AccountObject("Data.Group", {Table::Group, Table::User, Table::GroupUser}) {}

bool clsGroup::Add(const Details &details) {
    return Guarded([&] {
        const DetailValue *groupName = details.Find("GroupName");
        const DetailValue *kind = details.Find("IsGlobal");
        if (groupName == nullptr || kind == nullptr) {
            return Missing("Groupname or type not supplied.");
        }
        const std::string name = TextOf(*groupName);
        const int32_t isGlobal = LongOf(*kind);
        const DetailValue *comment = details.Find("Comment");
        const std::string commentText = comment != nullptr ? TextOf(*comment) : std::string();

        const int64_t groupId = Groups().AddNew(name, isGlobal, commentText);
        if (const auto statusText = SAMRefusal(
                api::CreateGroup(isGlobal, SAMHost().c_str(), name.c_str(), commentText.c_str()))) {
            const std::string failure =
                "Failed to create group '" + name + "' in SAM: " + *statusText;
            FollowInStore(failure, [&] { Groups().Delete(groupId); });
            Raise(failure);
        }
        return false;
    });
}

bool clsGroup::Update(const std::string &name, const Details &details) {
    return Guarded([&] {
        const auto row = Groups().Seek(name);
        if (!row) {
            return Missing("Group not found: " + name);
        }
        const DetailValue *comment = details.Find("Comment");
        if (comment == nullptr) {
            return false;
        }
        std::string storedName = row->GroupName;
        std::string commentText = TextOf(*comment);
        const GroupRecord record{storedName.data(), commentText.data()};
        RaiseIfRefused(api::SetGroupInfo(row->IsGlobal, SAMHost().c_str(), name.c_str(), &record),
                       "Failed to update group '" + name + "' in SAM: ");
        FollowInStore("The comment of group '" + name + "' was changed in the SAM",
                      [&] { Groups().SetComment(row->GroupID, commentText); });
        return false;
    });
}

bool clsGroup::GetDetails(const std::string &name, Details &details) {
    return Guarded([&] {
        const auto row = Groups().Seek(name);
        if (!row) {
            return Missing("Group not found: " + name);
        }
        details = Details();
        details.Add("GroupName", name);
        GroupReadBuffers group;
        RaiseIfRefused(
            api::GetGroupInfo(row->IsGlobal, SAMHost().c_str(), name.c_str(), &group.record()),
            "Failed to get group details from SAM: ");
        details.Add("Comment", group.comment());
        details.Add("GroupType", std::string(row->IsGlobal != 0 ? "Global" : "Local"));
        return false;
    });
}

bool clsGroup::Remove(const std::string &name) {
    return Guarded([&] {
        const auto row = Groups().Seek(name);
        if (!row) {
            return Missing("Group not found: " + name);
        }
        RaiseIfRefused(api::DeleteGroup(row->IsGlobal, SAMHost().c_str(), name.c_str()),
                       "Failed to delete group '" + name + "' in SAM: ");
        // Its GroupUser rows may stay: keys are never reused, and every query that reads
        // memberships joins them to the Group table.
        FollowInStore("Group '" + name + "' was deleted from the SAM",
                      [&] { Groups().Delete(row->GroupID); });
        return false;
    });
}

std::optional<GroupColumns> clsGroup::Columns(const std::string &name) {
    const auto row = Groups().Seek(name);
    if (!row) return std::nullopt;
    return GroupColumns{row->IsGlobal, row->Comment};
}

bool clsGroup::GetByType(int32_t GroupType, NameArray &names) {
    names.Clear();
    Statement rows = Store().storedQuery("Q_Groups of a Particular Type");
    rows.bind("pIsGlobal", GroupType == 1 ? api::kTrue : api::kFalse);
    while (rows.step()) {
        names.Append(rows.text(kGroupNameColumn));
    }
    return false;
}
