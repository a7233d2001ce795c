#include "dataops/ItemLists.h"

#include "accounts/clsGroup.h"
#include "accounts/clsUser.h"
#include "dataops/ItemList.h"
#include "store/ProgramValues.h"

#include <QTreeWidget>

#include <array>
#include <cstdint>
#include <optional>

namespace {

// What a listing gave back: the names and, for the groups of a user, each group's kind.
struct Listing {
    NameArray names;
    std::optional<OneBasedArray<int32_t>> isGlobal;
    bool failed = false;
};

Listing ListUsers(const std::string &filterName) {
    Listing listing;
    if (filterName == kAllUsers) {
        listing.failed = RunListing([&] { return gData->User().GetAll(listing.names); });
    } else {
        const std::array<std::string, 1> group{filterName};
        listing.failed = RunListing(
            [&] { return gData->Group().GetCommonUsers(group, false, listing.names); });
    }
    return listing;
}

Listing ListGroups(bool globalGroups, const std::string &filterName) {
    Listing listing;
    if (filterName == kAllGroups) {
        const int32_t groupType = globalGroups ? kGlobalGroup : kLocalGroup;
        listing.failed =
            RunListing([&] { return gData->Group().GetByType(groupType, listing.names); });
    } else {
        const std::array<std::string, 1> user{filterName};
        auto &isGlobal = listing.isGlobal.emplace();
        listing.failed = RunListing([&] {
            return gData->User().GetCommonGroups(user, false, listing.names, isGlobal);
        });
    }
    return listing;
}

// One key per name: a group that came back with its kind shows that kind, any other name the
// key passed in.
NameArray IconKeysOf(const Listing &listing, const std::string &iconKey) {
    NameArray keys;
    for (int64_t i = 1; i <= listing.names.Count(); ++i) {
        if (listing.isGlobal.has_value() && i <= listing.isGlobal->Count()) {
            const bool global = listing.isGlobal->Item(i) != 0;
            keys.Append(ItemIcons(kGroupsType, global ? kGlobalGroup : kLocalGroup));
        } else {
            keys.Append(iconKey);
        }
    }
    return keys;
}

}  // namespace

bool OpenItemData(int itemType) {
    const bool failed =
        RunListing([&] { return itemType == kUsersType ? gData->User().OpenData()
                                                       : gData->Group().OpenData(); });
    if (!failed) return true;
    ShowErrors("Opening data failed: " + gData->LastErr().Description());
    return false;
}

bool RunListing(const std::function<bool()> &listing) {
    try {
        return listing();
    } catch (...) {
        gData->LastErr().CloneErr();
        return true;
    }
}

void ShowOperationErrors() {
    if (gData->LastErr().ErrList().empty()) return;
    ShowErrors(kOperationFailedCaption);
}

void FillItemList(QTreeWidget &list, const NameArray &names, const NameArray &iconKeys) {
    if (names.Count() < 1) return;
    for (int64_t i = 1; i <= names.Count() && i <= iconKeys.Count(); ++i) {
        AddListItem(list, QString::fromStdString(names.Item(i)),
                    QString::fromStdString(iconKeys.Item(i)));
    }
    list.setCurrentItem(list.topLevelItem(0), 0, QItemSelectionModel::ClearAndSelect);
}

void ListItemsByFilter(QTreeWidget &list, int viewType, bool globalGroups,
                       const std::string &filterName, const std::string &iconKey) {
    if (!OpenItemData(kUsersType) || !OpenItemData(kGroupsType)) return;
    const Listing listing = viewType == kUsersType ? ListUsers(filterName)
                                                   : ListGroups(globalGroups, filterName);
    if (listing.failed) ShowOperationErrors();
    FillItemList(list, listing.names, IconKeysOf(listing, iconKey));
}
