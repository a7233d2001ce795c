// NetGroup* and NetLocalGroup*: group upkeep, memberships across domains, member levels and
// the statuses of each.
#include "net_fixture.h"

#include <cstring>

namespace nettest {
namespace {

class Groups : public NetTest {
protected:
    void SetUp() override {
        NetTest::SetUp();
        addUser("CORP", "ann");
        addUser("PARTNER", "pia");
        world().addGroup("CORP", "Rowers", samworld::GroupKind::Global, "Row the boats");
        world().addGroup("OAK", "Boathouse", samworld::GroupKind::Local);
    }

    NET_API_STATUS addGlobal(const char16_t *server, const char16_t *name, const char16_t *comment) {
        GROUP_INFO_1 info{const_cast<LPWSTR>(name), const_cast<LPWSTR>(comment)};
        return NetGroupAdd(server, 1, reinterpret_cast<LPBYTE>(&info), nullptr);
    }

    NET_API_STATUS addLocal(const char16_t *server, const char16_t *name) {
        LOCALGROUP_INFO_0 info{const_cast<LPWSTR>(name)};
        return NetLocalGroupAdd(server, 0, reinterpret_cast<LPBYTE>(&info), nullptr);
    }

    NET_API_STATUS members(bool add, const char16_t *group, std::vector<std::u16string> names) {
        std::vector<LOCALGROUP_MEMBERS_INFO_3> entries;
        for (auto &name : names) entries.push_back({name.data()});
        const auto call = add ? NetLocalGroupAddMembers : NetLocalGroupDelMembers;
        return call(u"OAK", group, 3, reinterpret_cast<LPBYTE>(entries.data()),
                    static_cast<DWORD>(entries.size()));
    }
};

TEST_F(Groups, GlobalGroupUpkeepAndItsStatuses) {
    EXPECT_EQ(addGlobal(u"ALDER", u"Sailors", nullptr), NERR_Success);
    EXPECT_EQ(addGlobal(u"ALDER", u"SAILORS", u""), DWORD{NERR_GroupExists});
    EXPECT_EQ(addGlobal(u"ALDER", u"ann", u""), DWORD{NERR_UserExists});
    EXPECT_EQ(addGlobal(u"ALDER", u"Sail:ors", u""), DWORD{ERROR_INVALID_ACCOUNT_NAME});
    EXPECT_EQ(addGlobal(u"OAK", u"Sailors", u""), DWORD{NERR_NotPrimary}) << "a machine has only None";

    GROUP_INFO_1 change{const_cast<LPWSTR>(u"Renamed"), const_cast<LPWSTR>(u"On the water")};
    EXPECT_EQ(NetGroupSetInfo(u"ALDER", u"sailors", 1, reinterpret_cast<LPBYTE>(&change), nullptr), NERR_Success);
    NetBuffer buffer;
    ASSERT_EQ(NetGroupGetInfo(u"ALDER", u"Sailors", 1, buffer.out()), NERR_Success);
    EXPECT_EQ(narrow(buffer.as<GROUP_INFO_1>()->grpi1_name), "Sailors") << "the name field is not used";
    EXPECT_EQ(narrow(buffer.as<GROUP_INFO_1>()->grpi1_comment), "On the water");

    EXPECT_EQ(NetGroupGetInfo(u"ALDER", u"Boathouse", 1, buffer.out()), DWORD{NERR_GroupNotFound});
    EXPECT_EQ(NetGroupDel(u"ALDER", u"Domain Users"), DWORD{NERR_SpeGroupOp});
    EXPECT_EQ(NetGroupDel(u"OAK", u"None"), DWORD{NERR_SpeGroupOp});
    EXPECT_EQ(NetGroupDel(u"ALDER", u"Sailors"), NERR_Success);
    EXPECT_EQ(NetGroupDel(u"ALDER", u"Sailors"), DWORD{NERR_GroupNotFound});
}

TEST_F(Groups, GlobalGroupMembershipStatuses) {
    EXPECT_EQ(NetGroupAddUser(u"ALDER", u"Rowers", u"ann"), NERR_Success);
    EXPECT_EQ(NetGroupAddUser(u"ALDER", u"Rowers", u"ANN"), DWORD{NERR_UserInGroup});
    EXPECT_EQ(NetGroupAddUser(u"ALDER", u"Rowers", u"nobody"), DWORD{NERR_UserNotFound});
    EXPECT_EQ(NetGroupAddUser(u"ALDER", u"Rowers", u"pia"), DWORD{NERR_UserNotFound}) << "PARTNER's user";
    EXPECT_EQ(NetGroupAddUser(u"ALDER", u"Nobody", u"ann"), DWORD{NERR_GroupNotFound});
    EXPECT_EQ(NetGroupDelUser(u"ALDER", u"Rowers", u"ann"), NERR_Success);
    EXPECT_EQ(NetGroupDelUser(u"ALDER", u"Rowers", u"ann"), DWORD{NERR_UserNotInGroup});
    EXPECT_EQ(NetGroupDelUser(u"ALDER", u"Domain Users", u"ann"), DWORD{ERROR_MEMBERS_PRIMARY_GROUP});
}

TEST_F(Groups, LocalGroupUpkeepAndItsStatuses) {
    EXPECT_EQ(addLocal(u"", u"Kitchen"), NERR_Success);
    EXPECT_EQ(addLocal(u"", u"kitchen"), DWORD{ERROR_ALIAS_EXISTS});
    EXPECT_EQ(addLocal(u"", u"None"), DWORD{NERR_GroupExists});
    EXPECT_EQ(addLocal(u"", u"Administrator"), DWORD{NERR_UserExists});

    LOCALGROUP_INFO_1 absent{const_cast<LPWSTR>(u"x"), nullptr};
    LOCALGROUP_INFO_1 change{const_cast<LPWSTR>(u"x"), const_cast<LPWSTR>(u"Pots and pans")};
    EXPECT_EQ(NetLocalGroupSetInfo(u"", u"Kitchen", 1, reinterpret_cast<LPBYTE>(&change), nullptr), NERR_Success);
    EXPECT_EQ(NetLocalGroupSetInfo(u"", u"Kitchen", 1, reinterpret_cast<LPBYTE>(&absent), nullptr), NERR_Success);
    NetBuffer buffer;
    ASSERT_EQ(NetLocalGroupGetInfo(u"", u"Kitchen", 1, buffer.out()), NERR_Success);
    EXPECT_EQ(narrow(buffer.as<LOCALGROUP_INFO_1>()->lgrpi1_comment), "Pots and pans");

    EXPECT_EQ(NetLocalGroupGetInfo(u"", u"Pantry", 1, buffer.out()), DWORD{NERR_GroupNotFound});
    EXPECT_EQ(NetLocalGroupDel(u"", u"Administrators"), DWORD{ERROR_SPECIAL_ACCOUNT});
    EXPECT_EQ(NetLocalGroupDel(u"", u"Kitchen"), NERR_Success);
    EXPECT_EQ(NetLocalGroupDel(u"", u"Kitchen"), DWORD{NERR_GroupNotFound});
}

TEST_F(Groups, LocalGroupsHoldAccountsWithinReachAndWellKnownOnes) {
    world().addDomain("FARAWAY", "CEDAR");
    addUser("FARAWAY", "fay");
    addUser("OAK", "olga");
    EXPECT_EQ(members(true, u"Boathouse", {u"CORP\\ann", u"CORP\\Rowers", u"PARTNER\\pia", u"olga",
                                           u"NT AUTHORITY\\INTERACTIVE", u"Everyone"}),
              NERR_Success);
    EXPECT_EQ(world().members("OAK", "Boathouse"),
              (std::vector<std::string>{"CORP\\ann", "CORP\\Rowers", "PARTNER\\pia", "OAK\\olga",
                                        "NT AUTHORITY\\INTERACTIVE", "Everyone"}));

    EXPECT_EQ(members(true, u"Boathouse", {u"FARAWAY\\fay"}), DWORD{ERROR_NO_SUCH_MEMBER}) << "not trusted";
    EXPECT_EQ(members(true, u"Boathouse", {u"CORP\\nobody"}), DWORD{ERROR_NO_SUCH_MEMBER});
    EXPECT_EQ(members(true, u"Boathouse", {u"Users"}), DWORD{ERROR_INVALID_MEMBER});
    EXPECT_EQ(members(true, u"Boathouse", {u"corp\\ANN"}), DWORD{ERROR_MEMBER_IN_ALIAS});
    EXPECT_EQ(members(true, u"Pantry", {u"CORP\\ann"}), DWORD{NERR_GroupNotFound});

    // All or nothing: the good first entry is not kept when the second fails.
    EXPECT_EQ(members(true, u"Boathouse", {u"Guest", u"CORP\\nobody"}), DWORD{ERROR_NO_SUCH_MEMBER});
    EXPECT_EQ(world().members("OAK", "Boathouse").size(), 6u);

    EXPECT_EQ(members(false, u"Boathouse", {u"CORP\\ann", u"Everyone"}), NERR_Success);
    EXPECT_EQ(members(false, u"Boathouse", {u"CORP\\ann"}), DWORD{ERROR_MEMBER_NOT_IN_ALIAS});
    EXPECT_EQ(members(false, u"Boathouse", {u"CORP\\nobody"}), DWORD{ERROR_NO_SUCH_MEMBER});
    EXPECT_EQ(world().members("OAK", "Boathouse").size(), 4u);
    EXPECT_EQ(NetLocalGroupAddMembers(u"OAK", u"Boathouse", 0, nullptr, 0), DWORD{ERROR_INVALID_LEVEL});
}

TEST_F(Groups, MemberLevelsGiveNamesDomainsKindsAndSids) {
    ASSERT_EQ(members(true, u"Boathouse", {u"CORP\\ann", u"CORP\\Rowers", u"Everyone"}), NERR_Success);
    NetBuffer one, two, three;
    DWORD read = 0, total = 0;
    ASSERT_EQ(NetLocalGroupGetMembers(u"", u"Boathouse", 1, one.out(), MAX_PREFERRED_LENGTH, &read, &total, nullptr),
              NERR_Success);
    ASSERT_EQ(read, 3u);
    ASSERT_EQ(NetLocalGroupGetMembers(u"", u"Boathouse", 2, two.out(), MAX_PREFERRED_LENGTH, &read, &total, nullptr),
              NERR_Success);
    ASSERT_EQ(NetLocalGroupGetMembers(u"", u"Boathouse", 3, three.out(), MAX_PREFERRED_LENGTH, &read, &total, nullptr),
              NERR_Success);

    const struct {
        const char *name;
        const char *qualified;
        SID_NAME_USE usage;
    } expected[] = {{"ann", "CORP\\ann", SidTypeUser},
                    {"Rowers", "CORP\\Rowers", SidTypeGroup},
                    {"Everyone", "Everyone", SidTypeWellKnownGroup}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(narrow(one.as<LOCALGROUP_MEMBERS_INFO_1>()[i].lgrmi1_name), expected[i].name);
        EXPECT_EQ(one.as<LOCALGROUP_MEMBERS_INFO_1>()[i].lgrmi1_sidusage, expected[i].usage);
        EXPECT_EQ(narrow(two.as<LOCALGROUP_MEMBERS_INFO_2>()[i].lgrmi2_domainandname), expected[i].qualified);
        EXPECT_EQ(two.as<LOCALGROUP_MEMBERS_INFO_2>()[i].lgrmi2_sidusage, expected[i].usage);
        EXPECT_EQ(narrow(three.as<LOCALGROUP_MEMBERS_INFO_3>()[i].lgrmi3_domainandname), expected[i].qualified);
    }
    // Binary SIDs: S-1-5-21-a-b-c-RID for a domain account, S-1-1-0 for Everyone.
    const auto *annSid = static_cast<const uint8_t *>(one.as<LOCALGROUP_MEMBERS_INFO_1>()[0].lgrmi1_sid);
    EXPECT_EQ(annSid[0], 1);
    EXPECT_EQ(annSid[1], 5);
    EXPECT_EQ(annSid[7], 5);
    uint32_t rid = 0;
    std::memcpy(&rid, annSid + 8 + 4 * 4, 4);
    EXPECT_EQ(rid, world().user("CORP", "ann").userId);
    const auto *everyoneSid = static_cast<const uint8_t *>(two.as<LOCALGROUP_MEMBERS_INFO_2>()[2].lgrmi2_sid);
    EXPECT_EQ(std::vector<uint8_t>(everyoneSid, everyoneSid + 12),
              (std::vector<uint8_t>{1, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0}));
}

TEST_F(Groups, BuiltInGroupsOfDomainsAndMachines) {
    EXPECT_EQ(world().members("OAK", "Administrators"),
              (std::vector<std::string>{"OAK\\Administrator", "CORP\\Domain Admins"}));
    EXPECT_EQ(world().members("CORP", "Administrators"),
              (std::vector<std::string>{"CORP\\Administrator", "CORP\\Domain Admins"}));
    NetBuffer buffer;
    DWORD read = 0, total = 0;
    ASSERT_EQ(NetGroupEnum(u"HEATH", 0, buffer.out(), MAX_PREFERRED_LENGTH, &read, &total, nullptr), NERR_Success);
    ASSERT_EQ(read, 1u);
    EXPECT_EQ(narrow(buffer.as<GROUP_INFO_0>()[0].grpi0_name), "None");
}

}  // namespace
}  // namespace nettest
