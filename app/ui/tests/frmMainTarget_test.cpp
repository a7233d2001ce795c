#include "UiTest.h"

#include "accounts/clsUser.h"
#include "dataops/ItemList.h"
#include "status/modSAM.h"
#include "store/ProgramValues.h"
#include "ui/frmConnect.h"
#include "ui/modDeclare.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>

namespace {

class TargetTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        addDomainWithLocalMember();
        world().addMachine("PC1", "", "OFFICE", false);
        world().addUser("CORP", "clerk");
    }

    void expectTargetOpen(const QString &host) {
        EXPECT_EQ(window().windowTitle(), host + " - Tarnwick");
        EXPECT_EQ(control<QPushButton>("cmdSwitch").text(), "&Refresh");
        EXPECT_TRUE(control<QGroupBox>("fraDetails").isVisible());
        EXPECT_TRUE(control<QToolBar>("tbrToolBar").isEnabled());
        EXPECT_TRUE(control<QMenu>("mnuEdit").menuAction()->isEnabled());
        EXPECT_TRUE(control<QMenu>("mnuView").menuAction()->isEnabled());
        EXPECT_TRUE(control<QAction>("mnuViewItem_0").isChecked());
        EXPECT_TRUE(control<QAction>("tbrToolBar_User").isChecked());
        EXPECT_FALSE(control<QAction>("tbrToolBar_Group").isChecked());
        EXPECT_TRUE(control<QTabWidget>("tabDetails_0").isVisible());
        EXPECT_FALSE(control<QTabWidget>("tabDetails_1").isVisible());
        EXPECT_EQ(window().ViewType(), kUsersType);
        EXPECT_EQ(control<QLabel>("lblFilter").text(), "Filter by Group Membership:");
        ASSERT_GE(control<QComboBox>("cboFilter").count(), 1);
        EXPECT_EQ(control<QComboBox>("cboFilter").itemText(0), "*All Users*");
        EXPECT_EQ(control<QLineEdit>("txtChangePassword").maxLength(), 14);
        EXPECT_EQ(control<QLineEdit>("txtGrpComment").maxLength(), 255);
    }

    void expectNoTarget() {
        EXPECT_EQ(control<QPushButton>("cmdSwitch").text(), "S&witch To");
        EXPECT_FALSE(control<QGroupBox>("fraDetails").isVisible());
        EXPECT_FALSE(control<QToolBar>("tbrToolBar").isEnabled());
        EXPECT_FALSE(control<QMenu>("mnuEdit").menuAction()->isEnabled());
        EXPECT_FALSE(control<QAction>("mnuViewItem_0").isChecked());
        EXPECT_FALSE(control<QAction>("tbrToolBar_User").isChecked());
        EXPECT_EQ(control<QComboBox>("cboFilter").count(), 0);
        EXPECT_EQ(control<QLabel>("lblFilter").text(), "Filter:");
    }

    void openMachineSam(const char *machine) {
        control<QCheckBox>("chkPDC").setChecked(false);
        control<QLineEdit>("txtName").setText(machine);
        clickSwitch();
    }

    void openDomainByName(const char *domain) {
        clickOption(1);
        control<QLineEdit>("txtName").setText(domain);
        clickSwitch();
    }

    std::string itemWordCaptions() {
        return (control<QGroupBox>("fraDetails").title() + "|" +
                control<ItemListView>("lstItems").model()->headerData(0, Qt::Horizontal).toString() + "|" +
                control<QAction>("mnuEditItems_0").text() + "|" +
                control<QAction>("mnuEditItems_1").text() + "|" +
                control<QAction>("mnuEditItems_2").text())
            .toStdString();
    }
};

TEST_F(TargetTest, SwitchToOpensTheDomainOfTheLocalMachine) {
    clickSwitch();
    ASSERT_TRUE(messages().shown().empty()) << messages().shown()[0].text;
    expectTargetOpen("\\\\ALDER");
    EXPECT_EQ(gSAMHost, "\\\\ALDER");
    EXPECT_EQ(gDomainName, "CORP");
    EXPECT_TRUE(control<QLineEdit>("txtUserAcctExp").isVisible());
    EXPECT_TRUE(control<QLabel>("lblUserAcctExp").isVisible());
    EXPECT_EQ(itemWordCaptions(),
              "Domain User Properties:|Domain User(s)|&New Domain User|&Delete Domain User|"
              "&Find Domain User");
}

TEST_F(TargetTest, EnterInTheNameBoxSwitchesAndADomainNameWorksToo) {
    clickOption(1);
    QTest::keyClicks(&control<QLineEdit>("txtName"), "  corp ");
    QTest::keyClick(&control<QLineEdit>("txtName"), Qt::Key_Return);
    ASSERT_TRUE(messages().shown().empty()) << messages().shown()[0].text;
    expectTargetOpen("\\\\ALDER");
}

TEST_F(TargetTest, AMachinesOwnSamHasNoAccountExpiryAndPlainUsers) {
    world().logon("PC1\\Administrator");
    openMachineSam("PC1");
    ASSERT_TRUE(messages().shown().empty()) << messages().shown()[0].text;
    expectTargetOpen("\\\\PC1");
    EXPECT_FALSE(control<QLineEdit>("txtUserAcctExp").isVisible());
    EXPECT_FALSE(control<QLabel>("lblUserAcctExp").isVisible());
    EXPECT_EQ(itemWordCaptions(), "User Properties:|User(s)|&New User|&Delete User|&Find User");
}

TEST_F(TargetTest, TwoLeadingBackslashesAreKept) {
    world().logon("PC1\\Administrator");
    openMachineSam("\\\\PC1");
    ASSERT_TRUE(messages().shown().empty()) << messages().shown()[0].text;
    EXPECT_EQ(gSAMHost, "\\\\PC1");
}

TEST_F(TargetTest, AnUnknownNameIsReportedAndChangesNothing) {
    clickSwitch();
    ASSERT_TRUE(messages().shown().empty()) << messages().shown()[0].text;
    openDomainByName("NOWHERE");  // choosing the option already left the target
    ASSERT_EQ(messages().shown().size(), 1u);
    std::string reason;
    StatusText(2453, reason);
    EXPECT_EQ(messages().shown()[0].text,
              "Unable to establish details about the target SAM:\n\r" + reason + "\n\r");
    EXPECT_EQ(messages().shown()[0].title, "Error");
    EXPECT_EQ(messages().shown()[0].icon, MsgIcon::Exclamation);
    expectNoTarget();
    EXPECT_EQ(gSAMHost, "\\\\ALDER");  // the open store's server is still the target's
}

// The probe's message is shown as it is; then a look without changes is offered.
TEST_F(TargetTest, ARefusedRightsProbeShowsItsOwnMessageAlone) {
    world().logon("CORP\\clerk");
    messages().answerNext(MsgAnswer::OK);
    messages().answerNext(MsgAnswer::No);
    clickSwitch();
    ASSERT_EQ(messages().shown().size(), 2u);
    const ShownMessage &refusal = messages().shown()[0];
    EXPECT_EQ(refusal.text.rfind("Failed to add test user: ", 0), 0u) << refusal.text;
    EXPECT_EQ(refusal.text.find("Unable to establish"), std::string::npos);
    EXPECT_EQ(refusal.title, "Error");
    expectNoTarget();
    EXPECT_EQ(gSAMHost, "");
}

// Refused access, the target can be opened to look at: lists, filters and properties shown,
// nothing that changes an account enabled, the caption saying so. A later Switch To with the
// rights brings the commands back.
TEST_F(TargetTest, ARefusedProbeOffersALookWithoutChanges) {
    world().logon("CORP\\clerk");
    messages().answerNext(MsgAnswer::OK);
    messages().answerNext(MsgAnswer::Yes);
    clickSwitch();
    ASSERT_EQ(messages().shown().size(), 2u);
    EXPECT_EQ(messages().shown()[1].text,
              "You may not change the accounts of \\\\ALDER. Open it read only, to look at its "
              "users and groups without changing them?");
    EXPECT_EQ(messages().shown()[1].buttons, MsgButtons::YesNo);
    EXPECT_EQ(window().windowTitle(), "\\\\ALDER - Tarnwick (read only)");
    auto &list = control<ItemListView>("lstItems");
    ASSERT_GE(list.entries().findName("clerk"), 0);
    EXPECT_TRUE(control<QGroupBox>("fraDetails").isVisible());
    EXPECT_TRUE(control<QAction>("mnuEditItems_2").isEnabled());  // Find only looks
    for (const char *command :
         {"mnuEditItems_0", "mnuEditItems_1", "tbrToolBar_Add", "tbrToolBar_Delete"}) {
        EXPECT_FALSE(control<QAction>(command).isEnabled()) << command;
    }
    auto &comment = control<QLineEdit>("txtUserComment");
    const QString shown = comment.text();
    QTest::keyClicks(&comment, "changed");
    EXPECT_EQ(comment.text(), shown);
    EXPECT_FALSE(control<QCheckBox>("chkUserAcctDisable").isEnabled());
    EXPECT_FALSE(control<QPushButton>("cmdUserSet").isEnabled());
    EXPECT_FALSE(control<QPushButton>("cmdApply").isEnabled());
    QTest::keyClick(&list, Qt::Key_Delete);
    EXPECT_EQ(messages().shown().size(), 2u);
    std::vector<bool> relationsButtons;
    QTimer::singleShot(0, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        for (const char *button : {"cmdAdd", "cmdRemove", "cmdAddOther", "cmdOK"}) {
            relationsButtons.push_back(dialog->findChild<QPushButton *>(button)->isEnabled());
        }
        dialog->findChild<QPushButton *>("cmdOK")->click();
    });
    control<QPushButton>("cmdRelations").click();
    EXPECT_EQ(relationsButtons, (std::vector<bool>{false, false, false, true}));

    world().logon("CORP\\Administrator");
    clickSwitch();  // Refresh
    EXPECT_EQ(messages().shown().size(), 2u);
    expectTargetOpen("\\\\ALDER");
    EXPECT_TRUE(control<QAction>("mnuEditItems_0").isEnabled());
    EXPECT_TRUE(control<QCheckBox>("chkUserAcctDisable").isEnabled());
    QTest::keyClicks(&comment, "changed");
    EXPECT_TRUE(control<QPushButton>("cmdApply").isEnabled());
}

// A target that refuses the logon: the Connect dialog asks for a name and password, says so
// when they are refused too, and the switch goes on once they are taken.
TEST_F(TargetTest, ARefusedLogonAsksForANameAndPasswordUntilOneIsTaken) {
    world().addFault({.call = "NetUserAdd", .status = 1326, .server = "", .after = 0, .count = 2});
    std::vector<std::pair<QString, QString>> asked;  // caption, refusal
    const std::function<void()> answer = [&] {
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<frmConnect *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            const auto *refusal = dialog->findChild<QLabel *>("lblRefusal");
            asked.emplace_back(dialog->windowTitle(), refusal->isVisible() ? refusal->text() : QString());
            dialog->findChild<QLineEdit *>("txtUserName")->setText("CORP\\Administrator");
            dialog->findChild<QLineEdit *>("txtPassword")->setText("secret");
            if (asked.size() < 2) answer();
            dialog->findChild<QPushButton *>("cmdOk")->click();
        });
    };
    answer();
    clickSwitch();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0], std::make_pair(QString("Connect to OAK as..."), QString()));
    EXPECT_EQ(asked[1], std::make_pair(QString("Connect to OAK as..."),
                                       QString("Logon failure: unknown user name or bad password.")));
    EXPECT_TRUE(messages().shown().empty()) << messages().shown()[0].text;
    expectTargetOpen("\\\\ALDER");
}

TEST_F(TargetTest, CancellingTheConnectDialogLeavesTheWindowAsItWas) {
    clickSwitch();
    const int items = control<ItemListView>("lstItems").count();
    world().addFault({.call = "NetUserAdd", .status = 1326, .server = "", .after = 0, .count = 1});
    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<frmConnect *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QPushButton *>("cmdCancel")->click();
    });
    control<QAction>("mnuViewRefresh").trigger();
    EXPECT_TRUE(messages().shown().empty()) << messages().shown()[0].text;
    expectTargetOpen("\\\\ALDER");
    EXPECT_EQ(control<ItemListView>("lstItems").count(), items);
    EXPECT_EQ(gSAMHost, "\\\\ALDER");
}

// A snapshot that cannot be built is reported with the step at which the load stopped, and
// the window goes back to no target: the store holds nothing its list could answer for.
TEST_F(TargetTest, AFailedSnapshotLeavesNoTargetAndSaysWhichStepFailed) {
    clickSwitch();
    ASSERT_TRUE(messages().shown().empty()) << messages().shown()[0].text;
    world().addFault({.call = "NetGroupGetUsers", .status = 5, .server = "", .after = 0, .count = 1});
    control<QAction>("mnuViewRefresh").trigger();
    ASSERT_EQ(messages().shown().size(), 1u);
    const std::string caption = "Database initialisation failed:\n\r";
    const std::string &text = messages().shown()[0].text;
    EXPECT_EQ(text.rfind(caption, 0), 0u) << text;
    EXPECT_NE(text.find("Get users failed: Access denied."), std::string::npos) << text;
    EXPECT_NE(text.find("The load stopped at: Reading the members of Domain Admins. No target "
                        "is open."),
              std::string::npos)
        << text;
    EXPECT_EQ(messages().shown()[0].title, "Error");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    expectNoTarget();
    EXPECT_EQ(control<ItemListView>("lstItems").count(), 0);
    // Nothing was left half-loaded: the next Switch To opens the target whole.
    clickSwitch();
    EXPECT_EQ(messages().shown().size(), 1u);
    expectTargetOpen("\\\\ALDER");
}

// The load's progress shows its step; Cancel leaves no target and nothing half loaded, and the
// next Switch To opens the target whole.
TEST_F(TargetTest, ACancelledSwitchLeavesNoTarget) {
    clickSwitch();
    window().ProgressDelay(std::chrono::milliseconds(0));
    QString step;
    QTimer::singleShot(0, [&] {
        QWidget *progress = QApplication::activeModalWidget();
        ASSERT_NE(progress, nullptr);
        ASSERT_EQ(progress->objectName(), "frmProgress");
        step = progress->findChild<QLabel *>("lblStep")->text();
        progress->findChild<QPushButton *>("cmdCancel")->click();
    });
    control<QAction>("mnuViewRefresh").trigger();
    EXPECT_EQ(step, "Reading the users");
    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().shown()[0].text,
              "Switch To was cancelled at: Reading the users. No target is open.");
    EXPECT_EQ(messages().shown()[0].icon, MsgIcon::Information);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    expectNoTarget();
    NameArray stored;
    ASSERT_FALSE(gData->User().OpenData());
    gData->User().GetAll(stored);
    EXPECT_EQ(stored.Count(), 0);

    window().ProgressDelay(kProgressDelay);
    clickSwitch();
    EXPECT_EQ(messages().shown().size(), 1u);
    expectTargetOpen("\\\\ALDER");
}

TEST_F(TargetTest, TypingInTheNameBoxLeavesTheTarget) {
    clickSwitch();
    ASSERT_TRUE(messages().shown().empty()) << messages().shown()[0].text;
    QTest::keyClicks(&control<QLineEdit>("txtName"), "1");
    expectNoTarget();
    EXPECT_EQ(control<ItemListView>("lstItems").count(), 0);
    EXPECT_EQ(gSAMHost, "\\\\ALDER");  // the store keeps the last target until the next switch
}

TEST_F(TargetTest, TheGroupsViewRelabelsEveryCaptionWithTheItemWord) {
    clickSwitch();
    control<QAction>("tbrToolBar_Group").trigger();
    EXPECT_EQ(window().ViewType(), kGroupsType);
    EXPECT_EQ(itemWordCaptions(), "Group Properties:|Group(s)|&New Group|&Delete Group|&Find Group");
    EXPECT_EQ(control<QLabel>("lblFilter").text(), "Filter by User in Groups:");
    EXPECT_EQ(control<QComboBox>("cboFilter").itemText(0), "*All Groups*");
    EXPECT_TRUE(control<QTabWidget>("tabDetails_1").isVisible());
    EXPECT_FALSE(control<QTabWidget>("tabDetails_0").isVisible());
    EXPECT_TRUE(control<QAction>("mnuViewItem_1").isChecked());
    EXPECT_FALSE(control<QAction>("mnuViewItem_0").isChecked());
    EXPECT_TRUE(control<QAction>("tbrToolBar_Group").isChecked());
    EXPECT_FALSE(control<QAction>("tbrToolBar_User").isChecked());
}

TEST_F(TargetTest, RefreshComesBackToTheUsersView) {
    clickSwitch();
    control<QAction>("mnuViewItem_1").trigger();
    control<QTabWidget>("tabDetails_1").setCurrentIndex(0);
    control<QAction>("mnuViewRefresh").trigger();
    ASSERT_TRUE(messages().shown().empty()) << messages().shown()[0].text;
    expectTargetOpen("\\\\ALDER");
}

TEST_F(TargetTest, OutOfStepWarningIsShownOnceAfterAStatusThatSetsIt) {
    clickSwitch();
    std::string ignored;
    StatusText(2221, ignored);  // a user the store believes in is gone
    control<QAction>("mnuViewItem_1").trigger();
    control<QAction>("mnuViewItem_0").trigger();
    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().shown()[0].text, OutOfStepWarning);
    EXPECT_EQ(messages().shown()[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(messages().shown()[0].title, "Tarnwick");
    EXPECT_FALSE(OutOfStep);
}

TEST_F(TargetTest, ListAndPanelGrowWithTheWindow) {
    clickSwitch();
    auto &list = control<ItemListView>("lstItems");
    auto &panel = control<QGroupBox>("fraDetails");
    QCoreApplication::processEvents();
    const QSize listBefore = list.size();
    const QSize panelBefore = panel.size();
    window().resize(window().width() + 300, window().height() + 200);
    QCoreApplication::processEvents();
    EXPECT_GT(list.height(), listBefore.height());
    EXPECT_GT(panel.width(), panelBefore.width());
    EXPECT_GT(panel.height(), panelBefore.height());
}

}  // namespace
