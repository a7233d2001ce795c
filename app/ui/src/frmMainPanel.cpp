// The properties panel's controls and their change marks: a control edited since the last
// display carries the mark 1 (the dynamic property "tag"), every other one "0".
#include "ui/frmMain.h"

#include "ui_frmMain.h"

#include "ui/HoursGrid.h"
#include "ui/modDeclare.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace {

const char *const kMark = "tag";

// Gives labels that stand in separate frames one column width, so their fields line up.
void AlignLabelColumn(std::initializer_list<QLabel *> labels) {
    int width = 0;
    for (const QLabel *label : labels) width = std::max(width, label->sizeHint().width());
    for (QLabel *label : labels) label->setMinimumWidth(width);
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

void frmMain::ConnectPanelMarks() {
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
}

void frmMain::MarkChanged(QWidget *control) {
    if (Updating_) return;
    control->setProperty(kMark, QStringLiteral("1"));
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
        for (QWidget *control : userControls) control->setProperty(kMark, QStringLiteral("0"));
    } else {
        ui->txtGrpComment->setProperty(kMark, QStringLiteral("0"));
    }
    ui->cmdApply->setEnabled(false);
    ui->cmdDiscard->setEnabled(false);
}
