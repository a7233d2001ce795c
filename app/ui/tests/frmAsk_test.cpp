#include "testing/TempFolder.h"
#include "ui/frmAsk.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>

namespace {

class frmAskTest : public ::testing::Test {
protected:
    template <typename Control>
    Control &control(const char *name) {
        return *ask.findChild<Control *>(QString::fromLatin1(name));
    }

    // Presses a button once the modal dialog runs.
    void pressWhenShown(const char *button) {
        QTimer::singleShot(0, [this, button] { control<QPushButton>(button).click(); });
    }

    frmAsk ask;
};

TEST_F(frmAskTest, SetupGivesCaptionQuestionAndBrowseButton) {
    ask.FormSetup("Find User", "Name:", false);
    ask.show();
    EXPECT_EQ(ask.windowTitle(), "Find User");
    EXPECT_EQ(control<QLabel>("lblQuestion").text(), "Name:");
    EXPECT_FALSE(control<QPushButton>("cmdBrowse").isVisible());
    ask.FormSetup("Script", "File:", true);
    EXPECT_TRUE(control<QPushButton>("cmdBrowse").isVisible());
}

TEST_F(frmAskTest, OkAnswersWithTheTypedText) {
    ask.FormSetup("Find User", "Name:", false);
    control<QLineEdit>("txtAnswer").setText("ann");
    pressWhenShown("cmdOk");
    ask.exec();
    EXPECT_TRUE(ask.Answered());
    EXPECT_EQ(ask.Answer(), "ann");
}

TEST_F(frmAskTest, CancelAndClosingLeaveTheQuestionUnanswered) {
    ask.FormSetup("Find User", "Name:", false);
    control<QLineEdit>("txtAnswer").setText("ann");
    pressWhenShown("cmdCancel");
    ask.exec();
    EXPECT_FALSE(ask.Answered());

    QTimer::singleShot(0, [this] { ask.close(); });
    ask.exec();
    EXPECT_FALSE(ask.Answered());
}

TEST_F(frmAskTest, BrowseCancelledLeavesTheAnswer) {
    ask.FormSetup("Open", "File:", true);
    ask.dlgCD().setOption(QFileDialog::DontUseNativeDialog);
    control<QLineEdit>("txtAnswer").setText("before");
    QString seenTitle;
    QTimer::singleShot(0, [&] {
        seenTitle = ask.dlgCD().windowTitle();
        ask.dlgCD().reject();
    });
    control<QPushButton>("cmdBrowse").click();
    EXPECT_EQ(seenTitle, "Find File");
    EXPECT_EQ(control<QLineEdit>("txtAnswer").text(), "before");
}

TEST_F(frmAskTest, BrowseAnswersWithTheChosenFile) {
    TempFolder folder;
    const QString file = QString::fromStdString((folder.path() / "names.txt").string());
    std::ofstream(file.toStdString()) << "ann\n";
    ask.FormSetup("Open", "File:", true);
    ask.dlgCD().setOption(QFileDialog::DontUseNativeDialog);
    QTimer::singleShot(0, [&] {
        ask.dlgCD().selectFile(file);
        QMetaObject::invokeMethod(&ask.dlgCD(), "accept");
    });
    control<QPushButton>("cmdBrowse").click();
    EXPECT_EQ(control<QLineEdit>("txtAnswer").text(), file);
}

}  // namespace
