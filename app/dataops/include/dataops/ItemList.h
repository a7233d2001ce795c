// Entries of the item lists: an account name with the small icon of its kind. The icon key
// is kept with the entry, because the key is how the windows tell the kinds apart.
//
// The lists are views over a model that holds the names as the store gave them and one small
// number per entry for its icon, so that a list of a million accounts costs little more than
// its names, and every entry of a kind paints the same shared icon.
#pragma once

#include "accounts/OneBasedArray.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <QString>
#include <QStringList>
#include <QTreeView>

#include <cstdint>
#include <functional>
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

// The entries of one list. The entries keep the order they were added in; the rows are the
// entries shown, in the order shown: sorted when a column was chosen to sort by, and only those
// whose name holds the search text while there is one. Rows count from 0. Columns beside the
// name, when the list has them, are read when they are shown, so that they are never stale.
class ItemListModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kIconKeyRole = Qt::UserRole;
    // The texts of the columns beside the name of one entry, in column order.
    using ColumnTexts = std::function<QStringList(const std::string &name, ItemIcon icon)>;
    // The texts of one column (0 is the first beside the name) for every name, in their order,
    // read at once: sorting a long list entry by entry would read the accounts one at a time.
    using ColumnKeys =
        std::function<std::vector<std::string>(int column, const std::vector<std::string> &names)>;

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Names sort naturally (user2 before user10), other columns by their text and then by name;
    // column -1 restores the order the entries were added in. Rows keep their selection.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    void setHeader(const QString &caption);
    // The captions and texts of the columns beside the name; no captions, no such columns.
    // True when the captions changed.
    bool setColumns(const QStringList &captions, ColumnTexts texts, ColumnKeys keys = {});
    // Shows the columns beside the name afresh, after the accounts behind them changed.
    void columnsChanged();
    void clear();
    // Appends the names, each with the icon at the same position (or None past the icons).
    void append(NameArray names, const std::vector<ItemIcon> &icons);

    const std::string &name(int row) const { return names_.at(entry(row)); }
    ItemIcon icon(int row) const { return icons_.at(entry(row)); }
    // The first row whose name equals name, compared without regard to case as the SAM
    // compares names; -1 when there is none.
    int findName(const QString &name) const;

    // Shows only the entries whose name holds text, without regard to case; empty text shows
    // them all. The rows still shown keep their selection.
    void setSearch(const QString &text);
    const QString &search() const { return search_; }
    // Whether the search text would leave any of the rows out.
    bool searchHidesAny(const QString &text, const std::vector<int> &rows) const;
    // The first entry in the order shown (hidden ones included) whose name equals text, else
    // the first whose name holds it, without regard to case; -1 for none or for empty text.
    int findEntry(const QString &text) const;
    // The row that shows the entry; -1 while the search hides it.
    int rowOfEntry(int entry) const;

signals:
    void searchChanged(const QString &text);

private:
    std::size_t entry(int row) const {
        return static_cast<std::size_t>(shown_.at(static_cast<std::size_t>(row)));
    }
    // The entries in the order chosen, sorted afresh.
    std::vector<int32_t> ordered() const;
    bool matches(std::size_t entry, const std::string &foldedText) const;
    void appendNames(std::vector<std::string> added);
    // Makes the rows show the entries of order_ that the search leaves, carrying selections
    // and the current row along.
    void showEntries();
    QString columnText(int row, int column) const;

    std::vector<std::string> names_;
    std::vector<ItemIcon> icons_;
    std::vector<int32_t> order_;  // every entry, in the order chosen
    std::vector<int32_t> shown_;  // the entry of each row
    mutable std::vector<std::string> folded_;  // names as the search compares them, made on use
    QString header_;
    QStringList columnCaptions_;
    ColumnTexts columnTexts_;
    ColumnKeys columnKeys_;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    QString search_;
};

// A list view of its own entries, with the header captions, multiple selection of whole rows
// and small icons; a click on a header sorts by that column. It says itemSelectionChanged()
// whenever its selection changes, so that blocking the view's signals quiets changes made by
// the program.
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
