#include "ui/modMain.h"

#include "dataops/ItemList.h"
#include "dataops/ItemLists.h"
#include "status/MsgBox.h"
#include "status/Progress.h"
#include "status/ShowErrors.h"
#include "store/ProgramValues.h"
#include "ui/AppInfo.h"
#include "ui/frmMain.h"
#include "ui/frmSplash.h"
#include "ui/modDeclare.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QSaveFile>
#include <QTimer>

namespace {

// "All Files(*.*)|*.*" becomes "All Files(*.*) (*)": the dialog reads the patterns from the
// last parentheses, and "*.*" would hide the many files here that have no extension.
QStringList nameFilters(const QString &filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1String("*.*"), QLatin1String("*"));
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}

}  // namespace

void WaitProcessingEvents(std::chrono::milliseconds time) {
    QElapsedTimer clock;  // monotonic: neither midnight nor a clock change moves it
    clock.start();
    QEventLoop loop;
    // Read the clock once per round: a timer asked for a negative time would never fire.
    for (qint64 left = time.count(); left > 0; left = time.count() - clock.elapsed()) {
        QTimer::singleShot(static_cast<int>(left), Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

std::unique_ptr<frmMain> StartUp(const StoreFolders &storeFolders,
                                 std::chrono::milliseconds splashTime) {
    auto main = std::make_unique<frmMain>();
    InitDeclarations();
    frmSplash splash;
    splash.FormSetup(nullptr, true);
    splash.show();
    splash.repaint();
    WaitProcessingEvents(splashTime);
    main->FormSetup(storeFolders);
    splash.close();
    main->show();
    return main;
}

QString BrowseForFile(QFileDialog &dlgCD, const QString &filter, const QString &title) {
    dlgCD.setNameFilters(nameFilters(filter));
    dlgCD.setWindowTitle(title);
    dlgCD.setFileMode(QFileDialog::ExistingFile);
    dlgCD.setAcceptMode(QFileDialog::AcceptOpen);
    dlgCD.setDefaultSuffix(QString());  // left by a save in the same dialog
    if (dlgCD.exec() != QDialog::Accepted || dlgCD.selectedFiles().isEmpty()) return {};
    return dlgCD.selectedFiles().first();
}

QString SaveFileName(QFileDialog &dialog, const QStringList &filters, const QString &title,
                     const QString &suffix) {
    dialog.setNameFilters(filters);
    dialog.setWindowTitle(title);
    dialog.setDefaultSuffix(suffix);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

bool SaveFile(const QString &path, const QByteArray &contents, const std::string &what) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size() &&
        file.commit()) {
        return true;
    }
    MsgBox("Unable to save " + what + " to " + path.toStdString() + ": " +
               file.errorString().toStdString(),
           MsgButtons::OKOnly, MsgIcon::Exclamation, "Error");
    return false;
}

bool SameTypeSelected(const ItemListView &list) {
    const int reference = list.selectedRow();
    if (reference < 0) return true;
    const ItemIcon referenceIcon = list.entries().icon(reference);
    for (const int row : list.selectedRows()) {
        if (list.entries().icon(row) != referenceIcon) {
            MsgBox("Mixed types in selection not allowed", MsgButtons::OKOnly, MsgIcon::Exclamation,
                   "Selection Error");
            return false;
        }
    }
    return true;
}

void ShowOperationReport(const OperationCount &count) {
    const clsErr &errors = gData->LastErr();
    if (!errors.Entries().empty()) {
        ShowErrorReport(ReportOf(errors, kOperationFailedCaption, SummaryText(count)));
    } else if (count.notDone() > 0) {
        MsgBox(SummaryText(count), MsgButtons::OKOnly, MsgIcon::Information, kAppTitle);
    }
}
