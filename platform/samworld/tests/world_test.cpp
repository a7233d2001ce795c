// The world as the tool and other layers' tests build it: files, the network, the account
// rules shared with the Net* calls, generation and the demo.
#include "temp_world.h"

#include "samworld/accounts.h"
#include "samworld/names.h"
#include "samworld/network.h"
#include "samworld/services.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <regex>

namespace samworld::test {
namespace {

uint32_t statusOf(const std::function<void()> &action) {
    try {
        action();
    } catch (const Error &error) {
        return error.status;
    }
    return 0;
}

class Files : public TempWorldTest {};

TEST_F(Files, OpeningNeedsAnExistingWorld) {
    EXPECT_EQ(statusOf([&] { World::open((folder() / "missing.db").string()); }), uint32_t{NERR_ACFNotLoaded});
    std::ofstream((folder() / "words.txt").string()) << "no database here, only a few plain words";
    EXPECT_EQ(statusOf([&] { World::open((folder() / "words.txt").string()); }), uint32_t{NERR_ACFNotLoaded});
    world().addDomain("CORP", "ALDER");
    const World again = World::open(path());
    EXPECT_TRUE(again.hasAccount("CORP", "Administrator"));
}

TEST_F(Files, CreateReplacesAnEarlierWorld) {
    world().addDomain("CORP", "ALDER");
    const World replaced = World::create(path());
    EXPECT_FALSE(replaced.hasAccount("CORP", "Administrator"));
    EXPECT_TRUE(replaced.show().find("CORP") == std::string::npos);
}

// A build keeps its world beside the program; an installed program, which may not write
// there, keeps it in the user's data folder.
TEST_F(Files, TheDefaultPathIsTheVariableElseAWorldBesideTheProgramElseTheUsersDataFolder) {
    EXPECT_EQ(World::defaultPath(), path());
    unsetenv("SAMWORLD");
    EXPECT_EQ(World::defaultPathFor(folder()), path());

    const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    const auto installed = folder() / "usr" / "bin";
    setenv("XDG_DATA_HOME", (folder() / "data").c_str(), 1);
    EXPECT_EQ(World::defaultPathFor(installed), (folder() / "data/tarnwick/samworld.db").string());
    setenv("XDG_DATA_HOME", "data", 1);  // not absolute: ignored
    setenv("HOME", folder().c_str(), 1);
    EXPECT_EQ(World::defaultPathFor(installed),
              (folder() / ".local/share/tarnwick/samworld.db").string());
    unsetenv("XDG_DATA_HOME");
    setenv("HOME", home.c_str(), 1);
}

TEST_F(Files, AFirstStartMakesTheDemoWorldAndLaterStartsKeepIt) {
    const auto folderOfUser = folder() / "data" / "tarnwick";
    const std::string fresh = (folderOfUser / "samworld.db").string();
    World::openOrCreateDemo(fresh).addUser("HARBOUR", "newcomer");
    {
        const World again = World::openOrCreateDemo(fresh);
        EXPECT_TRUE(again.hasAccount("HARBOUR", "anna.baker"));
        EXPECT_TRUE(again.hasAccount("HARBOUR", "newcomer"));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folderOfUser), {}), 1)
        << "only the world itself is left in the folder";
}

class Networks : public TempWorldTest {
protected:
    void SetUp() override {
        TempWorldTest::SetUp();
        world().addDomain("CORP", "ALDER");
        world().addDomain("PARTNER", "BIRCH");
        world().addMachine("OAK", "CORP", "", true);
    }
};

TEST_F(Networks, MisbuiltNetworksAreRefused) {
    EXPECT_EQ(statusOf([&] { world().addDomain("corp", "CEDAR"); }), uint32_t{ERROR_ALREADY_EXISTS});
    EXPECT_EQ(statusOf([&] { world().addDomain("FAR", "oak"); }), uint32_t{ERROR_ALREADY_EXISTS});
    EXPECT_EQ(statusOf([&] { world().addDomain("FAR AWAY", "CEDAR"); }), uint32_t{ERROR_INVALID_NAME});
    EXPECT_EQ(statusOf([&] { world().addMachine("ELM", "CORP", "MOOR", false); }), uint32_t{ERROR_INVALID_PARAMETER});
    EXPECT_EQ(statusOf([&] { world().addMachine("ELM", "NOWHERE", "", false); }), uint32_t{ERROR_NO_SUCH_DOMAIN});
    EXPECT_EQ(statusOf([&] { world().addMachine("OAK", "", "MOOR", false); }), uint32_t{ERROR_ALREADY_EXISTS});
    EXPECT_EQ(statusOf([&] { world().addMachine(std::string(64, 'M'), "", "MOOR", false); }), uint32_t{ERROR_INVALID_NAME});
    EXPECT_EQ(statusOf([&] { world().addMachine("BUILD-WORKSTATION-SEVEN", "", "MOOR", false); }), uint32_t{0});
    EXPECT_EQ(statusOf([&] { world().addTrust("CORP", "NOWHERE"); }), uint32_t{ERROR_NO_SUCH_DOMAIN});
    EXPECT_EQ(statusOf([&] { world().addTrust("CORP", "CORP"); }), uint32_t{ERROR_INVALID_PARAMETER});
    EXPECT_EQ(statusOf([&] { world().addTrust("CORP", "OAK"); }), uint32_t{ERROR_NO_SUCH_DOMAIN});
    EXPECT_EQ(statusOf([&] { world().logon("CORP\\nobody"); }), uint32_t{NERR_UserNotFound});
    EXPECT_EQ(statusOf([&] { world().logon("Administrator"); }), uint32_t{ERROR_INVALID_PARAMETER});
}

TEST_F(Networks, JoiningADomainMakesATrustAccountAndNestsTheDomainGroups) {
    EXPECT_TRUE(world().hasAccount("CORP", "OAK$"));
    EXPECT_TRUE(world().hasAccount("CORP", "ALDER$"));
    EXPECT_EQ(world().user("CORP", "OAK$").flags & UF_WORKSTATION_TRUST_ACCOUNT, uint32_t{UF_WORKSTATION_TRUST_ACCOUNT});
    EXPECT_EQ(world().members("OAK", "Users"), std::vector<std::string>{"CORP\\Domain Users"});
    EXPECT_EQ(world().members("OAK", "None"), (std::vector<std::string>{"Administrator", "Guest"}));
    // The controller's name is its domain's SAM.
    world().addUser("ALDER", "ann");
    EXPECT_TRUE(world().hasAccount("CORP", "ann"));
    // Naming the controller as a machine of its domain only marks it local.
    world().addMachine("ALDER", "CORP", "", true);
    EXPECT_EQ(samworld::Network(world().database()).localMachine()->name, "ALDER");
}

TEST_F(Networks, SidsAreDomainSidsWithTheRelativeIdAndStableAcrossWorlds) {
    const samworld::Network network(world().database());
    const auto administrator = Sam(world().database(), network.sam("CORP")).user("Administrator");
    EXPECT_TRUE(std::regex_match(administrator.sid, std::regex(R"(S-1-5-21-\d+-\d+-\d+-500)"))) << administrator.sid;
    const auto oakAdministrator = Sam(world().database(), network.sam("OAK")).user("Administrator");
    EXPECT_NE(oakAdministrator.sid, administrator.sid);
    World other = World::create((folder() / "other.db").string());
    other.addDomain("CORP", "ALDER");
    const samworld::Network otherNetwork(other.database());
    EXPECT_EQ(Sam(other.database(), otherNetwork.sam("CORP")).user("Administrator").sid, administrator.sid);
}

TEST_F(Networks, AccountNamesFoldCaseBeyondAscii) {
    EXPECT_EQ(foldCase("Ärger"), foldCase("äRGER"));
    EXPECT_NE(foldCase("Ärger"), foldCase("Arger"));
    EXPECT_TRUE(isValidAccountName("Ünal"));
    EXPECT_FALSE(isValidAccountName("tab\there"));
    EXPECT_FALSE(isValidAccountName(" . "));
}

class Accounts : public Networks {};

TEST_F(Accounts, MembersOfGlobalAndLocalGroups) {
    UserOptions options;
    world().addUser("CORP", "ann", options);
    world().addUser("PARTNER", "pia", options);
    world().addGroup("CORP", "Rowers", GroupKind::Global);
    world().addGroup("OAK", "Boathouse", GroupKind::Local);
    world().addMember("CORP", "Rowers", "CORP\\ann");
    EXPECT_EQ(statusOf([&] { world().addMember("CORP", "Rowers", "PARTNER\\pia"); }), uint32_t{NERR_UserNotFound});
    EXPECT_EQ(statusOf([&] { world().addMember("OAK", "Boathouse", "PARTNER\\pia"); }), uint32_t{ERROR_NO_SUCH_MEMBER})
        << "CORP does not trust PARTNER yet";
    world().addTrust("CORP", "PARTNER");
    world().addMember("OAK", "Boathouse", "PARTNER\\pia");
    world().addMember("OAK", "Boathouse", "Rowers");  // a bare name reaches the machine's domain
    world().addMember("OAK", "Boathouse", "NT AUTHORITY\\INTERACTIVE");
    EXPECT_EQ(world().members("OAK", "Boathouse"),
              (std::vector<std::string>{"PARTNER\\pia", "CORP\\Rowers", "NT AUTHORITY\\INTERACTIVE"}));
    world().deleteMember("OAK", "Boathouse", "CORP\\Rowers");
    world().deleteGroup("CORP", "Rowers");
    world().deleteUser("PARTNER", "pia");
    EXPECT_EQ(world().members("OAK", "Boathouse"), std::vector<std::string>{"NT AUTHORITY\\INTERACTIVE"})
        << "deleted accounts leave no memberships behind";
}

TEST_F(Accounts, TheToolActsAsAdministratorButKeepsTheAccountRules) {
    world().setMinPasswordLength("CORP", 6);
    UserOptions locked;
    locked.password = "long enough";
    locked.flags = UF_SCRIPT | UF_NORMAL_ACCOUNT | UF_LOCKOUT;
    world().addUser("CORP", "ann", locked);  // no caller is logged on: no rights needed
    EXPECT_NE(world().user("CORP", "ann").flags & UF_LOCKOUT, 0u) << "the tool may lock an account";
    UserOptions weak;
    weak.password = "short";
    EXPECT_EQ(statusOf([&] { world().addUser("CORP", "bob", weak); }), uint32_t{NERR_PasswordTooShort});
    EXPECT_EQ(statusOf([&] { world().addUser("CORP", "ANN"); }), uint32_t{NERR_UserExists});
    EXPECT_EQ(statusOf([&] { world().addUser("CORP", "a+b"); }), uint32_t{NERR_BadUsername});
    EXPECT_EQ(statusOf([&] { world().deleteUser("CORP", "Guest"); }), uint32_t{ERROR_SPECIAL_ACCOUNT});
    EXPECT_EQ(statusOf([&] { world().deleteGroup("CORP", "Domain Admins"); }), uint32_t{NERR_SpeGroupOp});
    EXPECT_EQ(statusOf([&] { world().addGroup("OAK", "Rowers", GroupKind::Global); }), uint32_t{NERR_NotPrimary});
    EXPECT_EQ(statusOf([&] { world().addUser("NOWHERE", "ann"); }), uint32_t{ERROR_NO_SUCH_DOMAIN});
    EXPECT_EQ(statusOf([&] { world().addFault({"NetUserAdd", 0, "", 0, 1}); }), uint32_t{ERROR_INVALID_PARAMETER});
}

class Generated : public TempWorldTest {
protected:
    World build(const std::string &name, uint32_t seed) {
        World built = World::create((folder() / name).string());
        built.addDomain("BULK", "QUARRY");
        built.generate("BULK", 300, 20, 10, seed);
        return built;
    }
};

TEST_F(Generated, GenerationIsDeterministicPerSeed) {
    const World first = build("first.db", 7);
    const World second = build("second.db", 7);
    const World other = build("other.db", 8);
    EXPECT_EQ(first.show("BULK"), second.show("BULK"));
    EXPECT_NE(first.show("BULK"), other.show("BULK"));
    const samworld::Network network(first.database());
    const Sam bulk(first.database(), network.sam("BULK"));
    EXPECT_EQ(bulk.accounts(AccountKind::User, UF_NORMAL_ACCOUNT, 0, -1).size(), 302u);
    const auto groups = bulk.accounts(AccountKind::GlobalGroup, 0, ridDomainGuests, -1);
    ASSERT_EQ(groups.size(), 20u);
    for (const auto &group : groups) EXPECT_EQ(bulk.groupUsers(group.value, 0, -1).size(), 10u);
}

TEST_F(Generated, ANameClashIsReportedAndLeavesTheWorldAsItWas) {
    World bulk = build("bulk.db", 7);
    const std::string before = bulk.show("BULK");
    EXPECT_EQ(statusOf([&] { bulk.generate("BULK", 300, 0, 0, 7); }), uint32_t{NERR_UserExists});
    EXPECT_EQ(bulk.show("BULK"), before);
    EXPECT_EQ(statusOf([&] { bulk.generate("BULK", 5, 1, 6, 9); }), uint32_t{ERROR_INVALID_PARAMETER});
}

class Demo : public TempWorldTest {};

TEST_F(Demo, TheDemoNetworkHasWhatTheProgramNeedsToShow) {
    setenv("COMPUTERNAME", "WHARF", 1);
    world().populateDemo();
    unsetenv("COMPUTERNAME");
    const samworld::Network network(world().database());
    const auto local = network.localMachine();
    ASSERT_TRUE(local.has_value());
    EXPECT_EQ(local->name, "WHARF");
    EXPECT_EQ(local->domain, "HARBOUR");
    EXPECT_EQ(network.trustedDomains(network.sam("HARBOUR")).at(0).name, "ORCHARD");
    EXPECT_EQ(network.findMachine("COTTAGE")->workgroup, "VILLAGE");

    const Sam harbour(world().database(), network.sam("HARBOUR"));
    const auto users = harbour.accounts(AccountKind::User, UF_NORMAL_ACCOUNT, 0, -1);
    EXPECT_GE(users.size(), 200u);
    int locked = 0, disabled = 0, expiring = 0;
    for (const auto &user : users) {
        const UserRecord record = harbour.userRecord(user.value.name);
        locked += (record.flags & UF_LOCKOUT) != 0;
        disabled += (record.flags & UF_ACCOUNTDISABLE) != 0;
        expiring += record.acctExpires != TIMEQ_FOREVER;
    }
    EXPECT_GT(locked, 0);
    EXPECT_GT(disabled, 0);
    EXPECT_GT(expiring, 0);

    const auto office = world().members("HARBOUR", "Harbour Office");
    EXPECT_NE(std::find(office.begin(), office.end(), "ORCHARD\\Pickers"), office.end());
    const auto readers = world().members("HARBOUR", "Library Readers");
    EXPECT_NE(std::find(readers.begin(), readers.end(), "NT AUTHORITY\\INTERACTIVE"), readers.end());
    EXPECT_TRUE(harbour.isAdministrator(*caller(network)));
    EXPECT_TRUE(world().passwordMatches("HARBOUR", "Administrator", "Harbour-Master-1"));
}

}  // namespace
}  // namespace samworld::test
