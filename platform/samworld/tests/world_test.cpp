// The world as the tool and other layers' tests build it: files, the network, the account
// rules shared with the Net* calls, generation and the demo.
#include "temp_world.h"

#include "samworld/accounts.h"
#include "samworld/names.h"
#include "samworld/network.h"
#include "samworld/services.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
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
    EXPECT_EQ(statusOf([&] { World::open((folder() / "words.txt").string()); }), uint32_t{NERR_InvalidDatabase});
    world().addDomain("CORP", "ALDER");
    const World again = World::open(path());
    EXPECT_TRUE(again.hasAccount("CORP", "Administrator"));
}

// The status of opening the world at `path` in a child process that, when this one runs as
// root, is the user nobody: the system lets root write past any permission.
uint32_t statusOfOpeningAsAnOrdinaryUser(const std::string &path) {
    const pid_t child = fork();
    if (child == 0) {
        const bool dropped = geteuid() != 0 || (setgid(65534) == 0 && setuid(65534) == 0);
        _exit(dropped ? static_cast<int>(statusOf([&] { World::open(path); }) & 0xFF) : 255);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 255;
}

TEST_F(Files, EachFailureOfTheWorldFileHasItsOwnStatus) {
    using std::filesystem::perms;
    world().addDomain("CORP", "ALDER");
    {
        // Another program holds the world to change it: reading goes on, a change waits a few
        // seconds for it and then says the world is busy.
        const Database holder(path(), Database::Mode::OpenExisting);
        const Transaction held(holder);
        World waiting = World::open(path());
        EXPECT_TRUE(waiting.hasAccount("CORP", "Administrator"));
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(statusOf([&] { waiting.addUser("CORP", "ann"); }), uint32_t{ERROR_BUSY});
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    }
    {
        // Nobody may write to the file: it is read, and a change says it is read-only.
        std::filesystem::permissions(path(), perms::owner_read | perms::group_read | perms::others_read);
        World readOnly = World::open(path());
        EXPECT_TRUE(readOnly.hasAccount("CORP", "Administrator"));
        EXPECT_EQ(statusOf([&] { readOnly.addUser("CORP", "ann"); }), uint32_t{ERROR_WRITE_PROTECT});
        EXPECT_FALSE(readOnly.hasAccount("CORP", "ann"));
    }
    // A world in a folder where its journal files cannot be made, opened by its owner.
    const auto locked = folder() / "locked";
    const std::string lockedWorld = (locked / "samworld.db").string();
    std::filesystem::create_directory(locked);
    World::create(lockedWorld).addDomain("CORP", "ALDER");
    if (geteuid() == 0) {
        ASSERT_EQ(chown(lockedWorld.c_str(), 65534, 65534), 0);
    }
    std::filesystem::permissions(folder(), perms::all);
    std::filesystem::permissions(locked, perms::owner_read | perms::owner_exec | perms::others_read |
                                             perms::others_exec);
    EXPECT_EQ(statusOfOpeningAsAnOrdinaryUser(lockedWorld), uint32_t{ERROR_CANNOT_MAKE});
    std::filesystem::permissions(locked, perms::owner_all);
}

TEST_F(Files, CreateReplacesAnEarlierWorld) {
    world().addDomain("CORP", "ALDER");
    const World replaced = World::create(path());
    EXPECT_FALSE(replaced.hasAccount("CORP", "Administrator"));
    EXPECT_TRUE(replaced.show().find("CORP") == std::string::npos);
}

// The world holds password hashes: no other local user may read it or its log and index.
TEST_F(Files, TheWorldAndItsLogAndIndexAreTheOwnersAlone) {
    world().addDomain("CORP", "ALDER");  // a write, so that the log and the index exist
    for (const char *suffix : {"", "-wal", "-shm"}) {
        const auto permissions = std::filesystem::status(path() + suffix).permissions();
        EXPECT_EQ(permissions & (std::filesystem::perms::group_all | std::filesystem::perms::others_all),
                  std::filesystem::perms::none)
            << suffix;
    }
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

class Passwords : public TempWorldTest {
protected:
    // A world as the tool makes one, with strong password hashing.
    World strongWorld() {
        World strong = World::create((folder() / "strong.db").string());
        strong.addDomain("CORP", "ALDER");
        return strong;
    }

    static std::string storedHash(const World &world, const std::string &user) {
        auto row = world.database().prepare(
            "SELECT u.password_hash FROM users u JOIN accounts a ON a.id = u.account_id "
            "WHERE a.name = ?");
        row.bind(1, user).step();
        return row.text(0);
    }
};

TEST_F(Passwords, AreKeptAsStrongArgon2idHashes) {
    World strong = strongWorld();
    UserOptions ann;
    ann.password = "Sea-Breeze";
    strong.addUser("CORP", "ann", ann);
    EXPECT_TRUE(storedHash(strong, "ann").starts_with("$argon2id$v=19$m=19456,t=2,p=1$"))
        << storedHash(strong, "ann");
    EXPECT_TRUE(strong.passwordMatches("CORP", "ann", "Sea-Breeze"));
    EXPECT_FALSE(strong.passwordMatches("CORP", "ann", "sea-breeze"));
    EXPECT_FALSE(strong.passwordMatches("CORP", "ann", ""));
    EXPECT_TRUE(strong.passwordMatches("CORP", "Administrator", "")) << "no password set";
}

// The demo's passwords are published in its source: they are hashed cheaply, and at the
// world's strong cost once checked; a password set afterwards is strong from the start.
TEST_F(Passwords, TheDemoHashesItsPublishedPasswordsCheaplyAndLeavesTheWorldStrong) {
    World strong = World::create((folder() / "strong.db").string());
    setenv("COMPUTERNAME", "WHARF", 1);
    strong.populateDemo();
    unsetenv("COMPUTERNAME");
    EXPECT_TRUE(storedHash(strong, "Administrator").starts_with("$argon2id$v=19$m=8,t=1,p=1$"));
    EXPECT_TRUE(strong.passwordMatches("HARBOUR", "Administrator", "Harbour-Master-1"));
    EXPECT_TRUE(storedHash(strong, "Administrator").starts_with("$argon2id$v=19$m=19456,t=2,p=1$"));

    UserOptions newcomer;
    newcomer.password = "Sea-Breeze";
    strong.addUser("HARBOUR", "newcomer", newcomer);
    EXPECT_TRUE(storedHash(strong, "newcomer").starts_with("$argon2id$v=19$m=19456,t=2,p=1$"));
}

// A world made when passwords were salted SHA-256: its hashes still verify, and the first right
// password replaces the old hash by the world's own.
TEST_F(Passwords, AnEarlierWorldsHashStillVerifiesAndIsReplacedOnTheFirstRightCheck) {
    World strong = strongWorld();
    strong.addUser("CORP", "ann");
    strong.database().execute(
        "UPDATE users SET password_salt = x'000102030405060708090a0b0c0d0e0f', "
        "password_hash = x'bb8f8bd5e079efa6504e44ad89ee26c34d9de2efda408a445218ac4b56d52983' "
        "WHERE account_id = (SELECT id FROM accounts WHERE name = 'ann')");

    EXPECT_FALSE(strong.passwordMatches("CORP", "ann", "sea-breeze"));
    EXPECT_FALSE(storedHash(strong, "ann").starts_with("$argon2id$")) << "a wrong guess changes nothing";
    EXPECT_TRUE(strong.passwordMatches("CORP", "ann", "Sea-Breeze"));
    EXPECT_TRUE(storedHash(strong, "ann").starts_with("$argon2id$v=19$m=19456,t=2,p=1$"));
    EXPECT_TRUE(strong.passwordMatches("CORP", "ann", "Sea-Breeze"));
    EXPECT_FALSE(strong.passwordMatches("CORP", "ann", "sea-breeze"));
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
