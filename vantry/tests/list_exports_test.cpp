// The list exports against small worlds: what is delivered, in which order, with which message.
#include "vantry.h"

#include "lm.h"
#include "recording_window.hpp"
#include "world_fixture.hpp"

#include <gmock/gmock.h>

#include <string>
#include <vector>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::IsSupersetOf;
using ::testing::Not;
using ::testing::Contains;
using samworld::GroupKind;
using vantry_test::RecordingWindow;

// Twenty-character names, so that a few of them fill a 1024-byte batch.
std::string longName(const char *stem, int number) {
    std::string name = stem + std::to_string(number);
    name.resize(20, 'x');
    return name;
}

class ListExportsTest : public vantry_test::WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        useLocalController();
    }

    // The normal user accounts in the platform's own order, from one unbounded call.
    std::vector<std::string> platformUserOrder() {
        std::vector<std::string> names;
        LPBYTE buffer = nullptr;
        DWORD read = 0, total = 0, resume = 0;
        EXPECT_EQ(NetUserEnum(u"", 0, FILTER_NORMAL_ACCOUNT, &buffer, MAX_PREFERRED_LENGTH, &read,
                              &total, &resume),
                  0u);
        const auto *users = reinterpret_cast<const USER_INFO_0 *>(buffer);
        for (DWORD i = 0; i < read; ++i) {
            std::u16string name(users[i].usri0_name);
            names.emplace_back(name.begin(), name.end());  // the names here are ASCII
        }
        NetApiBufferFree(buffer);
        return names;
    }

    RecordingWindow window;
};

TEST_F(ListExportsTest, GetAllUsersDeliversEveryNormalUserInPlatformOrderAcrossBatches) {
    // Added out of alphabetical order, so that sorting anywhere would show.
    for (int i = 40; i > 0; --i) world().addUser(kDomain, longName(i % 2 ? "zed" : "amy", i));
    samworld::UserOptions machineAccount;
    machineAccount.flags = UF_WORKSTATION_TRUST_ACCOUNT;
    world().addUser(kDomain, "OAK$", machineAccount);
    samworld::UserOptions ann;
    ann.fullName = "Ann Lee";
    ann.comment = "Night shift";
    ann.flags |= UF_ACCOUNTDISABLE | UF_DONT_EXPIRE_PASSWD;
    world().addUser(kDomain, "ann", ann);

    ASSERT_EQ(GetAllUsers("", -1, window.handle()), 0u);

    const std::vector<std::string> expected = platformUserOrder();
    EXPECT_EQ(window.names(), expected);
    EXPECT_EQ(expected.size(), 43u) << "Administrator, Guest, the 40 added and ann";
    EXPECT_THAT(window.names(), Not(Contains("OAK$")));

    // Each name's details follow it, in a message of their own that plain lists ignore.
    ASSERT_EQ(window.details().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(window.details()[i].afterMessage, i);
    }
    const RecordingWindow::Details &annDetails = window.details().back();
    EXPECT_EQ(window.names().back(), "ann");
    EXPECT_EQ(annDetails.fullName, "Ann Lee");
    EXPECT_EQ(annDetails.comment, "Night shift");
    EXPECT_EQ(annDetails.flags & (UF_ACCOUNTDISABLE | UF_DONT_EXPIRE_PASSWD | UF_LOCKOUT),
              static_cast<uint32_t>(UF_ACCOUNTDISABLE | UF_DONT_EXPIRE_PASSWD));
}

TEST_F(ListExportsTest, AFailingBatchKeepsTheNamesOfEarlierBatchesAndReturnsItsStatus) {
    for (int i = 0; i < 40; ++i) world().addUser(kDomain, longName("user", i));
    failCalls("NetUserEnum", ERROR_ACCESS_DENIED, 1);

    EXPECT_EQ(GetAllUsers("", -1, window.handle()), static_cast<uint32_t>(ERROR_ACCESS_DENIED));

    const std::vector<std::string> all = platformUserOrder();
    ASSERT_FALSE(window.names().empty());
    ASSERT_LT(window.names().size(), all.size());
    EXPECT_EQ(window.names(), std::vector<std::string>(all.begin(), all.begin() + window.names().size()));
}

TEST_F(ListExportsTest, AServerThatSaysMoreDataButSendsNothingEndsTheListWithThatStatus) {
    for (int i = 0; i < 40; ++i) world().addUser(kDomain, longName("user", i));
    const std::vector<std::string> all = platformUserOrder();
    // From the second batch on, three answers of "more data" without a single entry.
    failCalls("NetUserEnum", ERROR_MORE_DATA, 1, 3);

    EXPECT_EQ(GetAllUsers("", -1, window.handle()), static_cast<uint32_t>(ERROR_MORE_DATA));

    ASSERT_FALSE(window.names().empty());
    ASSERT_LT(window.names().size(), all.size());
    EXPECT_EQ(window.names(), std::vector<std::string>(all.begin(), all.begin() + window.names().size()));
}

TEST_F(ListExportsTest, AFailingFirstCallDeliversNothing) {
    EXPECT_EQ(GetAllUsers("\\\\NOWHERE", -1, window.handle()),
              static_cast<uint32_t>(ERROR_BAD_NETPATH));
    EXPECT_EQ(GetGroupUsers("", "Nobody", -1, window.handle()),
              static_cast<uint32_t>(NERR_GroupNotFound));
    EXPECT_THAT(window.messages(), IsEmpty());
}

TEST_F(ListExportsTest, GetAllGroupsListsGlobalOrLocalGroupsByItsFlagWithTheKindsMessage) {
    world().addGroup(kDomain, "Staff", GroupKind::Global, "Everyone on the payroll");
    world().addGroup(kDomain, "Printers", GroupKind::Local, "May print");

    RecordingWindow globals, locals, combo;
    ASSERT_EQ(GetAllGroups(1, "", -1, globals.handle()), 0u);
    ASSERT_EQ(GetAllGroups(0, "", 1, locals.handle()), 0u);
    ASSERT_EQ(GetAllGroups(-1, "", 0, combo.handle()), 0u);

    EXPECT_THAT(globals.names(), IsSupersetOf({"Domain Admins", "Domain Users", "Staff"}));
    EXPECT_THAT(globals.names(), Not(Contains("Printers")));
    EXPECT_THAT(locals.names(), IsSupersetOf({"Administrators", "Guests", "Printers"}));
    EXPECT_THAT(locals.names(), Not(Contains("Staff")));
    EXPECT_EQ(combo.names(), globals.names());

    for (const auto &message : globals.messages()) EXPECT_EQ(message.number, LB_ADDSTRING);
    for (const auto &message : locals.messages()) EXPECT_EQ(message.number, LB_ADDSTRING);
    for (const auto &message : combo.messages()) EXPECT_EQ(message.number, CB_ADDSTRING);

    // Each group's comment follows its name.
    const auto commentOf = [](const RecordingWindow &window, const std::string &group) {
        for (const auto &details : window.details()) {
            if (window.messages().at(details.afterMessage).text == group) return details.comment;
        }
        return std::string("(no details)");
    };
    EXPECT_EQ(commentOf(globals, "Staff"), "Everyone on the payroll");
    EXPECT_EQ(commentOf(locals, "Printers"), "May print");
    EXPECT_EQ(globals.details().size(), globals.messages().size());
}

TEST_F(ListExportsTest, GetGroupUsersListsTheGlobalGroupsMembersInPlatformOrder) {
    world().addGroup(kDomain, "Staff", GroupKind::Global);
    for (const char *user : {"zoe", "ann", "max"}) {
        world().addUser(kDomain, user);
        world().addMember(kDomain, "Staff", user);
    }
    ASSERT_EQ(GetGroupUsers("", "Staff", -1, window.handle()), 0u);
    EXPECT_EQ(window.names(), world().members(kDomain, "Staff"));
    EXPECT_THAT(window.names(), testing::UnorderedElementsAre("zoe", "ann", "max"));
}

// Long lists come in several batches, each resumed where the last one stopped: the members of
// a global and of a local group, and the users logged on at a machine.
TEST_F(ListExportsTest, MembersAndLogonsOverSeveralBatchesAreDeliveredWholeAndInOrder) {
    world().addGroup(kDomain, "Crew", GroupKind::Global);
    world().addGroup(kDomain, "Hall", GroupKind::Local);
    std::vector<std::string> crew, hall, logons;
    for (int i = 0; i < 50; ++i) {
        crew.push_back(longName("crew", i));
        hall.push_back(std::string(kDomain) + "\\" + crew.back());
        world().addUser(kDomain, crew.back());
        world().addMember(kDomain, "Crew", crew.back());
        world().addMember(kDomain, "Hall", crew.back());
    }
    // 40 names of 1,000 characters: more than one batch of 65536 bytes.
    for (int i = 0; i < 40; ++i) {
        logons.push_back(std::string(1000, 's') + std::to_string(i));
        world().addSession(kController, logons.back());
    }

    RecordingWindow members, localMembers, loggedOn;
    ASSERT_EQ(GetGroupUsers("", "Crew", -1, members.handle()), 0u);
    ASSERT_EQ(GetLocalGroupUsers("", "Hall", -1, localMembers.handle()), 0u);
    ASSERT_EQ(GetUserLogons("", -1, loggedOn.handle()), 0u);
    EXPECT_EQ(members.names(), crew);
    EXPECT_EQ(localMembers.names(), hall);
    EXPECT_EQ(loggedOn.names(), logons);
}

class LocalGroupMembersTest : public ListExportsTest {
protected:
    void SetUp() override {
        ListExportsTest::SetUp();
        world().addUser(kDomain, "ann");
        world().addGroup(kDomain, "Staff", GroupKind::Global);
        world().addGroup(kDomain, "Readers", GroupKind::Local);
        world().addMember(kDomain, "Readers", "CORP\\ann");
        world().addMember(kDomain, "Readers", "CORP\\Staff");
        world().addMember(kDomain, "Readers", "NT AUTHORITY\\INTERACTIVE");
    }
};

TEST_F(LocalGroupMembersTest, Members2MarksEachMemberWithItsKind) {
    ASSERT_EQ(GetLocalGroupMembers2("", "Readers", -1, window.handle()), 0u);
    EXPECT_THAT(window.names(),
                ElementsAre("CORP\\ann\\u", "CORP\\Staff\\g", "NT AUTHORITY\\INTERACTIVE\\x"));
}

TEST_F(LocalGroupMembersTest, UsersSkipsEveryMemberThatIsNoUser) {
    ASSERT_EQ(GetLocalGroupUsers("", "Readers", -1, window.handle()), 0u);
    EXPECT_THAT(window.names(), ElementsAre("CORP\\ann"));
}

TEST_F(LocalGroupMembersTest, MembersGivesBareNames) {
    ASSERT_EQ(GetLocalGroupMembers("", "Readers", -1, window.handle()), 0u);
    EXPECT_THAT(window.names(), ElementsAre("ann", "Staff", "INTERACTIVE"));
}

TEST_F(ListExportsTest, GetUserGroupsListsGlobalGroupsOrLocalGroupsIncludingIndirectOnes) {
    world().addUser(kDomain, "ann");
    world().addGroup(kDomain, "Staff", GroupKind::Global);
    world().addMember(kDomain, "Staff", "ann");
    world().addGroup(kDomain, "Readers", GroupKind::Local);
    world().addMember(kDomain, "Readers", "CORP\\Staff");
    world().addGroup(kDomain, "Writers", GroupKind::Local);
    world().addMember(kDomain, "Writers", "CORP\\ann");

    RecordingWindow globals, locals;
    ASSERT_EQ(GetUserGroups(1, "", "ann", -1, globals.handle()), 0u);
    ASSERT_EQ(GetUserGroups(0, "", "ann", -1, locals.handle()), 0u);
    EXPECT_THAT(globals.names(), testing::UnorderedElementsAre("Domain Users", "Staff"));
    // Users holds Domain Users, which holds every user.
    EXPECT_THAT(locals.names(), testing::UnorderedElementsAre("Users", "Readers", "Writers"));
}

TEST_F(ListExportsTest, GetUserGroupsWhoseAnswerOverflowsOneBatchDeliversNothing) {
    world().addUser(kDomain, "ann");
    for (int i = 0; i < 30; ++i) {
        world().addGroup(kDomain, longName("team", i), GroupKind::Global);
        world().addMember(kDomain, longName("team", i), "ann");
    }
    EXPECT_EQ(GetUserGroups(1, "", "ann", -1, window.handle()),
              static_cast<uint32_t>(ERROR_MORE_DATA));
    EXPECT_THAT(window.messages(), IsEmpty());
}

TEST_F(ListExportsTest, GetUserGroupsAsksAgainOnBufferTooSmallAtMostThreeTimes) {
    world().addUser(kDomain, "ann");
    failCalls("NetUserGetGroups", NERR_BufTooSmall, 0, 3);
    EXPECT_EQ(GetUserGroups(1, "", "ann", -1, window.handle()), 0u);
    EXPECT_THAT(window.names(), ElementsAre("Domain Users"));

    RecordingWindow refused;
    failCalls("NetUserGetGroups", NERR_BufTooSmall, 0, 4);
    EXPECT_EQ(GetUserGroups(1, "", "ann", -1, refused.handle()),
              static_cast<uint32_t>(NERR_BufTooSmall));
    EXPECT_THAT(refused.messages(), IsEmpty());
}

TEST_F(ListExportsTest, TextThatCannotBeSentWholeIsRefusedBeforeAnyPlatformCall) {
    failCalls("NetGroupGetUsers", ERROR_ACCESS_DENIED, 0, -1);
    EXPECT_EQ(GetGroupUsers("", std::string(256, 'g').c_str(), -1, window.handle()),
              static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(GetGroupUsers("", "Staff\xC3", -1, window.handle()),
              static_cast<uint32_t>(ERROR_NO_UNICODE_TRANSLATION));
    EXPECT_EQ(GetGroupUsers("", "Staff", -1, window.handle()),
              static_cast<uint32_t>(ERROR_ACCESS_DENIED)) << "the fault stands for the platform";
    EXPECT_THAT(window.messages(), IsEmpty());
}

}  // namespace
