#include "DataopsTest.h"

#include "dataops/ItemList.h"
#include "dataops/Relations.h"
#include "status/modSAM.h"
#include "store/ProgramValues.h"

namespace {

class ListRelationsTest : public DataopsTest {
protected:
    void TearDown() override {
        gSAMHost.clear();
        OutOfStep = false;
        DataopsTest::TearDown();
    }

    void open(const std::string &host) {
        gSAMHost = host;
        openTarget(host);
    }

    void listRelations(int itemType, const NameArray &names, int groupKind) {
        ListRelations(list(), nonMembers_, itemType, names, groupKind, workList_, RunOnce);
    }

    // Each entry as its icon key, a blank and its text.
    static QStringList entries(const ItemListView &list) {
        QStringList result;
        for (int row = 0; row < list.count(); ++row) {
            result << list.iconKey(row) + " " + list.text(row);
        }
        return result;
    }

    ItemListView nonMembers_;
    StringNameList workList_;
};

// The members of a local group on a machine's own SAM carry the machine's name, which is
// dropped; a well-known account has no prefix and is not a user.
TEST_F(ListRelationsTest, AMachinesLocalGroupShowsItsOwnUsersWithoutPrefix) {
    world().addMachine("PC1", "", "OFFICE", true);
    world().logon("PC1\\Administrator");
    world().addUser("PC1", "grandma");
    world().addGroup("PC1", "Family", samworld::GroupKind::Local);
    world().addMember("PC1", "Family", "grandma");
    world().addMember("PC1", "Family", "Everyone");
    gDomainName = "OFFICE";
    open("\\\\PC1");
    ASSERT_FALSE(gIsDomain);

    listRelations(kGroupsType, {"Family"}, kLocalGroup);

    EXPECT_EQ(entries(list()), QStringList({"SUser grandma", "SGroupGlobal Everyone"}));
    EXPECT_EQ(entries(nonMembers_), QStringList({"SUser Administrator", "SUser Guest"}));
    EXPECT_TRUE(messages().shown().empty());

    // The machine typed in lower case is the same machine: its users still lose the prefix.
    open("\\\\pc1");
    listRelations(kGroupsType, {"Family"}, kLocalGroup);
    EXPECT_EQ(entries(list()), QStringList({"SUser grandma", "SGroupGlobal Everyone"}));
}

// Several groups are answered from the store, which holds only the target's own users.
TEST_F(ListRelationsTest, SeveralGroupsShowOnlyTheUsersTheyAllHave) {
    addDomainCorp();
    world().addDomain("EAST", "ELM");
    world().addTrust("CORP", "EAST");
    world().addUser("EAST", "zed");
    for (const char *user : {"ann", "bob"}) world().addUser("CORP", user);
    for (const char *group : {"Readers", "Writers"}) {
        world().addGroup("CORP", group, samworld::GroupKind::Local);
        world().addMember("CORP", group, "ann");
        world().addMember("CORP", group, "EAST\\zed");
    }
    world().addMember("CORP", "Readers", "bob");
    gDomainName = "CORP";
    open("\\\\ALDER");

    listRelations(kGroupsType, {"Readers", "Writers"}, kLocalGroup);

    EXPECT_EQ(entries(list()), QStringList({"SUser ann"}));
    EXPECT_TRUE(entries(nonMembers_).contains("SUser bob"));
    EXPECT_FALSE(entries(nonMembers_).contains("SUser ann"));
}

TEST_F(ListRelationsTest, AFailedLiveReadIsShownAndTheNonMembersAreStillListed) {
    addDomainCorp();
    world().addGroup("CORP", "Readers", samworld::GroupKind::Local);
    gDomainName = "CORP";
    open("\\\\ALDER");
    world().addFault(
        {.call = "NetLocalGroupGetMembers", .status = 5, .server = "", .after = 0, .count = 1});

    listRelations(kGroupsType, {"Readers"}, kLocalGroup);

    EXPECT_EQ(list().count(), 0);
    EXPECT_EQ(entries(nonMembers_), QStringList({"SUser Administrator", "SUser Guest"}));
    std::string denied;
    StatusText(5, denied);
    ASSERT_EQ(messages().shown().size(), 1u);
    const std::string line = "Error retrieving group 'Readers' members: " + denied + "\n\r";
    EXPECT_EQ(messages().shown()[0].text,
              "The following errors occurred during the requested operation:\n\r" + line);
}

}  // namespace
