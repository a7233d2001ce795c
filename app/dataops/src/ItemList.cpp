#include "dataops/ItemList.h"

#include "dataops/NaturalOrder.h"

#include <QHeaderView>
#include <QItemSelectionModel>

#include <algorithm>
#include <array>
#include <utility>

namespace {

// The keys by icon, in the order of ItemIcon; None has no key.
constexpr std::array<const char *, 4> kIconKeys{"", "SUser", "SGroupLocal", "SGroupGlobal"};

// The selected rows as ranges of first and last row, in list order and without overlaps.
std::vector<std::pair<int, int>> selectedRanges(const QItemSelectionModel &selection) {
    std::vector<std::pair<int, int>> ranges;
    for (const QItemSelectionRange &range : selection.selection()) {
        ranges.emplace_back(range.top(), range.bottom());
    }
    std::sort(ranges.begin(), ranges.end());
    std::vector<std::pair<int, int>> merged;
    for (const auto &[top, bottom] : ranges) {
        if (!merged.empty() && top <= merged.back().second + 1) {
            merged.back().second = std::max(merged.back().second, bottom);
        } else {
            merged.emplace_back(top, bottom);
        }
    }
    return merged;
}

}  // namespace

std::string ItemIcons(int type, int groupKind) {
    if (type == kUsersType) return "SUser";
    return groupKind == kGlobalGroup ? "SGroupGlobal" : "SGroupLocal";
}

ItemIcon GroupIcon(int32_t isGlobal) {
    return isGlobal != 0 ? ItemIcon::GlobalGroup : ItemIcon::LocalGroup;
}

ItemIcon IconOfKey(const std::string &key) {
    for (std::size_t i = 1; i < kIconKeys.size(); ++i) {
        if (key == kIconKeys[i]) return static_cast<ItemIcon>(i);
    }
    return ItemIcon::None;
}

QString KeyOfIcon(ItemIcon icon) {
    return QString::fromLatin1(kIconKeys.at(static_cast<std::size_t>(icon)));
}

const QIcon &SmallIcon(ItemIcon icon) {
    // Drawing an icon from its picture costs far more than painting it, so every entry of a
    // kind shares one. Made on first use and kept to the end: Qt's image plugins may be gone
    // by the time static objects are destroyed.
    static const auto *const icons = new std::array<QIcon, 4>{
        QIcon(), QIcon(QStringLiteral(":/icons/SUser.svg")),
        QIcon(QStringLiteral(":/icons/SGroupLocal.svg")),
        QIcon(QStringLiteral(":/icons/SGroupGlobal.svg"))};
    return icons->at(static_cast<std::size_t>(icon));
}

QIcon imlSmallList(const QString &key) { return SmallIcon(IconOfKey(key.toStdString())); }

int ItemListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int ItemListModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : 1 + static_cast<int>(columnCaptions_.size());
}

QVariant ItemListModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (index.column() > 0) {
        return role == Qt::DisplayRole ? QVariant(columnText(index.row(), index.column()))
                                       : QVariant();
    }
    switch (role) {
        case Qt::DisplayRole: return QString::fromStdString(name(index.row()));
        case Qt::DecorationRole: return SmallIcon(icon(index.row()));
        case kIconKeyRole: return KeyOfIcon(icon(index.row()));
        default: return {};
    }
}

QVariant ItemListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section == 0) return header_;
    return section <= columnCaptions_.size() ? QVariant(columnCaptions_.at(section - 1))
                                             : QVariant();
}

QString ItemListModel::columnText(int row, int column) const {
    if (!columnTexts_) return {};
    const QStringList texts = columnTexts_(name(row), icon(row));
    return column - 1 < texts.size() ? texts.at(column - 1) : QString();
}

void ItemListModel::setHeader(const QString &caption) {
    header_ = caption;
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}

bool ItemListModel::setColumns(const QStringList &captions, ColumnTexts texts, ColumnKeys keys) {
    columnKeys_ = std::move(keys);
    if (captions == columnCaptions_) {
        columnTexts_ = std::move(texts);
        columnsChanged();
        return false;
    }
    beginResetModel();
    columnCaptions_ = captions;
    columnTexts_ = std::move(texts);
    if (sortColumn_ >= columnCount()) sortColumn_ = -1;
    endResetModel();
    return true;
}

void ItemListModel::columnsChanged() {
    if (rowCount() > 0 && columnCount() > 1) {
        emit dataChanged(index(0, 1), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
    }
}

void ItemListModel::clear() {
    beginResetModel();
    names_.clear();
    icons_.clear();
    order_.clear();
    shown_.clear();
    folded_.clear();
    endResetModel();
}

void ItemListModel::append(NameArray names, const std::vector<ItemIcon> &icons) {
    if (names.Count() == 0) return;
    std::vector<std::string> added = names.TakeItems();
    icons_.reserve(icons_.size() + added.size());
    for (std::size_t i = 0; i < added.size(); ++i) {
        icons_.push_back(i < icons.size() ? icons[i] : ItemIcon::None);
    }
    // Unsorted and unsearched, the new entries are new rows at the end; otherwise they take
    // their places among the others.
    if (sortColumn_ < 0 && search_.isEmpty()) {
        const auto first = static_cast<int>(names_.size());
        beginInsertRows({}, first, first + static_cast<int>(added.size()) - 1);
        appendNames(std::move(added));
        for (int entry = first; entry < static_cast<int>(names_.size()); ++entry) {
            order_.push_back(entry);
            shown_.push_back(entry);
        }
        endInsertRows();
        return;
    }
    appendNames(std::move(added));
    order_ = ordered();
    showEntries();
}

void ItemListModel::appendNames(std::vector<std::string> added) {
    if (names_.empty()) {
        names_ = std::move(added);
    } else {
        names_.insert(names_.end(), std::make_move_iterator(added.begin()),
                      std::make_move_iterator(added.end()));
    }
}

int ItemListModel::findName(const QString &name) const {
    for (int row = 0; row < rowCount(); ++row) {
        if (QString::fromStdString(this->name(row)).compare(name, Qt::CaseInsensitive) == 0) {
            return row;
        }
    }
    return -1;
}

void ItemListModel::sort(int column, Qt::SortOrder order) {
    sortColumn_ = column < columnCount() ? column : -1;
    sortOrder_ = order;
    order_ = ordered();
    showEntries();
}

std::vector<int32_t> ItemListModel::ordered() const {
    std::vector<int32_t> entries(names_.size());
    for (std::size_t entry = 0; entry < entries.size(); ++entry) {
        entries[entry] = static_cast<int32_t>(entry);
    }
    if (sortColumn_ < 0) return entries;
    // Other columns are read once each, before sorting.
    std::vector<std::string> keys;
    if (sortColumn_ > 0 && columnKeys_) {
        keys = columnKeys_(sortColumn_ - 1, names_);
        if (keys.size() != names_.size()) keys.clear();  // unreadable: by name alone
    } else if (sortColumn_ > 0 && columnTexts_) {
        keys.reserve(names_.size());
        for (std::size_t entry = 0; entry < names_.size(); ++entry) {
            keys.push_back(
                columnTexts_(names_[entry], icons_[entry]).value(sortColumn_ - 1).toStdString());
        }
    }
    const auto before = [&](int32_t a, int32_t b) {
        if (!keys.empty()) {
            if (const int order = NaturalCompare(keys[a], keys[b]); order != 0) return order < 0;
        }
        return NaturalCompare(names_[a], names_[b]) < 0;
    };
    std::stable_sort(entries.begin(), entries.end(), [&](int32_t a, int32_t b) {
        return sortOrder_ == Qt::AscendingOrder ? before(a, b) : before(b, a);
    });
    return entries;
}

void ItemListModel::setSearch(const QString &text) {
    if (text == search_) return;
    search_ = text;
    showEntries();
    emit searchChanged(search_);
}

bool ItemListModel::matches(std::size_t entry, const std::string &foldedText) const {
    if (foldedText.empty()) return true;
    if (folded_.size() < names_.size()) {
        folded_.reserve(names_.size());
        for (std::size_t i = folded_.size(); i < names_.size(); ++i) {
            folded_.push_back(FoldedForSearch(names_[i]));
        }
    }
    return folded_[entry].find(foldedText) != std::string::npos;
}

bool ItemListModel::searchHidesAny(const QString &text, const std::vector<int> &rows) const {
    const std::string foldedText = FoldedForSearch(text.toStdString());
    return std::any_of(rows.begin(), rows.end(),
                       [&](int row) { return !matches(entry(row), foldedText); });
}

int ItemListModel::findEntry(const QString &text) const {
    if (text.isEmpty()) return -1;
    for (const int32_t entry : order_) {
        if (QString::fromStdString(names_[entry]).compare(text, Qt::CaseInsensitive) == 0) {
            return entry;
        }
    }
    const std::string foldedText = FoldedForSearch(text.toStdString());
    for (const int32_t entry : order_) {
        if (matches(entry, foldedText)) return entry;
    }
    return -1;
}

int ItemListModel::rowOfEntry(int entry) const {
    const auto found = std::find(shown_.begin(), shown_.end(), entry);
    return found != shown_.end() ? static_cast<int>(found - shown_.begin()) : -1;
}

void ItemListModel::showEntries() {
    std::vector<int32_t> entries = order_;
    const std::string foldedSearch = FoldedForSearch(search_.toStdString());
    if (!foldedSearch.empty()) {
        std::erase_if(entries, [&](int32_t entry) { return !matches(entry, foldedSearch); });
    }
    emit layoutAboutToBeChanged();
    // Persistent indexes (the selection, the current row) follow their entries.
    std::vector<int> rowOf(names_.size(), -1);
    for (std::size_t row = 0; row < entries.size(); ++row) {
        rowOf[static_cast<std::size_t>(entries[row])] = static_cast<int>(row);
    }
    const std::vector<int32_t> previous = std::exchange(shown_, std::move(entries));
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &old : before) {
        const auto oldRow = static_cast<std::size_t>(old.row());
        const int row = oldRow < previous.size() ? rowOf[previous[oldRow]] : -1;
        after.push_back(row >= 0 ? index(row, old.column()) : QModelIndex());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

ItemListView::ItemListView(QWidget *parent) : QTreeView(parent), model_(this) {
    setModel(&model_);
    setRootIsDecorated(false);
    setUniformRowHeights(true);  // rows are laid out without asking each one its height
    setItemsExpandable(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    header()->setSortIndicatorClearable(true);  // a third click restores the list's own order
    header()->setSortIndicator(-1, Qt::AscendingOrder);
    setSortingEnabled(true);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ItemListView::itemSelectionChanged);
}

bool ItemListView::isSelected(int row) const {
    return selectionModel()->isSelected(model_.index(row, 0));
}

std::vector<int> ItemListView::selectedRows() const {
    std::vector<int> rows;
    for (const auto &[top, bottom] : selectedRanges(*selectionModel())) {
        for (int row = top; row <= bottom; ++row) rows.push_back(row);
    }
    return rows;
}

int ItemListView::selectedCount() const {
    int count = 0;
    for (const auto &[top, bottom] : selectedRanges(*selectionModel())) count += bottom - top + 1;
    return count;
}

int ItemListView::selectedRow() const {
    const int current = currentRow();
    if (current >= 0 && isSelected(current)) return current;
    const auto ranges = selectedRanges(*selectionModel());
    return ranges.empty() ? current : ranges.front().first;
}

void ItemListView::selectOnly(int row) {
    selectionModel()->clearSelection();
    if (row >= 0) {
        selectionModel()->setCurrentIndex(
            model_.index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
}

void ItemListView::clear() { model_.clear(); }

std::vector<std::string> SelectedNames(const ItemListView &list) {
    std::vector<std::string> names;
    for (const int row : list.selectedRows()) names.push_back(list.entries().name(row));
    return names;
}
