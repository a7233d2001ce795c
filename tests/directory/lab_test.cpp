// The account calls against a real domain controller, through the program's layers: the
// exports of libvantry.so, the snapshot store and the account objects, with the directory
// backend of the platform below them.
#include "lab_fixture.h"

#include "accounts/Details.h"
#include "status/modSAM.h"
#include "store/Database.h"
#include "vantry_api/TextResult.h"
#include "vantry_api/UserReadBuffers.h"
#include "vantry_api/modVantryDeclare.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <array>
#include <set>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

namespace api = modVantryDeclare;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::IsSupersetOf;
using ::testing::Not;
using ::testing::UnorderedElementsAre;

constexpr uint32_t kNotSupported = 50;
constexpr uint32_t kLogonFailure = 1326;
constexpr uint32_t kBadNetPath = 53;
constexpr uint32_t kAccessDenied = 5;
constexpr uint32_t kPasswordTooShort = 2245;
constexpr uint32_t kDisabled = 0x0002;
constexpr uint32_t kNeverExpire = 0x10000;

template <class Export, class... Args>
Delivered deliver(Export &&list, Args &&...args) {
    StringNameList names;
    const uint32_t status = list(std::forward<Args>(args)..., api::kListBox, names.window());
    std::vector<ListedDetails> details;
    for (int64_t i = 0; names.details(i) != nullptr; ++i) details.push_back(*names.details(i));
    return {status, names.names(), details};
}

// What the listing said of the named entry; nullopt when it said nothing of it.
std::optional<ListedDetails> detailsOf(const Delivered &delivered, const std::string &name) {
    const auto found = std::find(delivered.names.begin(), delivered.names.end(), name);
    const auto index = static_cast<std::size_t>(found - delivered.names.begin());
    if (found == delivered.names.end() || index >= delivered.details.size()) return std::nullopt;
    return delivered.details[index];
}

std::vector<uint8_t> hoursOf(const std::string &user) {
    UserReadBuffers read;
    EXPECT_EQ(api::GetUserInfo(kLabServer, user.c_str(), &read.record()), 0u);
    return {read.record().logon_hours, read.record().logon_hours + 21};
}

std::set<std::pair<std::string, std::string>> storedMemberships(const clsData &data) {
    const Database store(const_cast<clsData &>(data).WorkingPath());
    Statement rows = store.prepare(
        "SELECT [Group].GroupName, User.UserName FROM GroupUser "
        "INNER JOIN [Group] ON [Group].GroupID = GroupUser.GroupID "
        "INNER JOIN User ON User.UserID = GroupUser.UserID");
    std::set<std::pair<std::string, std::string>> memberships;
    while (rows.step()) memberships.emplace(rows.text(0), rows.text(1));
    return memberships;
}

std::vector<std::string> storedUsers(const clsData &data) {
    const Database store(const_cast<clsData &>(data).WorkingPath());
    Statement rows = store.prepare("SELECT UserName FROM User");
    std::vector<std::string> users;
    while (rows.step()) users.push_back(rows.text(0));
    return users;
}

// ---- every export ----

using Exports = LabTest;

TEST_F(Exports, EveryExportAnswersOnTheDirectory) {
    TextResult controller, domain;
    ASSERT_EQ(api::GetDomainServer("", "TARN", controller.address()), 0u);
    EXPECT_EQ(controller.text(), kLabServer);
    ASSERT_EQ(api::GetDomainName(kLabServer, domain.address()), 0u);
    EXPECT_EQ(domain.text(), "TARN");

    const std::string ann = scratchUser("ann");
    const std::string staff = scratchGroup("staff", true);
    const std::string site = scratchGroup("site", false);

    UserReadBuffers read;
    ASSERT_EQ(api::GetUserInfo(kLabServer, ann.c_str(), &read.record()), 0u);
    EXPECT_EQ(read.text(&UserRecord::full_name), "Lab user");
    std::string comment = "changed";
    UserRecord change = read.record();
    change.comment = comment.data();
    change.password = nullptr;
    EXPECT_EQ(api::SetUserInfo(kLabServer, ann.c_str(), &change), 0u);

    const Delivered users = deliver(api::GetAllUsers, kLabServer);
    EXPECT_THAT(users.names, Contains(ann));
    // The listing carries what the lists show beside the name.
    const std::optional<ListedDetails> annListed = detailsOf(users, ann);
    ASSERT_TRUE(annListed.has_value());
    EXPECT_EQ(annListed->fullName, "Lab user");
    EXPECT_EQ(annListed->comment, "changed");
    EXPECT_EQ(annListed->flags & kDisabled, 0u);
    const Delivered globals = deliver(api::GetAllGroups, api::kTrue, kLabServer);
    EXPECT_THAT(globals.names, Contains(staff));
    EXPECT_EQ(detailsOf(globals, staff).value_or(ListedDetails{}).comment, "lab group");
    EXPECT_THAT(deliver(api::GetAllGroups, api::kFalse, kLabServer).names, Contains(site));

    std::array<char, 256> name{}, text{};
    GroupRecord group{name.data(), text.data()};
    ASSERT_EQ(api::GetGroupInfo(api::kTrue, kLabServer, staff.c_str(), &group), 0u);
    EXPECT_STREQ(group.comment, "lab group");
    std::string newComment = "the staff";
    GroupRecord setGroup{nullptr, newComment.data()};
    EXPECT_EQ(api::SetGroupInfo(api::kTrue, kLabServer, staff.c_str(), &setGroup), 0u);

    EXPECT_EQ(api::GroupAdjustUsers(api::kTrue, kLabServer, staff.c_str(), ann.c_str()), 0u);
    EXPECT_THAT(deliver(api::GetGroupUsers, kLabServer, staff.c_str()).names, ElementsAre(ann));
    EXPECT_THAT(deliver(api::GetUserGroups, api::kTrue, kLabServer, ann.c_str()).names,
                UnorderedElementsAre("Domain Users", staff));
    EXPECT_EQ(api::LocalGroupAdjustMembers(api::kTrue, kLabServer, site.c_str(), staff.c_str()), 0u);
    EXPECT_EQ(api::LocalGroupAdjustMembers(api::kTrue, kLabServer, site.c_str(), ("TARN\\" + ann).c_str()), 0u);
    EXPECT_EQ(api::LocalGroupAdjustMembers(api::kTrue, kLabServer, site.c_str(), "Everyone"), 0u);
    EXPECT_THAT(deliver(api::GetLocalGroupMembers2, kLabServer, site.c_str()).names,
                UnorderedElementsAre("TARN\\" + staff + "\\g", "TARN\\" + ann + "\\u", "Everyone\\x"));
    EXPECT_THAT(deliver(api::GetLocalGroupMembers, kLabServer, site.c_str()).names,
                UnorderedElementsAre(staff, ann, "Everyone"));
    EXPECT_THAT(deliver(api::GetLocalGroupUsers, kLabServer, site.c_str()).names, ElementsAre("TARN\\" + ann));
    // Indirect: through the global group as well as directly.
    EXPECT_THAT(deliver(api::GetUserGroups, api::kFalse, kLabServer, ann.c_str()).names,
                Contains(site));
    EXPECT_EQ(api::LocalGroupAdjustMembers(api::kFalse, kLabServer, site.c_str(), "Everyone"), 0u);
    EXPECT_EQ(api::GroupAdjustUsers(api::kFalse, kLabServer, staff.c_str(), ann.c_str()), 0u);
    EXPECT_THAT(deliver(api::GetGroupUsers, kLabServer, staff.c_str()).names, IsEmpty());

    // What LDAP cannot reach: shares and logged-on users.
    EXPECT_EQ(api::CreateShare(kLabServer, "C:\\Data", "Data"), kNotSupported);
    EXPECT_EQ(api::DeleteShare(kLabServer, "Data"), kNotSupported);
    EXPECT_EQ(deliver(api::GetUserLogons, kLabServer).status, kNotSupported);

    EXPECT_EQ(api::DeleteGroup(api::kFalse, kLabServer, site.c_str()), 0u);
    EXPECT_EQ(api::DeleteGroup(api::kTrue, kLabServer, staff.c_str()), 0u);
    EXPECT_EQ(api::DeleteUser(kLabServer, ann.c_str()), 0u);
    EXPECT_EQ(api::DeleteUser(kLabServer, ann.c_str()), 2221u);
}

// ---- the snapshot ----

using Snapshot = LabTest;

TEST_F(Snapshot, LoadsTheSeededDomainWithNestedGroupsAWellKnownAndAForeignMember) {
    loadSnapshot();
    const auto users = storedUsers(data());
    EXPECT_EQ(std::count_if(users.begin(), users.end(), [](const std::string &u) { return u.starts_with("user"); }),
              kSeededUsers);
    EXPECT_THAT(users, Contains("Administrator"));
    const auto memberships = storedMemberships(data());
    EXPECT_EQ(std::count_if(memberships.begin(), memberships.end(),
                            [](const auto &m) { return m.first == "team01"; }),
              kSeededUsers / 20);
    EXPECT_THAT(memberships, Contains(std::pair<std::string, std::string>("team01", seededUser(1))));
    // A local group's users are those it holds directly; its global groups, INTERACTIVE and the
    // account of a trusted domain are no users.
    std::set<std::string> site1, seededSite1;
    for (const auto &[group, user] : memberships) {
        if (group == "site1") site1.insert(user);
    }
    for (int i = 1; i <= 10; ++i) seededSite1.insert(seededUser(i));
    EXPECT_EQ(site1, seededSite1);
    // FARAWAY's controller does not exist: its account is listed by SID, not dropped.
    const Delivered members = deliver(api::GetLocalGroupMembers2, kLabServer, "site1");
    EXPECT_EQ(members.status, 0u);
    EXPECT_THAT(members.names, IsSupersetOf({std::string("NT AUTHORITY\\Interactive\\x"),
                                             "FARAWAY\\" + labVariable("LAB_FOREIGN_SID") + "\\x"}));
}

// ---- apply ----

using Apply = LabTest;

TEST_F(Apply, PropertiesAndFlagsReachAHundredUsers) {
    loadSnapshot();
    const std::string stamp = "applied " + std::to_string(::time(nullptr));
    for (int i = 1; i <= 100; ++i) {
        Details details;
        details.Add("Comment", stamp);
        details.Add("AccountDisabled", i % 2 == 0);
        details.Add("PasswordNeverExpires", true);
        ASSERT_FALSE(data().User().Update(seededUser(i), details)) << data().LastErr().ErrList();
    }
    for (int i = 1; i <= 100; ++i) {
        UserReadBuffers read;
        ASSERT_EQ(api::GetUserInfo(kLabServer, seededUser(i).c_str(), &read.record()), 0u);
        EXPECT_EQ(read.text(&UserRecord::comment), stamp);
        EXPECT_EQ((read.record().flags & kDisabled) != 0, i % 2 == 0) << seededUser(i);
        EXPECT_NE(read.record().flags & kNeverExpire, 0u);
    }
}

TEST_F(Apply, PasswordSetAndATooShortOneChangesNothing) {
    const std::string ann = scratchUser("pw");
    loadSnapshot();
    Details good;
    good.Add("Password", std::string("Another-pw-1"));
    EXPECT_FALSE(data().User().Update(ann, good)) << data().LastErr().ErrList();
    EXPECT_EQ(connectAs(ann + "@tarn.test", "Another-pw-1"), 0u);
    EXPECT_EQ(deliver(api::GetAllUsers, kLabServer).status, 0u);  // the new password binds
    ASSERT_EQ(connectAsAdministrator(), 0u);

    Details tooShort;
    tooShort.Add("Password", std::string("abc"));
    tooShort.Add("Comment", std::string("must not stick"));
    EXPECT_TRUE(data().User().Update(ann, tooShort));
    EXPECT_EQ(LastStatus, kPasswordTooShort);
    UserReadBuffers read;
    ASSERT_EQ(api::GetUserInfo(kLabServer, ann.c_str(), &read.record()), 0u);
    EXPECT_EQ(read.text(&UserRecord::comment), "");
}

TEST_F(Apply, LogonHoursRoundTrip) {
    const std::string ann = scratchUser("hours");
    std::vector<uint8_t> hours(21, 0);
    hours[0] = 0x0F;   // Sunday 00:00-04:00
    hours[20] = 0x80;  // Saturday 23:00
    ByteArray array;
    for (uint8_t byte : hours) array.Append(byte);
    loadSnapshot();
    Details details;
    details.Add("LogonHours", array);
    ASSERT_FALSE(data().User().Update(ann, details)) << data().LastErr().ErrList();
    EXPECT_EQ(hoursOf(ann), hours);
}

// ---- relationships ----

using Relationships = LabTest;

TEST_F(Relationships, UsersGlobalGroupsAndAWellKnownAccountComeAndGo) {
    const std::string ann = scratchUser("rel");
    const std::string staff = scratchGroup("rstaff", true);
    const std::string site = scratchGroup("rsite", false);
    loadSnapshot();
    const std::vector<std::string> users = {ann, seededUser(7)};
    ASSERT_FALSE(data().Group().AddUsers(staff, users)) << data().LastErr().ErrList();
    ASSERT_FALSE(data().Group().AddUsers(site, users)) << data().LastErr().ErrList();
    EXPECT_EQ(api::LocalGroupAdjustMembers(api::kTrue, kLabServer, site.c_str(), staff.c_str()), 0u);
    EXPECT_EQ(api::LocalGroupAdjustMembers(api::kTrue, kLabServer, site.c_str(), "NT AUTHORITY\\INTERACTIVE"), 0u);
    // Nesting the account calls do not allow: a local group in a local group.
    EXPECT_EQ(api::LocalGroupAdjustMembers(api::kTrue, kLabServer, site.c_str(), "site2"), 1388u);
    EXPECT_THAT(deliver(api::GetLocalGroupMembers2, kLabServer, site.c_str()).names,
                UnorderedElementsAre("TARN\\" + ann + "\\u", "TARN\\" + seededUser(7) + "\\u",
                                     "TARN\\" + staff + "\\g", "NT AUTHORITY\\Interactive\\x"));
    EXPECT_THAT(deliver(api::GetGroupUsers, kLabServer, staff.c_str()).names, UnorderedElementsAre(ann, seededUser(7)));

    ASSERT_FALSE(data().Group().RemoveUsers(staff, users)) << data().LastErr().ErrList();
    ASSERT_FALSE(data().User().RemoveFromGroups(ann, std::vector<std::string>{site})) << data().LastErr().ErrList();
    EXPECT_EQ(api::LocalGroupAdjustMembers(api::kFalse, kLabServer, site.c_str(), "NT AUTHORITY\\Interactive"), 0u);
    EXPECT_EQ(api::LocalGroupAdjustMembers(api::kFalse, kLabServer, site.c_str(), ("TARN\\" + staff).c_str()), 0u);
    EXPECT_THAT(deliver(api::GetLocalGroupMembers2, kLabServer, site.c_str()).names,
                ElementsAre("TARN\\" + seededUser(7) + "\\u"));
    EXPECT_THAT(deliver(api::GetGroupUsers, kLabServer, staff.c_str()).names, IsEmpty());
    EXPECT_THAT(storedMemberships(data()), Not(Contains(std::pair<std::string, std::string>(staff, ann))));
}

// ---- failures ----

using Failures = LabTest;

TEST_F(Failures, AWrongPasswordIsALogonFailureUntilARightOneIsGiven) {
    ASSERT_EQ(connectAs(labVariable("LAB_ADMIN"), "not the password"), 0u);
    EXPECT_EQ(deliver(api::GetAllUsers, kLabServer).status, kLogonFailure);
    TextResult controller;
    EXPECT_EQ(api::GetDomainServer("", "TARN", controller.address()), kLogonFailure);
    ASSERT_EQ(connectAsAdministrator(), 0u);
    EXPECT_EQ(deliver(api::GetAllUsers, kLabServer).status, 0u);
}

TEST_F(Failures, ANonAdministratorIsDeniedChangesAndTheRightsProbeSaysSo) {
    const std::string clerk = scratchUser("clerk");
    ASSERT_EQ(connectAs("TARN\\" + clerk, "Lab-pw-123"), 0u);
    EXPECT_EQ(deliver(api::GetAllUsers, kLabServer).status, 0u);  // reading is allowed
    gSAMHost = kLabServer;
    std::string message;
    EXPECT_TRUE(CheckSAMRights(message));
    EXPECT_EQ(LastStatus, kAccessDenied);
    EXPECT_THAT(message, ::testing::StartsWith("Failed to add test user: Access denied."));
}

TEST_F(Failures, TheControllerGoingAwayHalfwayLeavesTheSnapshotConsistent) {
    loadSnapshot();
    Details details;
    details.Add("Comment", std::string("before the break ") + std::to_string(::time(nullptr)));
    ASSERT_FALSE(data().User().Update(seededUser(901), details)) << data().LastErr().ErrList();
    {
        const ControllerAway away;
        EXPECT_TRUE(data().User().Update(seededUser(902), details));
        EXPECT_EQ(LastStatus, kBadNetPath);
        EXPECT_THAT(data().LastErr().ErrList(), ::testing::HasSubstr("The network path was not found."));
        const std::vector<std::string> user = {seededUser(903)};
        EXPECT_TRUE(data().Group().AddUsers("team02", user));
        EXPECT_EQ(LastStatus, kBadNetPath);
    }
    // The membership the SAM refused is not in the store either; the controller answers again.
    EXPECT_THAT(storedMemberships(data()), Not(Contains(std::pair<std::string, std::string>("team02", seededUser(903)))));
    EXPECT_EQ(deliver(api::GetGroupUsers, kLabServer, "team02").status, 0u);
}

// The controller's LDAPS port held by something that takes connections and never says a word,
// as a hung controller process does: the kernel accepts them into the backlog.
class SilentPort {
public:
    SilentPort() : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
        const int on = 1;
        ::setsockopt(socket_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(636);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::bind(socket_, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 || ::listen(socket_, 8) != 0) {
            ::close(socket_);
            throw std::runtime_error("the LDAPS port cannot be held");
        }
    }
    ~SilentPort() { ::close(socket_); }
    SilentPort(const SilentPort &) = delete;
    SilentPort &operator=(const SilentPort &) = delete;

private:
    int socket_;
};

TEST_F(Failures, AControllerThatTakesTheConnectionButNeverAnswersTlsIsUnreachable) {
    const ControllerAway away;
    const SilentPort silent;
    ASSERT_EQ(connectAsAdministrator(), 0u);  // the next call connects afresh
    EXPECT_EQ(deliver(api::GetAllUsers, kLabServer).status, kBadNetPath);
}

}  // namespace
