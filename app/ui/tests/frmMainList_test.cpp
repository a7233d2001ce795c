#include "UiTest.h"

#include "dataops/ItemList.h"
#include "dataops/NaturalOrder.h"
#include "store/ProgramValues.h"
#include "ui/modDeclare.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

// Domain CORP opened through ALDER: ann is in Staff (global) and Printers (local), Empty has
// no members, and ten more users u0..u9 are in no group of their own.
class ListTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        addDomainWithLocalMember();
        world().addUser("CORP", "ann");
        for (int i = 0; i < 10; ++i) world().addUser("CORP", "u" + std::to_string(i));
        world().addGroup("CORP", "Staff", samworld::GroupKind::Global);
        world().addGroup("CORP", "Printers", samworld::GroupKind::Local);
        world().addGroup("CORP", "Empty", samworld::GroupKind::Local);
        world().addMember("CORP", "Staff", "ann");
        world().addMember("CORP", "Printers", "ann");
        clickSwitch();
        EXPECT_TRUE(messages().shown().empty()) << messages().shown()[0].text;
    }

    ItemListView &list() { return control<ItemListView>("lstItems"); }
    QComboBox &filter() { return control<QComboBox>("cboFilter"); }

    // The entries as "name:icon key", in list order.
    QStringList entries() {
        QStringList result;
        for (int row = 0; row < list().count(); ++row) {
            result << list().text(row) + ":" + list().iconKey(row);
        }
        return result;
    }
    QStringList filterEntries() {
        QStringList result;
        for (int i = 0; i < filter().count(); ++i) result << filter().itemText(i);
        return result;
    }
    int entry(const QString &name) { return rowOf(list(), name); }
    QString header() { return list().model()->headerData(0, Qt::Horizontal).toString(); }
    void chooseFilter(const QString &name) {
        const int index = filter().findText(name);
        ASSERT_GE(index, 0) << name.toStdString();
        filter().setCurrentIndex(index);
    }
    void showGroups() { control<QAction>("tbrToolBar_Group").trigger(); }
    void clickHeader(int column) {
        QHeaderView &header = *list().header();
        QTest::mouseClick(header.viewport(), Qt::LeftButton, {},
                          QPoint(header.sectionViewportPosition(column) + 5, header.height() / 2));
    }
    void clickButton(const char *name) {
        QTest::mouseClick(&control<QPushButton>(name), Qt::LeftButton);
    }
};

TEST_F(ListTest, TheUsersViewListsEveryUserAndOffersLocalThenGlobalGroupsAsFilters) {
    const QStringList shown = entries();
    for (const char *user : {"ann:SUser", "u0:SUser", "Administrator:SUser"}) {
        EXPECT_TRUE(shown.contains(user)) << user;
    }
    EXPECT_TRUE(shown.filter(":SGroup").isEmpty());
    EXPECT_EQ(list().selectedRows(), std::vector<int>{0});
    EXPECT_EQ(window().SelCount(), 1);
    EXPECT_TRUE(control<QPushButton>("cmdRelations").isEnabled());
    EXPECT_TRUE(control<QGroupBox>("fraDetails").isEnabled());

    const QStringList filters = filterEntries();
    EXPECT_EQ(filters.first(), "*All Users*");
    EXPECT_EQ(filter().currentIndex(), 0);
    ASSERT_TRUE(filters.contains("Printers") && filters.contains("Staff"));
    EXPECT_LT(filters.indexOf("Printers"), filters.indexOf("Staff"));
    EXPECT_LT(filters.indexOf("Administrators"), filters.indexOf("Domain Users"));
    EXPECT_FALSE(filters.contains("ann"));
    // Each group carries the icon of its kind, as in the list.
    const auto iconOf = [&](const char *name) {
        return filter().itemData(filter().findText(name), ItemListModel::kIconKeyRole).toString();
    };
    EXPECT_EQ(iconOf("Printers"), "SGroupLocal");
    EXPECT_EQ(iconOf("Staff"), "SGroupGlobal");
    EXPECT_FALSE(filter().itemIcon(filter().findText("Staff")).isNull());
}

TEST_F(ListTest, AGroupFilterListsItsMembersAndAnEmptyGroupEmptiesThePanel) {
    chooseFilter("Printers");
    EXPECT_EQ(entries(), QStringList({"ann:SUser"}));
    EXPECT_TRUE(list().isSelected(entry("ann")));
    EXPECT_EQ(window().SelCount(), 1);

    chooseFilter("Empty");
    EXPECT_EQ(list().count(), 0);
    EXPECT_EQ(window().SelCount(), 0);
    EXPECT_FALSE(control<QPushButton>("cmdRelations").isEnabled());
    EXPECT_FALSE(control<QGroupBox>("fraDetails").isEnabled());
    EXPECT_EQ(header(), "Domain User(s)");
}

TEST_F(ListTest, TheGroupsViewListsLocalGroupsThenGlobalOnesEachWithItsIcon) {
    showGroups();
    const QStringList shown = entries();
    ASSERT_TRUE(shown.contains("Printers:SGroupLocal") && shown.contains("Staff:SGroupGlobal"));
    EXPECT_LT(shown.indexOf("Administrators:SGroupLocal"),
              shown.indexOf("Domain Users:SGroupGlobal"));
    int lastLocal = -1;
    int firstGlobal = static_cast<int>(shown.size());
    for (int i = 0; i < shown.size(); ++i) {
        if (shown[i].endsWith(":SGroupLocal")) lastLocal = i;
        if (shown[i].endsWith(":SGroupGlobal")) firstGlobal = std::min(firstGlobal, i);
    }
    EXPECT_LT(lastLocal, firstGlobal);
    EXPECT_EQ(list().selectedRows(), std::vector<int>{0});
    EXPECT_EQ(filterEntries().first(), "*All Groups*");
    EXPECT_TRUE(filterEntries().contains("ann"));
    EXPECT_FALSE(filterEntries().contains("Staff"));
    EXPECT_EQ(filter().itemData(filter().findText("ann"), ItemListModel::kIconKeyRole), "SUser");
}

TEST_F(ListTest, AUserFilterListsTheUsersGroupsOfBothKinds) {
    showGroups();
    chooseFilter("ann");
    const QStringList shown = entries();
    EXPECT_TRUE(shown.contains("Printers:SGroupLocal"));
    EXPECT_TRUE(shown.contains("Staff:SGroupGlobal"));
    EXPECT_FALSE(shown.contains("Empty:SGroupLocal"));
    EXPECT_EQ(header(), "Group(s)");
}

TEST_F(ListTest, RefreshShowsWhatChangedBehindTheProgramsBack) {
    world().addUser("CORP", "newcomer");
    world().deleteUser("CORP", "u3");
    EXPECT_FALSE(entries().contains("newcomer:SUser"));

    control<QAction>("mnuViewRefresh").trigger();
    EXPECT_TRUE(messages().shown().empty()) << messages().shown()[0].text;
    EXPECT_TRUE(entries().contains("newcomer:SUser"));
    EXPECT_FALSE(entries().contains("u3:SUser"));
}

TEST_F(ListTest, TenSelectedUsersAreHandledOnceAfterTheLastClick) {
    clickItem(list(), entry("u0"));
    for (int i = 1; i < 10; ++i) {
        clickItem(list(), entry(QStringLiteral("u%1").arg(i)), Qt::ControlModifier);
    }
    EXPECT_TRUE(control<QTimer>("timListUpdate").isActive());
    EXPECT_EQ(window().SelCount(), 1);  // still what the list showed when it was filled

    QTest::qWait(350);
    EXPECT_EQ(window().SelCount(), 10);
    EXPECT_EQ(control<QLineEdit>("txtUserFullName").text(), QString());
    EXPECT_FALSE(control<QPushButton>("cmdApply").isEnabled());
    EXPECT_TRUE(messages().shown().empty()) << messages().shown()[0].text;
}

TEST_F(ListTest, ALocalAndAGlobalGroupTogetherAreRefused) {
    showGroups();
    clickItem(list(), entry("Printers"));
    clickItem(list(), entry("Staff"), Qt::ControlModifier);
    QTest::qWait(350);
    EXPECT_EQ(window().SelCount(), 2);
    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().shown()[0].text, "Mixed types in selection not allowed");
    EXPECT_EQ(messages().shown()[0].title, "Selection Error");
    EXPECT_EQ(messages().shown()[0].icon, MsgIcon::Exclamation);
}

TEST_F(ListTest, TheSearchBoxShowsTheNamesHoldingItsTextOnTopOfTheFilter) {
    auto &search = control<QLineEdit>("txtSearch");
    const int everyone = list().count();
    QTest::keyClicks(&search, "U1");
    EXPECT_EQ(entries(), QStringList{"u1:SUser"}) << "without regard to case";
    EXPECT_EQ(list().selectedRows(), std::vector<int>{0});
    EXPECT_EQ(window().SelCount(), 1);

    QTest::keyClick(&search, Qt::Key_Escape);
    EXPECT_EQ(search.text(), QString());
    EXPECT_EQ(list().count(), everyone);
    EXPECT_EQ(list().selectedRows(), std::vector<int>{entry("u1")}) << "the selection stays";

    chooseFilter("Printers");
    QTest::keyClicks(&search, "x");
    EXPECT_EQ(list().count(), 0);
    EXPECT_EQ(window().SelCount(), 0);
    EXPECT_FALSE(control<QGroupBox>("fraDetails").isEnabled());
    EXPECT_FALSE(control<QPushButton>("cmdRelations").isEnabled());
    search.clear();
    EXPECT_EQ(entries(), QStringList{"ann:SUser"});
    EXPECT_EQ(window().SelCount(), 1);
    EXPECT_TRUE(control<QGroupBox>("fraDetails").isEnabled());
    EXPECT_TRUE(messages().shown().empty()) << messages().shown()[0].text;
}

TEST_F(ListTest, SelectAllAndApplyActOnTheShownUsersOnlyAndTheColumnsFollow) {
    auto &search = control<QLineEdit>("txtSearch");
    QTest::keyClicks(&search, "u");
    const int shown = list().count();
    ASSERT_GE(shown, 10);
    clickItem(list(), 0);
    QTest::keyClick(&list(), Qt::Key_End, Qt::ShiftModifier);
    QTest::qWait(350);
    EXPECT_EQ(window().SelCount(), shown);

    QTest::keyClicks(&control<QLineEdit>("txtUserComment"), "night shift");
    clickButton("cmdApply");
    EXPECT_TRUE(messages().shown().empty()) << messages().shown()[0].text;
    EXPECT_EQ(world().user("CORP", "u0").comment, "night shift");
    EXPECT_EQ(world().user("CORP", "ann").comment, "") << "ann was not shown";
    const auto comment = [&](const char *name) {
        return list().model()->index(entry(name), 2).data().toString();
    };
    EXPECT_EQ(comment("u9"), "night shift");
    search.clear();
    EXPECT_EQ(comment("ann"), "");
}

TEST_F(ListTest, ColumnsShowWhatTheLoadReadAndNamesSortNaturally) {
    samworld::UserOptions ten;
    ten.fullName = "Ten Tenner";
    ten.comment = "tenth";
    ten.flags |= UF_ACCOUNTDISABLE | UF_DONT_EXPIRE_PASSWD;
    world().addUser("CORP", "u10", ten);
    control<QAction>("mnuViewRefresh").trigger();
    const auto row = [&](const char *name) {
        QStringList texts;
        for (int column = 0; column < list().model()->columnCount(); ++column) {
            texts << list().model()->index(entry(name), column).data().toString();
        }
        return texts;
    };
    EXPECT_EQ(row("u10"), (QStringList{"u10", "Ten Tenner", "tenth",
                                       "Disabled, Password never expires"}));
    EXPECT_EQ(list().model()->headerData(1, Qt::Horizontal).toString(), "Full Name");
    EXPECT_LT(entry("u10"), entry("u2")) << "the store's own order until a header is clicked";

    clickHeader(0);
    EXPECT_LT(entry("u2"), entry("u10"));
    EXPECT_LT(entry("Administrator"), entry("ann"));
    EXPECT_LT(entry("ann"), entry("Guest")) << "without regard to case";
    clickHeader(0);
    EXPECT_GT(entry("u2"), entry("u10"));
    clickHeader(3);
    const auto text = [&](int at, int column) {
        return list().model()->index(at, column).data().toString();
    };
    EXPECT_EQ(text(0, 3), QString()) << "accounts without a state first";
    EXPECT_NE(text(list().count() - 1, 3), QString());
    EXPECT_LT(entry("u9"), entry("u10"));
    clickHeader(1);
    for (int at = 1; at < list().count(); ++at) {
        EXPECT_LE(NaturalCompare(text(at - 1, 1).toStdString(), text(at, 1).toStdString()), 0)
            << "full names in order at row " << at;
    }
    EXPECT_EQ(text(list().count() - 1, 1), "Ten Tenner");

    showGroups();
    EXPECT_EQ(row("Staff").mid(0, 2), (QStringList{"Staff", "Global"}));
    EXPECT_EQ(row("Printers").mid(0, 2), (QStringList{"Printers", "Local"}));
}

TEST_F(ListTest, KeepingUnappliedEditsRefusesTheViewSwitch) {
    QTest::keyClicks(&control<QLineEdit>("txtUserComment"), "edited");
    const QString edited = control<QLineEdit>("txtUserComment").text();  // after the shown text
    const QStringList before = entries();
    messages().answerNext(MsgAnswer::Cancel);
    showGroups();
    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().shown()[0].text, "Do you wish to lose your changes?");
    EXPECT_EQ(window().ViewType(), kUsersType);
    EXPECT_TRUE(control<QAction>("tbrToolBar_User").isChecked());
    EXPECT_FALSE(control<QAction>("tbrToolBar_Group").isChecked());
    EXPECT_EQ(entries(), before);
    EXPECT_EQ(control<QLineEdit>("txtUserComment").text(), edited);
}

}  // namespace
