// Server names, controllers, the workstation's own answers, shares and trusted domains, and
// which names go to a directory rather than to the world.
#include "net_fixture.h"

#include <fstream>

namespace nettest {
namespace {

class Machines : public NetTest {};

// The first account after the built-in Administrator and Guest.
std::string thirdUser(const char16_t *server, NET_API_STATUS *status) {
    NetBuffer buffer;
    DWORD read = 0, total = 0, resume = 0;
    *status = NetUserEnum(server, 0, 0, buffer.out(), MAX_PREFERRED_LENGTH, &read, &total, &resume);
    return read > 2 ? narrow(buffer.as<USER_INFO_0>()[2].usri0_name) : "";
}

TEST_F(Machines, ServerTextNamesOneMachineInEveryForm) {
    addUser("OAK", "olga");
    for (const char16_t *server : {static_cast<const char16_t *>(nullptr), u"", u"OAK", u"\\\\OAK", u"oak"}) {
        NetBuffer buffer;
        EXPECT_EQ(NetUserGetInfo(server, u"olga", 0, buffer.out()), NERR_Success) << narrow(server);
    }
    NetBuffer buffer;
    EXPECT_EQ(NetUserGetInfo(u"ELM", u"olga", 0, buffer.out()), DWORD{ERROR_BAD_NETPATH});
    EXPECT_EQ(NetUserGetInfo(u"CORP", u"olga", 0, buffer.out()), DWORD{ERROR_BAD_NETPATH}) << "a domain is no machine";
}

TEST_F(Machines, AControllerAnswersFromItsDomainAndAMemberFromItsOwnSam) {
    addUser("CORP", "ann");
    addUser("OAK", "olga");
    NET_API_STATUS status = 0;
    EXPECT_EQ(thirdUser(u"ALDER", &status), "ALDER$");
    EXPECT_EQ(status, NERR_Success);
    EXPECT_EQ(thirdUser(u"OAK", &status), "olga");
}

class UnmarkedWorld : public samworld::test::TempWorldTest {};

TEST_F(UnmarkedWorld, EmptyServerFallsBackToTheComputerNameWhenNoMachineIsMarkedLocal) {
    world().addDomain("CORP", "ALDER");
    world().addMachine("ELM", "CORP", "", false);
    setenv("COMPUTERNAME", "ELM", 1);
    NetBuffer buffer;
    EXPECT_EQ(NetWkstaGetInfo(nullptr, 100, buffer.out()), NERR_Success);
    EXPECT_EQ(narrow(buffer.as<WKSTA_INFO_100>()->wki100_computername), "ELM");
    setenv("COMPUTERNAME", "ASH", 1);
    EXPECT_EQ(NetWkstaGetInfo(nullptr, 100, buffer.out()), DWORD{ERROR_BAD_NETPATH});
    unsetenv("COMPUTERNAME");
}

TEST_F(Machines, GetDCNameFindsControllersOfTheOwnAndTrustedDomainsOnly) {
    world().addDomain("FARAWAY", "CEDAR");
    const struct {
        const char16_t *server;
        const char16_t *domain;
        NET_API_STATUS status;
        const char *controller;
    } cases[] = {{u"", u"", NERR_Success, "\\\\ALDER"},
                 {nullptr, nullptr, NERR_Success, "\\\\ALDER"},
                 {u"", u"corp", NERR_Success, "\\\\ALDER"},
                 {u"", u"PARTNER", NERR_Success, "\\\\BIRCH"},
                 {u"ALDER", u"PARTNER", NERR_Success, "\\\\BIRCH"},
                 {u"BIRCH", u"", NERR_Success, "\\\\BIRCH"},
                 {u"BIRCH", u"CORP", NERR_DCNotFound, nullptr},  // PARTNER does not trust CORP
                 {u"", u"FARAWAY", NERR_DCNotFound, nullptr},
                 {u"", u"NOWHERE", NERR_DCNotFound, nullptr},
                 {u"HEATH", u"", NERR_DCNotFound, nullptr},  // a workgroup has no controller
                 {u"ELM", u"", ERROR_BAD_NETPATH, nullptr}};
    for (const auto &c : cases) {
        NetBuffer buffer;
        EXPECT_EQ(NetGetDCName(c.server, c.domain, buffer.out()), c.status) << narrow(c.server) << " " << narrow(c.domain);
        if (c.controller) {
            EXPECT_EQ(narrow(buffer.as<char16_t>()), c.controller);
        } else {
            EXPECT_TRUE(buffer.empty());
        }
    }
}

TEST_F(Machines, WorkstationInfoNamesTheMachineAndItsDomainOrWorkgroup) {
    const struct {
        char16_t server[8];
        const char *name;
        const char *langroup;
    } cases[] = {{u"", "OAK", "CORP"}, {u"HEATH", "HEATH", "MOOR"}, {u"ALDER", "ALDER", "CORP"}};
    for (auto c : cases) {
        NetBuffer buffer;
        ASSERT_EQ(NetWkstaGetInfo(c.server, 100, buffer.out()), NERR_Success);
        const auto *info = buffer.as<WKSTA_INFO_100>();
        EXPECT_EQ(narrow(info->wki100_computername), c.name);
        EXPECT_EQ(narrow(info->wki100_langroup), c.langroup);
        EXPECT_EQ(info->wki100_platform_id, DWORD{PLATFORM_ID_NT});
    }
    NetBuffer buffer;
    EXPECT_EQ(NetWkstaGetInfo(nullptr, 101, buffer.out()), DWORD{ERROR_INVALID_LEVEL});
}

TEST_F(Machines, SharesAreAddedLookedUpAndDeleted) {
    char16_t name[] = u"Exports", path[] = u"D:\\Exports", other[] = u"exports", missing[] = u"Attic";
    SHARE_INFO_2 share{name, STYPE_DISKTREE, name, 0, SHI_USES_UNLIMITED, 0, path, nullptr};
    char16_t server[] = u"ALDER";
    ASSERT_EQ(NetShareAdd(server, 2, reinterpret_cast<LPBYTE>(&share), nullptr), NERR_Success);
    share.shi2_netname = other;
    EXPECT_EQ(NetShareAdd(server, 2, reinterpret_cast<LPBYTE>(&share), nullptr), DWORD{NERR_DuplicateShare});
    EXPECT_EQ(NetShareAdd(nullptr, 2, reinterpret_cast<LPBYTE>(&share), nullptr), NERR_Success) << "OAK's own";

    NetBuffer buffer;
    ASSERT_EQ(NetShareGetInfo(server, other, 2, buffer.out()), NERR_Success);
    EXPECT_EQ(narrow(buffer.as<SHARE_INFO_2>()->shi2_path), "D:\\Exports");
    EXPECT_EQ(narrow(buffer.as<SHARE_INFO_2>()->shi2_netname), "Exports");
    EXPECT_EQ(buffer.as<SHARE_INFO_2>()->shi2_max_uses, DWORD{SHI_USES_UNLIMITED});
    EXPECT_EQ(NetShareGetInfo(server, missing, 2, buffer.out()), DWORD{NERR_NetNameNotFound});
    EXPECT_EQ(NetShareGetInfo(server, other, 1, buffer.out()), DWORD{ERROR_INVALID_LEVEL});

    EXPECT_EQ(NetShareDel(server, missing, 0), DWORD{NERR_NetNameNotFound});
    EXPECT_EQ(NetShareDel(server, name, 0), NERR_Success);
    EXPECT_EQ(NetShareGetInfo(server, name, 2, buffer.out()), DWORD{NERR_NetNameNotFound});
}

TEST_F(Machines, TrustedDomainsComeAsAMultiString) {
    world().addDomain("FARAWAY", "CEDAR");
    world().addTrust("CORP", "FARAWAY");
    LPWSTR names = nullptr;
    ASSERT_EQ(NetEnumerateTrustedDomains(nullptr, &names), NERR_Success);
    const std::u16string block(names, names + 17);
    EXPECT_EQ(block, std::u16string(u"FARAWAY\0PARTNER\0\0", 17));
    NetApiBufferFree(names);

    char16_t heath[] = u"HEATH";
    ASSERT_EQ(NetEnumerateTrustedDomains(heath, &names), NERR_Success);
    EXPECT_EQ(names[0], u'\0');
    NetApiBufferFree(names);
}

TEST_F(Machines, AMissingOrForeignWorldFileIsReported) {
    setenv("SAMWORLD", (folder() / "missing.db").c_str(), 1);
    NetBuffer buffer;
    EXPECT_EQ(NetWkstaGetInfo(nullptr, 100, buffer.out()), DWORD{NERR_ACFNotLoaded});
    const auto notAWorld = folder() / "notes.txt";
    FILE *file = fopen(notAWorld.c_str(), "w");
    fputs("not a database at all, just some words for the test to find", file);
    fclose(file);
    setenv("SAMWORLD", notAWorld.c_str(), 1);
    EXPECT_EQ(NetWkstaGetInfo(nullptr, 100, buffer.out()), DWORD{NERR_InvalidDatabase});
}

// The directory configuration lists TARN; the world also knows machines by each of its names,
// and a fault on every call shows which of them reach the world.
class Routing : public NetTest {
protected:
    static constexpr NET_API_STATUS reachedTheWorld = 4242;

    void SetUp() override {
        NetTest::SetUp();
        configuration_ = folder() / "directories.conf";
        configure("[TARN]\ndns = tarn.test\ncontroller = dc1.tarn.test\n");
        setenv("TARNWICK_DIRECTORIES", configuration_.c_str(), 1);
        for (const char *name : {"TARN", "tarn.test", "dc1.tarn.test", "DC1"}) {
            world().addMachine(name, "CORP", "", false);
        }
        for (const char *call : {"NetUserGetInfo", "NetUserAdd", "NetGetDCName", "NetWkstaGetInfo"}) {
            world().addFault({call, reachedTheWorld, "", 0, -1});
        }
    }

    void TearDown() override {
        unsetenv("TARNWICK_DIRECTORIES");
        NetTest::TearDown();
    }

    void configure(const std::string &text) { std::ofstream(configuration_) << text; }

    NET_API_STATUS getInfo(const char16_t *server) {
        NetBuffer buffer;
        return NetUserGetInfo(server, u"Administrator", 0, buffer.out());
    }

    std::filesystem::path configuration_;
};

TEST_F(Routing, EveryNameOfAListedDomainGoesToItsDirectoryAndNoOtherName) {
    for (const char16_t *server : {u"TARN", u"\\\\tarn", u"tarn.test", u"\\\\DC1.tarn.test", u"dc1"}) {
        EXPECT_NE(getInfo(server), reachedTheWorld) << narrow(server);
        USER_INFO_3 info{};
        info.usri3_name = const_cast<LPWSTR>(u"newcomer");
        EXPECT_NE(NetUserAdd(server, 3, reinterpret_cast<LPBYTE>(&info), nullptr), reachedTheWorld);
        NetBuffer buffer;
        EXPECT_NE(NetWkstaGetInfo(const_cast<LPWSTR>(server), 100, buffer.out()), reachedTheWorld);
        EXPECT_NE(NetGetDCName(server, u"", buffer.out()), reachedTheWorld);
    }
    for (const char16_t *server : {u"", u"OAK", u"\\\\ALDER"}) {
        EXPECT_EQ(getInfo(server), reachedTheWorld) << narrow(server);
    }
    NetBuffer buffer;
    EXPECT_NE(NetGetDCName(u"", u"tarn", buffer.out()), reachedTheWorld) << "the domain decides";
    EXPECT_EQ(NetGetDCName(u"", u"PARTNER", buffer.out()), reachedTheWorld);
}

TEST_F(Routing, AMalformedConfigurationStopsEveryCallUntilItIsMended) {
    configure("[TARN]\ncontroller = dc1.tarn.test\n");  // no DNS name
    EXPECT_EQ(getInfo(u"OAK"), DWORD{ERROR_BAD_CONFIGURATION});
    EXPECT_EQ(getInfo(u"TARN"), DWORD{ERROR_BAD_CONFIGURATION});
    configure("# no directories today\n");
    EXPECT_EQ(getInfo(u"OAK"), reachedTheWorld);
    EXPECT_EQ(getInfo(u"DC1"), reachedTheWorld) << "no longer listed";
}

}  // namespace
}  // namespace nettest
