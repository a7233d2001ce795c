// The main window's target selection: machine or domain name, Switch To and Refresh, and the
// return to the no-target state whenever the name changes.
#include "ui/frmMain.h"

#include "ui_frmMain.h"

#include "status/MsgBox.h"
#include "status/ProgramError.h"
#include "status/Progress.h"
#include "status/ShowErrors.h"
#include "status/modSAM.h"
#include "store/ProgramValues.h"
#include "ui/AppInfo.h"
#include "ui/BusyCursor.h"
#include "ui/TextLimit.h"
#include "ui/frmConnect.h"
#include "ui/modDeclare.h"
#include "vantry_api/NetworkConnection.h"
#include "vantry_api/TextResult.h"
#include "vantry_api/modVantryDeclare.h"

#include <QApplication>
#include <QSignalBlocker>

namespace {

constexpr uint32_t kAccessDenied = 5;
constexpr uint32_t kLogonFailure = 1326;
constexpr int kPasswordLimit = 14;

std::string WithServerPrefix(const std::string &name) {
    return name.starts_with("\\\\") ? name : "\\\\" + name;
}

// The probe's own message when it fails; an account library that cannot be used is a failure
// of the probe like any other.
bool RightsProbeFailed(std::string &message) {
    try {
        return CheckSAMRights(message);
    } catch (...) {
        message = CurrentError().description();
        return true;
    }
}

// "Logon failure: unknown user name or bad password.", without the suggestion after it.
QString LogonRefusal() {
    std::string logonFailure;
    StatusText(kLogonFailure, logonFailure);
    return QString::fromStdString(logonFailure.substr(0, logonFailure.find('\n')));
}

// The target's domain, or 256 blanks when it cannot be read: it is not reported.
std::string TargetDomainName() {
    TextResult result;
    try {
        if (modVantryDeclare::GetDomainName(gSAMHost.c_str(), result.address()) == 0) {
            return result.text();
        }
    } catch (const ProgramError &) {
        // A library without this export: the name stays unknown, as for a failed call.
    }
    return result.blanks();
}

}  // namespace

void frmMain::optSelect_Click(int index) {
    if (index == 1) {
        ui->lblName->setText(QStringLiteral("Domain &Name"));
        SavedSelectDomainSAM_ = ui->chkPDC->checkState();
        ui->chkPDC->setChecked(true);
        ui->chkPDC->setEnabled(false);
        SavedMachineName_ = ui->txtName->text();
        ui->txtName->setText(SavedDomainName_);
    } else {
        ui->lblName->setText(QStringLiteral("Machine &Name"));
        ui->chkPDC->setEnabled(true);
        ui->chkPDC->setCheckState(SavedSelectDomainSAM_);
        SavedDomainName_ = ui->txtName->text();
        ui->txtName->setText(SavedMachineName_);
    }
}

// Any change of the name, also by code, leaves the target: the store keeps the last one
// until the next Switch To.
void frmMain::txtName_Change() {
    {
        const QSignalBlocker quiet(ui->lstItems);
        ui->lstItems->clear();
        CurrentItem_ = QPersistentModelIndex();
    }
    ClearSearch();
    ui->txtSearch->setEnabled(false);
    SetViewMarks(-1);
    ui->fraDetails->hide();
    ui->cmdRelations->setEnabled(false);
    ui->tbrToolBar->setEnabled(false);
    SetMenusEnabled(false);
    ui->lblFilter->setText(QStringLiteral("Filter:"));
    {
        const QSignalBlocker quiet(ui->cboFilter);
        filterNames_->clear();
    }
    ui->cmdSwitch->setText(QStringLiteral("S&witch To"));
}

bool frmMain::SetHost() {
    const std::string name = ui->txtName->text().trimmed().toStdString();
    const bool domainName = !optSelect[0]->isChecked();
    if (!domainName && !ui->chkPDC->isChecked()) {
        gSAMHost = WithServerPrefix(name);
        return false;
    }
    TextResult controller;
    uint32_t status = 0;
    try {
        status = domainName
                     ? modVantryDeclare::GetDomainServer("", name.c_str(), controller.address())
                     : modVantryDeclare::GetDomainServer(name.c_str(), "", controller.address());
    } catch (...) {
        gData->LastErr().CloneErr();
        return true;
    }
    if (status != 0) {
        LastStatus = status;
        std::string message;
        StatusText(status, message);
        gData->LastErr().Description(message);
        return true;
    }
    // Only a resolved name replaces the target's: a failed switch leaves the open target as it
    // was, and the windows still address it through gSAMHost.
    gSAMHost = controller.text();
    return false;
}

void frmMain::cmdSwitch_Click() {
    gData->LastErr().Refresh();
    OpenTarget();
}

// Resolves, probes, loads and shows the target; after a failed step, says why. The pointer
// stays busy until the list of the new target can be used. A target that refuses the logon is
// asked again with the name and password the user gives; logonRefusal says why the previous
// answer did not do. One that refuses the probe access can be opened to look at only.
void frmMain::OpenTarget(const QString &logonRefusal) {
    BusyCursor busy;
    const std::string previousHost = gSAMHost;
    LastStatus = 0;
    if (SetHost()) {
        busy.release();
        RetryWithLogon(WithServerPrefix(ui->txtName->text().trimmed().toStdString()), logonRefusal,
                       [] { ShowErrors("Unable to establish details about the target SAM"); });
        return;
    }
    std::string refusal;
    bool changesAllowed = true;
    if (RightsProbeFailed(refusal)) {
        const std::string host = gSAMHost;
        gSAMHost = previousHost;
        busy.release();
        if (LastStatus != kAccessDenied) {
            RetryWithLogon(host, logonRefusal, [&refusal] { ShowErrors(refusal, true); });
            return;
        }
        ShowErrors(refusal, true);
        if (!ReadOnlyWanted(host)) return;
        gSAMHost = host;
        changesAllowed = false;
    }
    gData->WorkList(*lstHidden_);
    gDomainName = TargetDomainName();
    if (LoadTarget(busy)) ShowTargetOpen(changesAllowed);
}

// The load only reads, so a target whose accounts may not be changed can still be looked at.
bool frmMain::ReadOnlyWanted(const std::string &host) {
    return MsgBox("You may not change the accounts of " + host +
                      ". Open it read only, to look at its users and groups without changing "
                      "them?",
                  MsgButtons::YesNo, MsgIcon::Question, kAppTitle) == MsgAnswer::Yes;
}

// The load replaces the store, so the window leaves the old target first: nothing can act on
// accounts that are going. A load that fails or is cancelled leaves no target open, and says at
// which step it ended.
bool frmMain::LoadTarget(BusyCursor &busy) {
    txtName_Change();
    std::string step;
    bool cancelled = false;
    gData->LastErr().Refresh();
    {
        OperationProgress progress(*this, QStringLiteral("Switch To"), QString(), ProgressDelay_);
        // One step can be long (every user of a large domain): the windows are painted as
        // each name passes through the work list.
        lstHidden_->WhileWorking([&progress] { progress.KeepPainted(); });
        gData->TargetSAM(gSAMHost, progress);
        lstHidden_->WhileWorking({});
        step = progress.CurrentStep();
        cancelled = progress.Cancelled();
    }
    if (gData->LastErr().Number() == 0 && gData->LastErr().count() == 0) return true;
    busy.release();
    const std::string at = step.empty() ? std::string() : " at: " + step;
    if (cancelled) {
        MsgBox("Switch To was cancelled" + at + ". No target is open.", MsgButtons::OKOnly,
               MsgIcon::Information, kAppTitle);
    } else {
        const std::string where = step.empty() ? std::string() : "The load stopped" + at + ". ";
        ShowErrorReport(ReportOf(gData->LastErr(), "Database initialisation failed",
                                 where + "No target is open."));
    }
    return false;
}

// Cancel leaves the window as it was.
void frmMain::RetryWithLogon(const std::string &host, const QString &refusal,
                             const std::function<void()> &showWhy) {
    if (LastStatus != kLogonFailure) {
        showWhy();
        return;
    }
    gData->LastErr().Refresh();
    if (ConnectTo(host, refusal)) {
        OpenTarget(LogonRefusal());
    } else if (gData->LastErr().count() != 0) {
        ShowErrors("Unable to establish details about the target SAM");
    }
}

bool frmMain::ConnectTo(const std::string &host, const QString &refusal) {
    frmConnect dialog(this);
    dialog.FormSetup(ui->txtName->text().trimmed(), LogonName_, refusal);
    dialog.exec();
    if (!dialog.Answered()) return false;
    LogonName_ = dialog.UserName();
    try {
        const uint32_t status = AddConnection(host, LogonName_.toStdString(), dialog.Password().toStdString());
        if (status == 0) return true;
        std::string message;
        StatusText(status, message);
        gData->LastErr().Description(message);
    } catch (...) {
        gData->LastErr().CloneErr();  // a platform without the connection calls
    }
    return false;
}

// The dialog says why it is asking: the open target no longer takes the logon it had. The
// name and password are asked with the normal pointer, whatever the work showed.
bool frmMain::NewLogon() {
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const bool connected = ConnectTo(gSAMHost, LogonRefusal());
    QApplication::restoreOverrideCursor();
    return connected;
}

// The work is done again once another logon is given, so what its refused try recorded is no
// failure.
bool frmMain::WithLogon(const std::function<bool()> &work) {
    const int64_t errorsBefore = gData->LastErr().count();
    return RetriedAfterNewLogon(work, [this, errorsBefore] {
        if (!NewLogon()) return false;
        gData->LastErr().TakeBack(errorsBefore);
        return true;
    });
}

void frmMain::ShowTargetOpen(bool changesAllowed) {
    LimitPanelFields();
    ui->fraDetails->show();
    ui->cmdRelations->setEnabled(true);
    ui->tbrToolBar->setEnabled(true);
    ui->txtSearch->setEnabled(true);
    ui->lblUserAcctExp->setVisible(gIsDomain);
    ui->txtUserAcctExp->setVisible(gIsDomain);
    for (QTabWidget *panel : tabDetails) panel->setCurrentIndex(0);
    ShowView(kUsersType);  // every open starts with the users
    UpdateMainView(true);
    ui->cmdSwitch->setText(QStringLiteral("&Refresh"));
    setWindowTitle(QString::fromStdString(gSAMHost) + QStringLiteral(" - ") + kAppTitle +
                   (changesAllowed ? QString() : QStringLiteral(" (read only)")));
    SetMenusEnabled(true);
    SetChangesAllowed(changesAllowed);
}

// Read only, the values stay readable and can be copied; nothing can mark a field changed, so
// Apply and Discard stay disabled. Find, the views, the filter and Relationships (to look)
// stay.
void frmMain::SetChangesAllowed(bool allowed) {
    ChangesAllowed_ = allowed;
    for (QAction *command :
         {mnuEditItems[0], mnuEditItems[1], ui->tbrToolBar_Add, ui->tbrToolBar_Delete}) {
        command->setEnabled(allowed);
    }
    for (QLineEdit *field :
         {ui->txtUserFullName, ui->txtUserComment, ui->txtUserHomeDir, ui->txtUserScript,
          ui->txtUserProfile, ui->txtUserAcctExp, ui->txtGrpComment}) {
        field->setReadOnly(!allowed);
    }
    for (QAction *calendar : ui->txtUserAcctExp->actions()) calendar->setVisible(allowed);
    for (QWidget *editor : std::initializer_list<QWidget *>{
             ui->fraUserDet, ui->fraUserChangePass, ui->cmdUserSet, ui->cmdUserClear,
             ui->cmdUserScriptBrowse}) {
        editor->setEnabled(allowed);
    }
}

void frmMain::LimitPanelFields() {
    ui->txtChangePassword->setMaxLength(kPasswordLimit);
    ui->txtConfirmPassword->setMaxLength(kPasswordLimit);
    for (QLineEdit *field : {ui->txtUserFullName, ui->txtUserComment, ui->txtUserHomeDir,
                             ui->txtUserScript, ui->txtUserProfile, ui->txtGrpComment}) {
        LimitToLibraryText(*field);
    }
}
