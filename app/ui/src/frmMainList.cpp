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

#include <QSignalBlocker>

#include <functional>

namespace {

// Adds the names a listing of the store gives back; a failure is shown and leaves the names
// that came back.
void AddFilterNames(ItemListModel &filter, const std::function<bool(NameArray &)> &listing) {
    NameArray names;
    if (RunListing([&] { return listing(names); })) ShowOperationErrors();
    filter.append(std::move(names), {});
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
        FillItems(ui->cboFilter->currentText().toStdString());
    }
    const int selected = ui->lstItems->selectedRow();
    if (selected < 0) {
        ui->cmdRelations->setEnabled(false);
        ClearDetails();
        ui->fraDetails->setEnabled(false);
        SelCount_ = 0;
    } else {
        ui->fraDetails->setEnabled(true);
        ShowItemDetails(ui->lstItems->text(selected), ViewType_);
        ui->cmdRelations->setEnabled(true);
        SelCount_ = 1;
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
                AddFilterNames(filter, [groupType](NameArray &names) {
                    return gData->Group().GetByType(groupType, names);
                });
            }
        }
    } else {
        filter.append({kAllGroups}, {});
        if (OpenItemData(kUsersType)) {
            AddFilterNames(filter, [](NameArray &names) { return gData->User().GetAll(names); });
        }
    }
    ui->cboFilter->setCurrentIndex(0);
}

void frmMain::cboFilter_Click() { UpdateMainView(false); }

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
    SelCount_ = ui->lstItems->selectedCount();
    if (SelCount_ >= 2) {
        // Whatever is entered now applies to every selected item.
        ClearDetails();
        MarkDetailsClean();
        SameTypeSelected(*ui->lstItems);
    } else if (const int selected = ui->lstItems->selectedRow(); selected >= 0) {
        ShowItemDetails(ui->lstItems->text(selected), ViewType_);
    }
}
