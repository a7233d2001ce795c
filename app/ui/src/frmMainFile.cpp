// The main window's File commands: new users from a CSV file, and the shown list as CSV.
#include "ui/frmMain.h"

#include "ui_frmMain.h"

#include "dataops/CsvExport.h"
#include "dataops/ItemList.h"
#include "dataops/ItemLists.h"
#include "dataops/UserImport.h"
#include "status/MsgBox.h"
#include "status/ProgramError.h"
#include "store/ProgramValues.h"
#include "ui/frmImport.h"
#include "ui/modMain.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString kImportCaption = QStringLiteral("Import Users");

// The checked rows of the file; nullopt, after saying why, when the file cannot be read, is not
// CSV, or has a header of other columns.
std::optional<ImportPlan> PlanImportOf(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        MsgBox("Unable to read " + path.toStdString() + ": " + file.errorString().toStdString(),
               MsgButtons::OKOnly, MsgIcon::Exclamation, kImportCaption.toStdString());
        return std::nullopt;
    }
    const QByteArray text = file.readAll();
    if (!OpenItemData(kUsersType) || !OpenItemData(kGroupsType)) return std::nullopt;
    try {
        return PlanUserImport(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    } catch (...) {
        MsgBox(QFileInfo(path).fileName().toStdString() + " cannot be imported. " +
                   CurrentError().description(),
               MsgButtons::OKOnly, MsgIcon::Exclamation, kImportCaption.toStdString());
        return std::nullopt;
    }
}

}  // namespace

// The list is rebuilt afterwards, so unapplied edits are given up first, or nothing happens.
void frmMain::mnuFileImport_Click() {
    if (!LoseChangesConfirmed()) return;
    const QString path = BrowseForFile(dlgCD(), "CSV Files(*.csv)|*.csv|All Files(*.*)|*.*",
                                       kImportCaption);
    if (path.isEmpty()) return;
    gData->LastErr().Refresh();
    const std::optional<ImportPlan> plan = PlanImportOf(path);
    if (!plan) return;
    frmImport preview(*plan, QFileInfo(path).fileName(), this);
    if (preview.exec() != QDialog::Accepted) return;
    OperationCount count;
    {
        OperationProgress progress(*this, kImportCaption, QStringLiteral("Creating "),
                                   ProgressDelay_, [this] { return NewLogon(); });
        count = RunUserImport(*plan, progress);
    }
    ShowOperationReport(count);
    // The groups view filters by user: its filter list takes the new users in.
    UpdateMainView(ViewType_ == kGroupsType);
}

void frmMain::mnuFileExport_Click() {
    const QString path = SaveFileName(
        dlgCD(), {QStringLiteral("CSV Files (*.csv)"), QStringLiteral("All Files (*)")},
        QStringLiteral("Export List"), QStringLiteral("csv"));
    if (path.isEmpty()) return;
    SaveFile(path, QByteArray::fromStdString(ModelCsv(*ui->lstItems->model())), "the list");
}
