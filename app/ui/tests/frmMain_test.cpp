#include "UiTest.h"

#include "dataops/ItemList.h"
#include "status/modSAM.h"
#include "store/ProgramValues.h"
#include "vantry_api/NameList.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>

namespace {

using frmMainTest = UiTest;

QString Caption(QObject &control) {
    for (const char *property : {"text", "title"}) {
        const QVariant caption = control.property(property);
        if (caption.isValid()) return caption.toString();
    }
    return {};
}

TEST_F(frmMainTest, StartsWithTheLocalComputerAndNoTarget) {
    EXPECT_EQ(window().windowTitle(), "Tarnwick");
    EXPECT_EQ(control<QLineEdit>("txtName").text(), "OAK");
    EXPECT_TRUE(control<QRadioButton>("optSelect_0").isChecked());
    EXPECT_FALSE(control<QRadioButton>("optSelect_1").isChecked());
    EXPECT_TRUE(control<QCheckBox>("chkPDC").isChecked());
    EXPECT_TRUE(control<QCheckBox>("chkPDC").isEnabled());
    EXPECT_EQ(control<QPushButton>("cmdSwitch").text(), "S&witch To");
    EXPECT_EQ(control<QLabel>("lblFilter").text(), "Filter:");
    EXPECT_EQ(control<QComboBox>("cboFilter").count(), 0);
    EXPECT_EQ(control<ItemListView>("lstItems").count(), 0);
    EXPECT_FALSE(control<QGroupBox>("fraDetails").isVisible());
    EXPECT_FALSE(control<QPushButton>("cmdRelations").isEnabled());
    EXPECT_FALSE(control<QPushButton>("cmdApply").isEnabled());
    EXPECT_FALSE(control<QPushButton>("cmdDiscard").isEnabled());
    EXPECT_FALSE(control<QToolBar>("tbrToolBar").isEnabled());
    EXPECT_FALSE(control<QMenu>("mnuEdit").menuAction()->isEnabled());
    EXPECT_FALSE(control<QMenu>("mnuView").menuAction()->isEnabled());
    for (const char *view : {"mnuViewItem_0", "mnuViewItem_1", "tbrToolBar_User",
                             "tbrToolBar_Group"}) {
        EXPECT_FALSE(control<QAction>(view).isChecked()) << view;
    }
    EXPECT_FALSE(control<QTimer>("timListUpdate").isActive());
    EXPECT_FALSE(control<QWidget>("lstHidden").isVisible());
    EXPECT_EQ(control<QAction>("mnuHelpAbout").text(), "&About Tarnwick");
}

TEST_F(frmMainTest, ControlsCarryTheirCaptionsAndAccessKeys) {
    const std::vector<std::pair<const char *, const char *>> captions{
        {"fraTarget", "SAM Database"},
        {"lblSelect", "&Select By:"},
        {"optSelect_0", "Machine Name"},
        {"optSelect_1", "Domain Name"},
        {"lblName", "Machine &Name:"},
        {"chkPDC", "S&elect the Domain SAM"},
        {"fraItemSelect", "Select List:"},
        {"cmdRelations", "&Relationships"},
        {"fraDetails", "Item Attributes:"},
        {"cmdApply", "&Apply"},
        {"cmdDiscard", "&Discard"},
        {"mnuFile", "&File"},
        {"mnuFileExit", "E&xit"},
        {"mnuEdit", "&Edit"},
        {"mnuEditItems_0", "&New User..."},
        {"mnuEditItems_1", "&Delete User"},
        {"mnuEditItems_2", "&Find User..."},
        {"mnuView", "&View"},
        {"mnuViewItem_0", "&Users"},
        {"mnuViewItem_1", "&Groups"},
        {"mnuViewRefresh", "&Refresh"},
        {"mnuHelp", "&Help"},
        {"mnuHelpContents", "&Contents"},
        {"mnuHelpSearch", "&Search For Help On..."},
        {"fraUserLogon", "Logon Details"},
        {"lblUserAcctExp", "Account Expires:"},
        {"lblUserLastLogon", "Last Logon:"},
        {"lblUserLastLogoff", "Last Logoff:"},
        {"fraUserProps", ""},
        {"lblUserFullName", "Full Name:"},
        {"lblUserComment", "Comment:"},
        {"lblUserHomeDir", "Home Directory:"},
        {"lblUserScript", "&Logon Script Name:"},
        {"cmdUserScriptBrowse", "Br&owse"},
        {"lblUserProfile", "&User Profile Path:"},
        {"fraHours", "Hours"},
        {"cmdUserSet", "Set"},
        {"cmdUserClear", "Clear"},
        {"fraUserDet", "Details"},
        {"chkUserPassMust", "User Must Change Password at Next Logon"},
        {"chkUserPassCant", "User Cannot Change Password"},
        {"chkUserAcctDisable", "Account Disabled"},
        {"chkUserAcctLocked", "Account Locked Out"},
        {"chkUserPassNever", "Password Never Expires"},
        {"lblUserPassAge", "Password Age in Days:"},
        {"lblUserPassAgeNum", "0"},
        {"fraUserChangePass", "Change Password"},
        {"lblChangePassword", "New Password:"},
        {"lblConfirmPassword", "Confirm Password:"},
        {"fraGroupProps", ""},
        {"lblGrpType", "Type:"},
        {"lblGrpComment", "Comment:"},
    };
    for (const auto &[name, caption] : captions) {
        EXPECT_EQ(Caption(control<QObject>(name)), caption) << name;
    }
    const std::vector<std::pair<const char *, const char *>> shortcuts{
        {"mnuEditItems_0", "Ctrl+A"}, {"mnuEditItems_1", "Ctrl+D"}, {"mnuEditItems_2", "Ctrl+F"}};
    for (const auto &[name, keys] : shortcuts) {
        EXPECT_EQ(control<QAction>(name).shortcut(), QKeySequence(keys)) << name;
    }
}

TEST_F(frmMainTest, PanelTabsAndFieldsAreThere) {
    auto &users = control<QTabWidget>("tabDetails_0");
    ASSERT_EQ(users.count(), 3);
    EXPECT_EQ(users.tabText(0), "Details");
    EXPECT_EQ(users.tabText(1), "Access Control");
    EXPECT_EQ(users.tabText(2), "Password Control");
    auto &groups = control<QTabWidget>("tabDetails_1");
    ASSERT_EQ(groups.count(), 1);
    EXPECT_EQ(groups.tabText(0), "Details");
    for (const char *readOnly : {"txtUserLastLogon", "txtUserLastLogoff", "txtGrpType"}) {
        EXPECT_TRUE(control<QLineEdit>(readOnly).isReadOnly()) << readOnly;
        EXPECT_FALSE(control<QLineEdit>(readOnly).isEnabled()) << readOnly;
    }
    for (const char *password : {"txtChangePassword", "txtConfirmPassword"}) {
        EXPECT_EQ(control<QLineEdit>(password).echoMode(), QLineEdit::Password) << password;
        EXPECT_EQ(control<QLineEdit>(password).text(), QString()) << password;
    }
    EXPECT_TRUE(control<QCheckBox>("chkUserPassNever").isHidden());
}

TEST_F(frmMainTest, HoursGridHasADayRowPerDayAndAColumnPerHour) {
    auto &grid = control<QTableWidget>("flxUserHours");
    ASSERT_EQ(grid.rowCount(), 7);
    ASSERT_EQ(grid.columnCount(), 24);
    const QStringList days{"Sunday",   "Monday", "Tuesday", "Wednesday",
                           "Thursday", "Friday", "Saturday"};
    for (int row = 0; row < 7; ++row) {
        EXPECT_EQ(grid.verticalHeaderItem(row)->text(), days[row]);
    }
    // Every cell exists, is empty until an account is shown, and is never typed into.
    for (int row = 0; row < 7; ++row) {
        for (int column = 0; column < 24; ++column) {
            ASSERT_NE(grid.item(row, column), nullptr);
            EXPECT_EQ(grid.item(row, column)->text(), QString());
            EXPECT_FALSE(grid.item(row, column)->flags().testFlag(Qt::ItemIsEditable));
        }
    }
}

TEST_F(frmMainTest, ToolbarHoldsItsButtonsInOrder) {
    const QList<QAction *> buttons = control<QToolBar>("tbrToolBar").actions();
    ASSERT_EQ(buttons.size(), 7);
    EXPECT_TRUE(buttons[0]->isSeparator());
    EXPECT_TRUE(buttons[4]->isSeparator());
    const std::vector<std::pair<int, const char *>> tips{
        {1, "New"}, {2, "Delete"}, {3, "Find"}, {5, "Users"}, {6, "Groups"}};
    for (const auto &[position, tip] : tips) {
        EXPECT_EQ(buttons[position]->toolTip(), tip) << position;
        EXPECT_FALSE(buttons[position]->icon().isNull()) << position;
    }
    EXPECT_FALSE(buttons[1]->isCheckable());
    EXPECT_TRUE(buttons[5]->isCheckable());
    EXPECT_TRUE(buttons[6]->isCheckable());
}

TEST_F(frmMainTest, OptionButtonsKeepANameForEachKindAndTheCheckBoxState) {
    auto &name = control<QLineEdit>("txtName");
    auto &domainSam = control<QCheckBox>("chkPDC");
    domainSam.setChecked(false);

    clickOption(1);
    EXPECT_EQ(control<QLabel>("lblName").text(), "Domain &Name");
    EXPECT_EQ(name.text(), QString());
    EXPECT_TRUE(domainSam.isChecked());
    EXPECT_FALSE(domainSam.isEnabled());
    QTest::keyClicks(&name, "CORP");

    clickOption(0);
    EXPECT_EQ(control<QLabel>("lblName").text(), "Machine &Name");
    EXPECT_EQ(name.text(), "OAK");
    EXPECT_TRUE(domainSam.isEnabled());
    EXPECT_FALSE(domainSam.isChecked());

    clickOption(1);
    EXPECT_EQ(name.text(), "CORP");
    EXPECT_TRUE(domainSam.isChecked());
}

TEST_F(frmMainTest, ClickingTheChosenOptionAgainKeepsTheName) {
    QTest::keyClicks(&control<QLineEdit>("txtName"), "X");
    clickOption(0);
    EXPECT_EQ(control<QLineEdit>("txtName").text(), "OAKX");
}

// A dialog that notes when it is closed.
class NotingDialog : public QDialog {
public:
    NotingDialog(QWidget *owner, QStringList &closed, const QString &name)
        : QDialog(owner), closed_(closed), name_(name) {}

protected:
    void closeEvent(QCloseEvent *event) override {
        closed_ << name_;
        QDialog::closeEvent(event);
    }

private:
    QStringList &closed_;
    QString name_;
};

TEST_F(frmMainTest, ClosingTheWindowClosesTheOpenDialogsFirstTheLatestFirst) {
    QStringList closed;
    NotingDialog first(&window(), closed, "first");
    first.open();
    NotingDialog second(&window(), closed, "second");
    second.open();
    window().close();
    EXPECT_EQ(closed, QStringList({"second", "first"}));
    EXPECT_FALSE(first.isVisible());
    EXPECT_FALSE(second.isVisible());
    EXPECT_FALSE(window().isVisible());
}

// The list as the data fill leaves it: entries with their kinds' icons, the first selected.
class SelectionTest : public frmMainTest {
protected:
    void fill(int users, int localGroups = 0) {
        openAccounts(users, localGroups);
        const QSignalBlocker quiet(&list());
        NameArray names;
        std::vector<ItemIcon> icons;
        for (int i = 0; i < users; ++i) names.Append("user" + std::to_string(i));
        icons.resize(names.Count(), ItemIcon::User);
        for (int i = 0; i < localGroups; ++i) names.Append("group" + std::to_string(i));
        icons.resize(names.Count(), ItemIcon::LocalGroup);
        list().entries().append(std::move(names), icons);
    }
    // Real accounts behind the entries, so that showing one reads its details from the SAM.
    void openAccounts(int users, int localGroups) {
        addDomainWithLocalMember();
        for (int i = 0; i < users; ++i) world().addUser("CORP", "user" + std::to_string(i));
        for (int i = 0; i < localGroups; ++i) {
            world().addGroup("CORP", "group" + std::to_string(i), samworld::GroupKind::Local);
        }
        gDomainName = "CORP";
        gSAMHost = "\\\\ALDER";
        gData->WorkList(workList_);
        gData->TargetSAM(gSAMHost);
    }
    ItemListView &list() { return control<ItemListView>("lstItems"); }
    QTimer &timer() { return control<QTimer>("timListUpdate"); }
    StringNameList workList_;
    bool selected(int row) { return list().isSelected(row); }
};

TEST_F(SelectionTest, TenClicksAreHandledOnceAfterTheDelay) {
    fill(9, 1);
    clickItem(list(), 0);
    for (int row = 1; row < 10; ++row) clickItem(list(), row, Qt::ControlModifier);
    EXPECT_TRUE(timer().isActive());
    EXPECT_EQ(window().SelCount(), 0);
    EXPECT_TRUE(messages().shown().empty());

    QTest::qWait(350);
    EXPECT_FALSE(timer().isActive());
    EXPECT_EQ(window().SelCount(), 10);
    ASSERT_EQ(messages().shown().size(), 1u);  // the mixed selection, refused once
    EXPECT_EQ(messages().shown()[0].text, "Mixed types in selection not allowed");
}

TEST_F(SelectionTest, ManySelectedLeaveAnEmptyUnchangedPanel) {
    fill(4);
    clickItem(list(), 0);
    QTest::qWait(300);
    QTest::keyClicks(&control<QLineEdit>("txtUserFullName"), "Ann");
    ASSERT_TRUE(control<QPushButton>("cmdApply").isEnabled());
    messages().answerNext(MsgAnswer::OK);  // lose the change
    clickItem(list(), 3, Qt::ShiftModifier);

    QTest::qWait(300);
    EXPECT_EQ(window().SelCount(), 4);
    EXPECT_EQ(control<QLineEdit>("txtUserFullName").text(), QString());
    EXPECT_EQ(control<QLineEdit>("txtUserFullName").property("tag").toString(), "0");
    EXPECT_FALSE(control<QPushButton>("cmdApply").isEnabled());
    EXPECT_FALSE(control<QPushButton>("cmdDiscard").isEnabled());
    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().shown()[0].text, "Do you wish to lose your changes?");
}

// Cancel puts back the entry being edited with its edits; the next click is handled as any
// other, and Apply writes the edits to that entry.
TEST_F(SelectionTest, CancelKeepsTheEditedItemAndTheNextClickAsksAgain) {
    fill(3);
    clickItem(list(), 0);
    QTest::qWait(300);
    QTest::keyClicks(&control<QLineEdit>("txtUserComment"), "edited");
    EXPECT_EQ(control<QLineEdit>("txtUserComment").property("tag").toString(), "1");

    messages().answerNext(MsgAnswer::Cancel);
    clickItem(list(), 1);
    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().shown()[0].buttons, MsgButtons::OKCancel);
    EXPECT_EQ(messages().shown()[0].title, "Tarnwick");
    EXPECT_TRUE(selected(0));
    EXPECT_FALSE(selected(1));
    EXPECT_EQ(control<QLineEdit>("txtUserComment").text(), "edited");

    messages().answerNext(MsgAnswer::Cancel);
    clickItem(list(), 2);
    ASSERT_EQ(messages().shown().size(), 2u);
    EXPECT_EQ(messages().shown()[1].text, "Do you wish to lose your changes?");
    EXPECT_EQ(list().selectedRows(), std::vector<int>{0});
    EXPECT_FALSE(timer().isActive());

    QTest::mouseClick(&control<QPushButton>("cmdApply"), Qt::LeftButton);
    EXPECT_EQ(world().user("CORP", "user0").comment, "edited");
    EXPECT_EQ(world().user("CORP", "user1").comment, "");
    EXPECT_FALSE(control<QPushButton>("cmdApply").isEnabled());
    EXPECT_EQ(messages().shown().size(), 2u);
}

TEST_F(SelectionTest, TypingInTheNameBoxEmptiesTheList) {
    fill(3);
    QTest::keyClicks(&control<QLineEdit>("txtName"), "2");
    EXPECT_EQ(list().count(), 0);
    EXPECT_EQ(control<QPushButton>("cmdSwitch").text(), "S&witch To");
}

}  // namespace
