#include "AccountWorldTest.h"

#include "accounts/Details.h"
#include "accounts/clsGroup.h"
#include "store/ProgramValues.h"
#include "testing/TimeLocale.h"
#include "ui/frmAdd.h"
#include "ui/frmConnect.h"

#include <QApplication>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <lm.h>

namespace {

constexpr uint32_t kNewYear2026 = 1767225600;  // 2026-01-01 00:00:00
constexpr uint32_t kGilLoggedOn = 1741076100;   // 2025-03-04 08:15:00
constexpr uint32_t kGilLoggedOff = 1741110030;  // 2025-03-04 17:40:30

class DetailsTest : public AccountWorldTest {
protected:
    void SetUp() override {
        AccountWorldTest::SetUp();
        samworld::UserRecord fay;
        fay.name = "fay";
        fay.fullName = "Fay Fox";
        fay.comment = "Accounts";
        fay.homeDir = "\\\\ALDER\\home\\fay";
        fay.scriptPath = "fay.cmd";
        fay.profile = "\\\\ALDER\\profiles\\fay";
        fay.acctExpires = kNewYear2026;
        fay.passwordAge = 3 * 86400 + 3600;  // the age grows while the case runs
        fay.flags |= UF_ACCOUNTDISABLE;
        fay.logonHours.assign(21, 0);
        fay.logonHours[0] = 0x01;   // Sunday, midnight
        fay.logonHours[20] = 0x80;  // Saturday, 11 PM
        world().addUser("CORP", fay);
        samworld::UserRecord gil;
        gil.name = "gil";
        gil.flags |= UF_LOCKOUT;
        gil.lastLogon = kGilLoggedOn;
        gil.lastLogoff = kGilLoggedOff;
        world().addUser("CORP", gil);
        clickSwitch();  // Refresh
    }

    QLineEdit &field(const char *name) { return control<QLineEdit>(name); }
    QCheckBox &box(const char *name) { return control<QCheckBox>(name); }
    void showPasswordTab() {
        auto &tabs = control<QTabWidget>("tabDetails_0");
        tabs.setCurrentWidget(tabs.findChild<QWidget *>("tabUserPassword"));
    }
    QTableWidget &grid() { return control<QTableWidget>("flxUserHours"); }
    int cellsReading(const char *text) {
        int count = 0;
        for (int row = 0; row < 7; ++row) {
            for (int column = 0; column < 24; ++column) {
                count += grid().item(row, column)->text() == text ? 1 : 0;
            }
        }
        return count;
    }
    int allowedCells() { return cellsReading("X"); }
    // The tool tip shown when the pointer rests on the grid's first cell.
    QString hoverText() {
        QToolTip::hideText();
        control<QTabWidget>("tabDetails_0").setCurrentIndex(1);
        const QPoint inside = grid().visualItemRect(grid().item(0, 0)).center();
        QHelpEvent hover(QEvent::ToolTip, inside, grid().viewport()->mapToGlobal(inside));
        QApplication::sendEvent(grid().viewport(), &hover);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }
    static bool allowed(const std::vector<uint8_t> &hours, int hour) {
        return (hours.at(hour / 8) >> (hour % 8)) & 1;
    }
    bool applyAndDiscardEnabled() {
        return control<QPushButton>("cmdApply").isEnabled() &&
               control<QPushButton>("cmdDiscard").isEnabled();
    }
    void selectCells(int top, int left, int bottom, int right) {
        grid().clearSelection();
        grid().setRangeSelected(QTableWidgetSelectionRange(top, left, bottom, right), true);
    }
    std::string groupComment(const std::string &group) {
        Details details;
        EXPECT_FALSE(gData->Group().GetDetails(group, details));
        return TextOf(details.Item("Comment"));
    }
};

TEST_F(DetailsTest, OneUserShowsEveryField) {
    select({"fay"});
    EXPECT_EQ(field("txtUserFullName").text(), "Fay Fox");
    EXPECT_EQ(field("txtUserComment").text(), "Accounts");
    EXPECT_EQ(field("txtUserHomeDir").text(), "\\\\ALDER\\home\\fay");
    EXPECT_EQ(field("txtUserScript").text(), "fay.cmd");
    EXPECT_EQ(field("txtUserProfile").text(), "\\\\ALDER\\profiles\\fay");
    EXPECT_EQ(field("txtUserAcctExp").text(), "2026-01-01");
    EXPECT_EQ(field("txtUserLastLogon").text(), "");  // never logged on
    EXPECT_EQ(field("txtUserLastLogoff").text(), "");
    EXPECT_EQ(control<QLabel>("lblUserPassAgeNum").text(), "3");  // whole days
    EXPECT_TRUE(box("chkUserAcctDisable").isChecked());
    EXPECT_FALSE(box("chkUserAcctLocked").isChecked());
    EXPECT_FALSE(box("chkUserAcctLocked").isEnabled());  // nothing locks an account here
    EXPECT_EQ(allowedCells(), 2);
    EXPECT_EQ(grid().item(0, 0)->text(), "X");
    EXPECT_EQ(grid().item(6, 23)->text(), "X");
    // Filling the panel is no edit.
    EXPECT_FALSE(control<QPushButton>("cmdApply").isEnabled());
}

TEST_F(DetailsTest, ANeverExpiringAccountShowsAnEmptyExpiry) {
    select({"bob"});
    EXPECT_EQ(field("txtUserAcctExp").text(), "");
    EXPECT_EQ(control<QLabel>("lblUserPassAgeNum").text(), "0");
}

TEST_F(DetailsTest, LastLogonAndLastLogoffShowTheirOwnTimes) {
    select({"gil"});
    EXPECT_EQ(field("txtUserLastLogon").text(), "2025-03-04 08:15:00");
    EXPECT_EQ(field("txtUserLastLogoff").text(), "2025-03-04 17:40:30");
}

TEST_F(DetailsTest, ALockedAccountCanBeUnlocked) {
    select({"gil"});
    ASSERT_TRUE(box("chkUserAcctLocked").isChecked());
    ASSERT_TRUE(box("chkUserAcctLocked").isEnabled());
    box("chkUserAcctLocked").click();
    clickButton("cmdApply");
    EXPECT_EQ(account("gil").flags & UF_LOCKOUT, 0u);
    EXPECT_FALSE(box("chkUserAcctLocked").isEnabled());
}

// Each password box shows the account's own setting, and what the boxes then say reaches the
// account they were applied to: pat must change her password, quin cannot change his, rex's
// never expires.
TEST_F(DetailsTest, EachPasswordBoxShowsItsAccountsSettingAndIsAppliedToIt) {
    samworld::UserRecord pat, quin, rex;
    pat.name = "pat";
    pat.passwordExpired = 1;
    quin.name = "quin";
    quin.flags |= UF_PASSWD_CANT_CHANGE;
    rex.name = "rex";
    rex.flags |= UF_DONT_EXPIRE_PASSWD;
    for (const samworld::UserRecord &user : {pat, quin, rex}) world().addUser("CORP", user);
    clickSwitch();  // Refresh
    const auto boxes = [this] {
        std::string shown;
        for (const char *name : {"chkUserPassMust", "chkUserPassCant", "chkUserPassNever"}) {
            shown += box(name).isChecked() ? '1' : '0';
        }
        return shown;
    };
    const uint32_t cannotOrNever = UF_PASSWD_CANT_CHANGE | UF_DONT_EXPIRE_PASSWD;

    select({"pat"});
    EXPECT_EQ(boxes(), "100");
    box("chkUserPassCant").click();  // clears "must change" and sets "never expires"
    clickButton("cmdApply");
    EXPECT_EQ(account("pat").passwordExpired, 0u);
    EXPECT_EQ(account("pat").flags & cannotOrNever, cannotOrNever);

    select({"quin"});
    EXPECT_EQ(boxes(), "010");
    box("chkUserPassMust").click();  // clears the other two
    clickButton("cmdApply");
    EXPECT_EQ(account("quin").passwordExpired, 1u);
    EXPECT_EQ(account("quin").flags & cannotOrNever, 0u);

    select({"rex"});
    EXPECT_EQ(boxes(), "001");
    box("chkUserPassMust").click();
    clickButton("cmdApply");
    EXPECT_EQ(account("rex").passwordExpired, 1u);
    EXPECT_EQ(account("rex").flags & cannotOrNever, 0u);
    EXPECT_TRUE(messages().shown().empty());
}

TEST_F(DetailsTest, OneFieldAppliedToFiveUsersWritesOnlyThatField) {
    const samworld::UserRecord before = account("fay");
    select({"ann", "bob", "carl", "dave", "fay"});
    EXPECT_EQ(field("txtUserFullName").text(), "");  // many selected: an empty panel
    QTest::keyClicks(&field("txtUserComment"), "Temporary staff");
    clickButton("cmdApply");
    EXPECT_TRUE(messages().shown().empty());
    for (const char *name : {"ann", "bob", "carl", "dave", "fay"}) {
        EXPECT_EQ(account(name).comment, "Temporary staff") << name;
    }
    EXPECT_EQ(account("eve").comment, "");
    const samworld::UserRecord after = account("fay");
    EXPECT_EQ(after.fullName, before.fullName);
    EXPECT_EQ(after.homeDir, before.homeDir);
    EXPECT_EQ(after.scriptPath, before.scriptPath);
    EXPECT_EQ(after.profile, before.profile);
    EXPECT_EQ(after.flags, before.flags);
    EXPECT_EQ(after.acctExpires, before.acctExpires);
    EXPECT_EQ(after.logonHours, before.logonHours);
    EXPECT_FALSE(control<QPushButton>("cmdApply").isEnabled());
}

// A controller may hold a comment longer than the library's 255 bytes: the account is shown
// with the comment cut and marked, an apply of another field keeps the comment whole, and the
// panel takes no more text than the library can send.
TEST_F(DetailsTest, ALongCommentIsShownCutAndKeptWholeAndTheFieldTakes255Bytes) {
    samworld::UserRecord hal;
    hal.name = "hal";
    hal.comment = std::string(300, 'h');
    world().addUser("CORP", hal);
    clickSwitch();  // Refresh
    select({"hal"});
    EXPECT_EQ(field("txtUserComment").text(), QString(252, QLatin1Char('h')) + QChar(0x2026));

    box("chkUserAcctDisable").click();
    clickButton("cmdApply");
    EXPECT_TRUE(messages().shown().empty());
    EXPECT_EQ(account("hal").comment, hal.comment);
    EXPECT_NE(account("hal").flags & UF_ACCOUNTDISABLE, 0u);

    field("txtUserComment").clear();
    for (int i = 0; i < 200; ++i) {
        QKeyEvent typed(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QString(QChar(0xE9)));
        QApplication::sendEvent(&field("txtUserComment"), &typed);
    }
    clickButton("cmdApply");
    EXPECT_TRUE(messages().shown().empty());
    std::string accented;
    for (int i = 0; i < 127; ++i) accented += "\xC3\xA9";
    EXPECT_EQ(account("hal").comment, accented);
}

// Several users: the panel counts them, and each box is checked, unchecked or partly checked
// as their flags agree or differ. Apply changes only the boxes clicked; a partly checked box
// clicked takes one value for all of them and never goes back to partly checked.
TEST_F(DetailsTest, SeveralUsersShowWhereTheirFlagsAgreeAndApplyOnlyTheBoxesClicked) {
    select({"bob", "fay", "gil"});
    EXPECT_TRUE(control<QLabel>("lblSelCount").isVisible());
    EXPECT_EQ(control<QLabel>("lblSelCount").text(), "3 Domain Users selected");
    showPasswordTab();
    EXPECT_EQ(box("chkUserAcctDisable").checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(box("chkUserAcctLocked").checkState(), Qt::PartiallyChecked);
    EXPECT_TRUE(box("chkUserAcctLocked").isEnabled());
    EXPECT_EQ(box("chkUserPassCant").checkState(), Qt::Unchecked);
    EXPECT_EQ(box("chkUserPassMust").checkState(), Qt::Unchecked);
    EXPECT_FALSE(applyAndDiscardEnabled());

    box("chkUserPassCant").click();
    clickButton("cmdApply");
    EXPECT_TRUE(messages().shown().empty()) << messages().shown()[0].text;
    for (const char *name : {"bob", "fay", "gil"}) {
        EXPECT_NE(account(name).flags & UF_PASSWD_CANT_CHANGE, 0u) << name;
    }
    EXPECT_NE(account("fay").flags & UF_ACCOUNTDISABLE, 0u);
    EXPECT_EQ(account("bob").flags & UF_ACCOUNTDISABLE, 0u);
    EXPECT_NE(account("gil").flags & UF_LOCKOUT, 0u);

    box("chkUserAcctDisable").click();
    EXPECT_EQ(box("chkUserAcctDisable").checkState(), Qt::Checked);
    box("chkUserAcctDisable").click();
    box("chkUserAcctDisable").click();
    EXPECT_EQ(box("chkUserAcctDisable").checkState(), Qt::Checked);
    box("chkUserAcctLocked").click();  // a lockout can only be cleared
    EXPECT_EQ(box("chkUserAcctLocked").checkState(), Qt::Unchecked);
    clickButton("cmdApply");
    for (const char *name : {"bob", "fay", "gil"}) {
        EXPECT_NE(account(name).flags & UF_ACCOUNTDISABLE, 0u) << name;
        EXPECT_EQ(account(name).flags & UF_LOCKOUT, 0u) << name;
    }

    select({"bob"});
    EXPECT_FALSE(control<QLabel>("lblSelCount").isVisible());
}

// Each user's flags are a combination the password rules allow, but together they may look
// like one the rules forbid: they are shown as they are. A box clicked then brings every user
// into a combination the rules allow, a partly checked box counting as checked.
TEST_F(DetailsTest, ThePasswordRulesHoldForEverySelectedUser) {
    showPasswordTab();
    select({"bob"});
    box("chkUserPassMust").click();
    clickButton("cmdApply");
    select({"carl"});
    box("chkUserPassCant").click();
    clickButton("cmdApply");

    select({"bob", "carl"});
    EXPECT_EQ(box("chkUserPassMust").checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(box("chkUserPassCant").checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(box("chkUserPassNever").checkState(), Qt::Unchecked);
    EXPECT_FALSE(applyAndDiscardEnabled());

    box("chkUserPassCant").click();
    EXPECT_EQ(box("chkUserPassMust").checkState(), Qt::Unchecked);
    EXPECT_EQ(box("chkUserPassNever").checkState(), Qt::Checked);
    clickButton("cmdApply");
    EXPECT_TRUE(messages().shown().empty()) << messages().shown()[0].text;
    for (const char *name : {"bob", "carl"}) {
        EXPECT_EQ(account(name).passwordExpired, 0u) << name;
        EXPECT_NE(account(name).flags & UF_PASSWD_CANT_CHANGE, 0u) << name;
        EXPECT_NE(account(name).flags & UF_DONT_EXPIRE_PASSWD, 0u) << name;
    }
}

// Reading many users' flags shows its progress; cancelled, the boxes say the users differ, so
// that nothing is applied to a flag the panel does not know.
TEST_F(DetailsTest, CancelledReadingOfTheFlagsLeavesEveryBoxPartlyChecked) {
    window().ProgressDelay(std::chrono::milliseconds(0));
    select({"ann", "bob", "carl"});
    QString step;
    QTimer::singleShot(0, [&] {
        QWidget *progress = QApplication::activeModalWidget();
        ASSERT_NE(progress, nullptr);
        step = progress->findChild<QLabel *>("lblStep")->text();
        progress->findChild<QPushButton *>("cmdCancel")->click();
    });
    showPasswordTab();
    EXPECT_EQ(step, "Reading the flags of ann");
    for (const char *name : {"chkUserPassMust", "chkUserPassCant", "chkUserAcctDisable",
                             "chkUserAcctLocked"}) {
        EXPECT_EQ(box(name).checkState(), Qt::PartiallyChecked) << name;
    }
    EXPECT_TRUE(messages().shown().empty()) << messages().shown()[0].text;
}

TEST_F(DetailsTest, AccountDisabledAppliedToThreeUsers) {
    select({"bob", "carl", "dave"});
    box("chkUserAcctDisable").click();
    clickButton("cmdApply");
    for (const char *name : {"bob", "carl", "dave"}) {
        EXPECT_EQ(account(name).flags, UF_SCRIPT | UF_NORMAL_ACCOUNT | UF_ACCOUNTDISABLE) << name;
        EXPECT_EQ(account(name).comment, "") << name;
    }
    EXPECT_EQ(account("eve").flags & UF_ACCOUNTDISABLE, 0u);
}

// Checked once, before any account: one message however many users are selected.
TEST_F(DetailsTest, MismatchingPasswordsAreRefusedOnceAndNothingIsApplied) {
    select({"bob", "carl"});
    QTest::keyClicks(&field("txtUserFullName"), "Renamed");
    QTest::keyClicks(&field("txtChangePassword"), "NewPass9");
    QTest::keyClicks(&field("txtConfirmPassword"), "NewPass8");
    clickButton("cmdApply");
    ASSERT_EQ(messages().shown().size(), 1u);
    for (const ShownMessage &message : messages().shown()) {
        EXPECT_EQ(message.text, "Passwords don't match");
        EXPECT_EQ(message.title, "Password Error");
        EXPECT_EQ(message.icon, MsgIcon::Exclamation);
    }
    EXPECT_EQ(account("bob").fullName, "");
    EXPECT_TRUE(world().passwordMatches("CORP", "carl", "Secret1"));
    EXPECT_TRUE(control<QPushButton>("cmdApply").isEnabled());
    EXPECT_TRUE(control<QPushButton>("cmdDiscard").isEnabled());
}

TEST_F(DetailsTest, APasswordIsAppliedExactlyAsTyped) {
    select({"bob"});
    QTest::keyClicks(&field("txtChangePassword"), "NewPass9");
    QTest::keyClicks(&field("txtConfirmPassword"), "newpass9");  // differs only in case
    clickButton("cmdApply");
    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().shown()[0].text, "Passwords don't match");

    field("txtConfirmPassword").clear();
    QTest::keyClicks(&field("txtConfirmPassword"), "NewPass9");
    clickButton("cmdApply");
    EXPECT_EQ(messages().shown().size(), 1u);
    EXPECT_TRUE(world().passwordMatches("CORP", "bob", "NewPass9"));
    EXPECT_FALSE(world().passwordMatches("CORP", "bob", "newpass9"));
}

TEST_F(DetailsTest, HoursSetOnACellRangeReachTheAccount) {
    select({"bob"});
    selectCells(0, 0, 6, 23);
    clickButton("cmdUserClear");
    selectCells(1, 8, 5, 16);  // Monday to Friday, 8 AM to 5 PM
    clickButton("cmdUserSet");
    clickButton("cmdApply");
    const std::vector<uint8_t> hours = account("bob").logonHours;
    ASSERT_EQ(hours.size(), 21u);
    for (int hour = 0; hour < 168; ++hour) {
        const bool allowed = (hours[hour / 8] >> (hour % 8)) & 1;
        const int day = hour / 24;
        const int time = hour % 24;
        EXPECT_EQ(allowed, day >= 1 && day <= 5 && time >= 8 && time <= 16) << hour;
    }
}

// Several users: the grid shows none of their hours, and only the hours cleared reach each
// user, merged into that user's own.
TEST_F(DetailsTest, HoursClearedForSeveralUsersKeepEachUsersOtherHours) {
    select({"bob", "fay"});
    EXPECT_EQ(cellsReading("?"), 168);
    EXPECT_EQ(hoverText(), "The selected users' hours may differ, so none are shown here. Only "
                           "the hours you set or clear are applied; every other hour of each "
                           "user stays as it is.");
    selectCells(0, 0, 0, 23);  // Sunday
    clickButton("cmdUserClear");
    clickButton("cmdApply");
    EXPECT_TRUE(messages().shown().empty()) << messages().shown()[0].text;
    const std::vector<uint8_t> bob = account("bob").logonHours;
    const std::vector<uint8_t> fay = account("fay").logonHours;
    for (int hour = 0; hour < 168; ++hour) {
        EXPECT_EQ(allowed(bob, hour), hour >= 24) << hour;
        EXPECT_EQ(allowed(fay, hour), hour == 167) << hour;  // Saturday, 11 PM stays
    }
    // One user again: the grid shows that user's hours.
    select({"fay"});
    EXPECT_EQ(cellsReading("?"), 0);
    EXPECT_EQ(allowedCells(), 1);
    EXPECT_EQ(hoverText(), "");
}

// The failures of one Apply come as one report that counts them; the panel keeps its changes
// and both buttons, so that they can be corrected and applied again.
TEST_F(DetailsTest, AFailedApplyIsReportedOnceAndKeepsThePanelsChanges) {
    world().addFault({"NetUserSetInfo", 5, "", 1, 2});  // the second and third writes are refused
    select({"bob", "carl", "dave"});
    QTest::keyClicks(&field("txtUserComment"), "Contractor");
    clickButton("cmdApply");
    ASSERT_EQ(messages().shown().size(), 1u);
    const std::string &report = messages().shown()[0].text;
    EXPECT_EQ(report.rfind("The following errors occurred during the requested operation:\n\r1. "
                           "Failed to update user 'carl'",
                           0),
              0u)
        << report;
    EXPECT_NE(report.find("\n\r2. Failed to update user 'dave'"), std::string::npos) << report;
    EXPECT_NE(report.find("\n\r1 of 3 accounts succeeded, 2 failed.\n\r"), std::string::npos)
        << report;
    EXPECT_EQ(field("txtUserComment").text(), "Contractor");
    EXPECT_TRUE(applyAndDiscardEnabled());
    clickButton("cmdApply");  // the SAM takes them now
    EXPECT_EQ(messages().shown().size(), 1u);
    for (const char *name : {"bob", "carl", "dave"}) {
        EXPECT_EQ(account(name).comment, "Contractor") << name;
    }
    EXPECT_FALSE(applyAndDiscardEnabled());
}

// A logon refused halfway through an Apply (a password changed meanwhile) asks once for
// another: given, the refused user is done again and nothing is reported; refused, that user
// fails and the rest go on without asking again. A single call, such as New User's or the
// reading of the selected account, asks each time it is refused, and only the refused step is
// done again: a new user whose membership was refused is not created twice.
TEST_F(DetailsTest, ALogonRefusedHalfwayIsAskedForOnceAndTheUserDoneAgain) {
    int asked = 0;
    // Answers the next `times` Connect dialogs, each once it shows.
    std::function<void(bool, int)> answerConnect = [&](bool connect, int times) {
        whenModal<frmConnect>([&, connect, times](frmConnect &dialog) {
            ++asked;
            dialog.findChild<QLineEdit *>("txtUserName")->setText("CORP\\Administrator");
            dialog.findChild<QLineEdit *>("txtPassword")->setText("secret");
            if (times > 1) answerConnect(connect, times - 1);
            dialog.findChild<QPushButton *>(connect ? "cmdOk" : "cmdCancel")->click();
        });
    };
    world().addFault({"NetUserSetInfo", 1326, "", 1, 1});  // carl's write is refused once
    select({"bob", "carl", "dave"});
    QTest::keyClicks(&field("txtUserComment"), "Contractor");
    answerConnect(true, 1);
    clickButton("cmdApply");
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(messages().shown().empty()) << messages().shown()[0].text;
    for (const char *name : {"bob", "carl", "dave"}) {
        EXPECT_EQ(account(name).comment, "Contractor") << name;
    }

    world().addFault({"NetUserSetInfo", 1326, "", 1, 2});  // carl's and dave's writes
    QTest::keyClicks(&field("txtUserComment"), " again");
    answerConnect(false, 1);
    clickButton("cmdApply");
    EXPECT_EQ(asked, 2);
    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_NE(messages().shown()[0].text.find("\n\r1 of 3 accounts succeeded, 2 failed.\n\r"),
              std::string::npos)
        << messages().shown()[0].text;
    EXPECT_EQ(account("carl").comment, "Contractor");

    clickButton("cmdDiscard");
    auto &filter = control<QComboBox>("cboFilter");
    filter.setCurrentIndex(filter.findText("Staff"));
    world().addFault({"NetGroupAddUser", 1326, "", 0, 1});
    world().addFault({"NetUserGetInfo", 1326, "", 0, 1});
    whenModal<frmAdd>([](frmAdd &add) {
        add.findChild<QLineEdit *>("txtName")->setText("hal");
        add.findChild<QLineEdit *>("txtComment")->setText("Hal Hill");
        add.findChild<QCheckBox *>("chkAddToGroup")->setChecked(true);
        add.findChild<QPushButton *>("cmdOk")->click();
    });
    answerConnect(true, 2);
    control<QAction>("mnuEditItems_0").trigger();
    EXPECT_EQ(asked, 4);
    EXPECT_EQ(messages().shown().size(), 1u) << messages().shown().back().text;
    const std::vector<std::string> staff = world().members("CORP", "Staff");
    EXPECT_NE(std::find(staff.begin(), staff.end(), "hal"), staff.end());
    EXPECT_EQ(selectedNames(), QStringList{"hal"});
    EXPECT_EQ(field("txtUserFullName").text(), "Hal Hill");
}

// Apply by its access key leaves the field where it is: the check still comes first.
TEST_F(DetailsTest, ApplyByItsAccessKeyChecksTheExpiryDateFirst) {
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    select({"fay"});
    field("txtUserAcctExp").setFocus();
    field("txtUserAcctExp").setText("2026-02-31");
    QTest::keyClick(&field("txtUserAcctExp"), Qt::Key_A, Qt::AltModifier);
    QTest::qWait(300);  // the button shows itself pressed before it clicks
    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().shown()[0].text, "Invalid date specified: '2026-02-31'");
    EXPECT_TRUE(field("txtUserAcctExp").hasFocus());
    EXPECT_EQ(account("fay").acctExpires, kNewYear2026);
}

// The progress of a bulk Apply names the account at hand; Cancel stops before the next one,
// and the one report says what was not done.
TEST_F(DetailsTest, ACancelledApplyReportsWhatWasNotDone) {
    window().ProgressDelay(std::chrono::milliseconds(0));
    select({"bob", "carl", "dave"});
    box("chkUserAcctDisable").click();
    QString step;
    QString count;
    bool othersBlocked = false;
    QTimer::singleShot(0, [&] {
        QWidget *progress = QApplication::activeModalWidget();
        ASSERT_NE(progress, nullptr);
        ASSERT_EQ(progress->objectName(), "frmProgress");
        step = progress->findChild<QLabel *>("lblStep")->text();
        count = progress->findChild<QLabel *>("lblCount")->text();
        othersBlocked = !window().isEnabled() || QApplication::activeModalWidget() == progress;
        progress->findChild<QPushButton *>("cmdCancel")->click();
    });
    clickButton("cmdApply");
    EXPECT_EQ(step, "Applying the changes to bob");
    EXPECT_EQ(count, "1 of 3");
    EXPECT_TRUE(othersBlocked);
    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().shown()[0].text, "0 of 3 accounts succeeded, 0 failed, 3 not done (cancelled).");
    EXPECT_EQ(messages().shown()[0].icon, MsgIcon::Information);
    for (const char *name : {"bob", "carl", "dave"}) {
        EXPECT_EQ(account(name).flags & UF_ACCOUNTDISABLE, 0u) << name;
    }
    EXPECT_TRUE(applyAndDiscardEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(DetailsTest, AnEmptiedExpiryMeansNever) {
    select({"fay"});
    field("txtUserAcctExp").clear();
    clickButton("cmdApply");
    EXPECT_TRUE(messages().shown().empty());
    EXPECT_EQ(account("fay").acctExpires, TIMEQ_FOREVER);
}

// What the panel shows in the user's locale, and what is typed in that form, reaches the
// account as the same moment.
TEST_F(DetailsTest, DatesInTheUsersLocaleReachTheAccountAsTheSameMoment) {
    const TimeLocale german("de_DE.UTF-8");
    select({"fay"});
    EXPECT_EQ(field("txtUserAcctExp").text(), "01.01.2026");
    field("txtUserAcctExp").setText("15.03.2027 8:30");
    clickButton("cmdApply");
    EXPECT_EQ(account("fay").acctExpires, 1805099400u);  // 2027-03-15 08:30:00
    window().ShowItemDetails("fay", 0);  // read again
    ASSERT_EQ(field("txtUserAcctExp").text(), "15.03.2027 08:30:00");
    field("txtUserAcctExp").setText(field("txtUserAcctExp").text() + " ");
    clickButton("cmdApply");
    EXPECT_TRUE(messages().shown().empty());
    EXPECT_EQ(account("fay").acctExpires, 1805099400u);
}

TEST_F(DetailsTest, DiscardReadsOneItemAgain) {
    select({"fay"});
    QTest::keyClicks(&field("txtUserFullName"), " Jr");
    ASSERT_TRUE(control<QPushButton>("cmdDiscard").isEnabled());
    clickButton("cmdDiscard");
    EXPECT_EQ(field("txtUserFullName").text(), "Fay Fox");
    EXPECT_FALSE(control<QPushButton>("cmdApply").isEnabled());
    EXPECT_FALSE(control<QPushButton>("cmdDiscard").isEnabled());
    EXPECT_EQ(account("fay").fullName, "Fay Fox");
}

TEST_F(DetailsTest, DiscardGivesUpAMultipleSelection) {
    select({"bob", "carl", "dave"});
    QTest::keyClicks(&field("txtUserComment"), "unsaved");
    clickButton("cmdDiscard");
    EXPECT_EQ(selectedNames().size(), 1);
    EXPECT_EQ(window().SelCount(), 1);
    EXPECT_FALSE(control<QPushButton>("cmdApply").isEnabled());
    EXPECT_EQ(account("bob").comment, "");
}

TEST_F(DetailsTest, AFailingUpdateIsShownAndTheOtherUsersAreStillUpdated) {
    world().addFault({"NetUserSetInfo", 5, "", 1, 1});  // the second write is refused
    select({"bob", "carl", "dave"});
    QTest::keyClicks(&field("txtUserComment"), "Contractor");
    clickButton("cmdApply");
    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().shown()[0].title, "Error");
    EXPECT_NE(messages().shown()[0].text.find("carl"), std::string::npos)
        << messages().shown()[0].text;
    EXPECT_EQ(account("bob").comment, "Contractor");
    EXPECT_EQ(account("carl").comment, "");
    EXPECT_EQ(account("dave").comment, "Contractor");
}

TEST_F(DetailsTest, AGroupCommentIsApplied) {
    showGroups();
    select({"Printers"});
    EXPECT_EQ(field("txtGrpType").text(), "Local");
    EXPECT_EQ(field("txtGrpComment").text(), "Print operators");
    field("txtGrpComment").setText("Print and scan");
    clickButton("cmdApply");
    EXPECT_EQ(groupComment("Printers"), "Print and scan");
}

TEST_F(DetailsTest, AMixedSelectionIsRefusedByApply) {
    showGroups();
    select({"Printers", "Staff"});
    messages().answerNext(MsgAnswer::OK);
    field("txtGrpComment").setText("Changed");
    const std::size_t shownBefore = messages().shown().size();
    clickButton("cmdApply");
    ASSERT_EQ(messages().shown().size(), shownBefore + 1);
    EXPECT_EQ(messages().shown().back().text, "Mixed types in selection not allowed");
    EXPECT_EQ(groupComment("Printers"), "Print operators");
    EXPECT_EQ(groupComment("Staff"), "Everybody on the staff");
}

}  // namespace
