#include "csv/Csv.h"
#include "status/ShowErrors.h"
#include "status/modSAM.h"
#include "testing/TempFolder.h"
#include "ui/QtMessagePresenter.h"
#include "ui/frmErrors.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

template <typename Control>
Control &part(QWidget &window, const char *name) {
    auto *found = window.findChild<Control *>(QString::fromLatin1(name));
    if (found == nullptr) throw std::runtime_error(std::string("No control ") + name);
    return *found;
}

// Thirty accounts refused with the same status: one window that says how many, scrolls instead
// of growing past the screen, gives the shared suggestion once, and copies and saves it all.
TEST(frmErrors, ALongListCountsScrollsAndGivesASharedSuggestionOnce) {
    std::string denied;
    StatusText(5, denied);
    clsErr errors;
    for (int i = 1; i <= 30; ++i) {
        errors.Description("Failed to update user 'u" + std::to_string(i) + "' in SAM: " + denied);
    }
    frmErrors window(ReportOf(errors, "The following errors occurred during the requested operation",
                              "20 of 50 accounts succeeded, 30 failed."));
    window.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(window.windowTitle(), "Error");
    EXPECT_EQ(part<QLabel>(window, "lblCount").text(), "30 errors");
    EXPECT_EQ(part<QLabel>(window, "lblSummary").text(), "20 of 50 accounts succeeded, 30 failed.");
    auto &list = part<QPlainTextEdit>(window, "txtErrors");
    const QString entries = list.toPlainText();
    EXPECT_TRUE(entries.startsWith("1. Failed to update user 'u1' in SAM: Access denied.\n2. "))
        << entries.toStdString();
    EXPECT_TRUE(entries.contains("\n30. Failed to update user 'u30' in SAM: Access denied.\n"));
    EXPECT_EQ(entries.count("Suggestion - ensure that the 'Domain Admins'"), 1);
    EXPECT_LE(window.frameGeometry().height(), window.screen()->availableGeometry().height());
    EXPECT_GT(list.verticalScrollBar()->maximum(), 0);

    part<QPushButton>(window, "cmdCopy").click();
    const QString copied = QApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith("The following errors occurred during the requested "
                                  "operation:\n30 errors\n20 of 50 accounts succeeded, 30 failed.\n"))
        << copied.toStdString();
    EXPECT_TRUE(copied.contains(entries));

    const TempFolder folder;
    const QString path = QString::fromStdString((folder.path() / "errors.txt").string());
    window.dlgSave().setOption(QFileDialog::DontUseNativeDialog);
    QTimer::singleShot(0, [&] {
        window.dlgSave().selectFile(path);
        QMetaObject::invokeMethod(&window.dlgSave(), "accept");
    });
    part<QPushButton>(window, "cmdSave").click();
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly | QIODevice::Text));
    EXPECT_EQ(QString::fromUtf8(saved.readAll()), copied);

    // As CSV, chosen by its kind: a record per entry, each whole with its suggestion.
    QTimer::singleShot(0, [&] {
        window.dlgSave().selectNameFilter("CSV Files (*.csv)");
        window.dlgSave().selectFile(QString::fromStdString((folder.path() / "errors").string()));
        QMetaObject::invokeMethod(&window.dlgSave(), "accept");
    });
    part<QPushButton>(window, "cmdSave").click();
    QFile csv(QString::fromStdString((folder.path() / "errors.csv").string()));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const std::vector<CsvRecord> records = ReadCsv(csv.readAll().toStdString());
    ASSERT_EQ(records.size(), 31U);
    EXPECT_EQ(records[0].fields, (std::vector<std::string>{"Number", "Description"}));
    EXPECT_EQ(records[30].fields,
              (std::vector<std::string>{"30", PlainLines("Failed to update user 'u30' in SAM: " + denied)}));
    EXPECT_NE(records[30].fields[1].find("\n\nSuggestion - "), std::string::npos);
}

TEST(frmErrors, TheProgramShowsEveryErrorListInIt) {
    QtMessagePresenter presenter;
    const PresenterScope scope(presenter);
    clsErr errors;
    errors.Description("A group or user 'bob' already exists.");
    QString count;
    QString entries;
    QTimer::singleShot(0, [&] {
        if (auto *window = qobject_cast<frmErrors *>(QApplication::activeModalWidget())) {
            count = part<QLabel>(*window, "lblCount").text();
            entries = part<QPlainTextEdit>(*window, "txtErrors").toPlainText();
            window->accept();
        }
    });
    ShowErrors(errors, "Error during add");
    EXPECT_EQ(count, "1 error");
    EXPECT_EQ(entries, "A group or user 'bob' already exists.");
}

}  // namespace
