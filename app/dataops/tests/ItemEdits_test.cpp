#include "DataopsTest.h"

#include "dataops/ItemEdits.h"
#include "dataops/ItemList.h"
#include "status/MsgBox.h"
#include "status/Progress.h"
#include "store/ProgramValues.h"

#include <QSignalSpy>

namespace {

class FindByNameTest : public DataopsTest {
protected:
    void SetUp() override {
        DataopsTest::SetUp();
        ItemStrings[kUsersType][0] = "User";
        for (const char *name : {"ann", "bob", "carl"}) addEntry(list(), name, "SUser");
        setSelected(list(), 0, true);
        setSelected(list(), 2, true);
    }

    // Answers the question with name (nullopt: not answered) and remembers what was asked.
    AskForText answer(std::optional<QString> name) {
        return [this, name](const QString &caption, const QString &question) {
            asked << caption << question;
            return name;
        };
    }

    QStringList asked;
};

TEST_F(FindByNameTest, TheFoundEntryBecomesTheOnlySelectedOne) {
    QSignalSpy selectionSignals(&list(), &ItemListView::itemSelectionChanged);
    FindByName(kUsersType, list(), answer(QStringLiteral("BOB")));
    EXPECT_EQ(asked, (QStringList{"Find User", "Name:"}));
    EXPECT_EQ(selectedTexts(list()), QStringList{"bob"});
    EXPECT_EQ(list().text(list().currentRow()), "bob");
    EXPECT_EQ(selectionSignals.count(), 0);  // not a click of the administrator's
}

TEST_F(FindByNameTest, AnUnknownNameLeavesNothingSelectedAndSaysWhatWasAsked) {
    EXPECT_EQ(FindByName(kUsersType, list(), answer(QStringLiteral("zed"))), "zed");
    EXPECT_TRUE(selectedTexts(list()).isEmpty());
    EXPECT_EQ(FindByName(kUsersType, list(), answer(QString())), QString());
    EXPECT_TRUE(selectedTexts(list()).isEmpty()) << "empty text matches nothing";
}

TEST_F(FindByNameTest, PartOfANameFindsTheFirstHolderUnlessAWholeNameMatches) {
    addEntry(list(), "joanne", "SUser");
    list().entries().sort(0, Qt::DescendingOrder);  // joanne, carl, bob, ann
    FindByName(kUsersType, list(), answer(QStringLiteral("AR")));
    EXPECT_EQ(selectedTexts(list()), QStringList{"carl"});
    FindByName(kUsersType, list(), answer(QStringLiteral("ANN")));
    EXPECT_EQ(selectedTexts(list()), QStringList{"ann"}) << "the whole name before joanne";
    FindByName(kUsersType, list(), answer(QStringLiteral("n")));
    EXPECT_EQ(selectedTexts(list()), QStringList{"joanne"}) << "first in the order shown";
}

TEST_F(FindByNameTest, AnEntryTheSearchHidesIsFoundAndTheSearchCleared) {
    list().entries().setSearch(QStringLiteral("B"));
    ASSERT_EQ(list().count(), 1);
    QSignalSpy searches(&list().entries(), &ItemListModel::searchChanged);
    FindByName(kUsersType, list(), answer(QStringLiteral("carl")));
    EXPECT_EQ(list().count(), 3);
    EXPECT_EQ(selectedTexts(list()), QStringList{"carl"});
    ASSERT_EQ(searches.count(), 1);
    EXPECT_EQ(searches[0][0].toString(), QString());
}

TEST_F(FindByNameTest, NoAnswerLeavesTheSelectionAlone) {
    FindByName(kUsersType, list(), answer(std::nullopt));
    EXPECT_EQ(selectedTexts(list()), (QStringList{"ann", "carl"}));
}

class DeleteSelectedItemsTest : public DataopsTest {};

// A deletion the SAM refuses, the first of the selection, stops none of the others.
TEST_F(DeleteSelectedItemsTest, ARefusedDeletionLeavesTheOthersGoing) {
    addDomainCorp();
    for (const char *name : {"bob", "carl"}) world().addUser("CORP", name);
    gDomainName = "CORP";
    openTarget("\\\\ALDER");
    for (const char *name : {"Administrator", "bob", "carl"}) addEntry(list(), name, "SUser");
    for (const int row : {0, 1, 2}) setSelected(list(), row, true);
    messages().answerNext(MsgAnswer::Yes);

    const auto oneKind = [](const ItemListView &) { return true; };
    NoProgress unwatched;
    const auto deleted = DeleteSelectedItems(kUsersType, list(), 3, oneKind, unwatched);
    ASSERT_TRUE(deleted.has_value());
    EXPECT_EQ(deleted->succeeded, 2);
    EXPECT_EQ(deleted->failed, 1);
    EXPECT_TRUE(world().hasAccount("CORP", "Administrator"));
    EXPECT_FALSE(world().hasAccount("CORP", "bob"));
    EXPECT_FALSE(world().hasAccount("CORP", "carl"));
    EXPECT_EQ(gData->LastErr().ErrList(),
              "Failed to delete user 'Administrator' in SAM: Cannot perform this operation on "
              "built-in accounts.\n\r");
}

}  // namespace
