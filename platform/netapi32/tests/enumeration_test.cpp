// Batching and resuming: every enumeration gives what fits, ERROR_MORE_DATA while more remain,
// and resumes exactly after the last entry, also when accounts come and go between calls.
#include "net_fixture.h"

#include <algorithm>
#include <functional>
#include <set>

namespace nettest {
namespace {

// One call of an enumeration: appends the names it returned, gives its status.
using Batch = std::function<NET_API_STATUS(DWORD prefmaxlen, DWORD_PTR *resume,
                                           std::vector<std::string> &names)>;

struct Walk {
    std::vector<std::string> names;
    int calls = 0;
};

// Calls until the enumeration ends; between calls, `between` may change the world.
Walk enumerateAll(const Batch &batch, DWORD prefmaxlen, const std::function<void(int)> &between = {}) {
    Walk run;
    DWORD_PTR resume = 0;
    for (NET_API_STATUS status = ERROR_MORE_DATA; status == ERROR_MORE_DATA;) {
        const size_t before = run.names.size();
        status = batch(prefmaxlen, &resume, run.names);
        ++run.calls;
        EXPECT_TRUE(status == NERR_Success || status == ERROR_MORE_DATA) << status;
        if (status == ERROR_MORE_DATA) {
            EXPECT_GT(run.names.size(), before) << "a batch gave nothing";
        }
        if (status != ERROR_MORE_DATA || run.calls > 10000) break;
        if (between) between(run.calls);
    }
    return run;
}

template <class Info, class Name>
void append(const NetBuffer &buffer, DWORD count, Name name, std::vector<std::string> &names) {
    for (DWORD i = 0; i < count; ++i) names.push_back(narrow(name(buffer.as<Info>()[i])));
}

Batch userEnum(const std::u16string &server, DWORD filter) {
    return [=](DWORD prefmaxlen, DWORD_PTR *resume, std::vector<std::string> &names) {
        NetBuffer buffer;
        DWORD read = 0, total = 0, handle = static_cast<DWORD>(*resume);
        const auto status = NetUserEnum(server.c_str(), 0, filter, buffer.out(), prefmaxlen, &read, &total, &handle);
        append<USER_INFO_0>(buffer, read, [](const USER_INFO_0 &i) { return i.usri0_name; }, names);
        *resume = handle;
        return status;
    };
}

Batch groupEnum() {
    return [](DWORD prefmaxlen, DWORD_PTR *resume, std::vector<std::string> &names) {
        NetBuffer buffer;
        DWORD read = 0, total = 0;
        const auto status = NetGroupEnum(u"ALDER", 1, buffer.out(), prefmaxlen, &read, &total, resume);
        append<GROUP_INFO_1>(buffer, read, [](const GROUP_INFO_1 &i) { return i.grpi1_name; }, names);
        return status;
    };
}

Batch localGroupEnum() {
    return [](DWORD prefmaxlen, DWORD_PTR *resume, std::vector<std::string> &names) {
        NetBuffer buffer;
        DWORD read = 0, total = 0;
        const auto status = NetLocalGroupEnum(u"ALDER", 0, buffer.out(), prefmaxlen, &read, &total, resume);
        append<LOCALGROUP_INFO_0>(buffer, read, [](const LOCALGROUP_INFO_0 &i) { return i.lgrpi0_name; }, names);
        return status;
    };
}

Batch groupUsers(const std::u16string &group) {
    return [=](DWORD prefmaxlen, DWORD_PTR *resume, std::vector<std::string> &names) {
        NetBuffer buffer;
        DWORD read = 0, total = 0;
        const auto status = NetGroupGetUsers(u"ALDER", group.c_str(), 0, buffer.out(), prefmaxlen, &read, &total, resume);
        append<GROUP_USERS_INFO_0>(buffer, read, [](const GROUP_USERS_INFO_0 &i) { return i.grui0_name; }, names);
        return status;
    };
}

Batch localMembers(const std::u16string &group) {
    return [=](DWORD prefmaxlen, DWORD_PTR *resume, std::vector<std::string> &names) {
        NetBuffer buffer;
        DWORD read = 0, total = 0;
        const auto status = NetLocalGroupGetMembers(u"", group.c_str(), 2, buffer.out(), prefmaxlen, &read, &total, resume);
        append<LOCALGROUP_MEMBERS_INFO_2>(buffer, read,
                                          [](const LOCALGROUP_MEMBERS_INFO_2 &i) { return i.lgrmi2_domainandname; }, names);
        return status;
    };
}

Batch sessions() {
    return [](DWORD prefmaxlen, DWORD_PTR *resume, std::vector<std::string> &names) {
        NetBuffer buffer;
        DWORD read = 0, total = 0, handle = static_cast<DWORD>(*resume);
        char16_t server[] = u"OAK";
        const auto status = NetWkstaUserEnum(server, 0, buffer.out(), prefmaxlen, &read, &total, &handle);
        append<WKSTA_USER_INFO_0>(buffer, read, [](const WKSTA_USER_INFO_0 &i) { return i.wkui0_username; }, names);
        *resume = handle;
        return status;
    };
}

std::string numbered(const char *prefix, int i) { return prefix + std::to_string(100 + i); }

class Enumerations : public NetTest {
protected:
    void SetUp() override {
        NetTest::SetUp();
        for (int i = 0; i < 30; ++i) addUser("CORP", numbered("walker", i));
        world().addGroup("CORP", "Rowers", samworld::GroupKind::Global);
        for (int i = 0; i < 30; ++i) world().addMember("CORP", "Rowers", numbered("walker", i));
        for (int i = 0; i < 12; ++i) world().addGroup("CORP", numbered("crew", i), samworld::GroupKind::Global);
        for (int i = 0; i < 12; ++i) world().addGroup("CORP", numbered("room", i), samworld::GroupKind::Local);
        world().addGroup("OAK", "Anchors", samworld::GroupKind::Local);
        for (int i = 0; i < 20; ++i) world().addMember("OAK", "Anchors", "CORP\\" + numbered("walker", i));
        world().addMember("OAK", "Anchors", "PARTNER\\Domain Users");
        world().addMember("OAK", "Anchors", "NT AUTHORITY\\INTERACTIVE");
        for (int i = 0; i < 15; ++i) world().addSession("OAK", numbered("walker", i));
    }
};

TEST_F(Enumerations, SmallBatchesGiveEveryEntryOnceInOrder) {
    const struct {
        const char *what;
        Batch batch;
    } cases[] = {{"users", userEnum(u"ALDER", FILTER_NORMAL_ACCOUNT)},
                 {"global groups", groupEnum()},
                 {"local groups", localGroupEnum()},
                 {"global group users", groupUsers(u"Rowers")},
                 {"local group members", localMembers(u"Anchors")},
                 {"logged-on users", sessions()}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const Walk whole = enumerateAll(c.batch, MAX_PREFERRED_LENGTH);
        EXPECT_EQ(whole.calls, 1);
        for (DWORD prefmaxlen : {1u, 40u, 100u}) {
            const Walk batched = enumerateAll(c.batch, prefmaxlen);
            EXPECT_EQ(batched.names, whole.names) << "prefmaxlen " << prefmaxlen;
            EXPECT_GT(batched.calls, 2);
        }
    }
}

TEST_F(Enumerations, UsersComeInRelativeIdOrderAndTheFilterPicksAccountKinds) {
    const Walk normal = enumerateAll(userEnum(u"ALDER", FILTER_NORMAL_ACCOUNT), MAX_PREFERRED_LENGTH);
    ASSERT_EQ(normal.names.size(), 32u);
    EXPECT_EQ(normal.names[0], "Administrator");
    EXPECT_EQ(normal.names[1], "Guest");
    EXPECT_EQ(normal.names[2], "walker100");
    EXPECT_EQ(normal.names.back(), "walker129");

    const Walk machines = enumerateAll(userEnum(u"ALDER", FILTER_WORKSTATION_TRUST_ACCOUNT), MAX_PREFERRED_LENGTH);
    EXPECT_EQ(machines.names, std::vector<std::string>{"OAK$"});
    const Walk all = enumerateAll(userEnum(u"ALDER", 0), MAX_PREFERRED_LENGTH);
    EXPECT_EQ(all.names.size(), 34u);  // with ALDER$ and OAK$
}

TEST_F(Enumerations, AccountsAddedAndRemovedBetweenBatchesNeitherSkipNorRepeatOthers) {
    const auto before = enumerateAll(userEnum(u"ALDER", FILTER_NORMAL_ACCOUNT), MAX_PREFERRED_LENGTH).names;
    std::set<std::string> removed;
    const Walk run = enumerateAll(userEnum(u"ALDER", FILTER_NORMAL_ACCOUNT), 60, [&](int call) {
        // Remove one entry already delivered and one still ahead; add a newcomer.
        if (call > 12) return;
        const std::string early = numbered("walker", call - 1);
        const std::string late = numbered("walker", 29 - call);
        for (const auto &name : {early, late}) {
            if (removed.insert(name).second) world().deleteUser("CORP", name);
        }
        addUser("CORP", numbered("newcomer", call));
    });
    const std::set<std::string> delivered(run.names.begin(), run.names.end());
    EXPECT_EQ(delivered.size(), run.names.size()) << "an entry came twice";
    for (const auto &name : before) {
        if (removed.count(name) == 0) {
            EXPECT_EQ(delivered.count(name), 1u) << name << " was skipped";
        }
    }
    EXPECT_EQ(delivered.count("walker128"), 0u) << "a user removed before its batch was delivered";
}

TEST_F(Enumerations, LocalGroupMembersAddedAndRemovedBetweenBatches) {
    std::vector<std::string> removed;
    const Walk run = enumerateAll(localMembers(u"Anchors"), 80, [&](int call) {
        if (call > 9) return;  // walker100 to walker129 exist
        const std::string ahead = "CORP\\" + numbered("walker", 20 - call);
        world().deleteMember("OAK", "Anchors", ahead);
        removed.push_back(ahead);
        world().addMember("OAK", "Anchors", "CORP\\" + numbered("walker", 20 + call));
    });
    const std::set<std::string> delivered(run.names.begin(), run.names.end());
    EXPECT_EQ(delivered.size(), run.names.size());
    EXPECT_EQ(delivered.count("NT AUTHORITY\\INTERACTIVE"), 1u);
    EXPECT_EQ(delivered.count("PARTNER\\Domain Users"), 1u);
    for (const auto &name : removed) EXPECT_EQ(delivered.count(name), 0u) << name;
}

TEST_F(Enumerations, TotalEntriesHintsAtMoreAndIsExactWhenTheListEnds) {
    NetBuffer buffer;
    DWORD read = 0, total = 0, resume = 0;
    ASSERT_EQ(NetUserEnum(u"ALDER", 0, FILTER_NORMAL_ACCOUNT, buffer.out(), MAX_PREFERRED_LENGTH, &read,
                          &total, &resume),
              NERR_Success);
    EXPECT_EQ(read, 32u);
    EXPECT_EQ(total, 32u);
    resume = 0;
    NET_API_STATUS status = ERROR_MORE_DATA;
    while (status == ERROR_MORE_DATA) {
        status = NetUserEnum(u"ALDER", 0, FILTER_NORMAL_ACCOUNT, buffer.out(), 100, &read, &total, &resume);
        if (status == ERROR_MORE_DATA) {
            EXPECT_GT(total, read);
            EXPECT_NE(resume, 0u);
        }
    }
    EXPECT_EQ(status, NERR_Success);
    EXPECT_EQ(total, read);
    EXPECT_EQ(resume, 0u) << "a finished enumeration starts again from the beginning";
}

TEST_F(Enumerations, UserEnumAtLevelThreeGivesWholeRecords) {
    NetBuffer buffer;
    DWORD read = 0, total = 0, resume = 0;
    ASSERT_EQ(NetUserEnum(u"ALDER", 3, FILTER_NORMAL_ACCOUNT, buffer.out(), MAX_PREFERRED_LENGTH, &read,
                          &total, &resume),
              NERR_Success);
    ASSERT_EQ(read, 32u);
    const auto *users = buffer.as<USER_INFO_3>();
    EXPECT_EQ(narrow(users[0].usri3_name), "Administrator");
    EXPECT_EQ(users[0].usri3_priv, DWORD{USER_PRIV_ADMIN});
    EXPECT_EQ(users[0].usri3_user_id, 500u);
    EXPECT_EQ(narrow(users[2].usri3_name), "walker100");
    EXPECT_EQ(users[2].usri3_logon_hours[20], 0xFF);
}

TEST_F(Enumerations, EmptyListsEndAtOnceWithNoBuffer) {
    world().addGroup("CORP", "Empty", samworld::GroupKind::Local);
    NetBuffer buffer;
    DWORD read = 7, total = 7;
    DWORD_PTR resume = 0;
    EXPECT_EQ(NetLocalGroupGetMembers(u"ALDER", u"Empty", 3, buffer.out(), 100, &read, &total, &resume),
              NERR_Success);
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(total, 0u);
    EXPECT_TRUE(buffer.empty());
}

TEST_F(Enumerations, NoResumeHandleGivesTheFirstBatchOnly) {
    NetBuffer buffer;
    DWORD read = 0, total = 0;
    EXPECT_EQ(NetGroupEnum(u"ALDER", 0, buffer.out(), 1, &read, &total, nullptr), ERROR_MORE_DATA);
    EXPECT_EQ(read, 1u);
    EXPECT_EQ(narrow(buffer.as<GROUP_INFO_0>()[0].grpi0_name), "Domain Admins");
}

}  // namespace
}  // namespace nettest
