// Entries of the item lists: an account name with the small icon of its kind. The icon key
// is kept with the entry, because the key is how the windows tell the kinds apart.
//
// The lists are views over a model that holds the names as the store gave them and one small
// number per entry for its icon, so that a list of a million accounts costs little more than
// its names, and every entry of a kind paints the same shared icon.
#pragma once

#include "accounts/OneBasedArray.h"

#include <QAbstractListModel>
#include <QIcon>
#include <QString>
#include <QTreeView>

#include <cstdint>
#include <string>
#include <vector>

// Item types and group kinds, as every window and data operation numbers them.
inline constexpr int kUsersType = 0;
inline constexpr int kGroupsType = 1;
inline constexpr int kLocalGroup = 0;
inline constexpr int kGlobalGroup = 1;

// Small-icon key of an item: users have one, groups one per group kind.
std::string ItemIcons(int type, int groupKind = kLocalGroup);

// The small list icons by key: "SUser", "SGroupLocal", "SGroupGlobal". An unknown key gives
// a null icon. Each key's icon is made once and shared.
QIcon imlSmallList(const QString &key);

// The icon of one entry; None for entries without one, such as the filter's names.
enum class ItemIcon : uint8_t { None, User, LocalGroup, GlobalGroup };

// A group's icon by its kind as the store gives it: not 0 for a global group.
ItemIcon GroupIcon(int32_t isGlobal);
ItemIcon IconOfKey(const std::string &key);
QString KeyOfIcon(ItemIcon icon);
const QIcon &SmallIcon(ItemIcon icon);

// The entries of one list, in list order. Rows count from 0.
class ItemListModel final : public QAbstractListModel {
    Q_OBJECT

public:
    static constexpr int kIconKeyRole = Qt::UserRole;

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setHeader(const QString &caption);
    void clear();
    // Appends the names, each with the icon at the same position (or None past the icons).
    void append(NameArray names, const std::vector<ItemIcon> &icons);

    const std::string &name(int row) const { return names_.at(static_cast<std::size_t>(row)); }
    ItemIcon icon(int row) const { return icons_.at(static_cast<std::size_t>(row)); }
    // The first row whose name equals name, compared without regard to case as the SAM
    // compares names; -1 when there is none.
    int findName(const QString &name) const;

private:
    std::vector<std::string> names_;
    std::vector<ItemIcon> icons_;
    QString header_;
};

// A one-column list view of its own entries, with the header caption, multiple selection and
// small icons; it says itemSelectionChanged() whenever its selection changes, so that blocking
// the view's signals quiets changes made by the program.
class ItemListView final : public QTreeView {
    Q_OBJECT

public:
    explicit ItemListView(QWidget *parent = nullptr);

    ItemListModel &entries() { return model_; }
    const ItemListModel &entries() const { return model_; }
    int count() const { return model_.rowCount(); }
    QString text(int row) const { return QString::fromStdString(model_.name(row)); }
    QString iconKey(int row) const { return KeyOfIcon(model_.icon(row)); }

    bool isSelected(int row) const;
    // The selected rows in list order, and their number, without visiting every entry.
    std::vector<int> selectedRows() const;
    int selectedCount() const;
    // The row that stands for the selection: the current row when it is selected, else the
    // first selected one, else the current row (a Ctrl-click may leave nothing selected); -1
    // for none.
    int selectedRow() const;
    int currentRow() const { return currentIndex().row(); }
    // Makes row the only selected and the current entry; -1 leaves nothing selected.
    void selectOnly(int row);
    void clear();

signals:
    void itemSelectionChanged();

private:
    ItemListModel model_;
};

// The texts of the selected entries, in list order.
std::vector<std::string> SelectedNames(const ItemListView &list);
