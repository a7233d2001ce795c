#include "UiTest.h"

#include "dataops/ItemList.h"
#include "status/modSAM.h"
#include "store/ProgramValues.h"
#include "ui/frmTrusted.h"
#include "vantry_api/NameList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// The target domain CORP (controller ALDER) trusts EAST (controller ELM), which has two users
// and a global group of its own.
class TrustedTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        addDomainWithLocalMember();
        world().addDomain("EAST", "ELM");
        world().addTrust("CORP", "EAST");
        world().addUser("EAST", "ann");
        world().addUser("EAST", "bob");
        world().addGroup("EAST", "Sales", samworld::GroupKind::Global);
        dialog_ = std::make_unique<frmTrusted>(&window(), workList_);
    }

    void TearDown() override {
        dialog_.reset();
        UiTest::TearDown();
    }

    frmTrusted &dialog() { return *dialog_; }
    QComboBox &domains() { return *dialog_->findChild<QComboBox *>("cboDomain"); }
    ItemListView &items() { return *dialog_->findChild<ItemListView *>("lstItems"); }
    void setSelected(int row, bool selected) {
        items().selectionModel()->select(items().model()->index(row, 0),
                                         selected ? QItemSelectionModel::Select
                                                  : QItemSelectionModel::Deselect);
    }

    std::vector<std::string> domainEntries() {
        std::vector<std::string> entries;
        for (int i = 0; i < domains().count(); ++i) {
            entries.push_back(domains().itemText(i).toStdString());
        }
        return entries;
    }

    // Each entry as its icon key, a blank and its name.
    std::vector<std::string> listed() {
        std::vector<std::string> entries;
        for (int row = 0; row < items().count(); ++row) {
            entries.push_back((items().iconKey(row) + " " + items().text(row)).toStdString());
        }
        return entries;
    }

    // As the Relationships dialog prepares the dialog before showing it.
    void prepare() {
        ASSERT_TRUE(dialog().LoadDomains());
        dialog().UpdateList();
        dialog().Loading(false);
    }

    void choose(const QString &entry) { domains().setCurrentIndex(domains().findText(entry)); }

private:
    StringNameList workList_;
    std::unique_ptr<frmTrusted> dialog_;
};

TEST_F(TrustedTest, TheTargetsDomainIsChosenAndOffersOnlyItsGlobalGroups) {
    clickSwitch();
    prepare();
    EXPECT_THAT(domainEntries(), ElementsAre("CORP", "EAST"));
    EXPECT_EQ(domains().currentText(), "CORP");
    EXPECT_THAT(listed(), ElementsAre("SGroupGlobal Domain Admins", "SGroupGlobal Domain Users",
                                      "SGroupGlobal Domain Guests"));
    EXPECT_THAT(messages().shown(), IsEmpty());
}

TEST_F(TrustedTest, ATrustedDomainOffersItsGlobalGroupsAndItsUsers) {
    clickSwitch();
    prepare();
    choose("EAST");
    EXPECT_THAT(listed(),
                ElementsAre("SGroupGlobal Domain Admins", "SGroupGlobal Domain Users",
                            "SGroupGlobal Domain Guests", "SGroupGlobal Sales",
                            "SUser Administrator", "SUser Guest", "SUser ann", "SUser bob"));
}

TEST_F(TrustedTest, ChoosingWhileLoadingLeavesTheListAlone) {
    clickSwitch();
    ASSERT_TRUE(dialog().LoadDomains());
    choose("EAST");
    EXPECT_THAT(listed(), IsEmpty());
    dialog().Loading(false);
    choose("CORP");
    EXPECT_EQ(items().count(), 3);
}

TEST_F(TrustedTest, ChosenAccountsCarryTheDomainAndOKAcceptsThem) {
    clickSwitch();
    prepare();
    choose("EAST");
    for (int row = 0; row < items().count(); ++row) {
        setSelected(row, items().text(row) == "bob" || items().text(row) == "Sales");
    }
    EXPECT_THAT(dialog().ChosenAccounts(), ElementsAre("EAST\\Sales", "EAST\\bob"));
    dialog().findChild<QPushButton *>("cmdOK")->click();
    EXPECT_TRUE(dialog().Accepted());
    dialog().findChild<QPushButton *>("cmdCancel")->click();
    EXPECT_FALSE(dialog().Accepted());
}

TEST_F(TrustedTest, AnEntryIsTrimmedBeforeItsControllerIsLookedUp) {
    clickSwitch();
    prepare();
    domains().addItem(" EAST ");
    choose(" EAST ");
    EXPECT_EQ(items().count(), 8);
    setSelected(0, false);
    setSelected(rowOf(items(), "ann"), true);
    EXPECT_THAT(dialog().ChosenAccounts(), ElementsAre("EAST\\ann"));
}

TEST_F(TrustedTest, ADomainWithoutControllerIsReportedAndListsNothing) {
    clickSwitch();
    prepare();
    domains().addItem("NOWHERE");
    choose("NOWHERE");
    EXPECT_THAT(listed(), IsEmpty());
    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().shown()[0].text,
              "Unable to get Domain server: Could not find domain controller for this domain.");
    EXPECT_EQ(messages().shown()[0].title, "Error");
    EXPECT_EQ(messages().shown()[0].icon, MsgIcon::Critical);
    EXPECT_EQ(LastStatus, 2453u);
}

TEST_F(TrustedTest, FailedListingsAreReportedAndTheOtherKindStillListed) {
    clickSwitch();
    prepare();
    world().addFault({.call = "NetGroupEnum", .status = 5, .server = "", .after = 0, .count = 1});
    choose("EAST");
    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().shown()[0].text.rfind("Error retrieving groups: ", 0), 0u);
    EXPECT_EQ(items().count(), 4);  // the users
}

TEST_F(TrustedTest, NoDomainLeftSaysNothingToView) {
    clickSwitch();
    world().addFault(
        {.call = "NetWkstaGetInfo", .status = 53, .server = "", .after = 0, .count = -1});
    EXPECT_FALSE(dialog().LoadDomains());
    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().shown()[0].text, "Unable to detect any domain SAM databases.");
    EXPECT_EQ(messages().shown()[0].title, "Nothing to view");
    EXPECT_EQ(messages().shown()[0].icon, MsgIcon::Exclamation);
}

// A stand-alone machine offers only itself, which is the target: nothing is left to view.
TEST_F(TrustedTest, AStandAloneTargetHasNothingToView) {
    world().addMachine("PC1", "", "OFFICE", false);
    world().logon("PC1\\Administrator");
    control<QCheckBox>("chkPDC").setChecked(false);
    control<QLineEdit>("txtName").setText("PC1");
    clickSwitch();
    ASSERT_FALSE(gIsDomain);
    EXPECT_FALSE(dialog().LoadDomains());
    EXPECT_EQ(domains().count(), 0);
    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().shown()[0].text, "Unable to detect any domain SAM databases.");
}

}  // namespace
