#include "StoreTest.h"

#include "store/ProgramValues.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

using Memberships = std::set<std::pair<std::string, std::string>>;

// The memberships of the named groups only; built-in groups have their own members.
Memberships onlyGroups(const Memberships &all, const std::set<std::string> &groups) {
    Memberships chosen;
    std::copy_if(all.begin(), all.end(), std::inserter(chosen, chosen.end()),
                 [&](const auto &row) { return groups.count(row.first) != 0; });
    return chosen;
}

bool holds(const std::vector<std::string> &names, const std::string &name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

class DomainLoad : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        addDomainCorp();
        world().addDomain("HARBOUR", "BIRCH");
        world().addTrust("CORP", "HARBOUR");
        world().addUser("HARBOUR", "zed", withPassword("zed-secret"));
        for (const char *name : {"ann", "bob"}) {
            world().addUser("CORP", name, withPassword("secret-1"));
        }
        samworld::UserOptions carl = withPassword("secret-1");
        carl.fullName = "Carl Berg";
        carl.comment = "Printer room";
        carl.flags |= UF_ACCOUNTDISABLE;
        world().addUser("CORP", "carl", carl);
        world().addGroup("CORP", "Staff", samworld::GroupKind::Global, "Everyone on the payroll");
        world().addMember("CORP", "Staff", "ann");
        world().addMember("CORP", "Staff", "bob");
        world().addGroup("CORP", "Printers", samworld::GroupKind::Local);
        world().addMember("CORP", "Printers", "CORP\\carl");
        world().addMember("CORP", "Printers", "HARBOUR\\zed");
        world().addMember("CORP", "Printers", "CORP\\Staff");
        gDomainName = "CORP";
    }
};

TEST_F(DomainLoad, RecordsUsersGroupsAndOwnMembersOnly) {
    data().TargetSAM("\\\\ALDER");

    EXPECT_EQ(data().LastErr().Number(), 0) << data().LastErr().ErrList();
    EXPECT_TRUE(gIsDomain);
    EXPECT_EQ(ItemStrings[0][0], "Domain User");
    const auto users = storedUsers();
    for (const char *name : {"ann", "bob", "carl", "Administrator"}) {
        EXPECT_TRUE(holds(users, name)) << name;
    }
    EXPECT_FALSE(holds(users, "zed"));
    const auto groups = storedGroups();
    EXPECT_TRUE(groups.count({"Staff", true}));
    EXPECT_TRUE(groups.count({"Domain Users", true}));
    EXPECT_TRUE(groups.count({"Printers", false}));
    // A trusted domain's user and a nested global group get no row in the local group.
    EXPECT_EQ(onlyGroups(storedMemberships(), {"Staff", "Printers"}),
              (Memberships{{"Staff", "ann"}, {"Staff", "bob"}, {"Printers", "carl"}}));

    // What the lists show beside the names comes with them.
    const Database store(data().WorkingPath());
    Statement user = store.prepare("SELECT FullName, Comment, Flags FROM User WHERE UserName = ?");
    ASSERT_TRUE(user.bind(1, "carl").step());
    EXPECT_EQ(user.text(0), "Carl Berg");
    EXPECT_EQ(user.text(1), "Printer room");
    EXPECT_EQ(user.integer(2) & UF_ACCOUNTDISABLE, UF_ACCOUNTDISABLE);
    Statement group = store.prepare("SELECT Comment FROM [Group] WHERE GroupName = ?");
    ASSERT_TRUE(group.bind(1, "Staff").step());
    EXPECT_EQ(group.text(0), "Everyone on the payroll");
}

TEST_F(DomainLoad, AFailedMemberEnumerationUndoesTheWholeLoad) {
    world().addFault(
        {.call = "NetGroupGetUsers", .status = 5, .server = "", .after = 1, .count = 1});
    data().TargetSAM("\\\\ALDER");

    EXPECT_EQ(data().LastErr().count(), 1);
    EXPECT_EQ(data().LastErr().Number(), 17);
    EXPECT_EQ(data().LastErr().ErrList().rfind("Get users failed: Access denied.", 0), 0u)
        << data().LastErr().ErrList();
    EXPECT_TRUE(storedUsers().empty());
    EXPECT_TRUE(storedGroups().empty());
    EXPECT_TRUE(storedMemberships().empty());
    // The store is open all the same, on the empty tables.
    EXPECT_EQ(data().User().SAMHost(), "\\\\ALDER");
}

// Told each step as it begins; stopped between two groups, the load is undone like a failed
// one, so nothing half loaded stays.
TEST_F(DomainLoad, ALoadStoppedBetweenGroupsIsUndone) {
    class StopAtThirdGroup final : public ProgressReporter {
    public:
        bool Step(int64_t done, int64_t total, const std::string &what) override {
            steps.push_back(what + " " + std::to_string(done) + "/" + std::to_string(total));
            return done < 2 || total == 0;
        }
        std::vector<std::string> steps;
    } progress;
    data().TargetSAM("\\\\ALDER");
    const std::string groups = std::to_string(storedGroups().size());
    data().TargetSAM("\\\\ALDER", progress);

    ASSERT_GE(progress.steps.size(), 6u);
    EXPECT_EQ(progress.steps[0], "Reading the users 0/0");
    EXPECT_EQ(progress.steps[1], "Reading the local groups 0/0");
    EXPECT_EQ(progress.steps[2], "Reading the global groups 0/0");
    EXPECT_EQ(progress.steps[3].rfind("Reading the members of ", 0), 0u) << progress.steps[3];
    EXPECT_EQ(progress.steps.back().substr(progress.steps.back().rfind(' ') + 1), "2/" + groups);
    EXPECT_EQ(data().LastErr().ErrList(), "Loading was cancelled.\n\r");
    EXPECT_TRUE(storedUsers().empty());
    EXPECT_TRUE(storedGroups().empty());
    EXPECT_TRUE(storedMemberships().empty());
}

TEST_F(DomainLoad, EachEnumerationFailureNamesItsStep) {
    const std::pair<const char *, const char *> cases[] = {
        {"NetUserEnum", "Get users failed: "},
        {"NetLocalGroupEnum", "Get local groups failed: "},
        {"NetGroupEnum", "Get global groups failed: "},
    };
    for (const auto &[call, description] : cases) {
        world().clearFaults();
        // The domain test enumerates the global groups once before the load does.
        const int after = std::string(call) == "NetGroupEnum" ? 1 : 0;
        world().addFault({.call = call, .status = 2229, .server = "", .after = after, .count = 1});
        data().TargetSAM("\\\\ALDER");
        EXPECT_EQ(data().LastErr().ErrList(),
                  std::string(description) + "A disk I/O failure occurred.\n\r");
        EXPECT_TRUE(storedUsers().empty()) << call;
    }
}

class MachineLoad : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        addDomainCorp();
        world().addMachine("PC1", "CORP", "", false);
        world().addUser("CORP", "bob", withPassword("secret-1"));
        world().addUser("PC1", "alice", withPassword("secret-1"));
        world().addUser("PC1", "bob", withPassword("secret-1"));
        world().addGroup("PC1", "Helpers", samworld::GroupKind::Local);
        world().addMember("PC1", "Helpers", "PC1\\alice");
        world().addMember("PC1", "Helpers", "CORP\\bob");
        gDomainName = "CORP";
    }
};

TEST_F(MachineLoad, RecordsTheMachinesOwnMembersAndNoGlobalGroups) {
    data().TargetSAM("\\\\PC1");

    EXPECT_EQ(data().LastErr().Number(), 0) << data().LastErr().ErrList();
    EXPECT_FALSE(gIsDomain);
    EXPECT_EQ(ItemStrings[0][0], "User");
    const auto groups = storedGroups();
    EXPECT_TRUE(groups.count({"Helpers", false}));
    EXPECT_TRUE(std::none_of(groups.begin(), groups.end(), [](const auto &g) { return g.second; }));
    // The domain's bob is not the machine's bob.
    EXPECT_EQ(onlyGroups(storedMemberships(), {"Helpers"}), (Memberships{{"Helpers", "alice"}}));
}

TEST_F(MachineLoad, ATargetTypedInLowerCaseLoadsTheSameMemberships) {
    data().TargetSAM("\\\\PC1");
    const auto upperCase = storedMemberships();
    data().TargetSAM("\\\\pc1");
    EXPECT_EQ(data().LastErr().Number(), 0) << data().LastErr().ErrList();
    EXPECT_EQ(storedMemberships(), upperCase);
    EXPECT_TRUE(upperCase.count({"Helpers", "alice"}));
}

// A run that died in the middle of a write leaves its journal beside the working file. The next
// load replaces the file: applied to the fresh copy, that journal would bring back the previous
// target's rows. The copy is also its owner's alone.
TEST_F(MachineLoad, EachLoadStartsFromAFreshPrivateCopyEvenOverAJournalLeftByACrash) {
    data().TargetSAM("\\\\ALDER");
    ASSERT_TRUE(holds(storedUsers(), "Administrator"));
    const std::filesystem::path journal = data().WorkingPath().string() + "-journal";
    const std::filesystem::path kept = data().WorkingPath().parent_path() / "crashed-journal";
    {
        const Database crashing(data().WorkingPath());
        // A cache too small for the change makes the engine write pages to the file before the
        // end of the transaction, with the journal ready to undo them.
        crashing.execute("PRAGMA cache_size = 1");
        crashing.execute("BEGIN");
        crashing.execute("DELETE FROM GroupUser");
        crashing.execute("DELETE FROM User");
        std::filesystem::copy_file(journal, kept);  // as the crash left it
        crashing.execute("ROLLBACK");
    }
    std::filesystem::rename(kept, journal);

    data().TargetSAM("\\\\PC1");
    EXPECT_EQ(data().LastErr().Number(), 0) << data().LastErr().ErrList();
    auto users = storedUsers();
    std::sort(users.begin(), users.end());
    EXPECT_EQ(users, (std::vector<std::string>{"Administrator", "Guest", "alice", "bob"}));
    EXPECT_EQ(onlyGroups(storedMemberships(), {"Helpers"}), (Memberships{{"Helpers", "alice"}}));
    EXPECT_EQ(std::filesystem::status(data().WorkingPath()).permissions() &
                  (std::filesystem::perms::group_all | std::filesystem::perms::others_all),
              std::filesystem::perms::none);
}

}  // namespace
