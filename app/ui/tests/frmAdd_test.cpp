#include "UiTest.h"

#include "dataops/ItemList.h"
#include "store/ProgramValues.h"
#include "ui/frmAdd.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

class frmAddTest : public UiTest {
protected:
    template <typename Control>
    Control &field(const char *name) {
        auto *found = add().findChild<Control *>(QString::fromLatin1(name));
        if (found == nullptr) throw std::runtime_error(std::string("No control ") + name);
        return *found;
    }

    QStringList typeEntries() {
        QStringList entries;
        for (int i = 0; i < field<QComboBox>("cboType").count(); ++i) {
            entries << field<QComboBox>("cboType").itemText(i);
        }
        return entries;
    }

    // Made once the main window exists, and gone before it is.
    void SetUp() override {
        UiTest::SetUp();
        dialog_ = std::make_unique<frmAdd>(&window(), RunOnce);
    }
    void TearDown() override {
        dialog_.reset();
        UiTest::TearDown();
    }
    frmAdd &add() { return *dialog_; }

private:
    std::unique_ptr<frmAdd> dialog_;
};

TEST_F(frmAddTest, UserSetupOffersPasswordAndTheFilteredGroup) {
    ItemStrings[kUsersType][0] = "User";
    add().SetupForm(kUsersType, "Staff");
    add().show();
    EXPECT_EQ(add().windowTitle(), "New User");
    EXPECT_EQ(field<QLabel>("lblType").text(), "Password:");
    EXPECT_TRUE(field<QLineEdit>("txtPassword").isVisible());
    EXPECT_FALSE(field<QComboBox>("cboType").isVisible());
    EXPECT_EQ(field<QLabel>("lblComment").text(), "Full Name:");
    EXPECT_TRUE(field<QCheckBox>("chkAddToGroup").isVisible());
    EXPECT_EQ(field<QCheckBox>("chkAddToGroup").text(), "Add to group 'Staff'");

    add().SetupForm(kUsersType, "*All Users*");
    EXPECT_FALSE(field<QCheckBox>("chkAddToGroup").isVisible());
}

TEST_F(frmAddTest, NamesAreLimitedByKind) {
    add().SetupForm(kUsersType, "*All Users*");
    add().show();
    QTest::keyClicks(&field<QLineEdit>("txtName"), QString(25, QLatin1Char('a')));
    EXPECT_EQ(field<QLineEdit>("txtName").text().size(), 20);
    EXPECT_EQ(field<QLineEdit>("txtPassword").maxLength(), 14);
    EXPECT_EQ(field<QLineEdit>("txtComment").maxLength(), 255);

    add().SetupForm(kGroupsType, "");
    EXPECT_TRUE(field<QLineEdit>("txtName").text().isEmpty());
    field<QLineEdit>("txtName").setText(QString(300, QLatin1Char('g')));
    EXPECT_EQ(field<QLineEdit>("txtName").text().size(), 256);
}

TEST_F(frmAddTest, OkWaitsForANameThatIsNotOnlyBlanks) {
    add().SetupForm(kUsersType, "*All Users*");
    add().show();
    auto &ok = field<QPushButton>("cmdOk");
    EXPECT_FALSE(ok.isEnabled());
    QTest::keyClicks(&field<QLineEdit>("txtName"), "   ");
    EXPECT_FALSE(ok.isEnabled());
    QTest::keyClicks(&field<QLineEdit>("txtName"), "ann");
    EXPECT_TRUE(ok.isEnabled());
    EXPECT_EQ(add().NewName(), "   ann");  // kept as typed
}

TEST_F(frmAddTest, ShowingPutsTheFocusInTheName) {
    add().SetupForm(kGroupsType, "");
    add().show();
    add().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&add()));
    EXPECT_TRUE(field<QLineEdit>("txtName").hasFocus());
}

// Tab follows the rows from top to bottom and ends on OK, then Cancel: a full name typed after
// the password never lands on a button.
TEST_F(frmAddTest, TabFollowsTheRowsDownToOkAndCancel) {
    add().SetupForm(kUsersType, "Staff");
    add().show();
    add().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&add()));
    QTest::keyClicks(&field<QLineEdit>("txtName"), "ann");
    QStringList order;
    for (int press = 0; press < 4; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(order, (QStringList{"txtPassword", "txtComment", "cmdOk", "cmdCancel"}));
}

TEST_F(frmAddTest, GroupTypesFollowTheTarget) {
    gIsDomain = false;
    add().SetupForm(kGroupsType, "");
    add().show();
    EXPECT_EQ(typeEntries(), QStringList{"Local"});
    EXPECT_EQ(field<QLabel>("lblType").text(), "Type:");
    EXPECT_FALSE(field<QLineEdit>("txtPassword").isVisible());
    EXPECT_FALSE(field<QCheckBox>("chkAddToGroup").isVisible());
    EXPECT_EQ(field<QLabel>("lblComment").text(), "Comment:");

    gIsDomain = true;
    add().SetupForm(kGroupsType, "");
    add().SetupForm(kGroupsType, "");  // a second use offers each type once
    EXPECT_EQ(typeEntries(), (QStringList{"Local", "Global"}));
    EXPECT_EQ(field<QComboBox>("cboType").currentText(), "Local");
    gIsDomain = false;
}

TEST_F(frmAddTest, CancelReportsNothingAdded) {
    add().SetupForm(kUsersType, "*All Users*");
    field<QLineEdit>("txtName").setText("ann");
    QTimer::singleShot(0, [this] { field<QPushButton>("cmdCancel").click(); });
    add().exec();
    EXPECT_EQ(add().AddResult(), -1);
    EXPECT_FALSE(add().isVisible());
}

}  // namespace
