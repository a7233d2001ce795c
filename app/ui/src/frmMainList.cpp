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
void AddFilterNames(QComboBox &filter, const std::function<bool(NameArray &)> &listing) {
    NameArray names;
    if (RunListing([&] { return listing(names); })) ShowOperationErrors();
    for (const std::string &name : names) filter.addItem(QString::fromStdString(name));
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
        CurrentItem_ = nullptr;
        ui->lstItems->setHeaderLabel(QString::fromStdString(ItemStrings[ViewType_][0]) +
                                     QStringLiteral("(s)"));
        FillItems(ui->cboFilter->currentText().toStdString());
    }
    QTreeWidgetItem *selected = SelectedItem(*ui->lstItems);
    if (selected == nullptr) {
        ui->cmdRelations->setEnabled(false);
        ClearDetails();
        ui->fraDetails->setEnabled(false);
        SelCount_ = 0;
    } else {
        ui->fraDetails->setEnabled(true);
        ShowItemDetails(selected->text(0), ViewType_);
        ui->cmdRelations->setEnabled(true);
        SelCount_ = 1;
        ui->lstItems->setFocus();
    }
    CurrentItem_ = selected;
    ui->cmdApply->setEnabled(false);
    ui->cmdDiscard->setEnabled(false);
    ShowOutOfStepWarning();
}

// The users of the filter's group, or the groups of the filter's user; without a filter the
// groups view lists the local groups, then the global ones.
void frmMain::FillItems(const std::string &filter) {
    QTreeWidget &list = *ui->lstItems;
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
    QComboBox &filter = *ui->cboFilter;
    filter.clear();
    if (ViewType_ == kUsersType) {
        filter.addItem(QString::fromLatin1(kAllUsers));
        if (OpenItemData(kGroupsType)) {
            for (const int32_t groupType : {kLocalGroup, kGlobalGroup}) {
                AddFilterNames(filter, [groupType](NameArray &names) {
                    return gData->Group().GetByType(groupType, names);
                });
            }
        }
    } else {
        filter.addItem(QString::fromLatin1(kAllGroups));
        if (OpenItemData(kUsersType)) {
            AddFilterNames(filter, [](NameArray &names) { return gData->User().GetAll(names); });
        }
    }
    filter.setCurrentIndex(0);
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
    if (QTreeWidgetItem *clicked = ui->lstItems->currentItem()) lstItems_ItemClick(clicked);
}

// A click only re-arms the timer: a Shift or Ctrl selection of many items is handled once,
// when the clicks have stopped.
void frmMain::lstItems_ItemClick(QTreeWidgetItem *item) {
    const QSignalBlocker quiet(ui->lstItems);
    if (IgnoreNextClick_) {
        item->setSelected(false);
        IgnoreNextClick_ = false;
        return;
    }
    if (item != CurrentItem_ && !LoseChangesConfirmed()) {
        item->setSelected(false);
        if (CurrentItem_ != nullptr) {
            ui->lstItems->setCurrentItem(CurrentItem_, 0, QItemSelectionModel::Select);
        }
        IgnoreNextClick_ = true;
        return;
    }
    CurrentItem_ = item;
    timListUpdate_.stop();
    timListUpdate_.start();
}

void frmMain::timListUpdate_Timer() {
    timListUpdate_.stop();
    SelCount_ = static_cast<int>(ui->lstItems->selectedItems().size());
    if (SelCount_ >= 2) {
        // Whatever is entered now applies to every selected item.
        ClearDetails();
        MarkDetailsClean();
        SameTypeSelected(*ui->lstItems);
    } else if (QTreeWidgetItem *selected = SelectedItem(*ui->lstItems)) {
        ShowItemDetails(selected->text(0), ViewType_);
    }
}
