// Who may change a SAM, injected faults, and others changing or replacing the world meanwhile:
// a second process, other threads, the world file made anew.
#include "net_fixture.h"

#include "samworld/accounts.h"
#include "samworld/network.h"

#include <sys/wait.h>

#include <atomic>
#include <cstdio>
#include <thread>
#include <tuple>

namespace nettest {
namespace {

class Rights : public NetTest {
protected:
    NET_API_STATUS addUserVia(const char16_t *server, const char16_t *name) {
        USER_INFO_3 info{};
        info.usri3_name = const_cast<LPWSTR>(name);
        info.usri3_flags = UF_SCRIPT;
        return NetUserAdd(server, 3, reinterpret_cast<LPBYTE>(&info), nullptr);
    }
};

TEST_F(Rights, AnOrdinaryUserMayReadButNotChange) {
    addUser("CORP", "ann");
    world().logon("CORP\\ann");
    EXPECT_EQ(addUserVia(u"", u"newcomer"), DWORD{ERROR_ACCESS_DENIED});
    EXPECT_EQ(addUserVia(u"ALDER", u"newcomer"), DWORD{ERROR_ACCESS_DENIED});
    EXPECT_EQ(NetUserDel(u"ALDER", u"ann"), DWORD{ERROR_ACCESS_DENIED});
    EXPECT_EQ(NetGroupAddUser(u"ALDER", u"Domain Admins", u"ann"), DWORD{ERROR_ACCESS_DENIED});
    LOCALGROUP_MEMBERS_INFO_3 member{const_cast<LPWSTR>(u"CORP\\ann")};
    EXPECT_EQ(NetLocalGroupAddMembers(u"", u"Administrators", 3, reinterpret_cast<LPBYTE>(&member), 1),
              DWORD{ERROR_ACCESS_DENIED});
    EXPECT_EQ(NetShareDel(nullptr, const_cast<LPWSTR>(u"Data"), 0), DWORD{ERROR_ACCESS_DENIED});
    NetBuffer buffer;
    EXPECT_EQ(NetUserGetInfo(u"ALDER", u"ann", 3, buffer.out()), NERR_Success);
    EXPECT_FALSE(world().hasAccount("CORP", "newcomer"));
}

TEST_F(Rights, AdministratorsMembershipMayComeThroughAGlobalGroup) {
    addUser("CORP", "ann");
    world().addGroup("CORP", "Helpdesk", samworld::GroupKind::Global);
    world().addMember("CORP", "Helpdesk", "ann");
    world().addMember("OAK", "Administrators", "CORP\\Helpdesk");
    world().logon("CORP\\ann");
    EXPECT_EQ(addUserVia(u"OAK", u"newcomer"), NERR_Success);
    EXPECT_EQ(addUserVia(u"ALDER", u"newcomer"), DWORD{ERROR_ACCESS_DENIED});

    world().logon("OAK\\Administrator");  // a machine's own administrator
    EXPECT_EQ(addUserVia(u"OAK", u"second"), NERR_Success);
    EXPECT_EQ(addUserVia(u"HEATH", u"second"), DWORD{ERROR_ACCESS_DENIED});
}

TEST_F(Rights, NobodyLoggedOnMayChangeNothing) {
    addUser("CORP", "ann");
    world().logon("CORP\\ann");
    world().deleteUser("CORP", "ann");  // the caller's account is gone
    EXPECT_EQ(addUserVia(u"OAK", u"newcomer"), DWORD{ERROR_ACCESS_DENIED});
}

// An account disabled or locked out cannot log on, and one that is so since it logged on can
// no longer act, not even read.
TEST_F(Rights, ADisabledOrLockedOutAccountIsNoCaller) {
    const samworld::Sam corp(world().database(), samworld::Network(world().database()).sam("CORP"));
    for (const auto &[name, flag, logonStatus] :
         {std::tuple{"dora", UF_ACCOUNTDISABLE, ERROR_ACCOUNT_DISABLED},
          std::tuple{"lars", UF_LOCKOUT, ERROR_ACCOUNT_LOCKED_OUT}}) {
        addUser("CORP", name);
        world().addMember("CORP", "Domain Admins", name);
        world().logon(std::string("CORP\\") + name);
        samworld::UserUpdate inactive;
        inactive.flags = UF_SCRIPT | UF_NORMAL_ACCOUNT | flag;
        corp.updateUser(name, inactive);  // by another administrator

        EXPECT_EQ(addUserVia(u"ALDER", u"newcomer"), DWORD{ERROR_ACCESS_DENIED}) << name;
        NetBuffer buffer;
        EXPECT_EQ(NetUserGetInfo(u"ALDER", u"Administrator", 3, buffer.out()),
                  DWORD{ERROR_ACCESS_DENIED}) << name;
        try {
            world().logon(std::string("CORP\\") + name);
            ADD_FAILURE() << name << " logged on";
        } catch (const samworld::Error &refused) {
            EXPECT_EQ(refused.status, uint32_t{logonStatus});
        }
    }
    EXPECT_FALSE(world().hasAccount("CORP", "newcomer"));
}

class Faults : public NetTest {};

TEST_F(Faults, AFaultFiresAfterItsCallsAndForItsCount) {
    addUser("OAK", "olga");
    world().addFault({"NetUserGetInfo", NERR_InternalError, "", 2, 2});
    std::vector<NET_API_STATUS> statuses;
    for (int i = 0; i < 6; ++i) {
        NetBuffer buffer;
        statuses.push_back(NetUserGetInfo(u"", u"olga", 0, buffer.out()));
        if (statuses.back() != NERR_Success) {
            EXPECT_TRUE(buffer.empty());
        }
    }
    EXPECT_EQ(statuses, (std::vector<NET_API_STATUS>{0, 0, NERR_InternalError, NERR_InternalError, 0, 0}));
}

TEST_F(Faults, AFaultMatchesItsCallAndServerOnlyAndCanLastForever) {
    world().addFault({"NetUserAdd", 2229, "\\\\ALDER", 0, -1});
    USER_INFO_3 info{};
    info.usri3_name = const_cast<LPWSTR>(u"ann");
    info.usri3_flags = UF_SCRIPT;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(NetUserAdd(u"alder", 3, reinterpret_cast<LPBYTE>(&info), nullptr), 2229u);
    }
    EXPECT_FALSE(world().hasAccount("CORP", "ann"));
    EXPECT_EQ(NetUserAdd(u"OAK", 3, reinterpret_cast<LPBYTE>(&info), nullptr), NERR_Success);
    NetBuffer buffer;
    EXPECT_EQ(NetUserGetInfo(u"ALDER", u"Administrator", 0, buffer.out()), NERR_Success);

    world().clearFaults();
    EXPECT_EQ(NetUserAdd(u"ALDER", 3, reinterpret_cast<LPBYTE>(&info), nullptr), NERR_Success);
}

TEST_F(Faults, EveryKindOfCallConsultsTheFaultTable) {
    const char *calls[] = {"NetUserEnum", "NetGroupEnum", "NetLocalGroupGetMembers", "NetGetDCName",
                           "NetWkstaGetInfo", "NetShareGetInfo"};
    for (const char *call : calls) world().addFault({call, 1000 + static_cast<uint32_t>(call[3]), "", 0, 1});
    NetBuffer buffer;
    DWORD read = 0, total = 0, resume = 0;
    DWORD_PTR handle = 0;
    char16_t share[] = u"Data";
    EXPECT_EQ(NetUserEnum(u"", 0, 0, buffer.out(), 100, &read, &total, &resume), 1000u + 'U');
    EXPECT_EQ(NetGroupEnum(u"", 0, buffer.out(), 100, &read, &total, &handle), 1000u + 'G');
    EXPECT_EQ(NetLocalGroupGetMembers(u"", u"Users", 3, buffer.out(), 100, &read, &total, &handle), 1000u + 'L');
    EXPECT_EQ(NetGetDCName(u"", u"", buffer.out()), 1000u + 'G');
    EXPECT_EQ(NetWkstaGetInfo(nullptr, 100, buffer.out()), 1000u + 'W');
    EXPECT_EQ(NetShareGetInfo(nullptr, share, 2, buffer.out()), 1000u + 'S');
    EXPECT_EQ(NetWkstaGetInfo(nullptr, 100, buffer.out()), NERR_Success) << "count 1: once only";
}

class TwoProcesses : public NetTest {};

// The samworld tool, run by a shell, adds users while this process adds others through the
// calls and holds the world open; both finish, and each sees the other's work.
TEST_F(TwoProcesses, BothChangeOneWorldAtOnce) {
    constexpr int perProcess = 40;
    const std::string script = "for i in $(seq 0 " + std::to_string(perProcess - 1) + "); do '" +
                               SAMWORLD_TOOL + "' --world '" + path() +
                               "' user add CORP tool$i || exit 1; done";
    FILE *other = popen(script.c_str(), "w");
    ASSERT_NE(other, nullptr);
    int failures = 0;
    for (int i = 0; i < perProcess; ++i) {
        const std::u16string name = w("call" + std::to_string(i));
        USER_INFO_3 info{};
        info.usri3_name = const_cast<LPWSTR>(name.c_str());
        info.usri3_flags = UF_SCRIPT;
        if (NetUserAdd(u"ALDER", 3, reinterpret_cast<LPBYTE>(&info), nullptr) != NERR_Success) ++failures;
    }
    const int status = pclose(other);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(world().members("CORP", "Domain Users").size(), 4u + 2 * perProcess);  // + ALDER$, OAK$
    NetBuffer buffer;
    EXPECT_EQ(NetUserGetInfo(u"ALDER", u"tool39", 0, buffer.out()), NERR_Success);
}

class SharedWorld : public NetTest {};

// The calls keep the world open between them; a world made anew at the same place is the one
// the next call answers from.
TEST_F(SharedWorld, AWorldReplacedBetweenCallsIsTheOneThatAnswers) {
    addUser("CORP", "ann");
    NetBuffer buffer;
    ASSERT_EQ(NetUserGetInfo(u"ALDER", u"ann", 0, buffer.out()), NERR_Success);
    {
        samworld::World replaced = samworld::World::create(path());
        replaced.addDomain("CORP", "ALDER");
        replaced.addMachine("OAK", "CORP", "", true);
        replaced.logon("CORP\\Administrator");
        replaced.addUser("CORP", "bob");
    }
    EXPECT_EQ(NetUserGetInfo(u"ALDER", u"ann", 0, buffer.out()), DWORD{NERR_UserNotFound});
    EXPECT_EQ(NetUserGetInfo(u"ALDER", u"bob", 0, buffer.out()), NERR_Success);
    USER_INFO_3 info{};
    info.usri3_name = const_cast<LPWSTR>(u"carl");
    EXPECT_EQ(NetUserAdd(u"ALDER", 3, reinterpret_cast<LPBYTE>(&info), nullptr), NERR_Success);
    EXPECT_TRUE(samworld::World::open(path()).hasAccount("CORP", "carl"));
}

TEST_F(SharedWorld, CallsFromSeveralThreadsAtOnceAllLand) {
    constexpr int threads = 4, perThread = 25;
    std::vector<std::thread> callers;
    std::atomic<int> failures = 0;
    for (int t = 0; t < threads; ++t) {
        callers.emplace_back([t, &failures] {
            for (int i = 0; i < perThread; ++i) {
                const std::u16string name = w("t" + std::to_string(t) + "u" + std::to_string(i));
                USER_INFO_3 info{};
                info.usri3_name = const_cast<LPWSTR>(name.c_str());
                NetBuffer buffer;
                if (NetUserAdd(u"ALDER", 3, reinterpret_cast<LPBYTE>(&info), nullptr) != NERR_Success ||
                    NetUserGetInfo(u"ALDER", name.c_str(), 3, buffer.out()) != NERR_Success) {
                    ++failures;
                }
            }
        });
    }
    for (auto &caller : callers) caller.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(world().members("CORP", "Domain Users").size(), 4u + threads * perThread);
}

}  // namespace
}  // namespace nettest
