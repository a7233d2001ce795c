#include "UiTest.h"

#include "accounts/clsGroup.h"
#include "dataops/ItemList.h"
#include "store/ProgramValues.h"
#include "ui/frmRelations.h"
#include "ui/frmTrusted.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gmock/gmock.h>

#include <functional>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

namespace {

template <typename Control>
Control &child(QWidget &window, const char *name) {
    auto *found = window.findChild<Control *>(QString::fromLatin1(name));
    if (found == nullptr) throw std::runtime_error(std::string("No control ") + name);
    return *found;
}

// Each entry as its icon key, a blank and its name.
std::vector<std::string> Entries(const ItemListView &list) {
    std::vector<std::string> entries;
    for (int row = 0; row < list.count(); ++row) {
        entries.push_back((list.iconKey(row) + " " + list.text(row)).toStdString());
    }
    return entries;
}

// Selects exactly the entries of these names, as Ctrl-clicks would.
void SelectOnly(ItemListView &list, std::initializer_list<const char *> names) {
    list.clearSelection();
    for (const char *name : names) {
        const int row = list.entries().findName(name);
        if (row < 0) throw std::runtime_error(std::string("No entry ") + name);
        list.selectionModel()->select(list.model()->index(row, 0), QItemSelectionModel::Select);
    }
}

// Appends an entry to a list without touching its selection.
void AddEntry(ItemListView &list, const char *name, ItemIcon icon) {
    list.entries().append({name}, {icon});
}

// Runs act on the modal dialog of type Dialog that the next statement opens, then closes it
// if act left it open, so that a failed expectation never leaves a test waiting.
template <typename Dialog>
void WhenShown(std::function<void(Dialog &)> act, bool &ran) {
    QTimer::singleShot(0, [act = std::move(act), &ran] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *dialog = qobject_cast<Dialog *>(modal)) {
            ran = true;
            act(*dialog);
        }
        if (modal != nullptr && modal->isVisible()) modal->hide();
    });
}

// The domain CORP (controller ALDER, the local machine OAK a member) trusts EAST. CORP's users
// carol, dave and erin; its global group Staff holds carol and dave; its local group Readers
// holds carol, Staff and EAST\ann; the local groups Writers and Editors are empty.
class RelationsTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        addDomainWithLocalMember();
        world().addDomain("EAST", "ELM");
        world().addTrust("CORP", "EAST");
        world().addUser("EAST", "ann");
        for (const char *user : {"carol", "dave", "erin"}) world().addUser("CORP", user);
        world().addGroup("CORP", "Staff", samworld::GroupKind::Global);
        for (const char *group : {"Readers", "Writers", "Editors"}) {
            world().addGroup("CORP", group, samworld::GroupKind::Local);
        }
        world().addMember("CORP", "Staff", "carol");
        world().addMember("CORP", "Staff", "dave");
        for (const char *member : {"carol", "Staff", "EAST\\ann"}) {
            world().addMember("CORP", "Readers", member);
        }
        clickSwitch();
    }

    ItemListView &mainList() { return control<ItemListView>("lstItems"); }

    // Selects entries of the main list as a person would, and waits for the selection to be
    // taken up.
    void selectInMain(std::initializer_list<const char *> names) {
        bool first = true;
        for (const char *name : names) {
            clickItem(mainList(), rowOf(mainList(), name),
                      first ? Qt::NoModifier : Qt::ControlModifier);
            first = false;
        }
        QTest::qWait(400);
    }

    void showGroups() { control<QAction>("mnuViewItem_1").trigger(); }

    // Presses Relationships and runs act while the dialog is shown; then presses its OK.
    void withRelations(const std::function<void(frmRelations &)> &act) {
        bool ran = false;
        WhenShown<frmRelations>(
            [&](frmRelations &dialog) {
                act(dialog);
                if (dialog.isVisible()) child<QPushButton>(dialog, "cmdOK").click();
            },
            ran);
        QTest::mouseClick(&control<QPushButton>("cmdRelations"), Qt::LeftButton);
        ASSERT_TRUE(ran) << "the Relationships dialog was not shown";
    }

    // Presses Add Other... and, in the Other Items dialog, selects these accounts of EAST and
    // closes it with the button named (OK by default).
    static void addOther(frmRelations &dialog, std::initializer_list<const char *> accounts,
                         const char *closeButton = "cmdOK") {
        bool ran = false;
        WhenShown<frmTrusted>(
            [&](frmTrusted &trusted) {
                auto &domains = child<QComboBox>(trusted, "cboDomain");
                domains.setCurrentIndex(domains.findText("EAST"));
                SelectOnly(child<ItemListView>(trusted, "lstItems"), accounts);
                child<QPushButton>(trusted, closeButton).click();
            },
            ran);
        child<QPushButton>(dialog, "cmdAddOther").click();
        EXPECT_TRUE(ran) << "the Other Items dialog was not shown";
    }

    static ItemListView &members(frmRelations &dialog) {
        return child<ItemListView>(dialog, "lstMembers");
    }
    static ItemListView &nonMembers(frmRelations &dialog) {
        return child<ItemListView>(dialog, "lstNonMembers");
    }
    static std::string label(frmRelations &dialog, const char *name) {
        return child<QLabel>(dialog, name).text().toStdString();
    }

    // What the store records as the group's users.
    std::vector<std::string> storedUsers(const std::string &group) {
        NameArray users;
        const std::array<std::string, 1> groups{group};
        gData->Group().GetCommonUsers(groups, false, users);
        return users.items();
    }
};

TEST_F(RelationsTest, OneUserShowsTheGroupsItIsAndIsNotIn) {
    selectInMain({"carol"});
    withRelations([](frmRelations &dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Relationships");
        EXPECT_EQ(label(dialog, "lblItems"), "Domain User:");
        EXPECT_EQ(label(dialog, "lblMembers"), "Is in &Groups:");
        EXPECT_EQ(label(dialog, "lblNonMembers"), "Is &not in Groups:");
        EXPECT_EQ(child<QLineEdit>(dialog, "txtItems").text(), "carol");
        EXPECT_EQ(members(dialog).model()->headerData(0, Qt::Horizontal).toString(), "Items");
        EXPECT_FALSE(child<QPushButton>(dialog, "cmdAddOther").isEnabled());
        EXPECT_THAT(Entries(members(dialog)),
                    UnorderedElementsAre("SGroupGlobal Domain Users", "SGroupGlobal Staff",
                                         "SGroupLocal Readers"));
        EXPECT_THAT(Entries(nonMembers(dialog)),
                    UnorderedElementsAre("SGroupGlobal Domain Admins", "SGroupGlobal Domain Guests",
                                         "SGroupLocal Administrators", "SGroupLocal Users",
                                         "SGroupLocal Guests", "SGroupLocal Writers",
                                         "SGroupLocal Editors"));
    });
    EXPECT_THAT(messages().shown(), IsEmpty());
}

// Nothing is chosen for the administrator: Add, Remove and the Other Items' OK change nothing
// until entries are selected.
TEST_F(RelationsTest, TheListsOpenWithNothingSelectedAndActOnlyOnASelection) {
    showGroups();
    selectInMain({"Readers"});
    const std::vector<std::string> before = world().members("CORP", "Readers");
    withRelations([&](frmRelations &dialog) {
        EXPECT_THAT(SelectedNames(members(dialog)), IsEmpty());
        EXPECT_THAT(SelectedNames(nonMembers(dialog)), IsEmpty());
        child<QPushButton>(dialog, "cmdRemove").click();
        child<QPushButton>(dialog, "cmdAdd").click();
        bool ran = false;
        WhenShown<frmTrusted>(
            [](frmTrusted &trusted) {
                auto &domains = child<QComboBox>(trusted, "cboDomain");
                domains.setCurrentIndex(domains.findText("EAST"));
                EXPECT_THAT(SelectedNames(child<ItemListView>(trusted, "lstItems")), IsEmpty());
                child<QPushButton>(trusted, "cmdOK").click();
            },
            ran);
        child<QPushButton>(dialog, "cmdAddOther").click();
        EXPECT_TRUE(ran);
    });
    EXPECT_EQ(world().members("CORP", "Readers"), before);
    EXPECT_THAT(messages().shown(), IsEmpty());
}

TEST_F(RelationsTest, ThreeUsersAreAddedToTwoGroupsAndRemovedAgain) {
    selectInMain({"carol", "dave", "erin"});
    withRelations([&](frmRelations &dialog) {
        EXPECT_EQ(label(dialog, "lblItems"), "Domain User(s):");
        EXPECT_EQ(label(dialog, "lblMembers"), "Are all in &Groups:");
        EXPECT_EQ(label(dialog, "lblNonMembers"), "Are &Not all in Groups");
        EXPECT_EQ(child<QLineEdit>(dialog, "txtItems").text(), "carol, dave, erin");
        EXPECT_THAT(Entries(members(dialog)), ElementsAre("SGroupGlobal Domain Users"));

        SelectOnly(nonMembers(dialog), {"Staff", "Writers"});
        child<QPushButton>(dialog, "cmdAdd").click();
        EXPECT_THAT(world().members("CORP", "Writers"),
                    UnorderedElementsAre("CORP\\carol", "CORP\\dave", "CORP\\erin"));
        EXPECT_THAT(world().members("CORP", "Staff"),
                    UnorderedElementsAre("carol", "dave", "erin"));
        EXPECT_THAT(storedUsers("Writers"), UnorderedElementsAre("carol", "dave", "erin"));
        EXPECT_THAT(Entries(members(dialog)),
                    UnorderedElementsAre("SGroupGlobal Domain Users", "SGroupGlobal Staff",
                                         "SGroupLocal Writers"));

        SelectOnly(members(dialog), {"Staff", "Writers"});
        child<QPushButton>(dialog, "cmdRemove").click();
        EXPECT_THAT(world().members("CORP", "Writers"), IsEmpty());
        EXPECT_THAT(world().members("CORP", "Staff"), IsEmpty());
        EXPECT_THAT(storedUsers("Writers"), IsEmpty());
        EXPECT_THAT(storedUsers("Staff"), IsEmpty());
        EXPECT_THAT(Entries(members(dialog)), ElementsAre("SGroupGlobal Domain Users"));
    });
    EXPECT_THAT(messages().shown(), IsEmpty());
}

TEST_F(RelationsTest, OneLocalGroupShowsItsLiveMembersAndRemovesEachKindItsOwnWay) {
    showGroups();
    selectInMain({"Readers"});
    withRelations([&](frmRelations &dialog) {
        EXPECT_EQ(label(dialog, "lblItems"), "Group:");
        EXPECT_EQ(label(dialog, "lblMembers"), "Has &Members:");
        EXPECT_EQ(label(dialog, "lblNonMembers"), "Does &not have Users:");
        EXPECT_TRUE(child<QPushButton>(dialog, "cmdAddOther").isEnabled());
        EXPECT_THAT(Entries(members(dialog)),
                    UnorderedElementsAre("SUser carol", "SGroupGlobal Staff", "SUser EAST\\ann"));
        EXPECT_THAT(
            Entries(nonMembers(dialog)),
            UnorderedElementsAre("SUser Administrator", "SUser Guest", "SUser dave", "SUser erin"));

        SelectOnly(members(dialog), {"carol", "Staff", "EAST\\ann"});
        child<QPushButton>(dialog, "cmdRemove").click();
        EXPECT_THAT(world().members("CORP", "Readers"), IsEmpty());
        EXPECT_THAT(storedUsers("Readers"), IsEmpty());
        EXPECT_THAT(Entries(members(dialog)), IsEmpty());
    });
    EXPECT_THAT(messages().shown(), IsEmpty());
}

TEST_F(RelationsTest, AGlobalGroupOffersNoOtherItemsAndMixedKindsAreRefused) {
    showGroups();
    selectInMain({"Staff"});
    withRelations([](frmRelations &dialog) {
        EXPECT_FALSE(child<QPushButton>(dialog, "cmdAddOther").isEnabled());
        EXPECT_THAT(Entries(members(dialog)), UnorderedElementsAre("SUser carol", "SUser dave"));
    });
    EXPECT_THAT(messages().shown(), IsEmpty());

    selectInMain({"Readers", "Staff"});
    bool shown = false;
    WhenShown<frmRelations>([](frmRelations &) {}, shown);
    QTest::mouseClick(&control<QPushButton>("cmdRelations"), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_FALSE(shown);
    ASSERT_FALSE(messages().shown().empty());
    EXPECT_EQ(messages().shown().back().text, "Mixed types in selection not allowed");

    // Pressed at once after the Ctrl-click that mixed the kinds, before the window took it up.
    selectInMain({"Readers"});
    const std::size_t shownBefore = messages().shown().size();
    clickItem(mainList(), rowOf(mainList(), "Staff"), Qt::ControlModifier);
    WhenShown<frmRelations>([](frmRelations &) {}, shown);
    QTest::mouseClick(&control<QPushButton>("cmdRelations"), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_FALSE(shown);
    ASSERT_EQ(messages().shown().size(), shownBefore + 1);
    EXPECT_EQ(messages().shown().back().text, "Mixed types in selection not allowed");
}

TEST_F(RelationsTest, AddTakesOnlyTheTargetsOwnUsers) {
    showGroups();
    selectInMain({"Writers"});
    withRelations([&](frmRelations &dialog) {
        AddEntry(nonMembers(dialog), "Staff", ItemIcon::GlobalGroup);
        AddEntry(nonMembers(dialog), "EAST\\ann", ItemIcon::User);
        SelectOnly(nonMembers(dialog), {"erin", "Staff", "EAST\\ann"});
        child<QPushButton>(dialog, "cmdAdd").click();
        EXPECT_THAT(world().members("CORP", "Writers"), ElementsAre("CORP\\erin"));
        EXPECT_THAT(Entries(members(dialog)), ElementsAre("SUser erin"));
    });
    EXPECT_THAT(messages().shown(), IsEmpty());
}

TEST_F(RelationsTest, AddOtherToOneLocalGroupListsTheNewMember) {
    showGroups();
    selectInMain({"Writers"});
    withRelations([&](frmRelations &dialog) {
        addOther(dialog, {"ann"});
        EXPECT_THAT(world().members("CORP", "Writers"), ElementsAre("EAST\\ann"));
        EXPECT_THAT(Entries(members(dialog)), ElementsAre("SUser EAST\\ann"));
    });
    EXPECT_THAT(messages().shown(), IsEmpty());
}

TEST_F(RelationsTest, AddOtherCancelledAddsNothingThoughItemsWereSelected) {
    showGroups();
    selectInMain({"Writers"});
    withRelations([&](frmRelations &dialog) {
        addOther(dialog, {"ann"}, "cmdCancel");
        EXPECT_THAT(Entries(members(dialog)), IsEmpty());
    });
    EXPECT_THAT(world().members("CORP", "Writers"), IsEmpty());
    EXPECT_THAT(messages().shown(), IsEmpty());
}

TEST_F(RelationsTest, AddOtherToTwoLocalGroupsExplainsWhyTheListStaysAsItWas) {
    showGroups();
    selectInMain({"Writers", "Editors"});
    withRelations([&](frmRelations &dialog) {
        addOther(dialog, {"ann"});
        EXPECT_THAT(Entries(members(dialog)), IsEmpty());
    });
    EXPECT_THAT(world().members("CORP", "Writers"), ElementsAre("EAST\\ann"));
    EXPECT_THAT(world().members("CORP", "Editors"), ElementsAre("EAST\\ann"));
    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().shown()[0].text,
              "Note: the items successfully added to the selected local groups will not appear in "
              "the left-hand list since it is displaying local users.\n\r\n\rThe entire "
              "membership of a local group is displayed when a single group is selected.");
    EXPECT_EQ(messages().shown()[0].icon, MsgIcon::Information);
}

TEST_F(RelationsTest, AFailedRemovalIsReportedAndTheMainWindowWarnsOfTheOutOfStepCopy) {
    showGroups();
    selectInMain({"Readers"});
    withRelations([&](frmRelations &dialog) {
        world().deleteMember("CORP", "Readers", "Staff");  // behind the program's back
        SelectOnly(members(dialog), {"Staff"});
        child<QPushButton>(dialog, "cmdRemove").click();
        EXPECT_THAT(Entries(members(dialog)),
                    UnorderedElementsAre("SUser carol", "SUser EAST\\ann"));
    });
    ASSERT_EQ(messages().shown().size(), 2u);
    EXPECT_EQ(messages().shown()[0].title, "Error");
    EXPECT_EQ(messages().shown()[0].text,
              "The following errors occurred during the requested operation:\n\r"
              "The specified account name is not a member of the local group.\n\r"
              "0 of 1 account succeeded, 1 failed.\n\r");
    EXPECT_EQ(messages().shown()[1].text.rfind("Tarnwick's local copy", 0), 0u);
}

// In one step: a selection restored entry by entry is handled once per entry, which takes
// minutes for thousands of users.
TEST_F(RelationsTest, OKRestoresTheSelectionOfTheWholeListInOneStep) {
    selectInMain({"dave", "erin"});
    const QSignalSpy selectionChanges(&mainList(), &ItemListView::itemSelectionChanged);
    withRelations([&](frmRelations &dialog) {
        SelectOnly(nonMembers(dialog), {"Writers"});
        child<QPushButton>(dialog, "cmdAdd").click();
    });
    EXPECT_THAT(SelectedNames(mainList()), ElementsAre("dave", "erin"));
    EXPECT_EQ(selectionChanges.count(), 1);
    EXPECT_TRUE(control<QTimer>("timListUpdate").isActive());
}

TEST_F(RelationsTest, OKAfterChangesUnderAGroupFilterKeepsTheRebuiltList) {
    auto &filter = control<QComboBox>("cboFilter");
    filter.setCurrentIndex(filter.findText("Staff"));
    selectInMain({"dave"});
    withRelations([&](frmRelations &dialog) {
        SelectOnly(members(dialog), {"Staff"});
        child<QPushButton>(dialog, "cmdRemove").click();
    });
    EXPECT_THAT(Entries(mainList()), ElementsAre("SUser carol"));
    EXPECT_THAT(SelectedNames(mainList()), ElementsAre("carol"));
}

}  // namespace
