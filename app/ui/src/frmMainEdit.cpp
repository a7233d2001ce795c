// The Edit commands of the main window: New (the Add dialog), Delete and Find.
#include "ui/frmMain.h"

#include "ui_frmMain.h"

#include "dataops/ItemEdits.h"
#include "dataops/ItemList.h"
#include "status/MsgBox.h"
#include "store/ProgramValues.h"
#include "ui/AppInfo.h"
#include "ui/frmAdd.h"
#include "ui/frmAsk.h"
#include "ui/modMain.h"

#include <QSignalBlocker>

void frmMain::AddItem() {
    if (!frmAdd_) frmAdd_ = std::make_unique<frmAdd>(this, LogonRetry());
    frmAdd_->SetupForm(ViewType_, ui->cboFilter->currentText());
    frmAdd_->exec();
    UpdateMainView(false);
    if (frmAdd_->AddResult() != 0) return;
    const int added = ui->lstItems->entries().findName(frmAdd_->NewName());
    // An item the filter leaves out keeps the rebuilt list's own selection: selecting nothing
    // would leave an enabled panel whose edits Apply has no item to send to.
    if (added < 0) return;
    SelectOnly(added);
    ClearDetails();
    MarkDetailsClean();
    ShowItemDetails(ui->lstItems->text(added), ViewType_);
}

// The question counts the list's selection as it is now, which is what is deleted: a click
// just before may not have been taken up yet.
void frmMain::DeleteSelected() {
    std::optional<OperationCount> count;
    {
        OperationProgress progress(*this, QStringLiteral("Delete"), QStringLiteral("Deleting "),
                                   ProgressDelay_, [this] { return NewLogon(); });
        count = DeleteSelectedItems(ViewType_, *ui->lstItems, ui->lstItems->selectedCount(),
                                    SameTypeSelected, progress);
    }
    if (!count) return;
    ShowOperationReport(*count);
    UpdateMainView(false);
}

// A text that matches no name is reported with the text, and the selection goes back to where
// it was: the list's selection as it is now, which a click just before may have changed.
void frmMain::FindItem() {
    if (ui->lstItems->selectedCount() == 0) return;
    const int remembered = ui->lstItems->selectedRow();
    const std::optional<QString> typed = FindByName(
        ViewType_, *ui->lstItems,
        [this](const QString &caption, const QString &question) -> std::optional<QString> {
            frmAsk ask(this);
            ask.FormSetup(caption, question, false);
            ask.exec();
            if (!ask.Answered()) return std::nullopt;
            return ask.Answer();
        });
    int found = ui->lstItems->selectedCount() == 0 ? -1 : ui->lstItems->selectedRow();
    if (found < 0) {
        MsgBox(ItemStrings[ViewType_][0] + " \"" + typed.value_or(QString()).toStdString() +
                   "\" not found.",
               MsgButtons::OKOnly, MsgIcon::Exclamation, kAppTitle);
        found = remembered;
    }
    SelectOnly(found);
    if (found >= 0) ShowItemDetails(ui->lstItems->text(found), ViewType_);
}

// Makes the row the only selected entry (none for -1); set by the program, so no click follows.
void frmMain::SelectOnly(int row) {
    const QSignalBlocker quiet(ui->lstItems);
    ui->lstItems->selectOnly(row);
    CurrentItem_ = row >= 0 ? ui->lstItems->currentIndex() : QModelIndex();
    SetSelCount(row >= 0 ? 1 : 0);
}
