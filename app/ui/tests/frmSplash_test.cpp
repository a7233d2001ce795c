#include "UiTest.h"

#include "ui/frmSplash.h"

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

namespace {

class frmSplashTest : public ::testing::Test {
protected:
    template <typename Control>
    Control &control(const char *name) {
        return *box.findChild<Control *>(QString::fromLatin1(name));
    }

    RecordingPresenter messages;
    QWidget owner;
    frmSplash box;
};

TEST_F(frmSplashTest, AboutShowsCaptionTitleVersionAndButtons) {
    box.FormSetup(&owner, false);
    EXPECT_EQ(box.windowTitle(), "About Tarnwick");
    EXPECT_EQ(box.parentWidget(), &owner);
    EXPECT_EQ(control<QLabel>("lblProdName").text(), "Tarnwick");
    EXPECT_EQ(control<QLabel>("lblProdVer").text(),
              QStringLiteral("Version ") + QStringLiteral(TARNWICK_PROJECT_VERSION));
    EXPECT_FALSE(control<QLabel>("Picture1").pixmap().isNull());
    EXPECT_FALSE(control<QPushButton>("cmdOK").isHidden());
    EXPECT_EQ(control<QPushButton>("cmdOK").text(), "OK");
    EXPECT_FALSE(control<QPushButton>("cmdSysInfo").isHidden());
    EXPECT_EQ(control<QPushButton>("cmdSysInfo").text(), "&System Info...");
}

TEST_F(frmSplashTest, SplashHasNoCaptionNoButtonsAndNoFrame) {
    box.FormSetup(nullptr, true);
    EXPECT_EQ(box.windowTitle(), QString());
    EXPECT_EQ(box.parentWidget(), nullptr);
    EXPECT_TRUE(box.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(control<QPushButton>("cmdOK").isHidden());
    EXPECT_TRUE(control<QPushButton>("cmdSysInfo").isHidden());
    EXPECT_TRUE(control<QLabel>("lblProdVer").text().contains(
        QRegularExpression(QStringLiteral("^Version \\d+\\.\\d+\\.\\d+$"))));
}

TEST_F(frmSplashTest, EscapeAndEnterCloseTheAboutBox) {
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        box.FormSetup(&owner, false);
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
        QTest::keyClick(&box, key);
        EXPECT_FALSE(box.isVisible()) << key;
    }
}

TEST_F(frmSplashTest, SystemInfoSaysItIsUnavailable) {
    box.FormSetup(&owner, false);
    box.show();
    QTest::mouseClick(&control<QPushButton>("cmdSysInfo"), Qt::LeftButton);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, "System Information Is Unavailable At This Time");
    EXPECT_EQ(messages.shown()[0].icon, MsgIcon::None);
    EXPECT_EQ(messages.shown()[0].title, "Tarnwick");
    EXPECT_TRUE(box.isVisible());
}

}  // namespace
