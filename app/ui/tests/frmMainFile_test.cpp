#include "AccountWorldTest.h"

#include "csv/Csv.h"
#include "dataops/ItemList.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTableWidget>

#include <fstream>
#include <functional>

namespace {

class FileTest : public AccountWorldTest {
protected:
    QString path(const char *name) const {
        return QString::fromStdString((folder() / name).string());
    }

    // Chooses the file in the file dialog once it shows.
    void chooseFile(const QString &file) {
        window().dlgCD().setOption(QFileDialog::DontUseNativeDialog);
        QTimer::singleShot(0, [this, file] {
            window().dlgCD().selectFile(file);
            QMetaObject::invokeMethod(&window().dlgCD(), "accept");
        });
    }

    // Runs act on the modal window of that name when it shows, looking for it a while.
    static void whenShown(const QString &name, std::function<void(QWidget &)> act, int tries = 200) {
        QTimer::singleShot(10, [=] {
            QWidget *shown = QApplication::activeModalWidget();
            if (shown != nullptr && shown->objectName() == name) {
                act(*shown);
            } else if (tries > 0) {
                whenShown(name, act, tries - 1);
            }
        });
    }

    static QStringList column(const QTableWidget &rows, int index) {
        QStringList texts;
        for (int row = 0; row < rows.rowCount(); ++row) texts << rows.item(row, index)->text();
        return texts;
    }
};

// Nothing reaches the target while the preview shows; OK creates what it promised, the refused
// row is left out, and the list shows the new accounts at once.
TEST_F(FileTest, ImportPreviewsTheRowsThenCreatesTheAccepted) {
    std::ofstream(path("staff.csv").toStdString())
        << "name,password,full name,groups\r\nanna.baker,Pa55word,\"Baker, Anna\",Staff\r\n"
           "bob,x,,\r\nzoe,,,\r\n";
    chooseFile(path("staff.csv"));
    QString summary;
    QStringList names;
    QStringList verdicts;
    bool untouched = false;
    whenShown("frmImport", [&](QWidget &preview) {
        summary = preview.findChild<QLabel *>("lblSummary")->text();
        const auto &rows = *preview.findChild<QTableWidget *>("lstRows");
        names = column(rows, 1);
        verdicts = column(rows, 2);
        untouched = !world().hasAccount("CORP", "anna.baker");
        preview.findChild<QPushButton *>("cmdOK")->click();
    });
    control<QAction>("mnuFileImport").trigger();
    EXPECT_EQ(summary, "staff.csv: 2 of 3 accounts will be created; 1 row is refused. Nothing "
                       "changes until you press OK.");
    EXPECT_EQ(names, (QStringList{"anna.baker", "bob", "zoe"}));
    EXPECT_EQ(verdicts, (QStringList{"Create anna.baker, add to Staff",
                                     "Refused: A user or group 'bob' already exists.",
                                     "Create zoe"}));
    EXPECT_TRUE(untouched);
    EXPECT_TRUE(messages().shown().empty()) << messages().shown()[0].text;
    EXPECT_EQ(account("anna.baker").fullName, "Baker, Anna");
    EXPECT_TRUE(world().passwordMatches("CORP", "bob", "Secret1"));
    EXPECT_EQ(world().members("CORP", "Staff"), (std::vector<std::string>{"ann", "bob", "anna.baker"}));
    entry("anna.baker");  // listed
    entry("zoe");
}

// The export holds what the list shows, under its header, and reads back as CSV.
TEST_F(FileTest, ExportListWritesTheShownEntries) {
    control<QComboBox>("cboFilter").setCurrentText("Staff");
    chooseFile(path("staff"));
    control<QAction>("mnuFileExport").trigger();
    QFile saved(path("staff.csv"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray text = saved.readAll();
    std::vector<std::vector<std::string>> records;
    for (const CsvRecord &record : ReadCsv(text.toStdString())) records.push_back(record.fields);
    EXPECT_EQ(records, (std::vector<std::vector<std::string>>{
                           {"Domain User(s)", "Full Name", "Comment", "State"},
                           {"ann", "", "", ""},
                           {"bob", "", "", ""}}));
}

TEST_F(FileTest, ImportAndExportWaitForATarget) {
    EXPECT_TRUE(control<QAction>("mnuFileImport").isEnabled());
    EXPECT_TRUE(control<QAction>("mnuFileExport").isEnabled());
    control<QLineEdit>("txtName").setText("ELSEWHERE");
    EXPECT_FALSE(control<QAction>("mnuFileImport").isEnabled());
    EXPECT_FALSE(control<QAction>("mnuFileExport").isEnabled());
}

}  // namespace
