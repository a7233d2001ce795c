// Entries of the item lists: an account name with the small icon of its kind. The icon key
// is kept with the entry, because the key is how the windows tell the kinds apart.
#pragma once

#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

// Appends an entry; the list is not cleared.
QTreeWidgetItem *AddListItem(QTreeWidget &list, const QString &name, const QString &iconKey);

QString IconKeyOf(const QTreeWidgetItem &item);

// The entry that stands for the selection: the current entry when it is selected, else the
// first selected one, else the current entry (a Ctrl-click may leave nothing selected).
QTreeWidgetItem *SelectedItem(const QTreeWidget &list);
