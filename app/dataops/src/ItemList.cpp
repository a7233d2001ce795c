#include "dataops/ItemList.h"

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
    return parent.isValid() ? 0 : static_cast<int>(names_.size());
}

QVariant ItemListModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    switch (role) {
        case Qt::DisplayRole: return QString::fromStdString(name(index.row()));
        case Qt::DecorationRole: return SmallIcon(icon(index.row()));
        case kIconKeyRole: return KeyOfIcon(icon(index.row()));
        default: return {};
    }
}

QVariant ItemListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (section != 0 || orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return header_;
}

void ItemListModel::setHeader(const QString &caption) {
    header_ = caption;
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}

void ItemListModel::clear() {
    beginResetModel();
    names_.clear();
    icons_.clear();
    endResetModel();
}

void ItemListModel::append(NameArray names, const std::vector<ItemIcon> &icons) {
    if (names.Count() == 0) return;
    const auto first = static_cast<int>(names_.size());
    beginInsertRows({}, first, first + static_cast<int>(names.Count()) - 1);
    std::vector<std::string> added = names.TakeItems();
    icons_.reserve(icons_.size() + added.size());
    for (std::size_t i = 0; i < added.size(); ++i) {
        icons_.push_back(i < icons.size() ? icons[i] : ItemIcon::None);
    }
    if (names_.empty()) {
        names_ = std::move(added);
    } else {
        names_.insert(names_.end(), std::make_move_iterator(added.begin()),
                      std::make_move_iterator(added.end()));
    }
    endInsertRows();
}

int ItemListModel::findName(const QString &name) const {
    for (std::size_t row = 0; row < names_.size(); ++row) {
        if (QString::fromStdString(names_[row]).compare(name, Qt::CaseInsensitive) == 0) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

ItemListView::ItemListView(QWidget *parent) : QTreeView(parent), model_(this) {
    setModel(&model_);
    setRootIsDecorated(false);
    setUniformRowHeights(true);  // rows are laid out without asking each one its height
    setItemsExpandable(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
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
        selectionModel()->setCurrentIndex(model_.index(row, 0),
                                          QItemSelectionModel::ClearAndSelect);
    }
}

void ItemListView::clear() { model_.clear(); }

std::vector<std::string> SelectedNames(const ItemListView &list) {
    std::vector<std::string> names;
    for (const int row : list.selectedRows()) names.push_back(list.entries().name(row));
    return names;
}
