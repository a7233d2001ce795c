#include "dataops/ItemLists.h"

#include "accounts/clsGroup.h"
#include "accounts/clsUser.h"
#include "store/ProgramValues.h"

#include <QHeaderView>

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>

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

// One icon per name: a group that came back with its kind shows that kind, any other name the
// icon passed in.
std::vector<ItemIcon> IconsOf(const Listing &listing, ItemIcon icon) {
    if (!listing.isGlobal.has_value()) {
        return std::vector<ItemIcon>(static_cast<std::size_t>(listing.names.Count()), icon);
    }
    std::vector<ItemIcon> icons;
    for (int64_t i = 1; i <= listing.names.Count(); ++i) {
        icons.push_back(i <= listing.isGlobal->Count() ? GroupIcon(listing.isGlobal->Item(i))
                                                       : icon);
    }
    return icons;
}

// A store that is closed or cannot be read shows empty columns: the names are what matters.
template <typename Read>
QStringList ReadColumns(const Read &read) {
    try {
        return read();
    } catch (...) {
        return {};
    }
}

QString TextOf(const std::string &text) { return QString::fromStdString(text); }

QString StateOf(const UserColumns &user) {
    QStringList state;
    if (user.AccountDisabled()) state << QStringLiteral("Disabled");
    if (user.AccountLocked()) state << QStringLiteral("Locked");
    if (user.PasswordNeverExpires()) state << QStringLiteral("Password never expires");
    return state.join(QStringLiteral(", "));
}

QStringList UserColumnTexts(const std::string &name, ItemIcon) {
    return ReadColumns([&]() -> QStringList {
        const std::optional<UserColumns> user = gData->User().Columns(name);
        if (!user) return {};
        return {TextOf(user->FullName), TextOf(user->Comment), StateOf(*user)};
    });
}

// One column of every user, in the order of names, from one read of the store; nothing when the
// store cannot be read.
std::vector<std::string> UserColumnKeys(int column, const std::vector<std::string> &names) {
    std::unordered_map<std::string_view, std::size_t> positions;
    positions.reserve(names.size());
    for (std::size_t position = 0; position < names.size(); ++position) {
        positions.emplace(names[position], position);
    }
    std::vector<std::string> keys(names.size());
    try {
        gData->User().EachColumns([&](const std::string &name, const UserColumns &user) {
            const auto position = positions.find(name);
            if (position == positions.end()) return;
            keys[position->second] = column == 0   ? user.FullName
                                     : column == 1 ? user.Comment
                                                   : StateOf(user).toStdString();
        });
    } catch (...) {
        return {};
    }
    return keys;
}

QStringList GroupColumnTexts(const std::string &name, ItemIcon icon) {
    const QString kind =
        icon == ItemIcon::GlobalGroup ? QStringLiteral("Global") : QStringLiteral("Local");
    return ReadColumns([&]() -> QStringList {
        const std::optional<GroupColumns> group = gData->Group().Columns(name);
        return {kind, group ? TextOf(group->Comment) : QString()};
    });
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

void FillItemList(ItemListView &list, NameArray names, const std::vector<ItemIcon> &icons) {
    if (names.Count() < 1) return;
    list.entries().append(std::move(names), icons);
    if (list.count() > 0) list.selectOnly(0);
}

void ShowAccountColumns(ItemListView &list, int viewType) {
    const bool users = viewType == kUsersType;
    const bool changed =
        users ? list.entries().setColumns({QStringLiteral("Full Name"), QStringLiteral("Comment"),
                                           QStringLiteral("State")},
                                          UserColumnTexts, UserColumnKeys)
              : list.entries().setColumns({QStringLiteral("Kind"), QStringLiteral("Comment")},
                                          GroupColumnTexts);
    if (!changed) return;
    // Room for a typical name and full name; the comment takes what is left.
    const std::vector<int> widths =
        users ? std::vector<int>{130, 120, 120} : std::vector<int>{180, 60};
    for (std::size_t column = 0; column < widths.size(); ++column) {
        list.header()->resizeSection(static_cast<int>(column), widths[column]);
    }
}

void ListItemsByFilter(ItemListView &list, int viewType, bool globalGroups,
                       const std::string &filterName, const std::string &iconKey) {
    if (!OpenItemData(kUsersType) || !OpenItemData(kGroupsType)) return;
    Listing listing = viewType == kUsersType ? ListUsers(filterName)
                                             : ListGroups(globalGroups, filterName);
    if (listing.failed) ShowOperationErrors();
    const std::vector<ItemIcon> icons = IconsOf(listing, IconOfKey(iconKey));
    FillItemList(list, std::move(listing.names), icons);
}
