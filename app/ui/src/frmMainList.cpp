// The main window's item list: the membership filter, the list of the current view, the
// deferred handling of a selection and the display of the selected item.
#include "ui/frmMain.h"

#include "ui_frmMain.h"

#include "accounts/clsGroup.h"
#include "accounts/clsUser.h"
#include "dataops/ItemList.h"
#include "dataops/ItemLists.h"
#include "store/ProgramValues.h"
#include "ui/modDeclare.h"
#include "ui/modMain.h"

#include <QLocale>
#include <QSignalBlocker>

#include <functional>

namespace {

// Adds the names a listing of the store gives back, each with the icon of its kind; a failure
// is shown and leaves the names that came back.
void AddFilterNames(ItemListModel &filter, ItemIcon icon,
                    const std::function<bool(NameArray &)> &listing) {
    NameArray names;
    if (RunListing([&] { return listing(names); })) ShowOperationErrors();
    const std::vector<ItemIcon> icons(static_cast<std::size_t>(names.Count()), icon);
    filter.append(std::move(names), icons);
}

}  // namespace

void frmMain::UpdateMainView(bool refill) {
    if (refill) {
        FillFilterList();
        cboFilter_Click();  // choosing the first filter entry shows its list
    }
    ui->lblFilter->setText(ViewType_ == kUsersType ? QStringLiteral("Filter by Group Membership:")
                                                   : QStringLiteral("Filter by User in Groups:"));
    {
        const QSignalBlocker quiet(ui->lstItems);  // filling is not a selection by the user
        ui->lstItems->clear();
        CurrentItem_ = QPersistentModelIndex();
        ui->lstItems->entries().setHeader(QString::fromStdString(ItemStrings[ViewType_][0]) +
                                          QStringLiteral("(s)"));
        ShowAccountColumns(*ui->lstItems, ViewType_);
        FillItems(ui->cboFilter->currentText().toStdString());
    }
    const int selected = ui->lstItems->selectedRow();
    if (selected < 0) {
        ShowEmptyList();
    } else {
        ui->fraDetails->setEnabled(true);
        ShowItemDetails(ui->lstItems->text(selected), ViewType_);
        ui->cmdRelations->setEnabled(true);
        SetSelCount(1);
        ui->lstItems->setFocus();
    }
    CurrentItem_ = ui->lstItems->currentIndex();
    ui->cmdApply->setEnabled(false);
    ui->cmdDiscard->setEnabled(false);
    ShowOutOfStepWarning();
}

// The users of the filter's group, or the groups of the filter's user; without a filter the
// groups view lists the local groups, then the global ones.
void frmMain::FillItems(const std::string &filter) {
    ItemListView &list = *ui->lstItems;
    const std::string localIcon = ItemIcons(kGroupsType, kLocalGroup);
    const std::string globalIcon = ItemIcons(kGroupsType, kGlobalGroup);
    if (ViewType_ == kUsersType) {
        ListItemsByFilter(list, kUsersType, false, filter, ItemIcons(kUsersType));
    } else if (filter == kAllGroups) {
        ListItemsByFilter(list, kGroupsType, false, kAllGroups, localIcon);
        ListItemsByFilter(list, kGroupsType, true, kAllGroups, globalIcon);
    } else {
        ListItemsByFilter(list, kGroupsType, true, filter, globalIcon);
    }
}

// The first entry lists everything; the store adds the groups (users view: local, then global)
// or the users (groups view) that the list can be filtered by.
void frmMain::FillFilterList() {
    const QSignalBlocker quiet(ui->cboFilter);
    ItemListModel &filter = *filterNames_;
    filter.clear();
    if (ViewType_ == kUsersType) {
        filter.append({kAllUsers}, {});
        if (OpenItemData(kGroupsType)) {
            for (const int32_t groupType : {kLocalGroup, kGlobalGroup}) {
                AddFilterNames(filter, GroupIcon(groupType), [groupType](NameArray &names) {
                    return gData->Group().GetByType(groupType, names);
                });
            }
        }
    } else {
        filter.append({kAllGroups}, {});
        if (OpenItemData(kUsersType)) {
            AddFilterNames(filter, ItemIcon::User,
                           [](NameArray &names) { return gData->User().GetAll(names); });
        }
    }
    ui->cboFilter->setCurrentIndex(0);
}

void frmMain::cboFilter_Click() { UpdateMainView(false); }

// Nothing to show: no details, no relationships.
void frmMain::ShowEmptyList() {
    ui->cmdRelations->setEnabled(false);
    ClearDetails();
    ui->fraDetails->setEnabled(false);
    SetSelCount(0);
}

// The list shows the entries whose names hold the text. A search that would leave out an entry
// whose unapplied edits the panel holds asks first, and is taken back when they are kept.
void frmMain::txtSearch_Change(const QString &text) {
    ItemListView &list = *ui->lstItems;
    const bool hidesSelected = list.entries().searchHidesAny(text, list.selectedRows());
    if (hidesSelected && !LoseChangesConfirmed()) {
        const QSignalBlocker quiet(ui->txtSearch);
        ui->txtSearch->setText(list.entries().search());
        return;
    }
    {
        const QSignalBlocker quiet(list);  // a search is no click
        list.entries().setSearch(text);
    }
    // The selected entries still shown stay selected, and the panel with them.
    if (!hidesSelected && list.selectedCount() > 0) return;
    ShowSearchedList();
}

// After a search left out selected entries, or brought entries back to an empty list: what
// is still selected is taken up as a selection is, else the first entry as after a fill. The
// search box keeps the focus while the administrator types.
void frmMain::ShowSearchedList() {
    ItemListView &list = *ui->lstItems;
    if (list.count() == 0) {
        ShowEmptyList();
        return;
    }
    if (list.selectedCount() == 0) SelectOnly(0);
    CurrentItem_ = list.currentIndex();
    ui->fraDetails->setEnabled(true);
    ui->cmdRelations->setEnabled(true);
    const bool typing = ui->txtSearch->hasFocus();
    timListUpdate_Timer();
    if (typing) ui->txtSearch->setFocus();
}

// Quietly: the list is about to be filled again.
void frmMain::ClearSearch() {
    const QSignalBlocker quiet(ui->txtSearch);
    ui->txtSearch->clear();
    const QSignalBlocker quietList(*ui->lstItems);
    ui->lstItems->entries().setSearch({});
}

void frmMain::ShowItemDetails(const QString &name, int type) {
    gData->LastErr().Refresh();
    Updating_ = true;
    ClearDetails();
    FillDetails(name, type);
    Updating_ = false;
    MarkDetailsClean();
    ShowOutOfStepWarning();
    if (ui->lstItems->isVisible()) ui->lstItems->setFocus();
    repaint();
}

void frmMain::lstItems_SelectionChanged() {
    const QModelIndex clicked = ui->lstItems->currentIndex();
    if (clicked.isValid()) lstItems_ItemClick(clicked);
}

// A click only re-arms the timer: a Shift or Ctrl selection of many items is handled once,
// when the clicks have stopped. A click that would drop unapplied edits, and is refused, puts
// back the selection the edits are for; the next click is handled as any other.
void frmMain::lstItems_ItemClick(const QModelIndex &item) {
    const QSignalBlocker quiet(ui->lstItems);
    if (item != CurrentItem_ && !LoseChangesConfirmed()) {
        QItemSelectionModel &selection = *ui->lstItems->selectionModel();
        selection.select(EditedSelection_, QItemSelectionModel::ClearAndSelect);
        selection.setCurrentIndex(CurrentItem_, QItemSelectionModel::NoUpdate);
        return;
    }
    CurrentItem_ = item;
    timListUpdate_.stop();
    timListUpdate_.start();
}

void frmMain::timListUpdate_Timer() {
    timListUpdate_.stop();
    SetSelCount(ui->lstItems->selectedCount());
    if (SelCount_ >= 2) {
        ShowSeveralItems();
    } else if (const int selected = ui->lstItems->selectedRow(); selected >= 0) {
        ShowItemDetails(ui->lstItems->text(selected), ViewType_);
    }
}

// "37 Domain Users selected", in the item word of the view.
void frmMain::SetSelCount(int count) {
    SelCount_ = count;
    const bool several = count >= 2;
    if (!several) FlagsPending_ = false;
    ui->lblSelCount->setVisible(several);
    if (several) {
        ui->lblSelCount->setText(QLocale().toString(count) + QLatin1Char(' ') +
                                 QString::fromStdString(ItemStrings[ViewType_][0]) +
                                 QStringLiteral("s selected"));
    }
}

// Whatever is entered now applies to every selected item. The check boxes show the users'
// flags, where they agree, once they are read.
void frmMain::ShowSeveralItems() {
    ClearDetails();
    MarkDetailsClean();
    SameTypeSelected(*ui->lstItems);
    FlagsPending_ = ViewType_ == kUsersType;
    ReadFlagsWhenShown();
}
