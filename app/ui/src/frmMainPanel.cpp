// The properties panel: its controls, their change marks (a control edited since the last
// display carries the mark 1, every other one "0"), the password rules, the logon-hours
// buttons, Browse, Apply and Discard.
#include "ui/frmMain.h"

#include "ui_frmMain.h"

#include "accounts/AccountTime.h"
#include "dataops/ChangeMark.h"
#include "dataops/ItemDetails.h"
#include "dataops/ItemList.h"
#include "dataops/ItemLists.h"
#include "dataops/LogonHours.h"
#include "dataops/SnapshotWrites.h"
#include "status/MsgBox.h"
#include "store/ProgramValues.h"
#include "ui/AppInfo.h"
#include "ui/CalendarPopup.h"
#include "ui/HoursGrid.h"
#include "ui/OperationProgress.h"
#include "ui/PasswordRules.h"
#include "ui/frmRelations.h"
#include "ui/modDeclare.h"
#include "ui/modMain.h"

#include <QApplication>
#include <QFocusEvent>

#include <algorithm>
#include <array>
#include <functional>
#include <initializer_list>
#include <optional>
#include <utility>

namespace {

// Gives labels that stand in separate frames one column width, so their fields line up.
void AlignLabelColumn(std::initializer_list<QLabel *> labels) {
    int width = 0;
    for (const QLabel *label : labels) width = std::max(width, label->sizeHint().width());
    for (QLabel *label : labels) label->setMinimumWidth(width);
}

// Calls back when the control loses the keyboard focus to another control of its window; the
// window itself losing the focus (to a message box, say) does not count.
class FocusLossWatcher final : public QObject {
public:
    FocusLossWatcher(QWidget &control, std::function<void()> onLoss)
        : QObject(&control), onLoss_(std::move(onLoss)) {
        control.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
                onLoss_();
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> onLoss_;
};

UserDetailControls UserPanel(Ui::frmMain &ui) {
    return {*ui.txtUserFullName,   *ui.txtUserComment,     *ui.txtUserHomeDir,
            *ui.txtUserScript,     *ui.txtUserProfile,     *ui.txtUserAcctExp,
            *ui.txtUserLastLogon,  *ui.txtUserLastLogoff,  *ui.flxUserHours,
            *ui.txtChangePassword, *ui.txtConfirmPassword, *ui.chkUserPassMust,
            *ui.chkUserPassCant,   *ui.chkUserPassNever,   *ui.chkUserAcctDisable,
            *ui.chkUserAcctLocked, *ui.lblUserPassAgeNum};
}

GroupDetailControls GroupPanel(Ui::frmMain &ui) { return {*ui.txtGrpType, *ui.txtGrpComment}; }

// Whether the selection may be worked on as one; a mixed one is reported by the check. One
// entry is always of one kind, whatever the check says.
bool OneKindSelected(const ItemListView &list, int selCount) {
    return SameTypeSelected(list) || selCount < 2;
}

// The test the user object applies when the date is written: a date, and one the account's
// expiry can hold.
bool IsExpiryDate(const QString &text) {
    const std::optional<DateTime> moment = ParseDateTime(text.toStdString());
    return moment && AccountSecondsOf(*moment);
}

}  // namespace

void frmMain::SetupPanel() {
    SetupHoursGrid(*ui->flxUserHours);
    AlignLabelColumn({ui->lblUserAcctExp, ui->lblUserLastLogon, ui->lblUserLastLogoff,
                      ui->lblUserFullName, ui->lblUserComment, ui->lblUserHomeDir,
                      ui->lblUserScript, ui->lblUserProfile});
    AlignLabelColumn({ui->lblUserPassAge, ui->lblChangePassword, ui->lblConfirmPassword});
    for (QLineEdit *password : {ui->txtChangePassword, ui->txtConfirmPassword}) {
        password->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));  // '*'
    }
}

void frmMain::ConnectPanel() {
    for (QLineEdit *field :
         {ui->txtUserFullName, ui->txtUserComment, ui->txtUserHomeDir, ui->txtUserScript,
          ui->txtUserProfile, ui->txtUserAcctExp, ui->txtChangePassword, ui->txtConfirmPassword,
          ui->txtGrpComment}) {
        connect(field, &QLineEdit::textChanged, this, [this, field] { MarkChanged(field); });
    }
    // A check box marks itself also when code sets its value, as a click would.
    for (QCheckBox *box : {ui->chkUserAcctDisable, ui->chkUserAcctLocked, ui->chkUserPassMust,
                           ui->chkUserPassCant, ui->chkUserPassNever}) {
        connect(box, &QCheckBox::stateChanged, this, [this, box] { MarkChanged(box); });
    }
    // Made after the marks are connected: a box is marked before the rules change the others.
    passwordRules_ = new PasswordRules(*ui->chkUserPassMust, *ui->chkUserPassCant,
                                       *ui->chkUserPassNever, this);
    // Nothing locks an account here: the box only clears a lockout.
    ui->chkUserAcctLocked->SetClearOnly(true);
    connect(tabDetails[kUsersType], &QTabWidget::currentChanged, this,
            &frmMain::ReadFlagsWhenShown);
    new FocusLossWatcher(*ui->txtUserAcctExp,
                         [this] { txtUserAcctExp_LostFocus(); });  // owned by the field
    new CalendarPopup(*ui->txtUserAcctExp);                        // owned by the field
    connect(ui->cmdUserSet, &QPushButton::clicked, this, [this] { SetSelectedHours(kAllowedHour); });
    connect(ui->cmdUserClear, &QPushButton::clicked, this,
            [this] { SetSelectedHours(kDeniedHour); });
    connect(ui->cmdUserScriptBrowse, &QPushButton::clicked, this,
            &frmMain::cmdUserScriptBrowse_Click);
    connect(ui->cmdApply, &QPushButton::clicked, this, &frmMain::cmdApply_Click);
    connect(ui->cmdDiscard, &QPushButton::clicked, this, &frmMain::cmdDiscard_Click);
    connect(ui->cmdRelations, &QPushButton::clicked, this, &frmMain::cmdRelations_Click);
}

void frmMain::FillDetails(const QString &name, int type) {
    if (type == kUsersType) {
        ShowUserDetails(UserPanel(*ui), name.toStdString(), LogonRetry());
    } else {
        ShowGroupDetails(GroupPanel(*ui), name.toStdString(), LogonRetry());
    }
}

void frmMain::ShowSelectedFlags() {
    FlagsPending_ = false;
    const std::vector<std::string> selected = SelectedNames(*ui->lstItems);
    if (!OpenItemData(kUsersType)) return;
    gData->LastErr().Refresh();
    UserFlagTally tally;
    OperationCount count;
    {
        OperationProgress progress(*this, QStringLiteral("Password Control"),
                                   QStringLiteral("Reading the flags of "), ProgressDelay_,
                                   [this] { return NewLogon(); });
        count = TallyUserFlags(selected, progress, tally);
    }
    Updating_ = true;
    passwordRules_->WithoutRules([&] { ShowUserFlags(UserPanel(*ui), tally, count.total); });
    Updating_ = false;
    // Cancelled, the boxes show the accounts as differing: each keeps its own flags.
    if (count.failed > 0) ShowOperationReport(count);
}

void frmMain::ReadFlagsWhenShown() {
    if (FlagsPending_ && tabDetails[kUsersType]->currentWidget() == ui->tabUserPassword) {
        ShowSelectedFlags();
    }
}

void frmMain::MarkChanged(QWidget *control) {
    if (Updating_ || !ChangesAllowed_) return;
    if (!ui->cmdApply->isEnabled()) EditedSelection_ = ui->lstItems->selectionModel()->selection();
    SetChangeMark(*control, true);
    ui->cmdApply->setEnabled(true);
    ui->cmdDiscard->setEnabled(true);
}

void frmMain::ClearDetails() {
    if (ViewType_ == kUsersType) {
        for (QLineEdit *field : {ui->txtUserFullName, ui->txtUserComment, ui->txtUserHomeDir,
                                 ui->txtUserScript, ui->txtUserProfile, ui->txtUserAcctExp,
                                 ui->txtUserLastLogon, ui->txtUserLastLogoff}) {
            field->clear();
        }
        for (QCheckBox *box : {ui->chkUserPassMust, ui->chkUserPassCant, ui->chkUserPassNever,
                               ui->chkUserAcctDisable}) {
            box->setChecked(false);
        }
        ui->lblUserPassAgeNum->clear();
        // Until one account's hours are shown, the grid shows none: with several accounts
        // selected, only the hours set or cleared are applied.
        ShowUnknownHours(*ui->flxUserHours);
    } else {
        ui->txtGrpType->clear();
        ui->txtGrpComment->clear();
    }
}

void frmMain::MarkDetailsClean() {
    if (ViewType_ == kUsersType) {
        // The confirmation's mark is never read: the new password's mark decides.
        const std::array<QWidget *, 13> userControls{
            ui->txtUserFullName,   ui->txtUserComment,   ui->txtUserHomeDir,
            ui->txtUserScript,     ui->txtUserProfile,   ui->txtUserAcctExp,
            ui->flxUserHours,      ui->txtChangePassword, ui->chkUserPassMust,
            ui->chkUserPassCant,   ui->chkUserPassNever, ui->chkUserAcctDisable,
            ui->chkUserAcctLocked};
        for (QWidget *control : userControls) SetChangeMark(*control, false);
    } else {
        SetChangeMark(*ui->txtGrpComment, false);
    }
    ui->cmdApply->setEnabled(false);
    ui->cmdDiscard->setEnabled(false);
}

// Leaving the field for Apply is checked by Apply itself, which runs the same check however
// it is pressed.
void frmMain::txtUserAcctExp_LostFocus() {
    if (QApplication::focusWidget() != ui->cmdApply) ExpiryAccepted();
}

// Only an edited field is checked, so moving through the panel never holds the focus in a
// field the administrator did not touch. Empty text is allowed: the account never expires.
bool frmMain::ExpiryAccepted() {
    QLineEdit &field = *ui->txtUserAcctExp;
    const QString text = field.text();
    if (!IsMarkedChanged(field) || text.isEmpty() || IsExpiryDate(text)) return true;
    MsgBox("Invalid date specified: '" + text.toStdString() + "'", MsgButtons::OKOnly,
           MsgIcon::Exclamation, kAppTitle);
    field.setFocus();
    return false;
}

void frmMain::SetSelectedHours(const QString &text) {
    FillSelectedCells(*ui->flxUserHours, text);
    MarkChanged(ui->flxUserHours);
}

void frmMain::cmdUserScriptBrowse_Click() {
    const QString path = BrowseForFile(dlgCD(), "All Files(*.*)|*.*", "User Logon Script");
    if (!path.isEmpty()) ui->txtUserScript->setText(path);
}

// The marked fields are collected once, then written to each selected item in turn; the
// failures are reported once at the end. The marks stay, so a second Apply sends the same
// fields again. Unless every item took the changes, the panel keeps them and both buttons, so
// that they can be corrected and applied again. The selection is the list's as it is now: with
// nothing selected nothing is written, and the edits stay.
void frmMain::cmdApply_Click() {
    const std::vector<std::string> selected = SelectedNames(*ui->lstItems);
    const int selCount = static_cast<int>(selected.size());
    if (selCount == 0 || !OneKindSelected(*ui->lstItems, selCount)) return;
    if (ViewType_ == kUsersType && !ExpiryAccepted()) return;
    gData->LastErr().Refresh();
    std::function<bool(const std::string &)> apply;
    if (ViewType_ == kUsersType) {
        std::optional<UserChanges> changes = CollectUserChanges(UserPanel(*ui));
        if (!changes) return;  // the passwords differ: nothing is applied
        apply = [changes = std::move(*changes)](const std::string &name) {
            return ApplyUserChanges(changes, name);
        };
    } else {
        apply = [changes = CollectGroupChanges(GroupPanel(*ui))](const std::string &name) {
            return ApplyGroupChanges(changes, name);
        };
    }
    if (!OpenItemData(ViewType_)) return;
    OperationCount count;
    {
        OperationProgress progress(*this, QStringLiteral("Apply"),
                                   QStringLiteral("Applying the changes to "), ProgressDelay_,
                                   [this] { return NewLogon(); });
        count = ForEachAccountInOneWrite(selected, progress, apply, "changed");
    }
    ShowOperationReport(count);
    ui->lstItems->entries().columnsChanged();
    if (count.succeeded == count.total) {
        ui->cmdApply->setEnabled(false);
        ui->cmdDiscard->setEnabled(false);
    }
}

// One item is read again; a multiple selection is given up, as the list is rebuilt.
void frmMain::cmdDiscard_Click() {
    if (ui->lstItems->selectedCount() == 1) {
        if (const int selected = ui->lstItems->selectedRow(); selected >= 0) {
            ShowItemDetails(ui->lstItems->text(selected), ViewType_);
        }
    } else {
        UpdateMainView(false);
    }
}

// The dialog works on the list's selection as it is now, which a click just before may have
// changed; groups of one kind are edited together.
void frmMain::cmdRelations_Click() {
    const int selCount = ui->lstItems->selectedCount();
    if (selCount == 0 || !OneKindSelected(*ui->lstItems, selCount)) return;
    int kind = kUsersShown;
    if (ViewType_ == kGroupsType) {
        const int selected = ui->lstItems->selectedRow();
        const bool global =
            selected >= 0 && ui->lstItems->entries().icon(selected) == ItemIcon::GlobalGroup;
        kind = global ? kGlobalGroup : kLocalGroup;
    }
    frmRelations dialog({*this, *lstHidden_, *ui->cboFilter, timListUpdate_,
                         [this] { UpdateMainView(false); }, ProgressDelay_, ChangesAllowed_,
                         [this] { return NewLogon(); }, LogonRetry()});
    dialog.SetupForm(ViewType_, kind, *ui->lstItems);
    dialog.exec();
}
