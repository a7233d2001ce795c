#include "dataops/ItemList.h"

#include <QStringList>
#include <QTreeWidget>

namespace {

constexpr int kIconKeyRole = Qt::UserRole;

}  // namespace

std::string ItemIcons(int type, int groupKind) {
    if (type == kUsersType) return "SUser";
    return groupKind == kGlobalGroup ? "SGroupGlobal" : "SGroupLocal";
}

QIcon imlSmallList(const QString &key) {
    static const QStringList keys{"SUser", "SGroupLocal", "SGroupGlobal"};
    if (!keys.contains(key)) return {};
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(key));
}

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

std::vector<std::string> SelectedNames(const QTreeWidget &list) {
    std::vector<std::string> names;
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        const QTreeWidgetItem &item = *list.topLevelItem(i);
        if (item.isSelected()) names.push_back(item.text(0).toStdString());
    }
    return names;
}
