// The group object: creates, reads, changes and deletes local and global groups in the target
// SAM, keeps the store's Group rows in step, edits a group's members and answers which users a
// set of groups has in common.
//
// Properties travel as a details collection under GroupName, IsGlobal (non-zero for a global
// group; only when adding), Comment and GroupType ("Global" or "Local"; only when reading).
#pragma once

#include "accounts/AccountColumns.h"
#include "accounts/AccountObject.h"
#include "accounts/Details.h"
#include "accounts/OneBasedArray.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

class clsGroup : public AccountObject {
public:
    clsGroup();

    // Adds the group named by GroupName, of the kind IsGlobal gives, with its Comment: first its
    // store row, then the SAM group; the row goes again when the SAM refuses.
    bool Add(const Details &details);
    // Writes the Comment item, the only property of a group that can change: the SAM first,
    // then the store row. Without a Comment item nothing happens.
    bool Update(const std::string &name, const Details &details);
    // Replaces details by GroupName (as the caller spells it), Comment and GroupType. When the
    // SAM cannot be read the new collection holds GroupName only.
    bool GetDetails(const std::string &name, Details &details);
    // Deletes the SAM group, then the store row.
    bool Remove(const std::string &name);
    // The global groups for GroupType 1, the local groups for any other value; always false.
    // Raises what it meets.
    bool GetByType(int32_t GroupType, NameArray &names);
    // What the store keeps of the group besides the name; nullopt for a name it lacks. Reads the
    // store only, and catches nothing.
    std::optional<GroupColumns> Columns(const std::string &name);

    bool AddUsers(const std::string &group, std::span<const std::string> users);
    bool RemoveUsers(const std::string &group, std::span<const std::string> users);
    // The users who belong to every listed group or, with Reverse, every other user. Names the
    // store lacks are left out; when it holds none of them the error list is emptied and the
    // result is true.
    bool GetCommonUsers(std::span<const std::string> groups, bool Reverse, NameArray &users);

private:
    bool ChangeUsers(MembershipEdit edit, const std::string &group,
                     std::span<const std::string> users);
    // The common-membership query for the members kept in memberTable, joined to the groups
    // through "Group" + memberTable.
    bool GetCommonMembers(std::span<const std::string> groups, std::string_view memberTable,
                          bool Reverse, NameArray &names);
};
