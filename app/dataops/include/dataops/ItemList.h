// Entries of the item lists: an account name with the small icon of its kind. The icon key
// is kept with the entry, because the key is how the windows tell the kinds apart.
#pragma once

#include <QIcon>
#include <QString>

#include <string>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

// Item types and group kinds, as every window and data operation numbers them.
inline constexpr int kUsersType = 0;
inline constexpr int kGroupsType = 1;
inline constexpr int kLocalGroup = 0;
inline constexpr int kGlobalGroup = 1;

// Small-icon key of an item: users have one, groups one per group kind.
std::string ItemIcons(int type, int groupKind = kLocalGroup);

// The small list icons by key: "SUser", "SGroupLocal", "SGroupGlobal". An unknown key gives
// a null icon.
QIcon imlSmallList(const QString &key);

// Appends an entry; the list is not cleared.
QTreeWidgetItem *AddListItem(QTreeWidget &list, const QString &name, const QString &iconKey);

QString IconKeyOf(const QTreeWidgetItem &item);

// The entry that stands for the selection: the current entry when it is selected, else the
// first selected one, else the current entry (a Ctrl-click may leave nothing selected).
QTreeWidgetItem *SelectedItem(const QTreeWidget &list);

// The texts of the selected entries, in list order.
std::vector<std::string> SelectedNames(const QTreeWidget &list);
