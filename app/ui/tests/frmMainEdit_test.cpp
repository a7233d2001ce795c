#include "AccountWorldTest.h"

#include "dataops/ItemList.h"
#include "store/ProgramValues.h"
#include "ui/frmAdd.h"
#include "ui/frmAsk.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace {

class EditTest : public AccountWorldTest {
protected:
    // Runs fill on the dialog of type Dialog once it is shown modally.
    template <typename Dialog>
    void whenShown(std::function<void(Dialog &)> fill) {
        QTimer::singleShot(0, [fill] {
            auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            fill(*dialog);
        });
    }

    template <typename Control>
    static Control &part(QWidget &dialog, const char *name) {
        return *dialog.findChild<Control *>(QString::fromLatin1(name));
    }

    // Answers the Find question with name.
    void answerFind(const char *name) {
        whenShown<frmAsk>([name](frmAsk &ask) {
            part<QLineEdit>(ask, "txtAnswer").setText(name);
            part<QPushButton>(ask, "cmdOk").click();
        });
    }

    // Fills the Add dialog and presses OK.
    void answerAdd(const char *name, const char *comment, const char *typeOrPassword = "",
                   bool addToGroup = false) {
        whenShown<frmAdd>([=](frmAdd &add) {
            part<QLineEdit>(add, "txtName").setText(name);
            part<QLineEdit>(add, "txtComment").setText(comment);
            auto &type = part<QComboBox>(add, "cboType");
            if (type.isVisible()) {
                type.setCurrentText(typeOrPassword);
            } else {
                part<QLineEdit>(add, "txtPassword").setText(typeOrPassword);
            }
            part<QCheckBox>(add, "chkAddToGroup").setChecked(addToGroup);
            part<QPushButton>(add, "cmdOk").click();
        });
    }

    void command(const char *action) { control<QAction>(action).trigger(); }
    bool listed(const char *name) { return list().entries().findName(name) >= 0; }
};

TEST_F(EditTest, DeleteAfterYesRemovesTheSelectedUsers) {
    select({"carl", "dave"});
    messages().answerNext(MsgAnswer::Yes);
    command("mnuEditItems_1");
    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().shown()[0].text, "Do you want delete 2 Domain User(s)");
    EXPECT_EQ(messages().shown()[0].title, "Deleting Domain Users");
    EXPECT_EQ(messages().shown()[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(messages().shown()[0].icon, MsgIcon::Question);
    EXPECT_FALSE(world().hasAccount("CORP", "carl"));
    EXPECT_FALSE(world().hasAccount("CORP", "dave"));
    EXPECT_TRUE(world().hasAccount("CORP", "eve"));
    EXPECT_FALSE(listed("carl"));
    EXPECT_FALSE(listed("dave"));
    EXPECT_TRUE(listed("eve"));
}

TEST_F(EditTest, DeleteAfterNoKeepsEverything) {
    select({"carl"});
    messages().answerNext(MsgAnswer::No);
    QTest::keyClick(&list(), Qt::Key_Delete);
    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().shown()[0].text, "Do you want delete 1 Domain User(s)");
    EXPECT_TRUE(world().hasAccount("CORP", "carl"));
    EXPECT_TRUE(listed("carl"));

    // Delete pressed at once after a Ctrl-click counts the entries it would delete.
    clickItem(list(), entry("dave"), Qt::ControlModifier);
    messages().answerNext(MsgAnswer::No);
    QTest::keyClick(&list(), Qt::Key_Delete);
    ASSERT_EQ(messages().shown().size(), 2u);
    EXPECT_EQ(messages().shown()[1].text, "Do you want delete 2 Domain User(s)");
    EXPECT_TRUE(world().hasAccount("CORP", "dave"));
}

TEST_F(EditTest, DeleteRefusesAMixedSelectionOfGroups) {
    showGroups();
    select({"Printers", "Staff"});
    const std::size_t shownBefore = messages().shown().size();
    command("tbrToolBar_Delete");
    ASSERT_EQ(messages().shown().size(), shownBefore + 1);
    EXPECT_EQ(messages().shown().back().text, "Mixed types in selection not allowed");
    EXPECT_TRUE(world().hasAccount("CORP", "Printers"));
    EXPECT_TRUE(world().hasAccount("CORP", "Staff"));
}

// Once the target is left, no edit command acts: not by menu, shortcut, toolbar or key.
TEST_F(EditTest, EditCommandsDoNothingWithoutATarget) {
    select({"carl"});
    QTest::keyClicks(&control<QLineEdit>("txtName"), "X");  // leaves the target
    QWidget *opened = nullptr;
    QTimer::singleShot(0, [&] {
        opened = QApplication::activeModalWidget();
        if (opened != nullptr) opened->hide();
    });
    QTest::keyClick(&list(), Qt::Key_Delete);
    for (const char *action : {"mnuEditItems_0", "mnuEditItems_1", "mnuEditItems_2",
                               "tbrToolBar_Add", "tbrToolBar_Delete", "tbrToolBar_Find"}) {
        command(action);
    }
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    QTest::keyClick(&window(), Qt::Key_D, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(opened, nullptr);
    EXPECT_TRUE(messages().shown().empty()) << messages().shown()[0].text;
    EXPECT_TRUE(world().hasAccount("CORP", "carl"));
}

TEST_F(EditTest, FindSelectsTheNamedEntryOnly) {
    select({"ann", "bob"});
    answerFind("DAVE");
    command("tbrToolBar_Find");
    EXPECT_EQ(selectedNames(), QStringList{"dave"});
    EXPECT_EQ(window().SelCount(), 1);
    EXPECT_TRUE(messages().shown().empty());

    // Find pressed at once after a click finds the entry that click selected, though the
    // window has not taken it up yet (the last count it took up was none).
    clickItem(list(), entry("dave"), Qt::ControlModifier);
    QTest::qWait(300);
    ASSERT_EQ(window().SelCount(), 0);
    clickItem(list(), entry("bob"));
    answerFind("carl");
    command("tbrToolBar_Find");
    EXPECT_EQ(selectedNames(), QStringList{"carl"});
}

TEST_F(EditTest, FindOfAnUnknownNameKeepsTheSelection) {
    select({"bob"});
    answerFind("zed");
    command("mnuEditItems_2");
    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().shown()[0].text, "Domain User \"zed\" not found.");
    EXPECT_EQ(messages().shown()[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(selectedNames(), QStringList{"bob"});
}

TEST_F(EditTest, ANewUserGoesStraightIntoTheFilteredGroup) {
    auto &filter = control<QComboBox>("cboFilter");
    filter.setCurrentIndex(filter.findText("Staff"));
    ASSERT_FALSE(listed("carl"));
    answerAdd("hal", "Hal Hill", "Start123", true);
    command("tbrToolBar_Add");
    EXPECT_TRUE(messages().shown().empty()) << messages().shown()[0].text;
    ASSERT_TRUE(world().hasAccount("CORP", "hal"));
    EXPECT_EQ(world().user("CORP", "hal").fullName, "Hal Hill");
    EXPECT_TRUE(world().passwordMatches("CORP", "hal", "Start123"));
    const std::vector<std::string> members = world().members("CORP", "Staff");
    EXPECT_NE(std::find(members.begin(), members.end(), "hal"), members.end());
    EXPECT_EQ(selectedNames(), QStringList{"hal"});
    EXPECT_EQ(control<QLineEdit>("txtUserFullName").text(), "Hal Hill");
}

TEST_F(EditTest, ANewUserOutsideTheFilterKeepsAnItemSelectedAndShown) {
    auto &filter = control<QComboBox>("cboFilter");
    filter.setCurrentIndex(filter.findText("Staff"));
    answerAdd("ivy", "Ivy Ives", "Start123", false);
    command("tbrToolBar_Add");
    ASSERT_TRUE(world().hasAccount("CORP", "ivy"));
    EXPECT_FALSE(listed("ivy"));
    ASSERT_EQ(selectedNames(), QStringList{"ann"});
    // The panel still belongs to an item: an edit reaches it.
    control<QLineEdit>("txtUserComment").setText("Desk 4");
    clickButton("cmdApply");
    EXPECT_EQ(world().user("CORP", "ann").comment, "Desk 4");
}

TEST_F(EditTest, ANewGlobalGroup) {
    showGroups();
    answerAdd("Auditors", "Reads the books", "Global");
    command("mnuEditItems_0");
    EXPECT_TRUE(messages().shown().empty()) << messages().shown()[0].text;
    ASSERT_TRUE(world().hasAccount("CORP", "Auditors"));
    EXPECT_EQ(selectedNames(), QStringList{"Auditors"});
    EXPECT_EQ(control<QLineEdit>("txtGrpType").text(), "Global");
    EXPECT_EQ(control<QLineEdit>("txtGrpComment").text(), "Reads the books");
}

TEST_F(EditTest, ANameInUseIsRefusedWithOnlyItsOwnError) {
    gData->LastErr().Description("left over");  // from an earlier operation
    showGroups();
    answerAdd("bob", "", "Local");
    command("mnuEditItems_0");
    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().shown()[0].title, "Error");
    EXPECT_NE(messages().shown()[0].text.find("A group or user 'bob' already exists."),
              std::string::npos);
    EXPECT_EQ(messages().shown()[0].text.find("left over"), std::string::npos);
}

TEST_F(EditTest, CancelAddsNothing) {
    const int before = list().count();
    whenShown<frmAdd>([](frmAdd &add) {
        part<QLineEdit>(add, "txtName").setText("ivy");
        part<QPushButton>(add, "cmdCancel").click();
    });
    command("mnuEditItems_0");
    EXPECT_FALSE(world().hasAccount("CORP", "ivy"));
    EXPECT_EQ(list().count(), before);
    EXPECT_TRUE(messages().shown().empty());
}

}  // namespace
