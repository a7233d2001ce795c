#include "dataops/Relations.h"

#include "dataops/ItemList.h"
#include "dataops/ItemLists.h"
#include "status/modSAM.h"
#include "store/ProgramValues.h"
#include "vantry_api/NameList.h"
#include "vantry_api/modVantryDeclare.h"

#include <algorithm>
#include <string_view>

namespace {

// The entries of one list: each name with its icon at the same position.
struct ListEntries {
    NameArray names;
    std::vector<ItemIcon> icons;

    void add(std::string name, ItemIcon icon) {
        names.Append(std::move(name));
        icons.push_back(icon);
    }
    void fill(ItemListView &list) { FillItemList(list, std::move(names), icons); }
};

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    const auto folded = [](char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; };
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [&](char a, char b) { return folded(a) == folded(b); });
}

// What local-group members of the target itself are prefixed with.
std::string OwnPrefix() {
    if (gIsDomain) return gDomainName;
    return gSAMHost.starts_with("\\\\") ? gSAMHost.substr(2) : gSAMHost;
}

// A local group's member arrives as DOMAIN\name followed by a type suffix, "\u" for a user.
// The target's own accounts are shown without their prefix.
void AddLocalMember(ListEntries &entries, std::string entry, const std::string &ownPrefix) {
    const std::string own = ownPrefix + "\\";
    if (StartsWithIgnoringCase(entry, own)) entry.erase(0, own.size());
    const bool user = entry.ends_with("\\u");
    entry.resize(entry.size() >= 2 ? entry.size() - 2 : 0);
    entries.add(std::move(entry), user ? ItemIcon::User : ItemIcon::GlobalGroup);
}

// The group's members as the target SAM has them, into workList; true when reading them failed.
bool ReadLiveMembers(const std::string &group, int groupKind, NameList &workList) {
    workList.clear();
    const auto &read = groupKind == kGlobalGroup ? modVantryDeclare::GetGroupUsers
                                                 : modVantryDeclare::GetLocalGroupMembers2;
    LastStatus = read(gSAMHost.c_str(), group.c_str(), modVantryDeclare::kTrue, workList.window());
    if (LastStatus == 0) return false;
    std::string text;
    StatusText(LastStatus, text);
    gData->LastErr().Description("Error retrieving group '" + group + "' members: " + text);
    return true;
}

// Whatever arrived before a failure is still listed.
bool ListLiveMembers(ItemListView &members, const std::string &group, int groupKind,
                     NameList &workList, const TargetWork &readLive) {
    const bool failed = readLive([&] { return ReadLiveMembers(group, groupKind, workList); });
    ListEntries entries;
    const std::string ownPrefix = OwnPrefix();
    for (int64_t i = 0; i < workList.count(); ++i) {
        if (groupKind == kGlobalGroup) {
            entries.add(workList.item(i), ItemIcon::User);
        } else {
            AddLocalMember(entries, workList.item(i), ownPrefix);
        }
    }
    entries.fill(members);
    return failed;
}

bool ListCommonGroups(ItemListView &list, const NameArray &users, bool reverse) {
    NameArray groups;
    OneBasedArray<int32_t> isGlobal;
    const bool failed = RunListing(
        [&] { return gData->User().GetCommonGroups(users.items(), reverse, groups, isGlobal); });
    ListEntries entries;
    for (int64_t i = 1; i <= groups.Count() && i <= isGlobal.Count(); ++i) {
        entries.add(groups.Item(i), GroupIcon(isGlobal.Item(i)));
    }
    entries.fill(list);
    return failed;
}

bool ListCommonUsers(ItemListView &list, const NameArray &groups, bool reverse) {
    NameArray users;
    const bool failed =
        RunListing([&] { return gData->Group().GetCommonUsers(groups.items(), reverse, users); });
    const std::vector<ItemIcon> icons(static_cast<std::size_t>(users.Count()), ItemIcon::User);
    FillItemList(list, std::move(users), icons);
    return failed;
}

}  // namespace

void ListRelations(ItemListView &members, ItemListView &nonMembers, int itemType,
                   const NameArray &names, int groupKind, NameList &workList,
                   const TargetWork &readLive) {
    gData->LastErr().Refresh();
    if (!OpenItemData(itemType)) return;
    members.clear();
    nonMembers.clear();
    bool failed = false;
    if (itemType == kUsersType) {
        failed |= ListCommonGroups(members, names, false);
        failed |= ListCommonGroups(nonMembers, names, true);
    } else {
        failed |= names.Count() == 1
                      ? ListLiveMembers(members, names.Item(1), groupKind, workList, readLive)
                      : ListCommonUsers(members, names, false);
        failed |= ListCommonUsers(nonMembers, names, true);
    }
    if (failed) ShowOperationErrors();
}
