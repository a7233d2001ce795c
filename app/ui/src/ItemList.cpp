#include "ui/ItemList.h"

#include "ui/Images.h"

#include <QTreeWidget>

namespace {

constexpr int kIconKeyRole = Qt::UserRole;

}  // namespace

QTreeWidgetItem *AddListItem(QTreeWidget &list, const QString &name, const QString &iconKey) {
    auto *item = new QTreeWidgetItem(&list, QStringList{name});  // owned by the list
    item->setIcon(0, imlSmallList(iconKey));
    item->setData(0, kIconKeyRole, iconKey);
    return item;
}

QString IconKeyOf(const QTreeWidgetItem &item) { return item.data(0, kIconKeyRole).toString(); }

QTreeWidgetItem *SelectedItem(const QTreeWidget &list) {
    QTreeWidgetItem *current = list.currentItem();
    if (current != nullptr && current->isSelected()) return current;
    const QList<QTreeWidgetItem *> selected = list.selectedItems();
    return selected.isEmpty() ? current : selected.first();
}
