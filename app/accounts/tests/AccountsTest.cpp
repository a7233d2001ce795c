#include "AccountsTest.h"

#include "status/modSAM.h"
#include "store/ProgramValues.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace {

constexpr uint32_t kAccessDenied = 5;

}  // namespace

void AccountsTest::SetUp() {
    StoreTest::SetUp();
    addDomainCorp();
    gDomainName = "CORP";
    buildWorld();
    data().TargetSAM("\\\\ALDER");
    ASSERT_EQ(errors().Number(), 0) << errors().ErrList();
    ASSERT_FALSE(user().OpenData()) << errors().ErrList();
    ASSERT_FALSE(group().OpenData()) << errors().ErrList();
}

samworld::UserRecord AccountsTest::samUser(const std::string &name) {
    return world().user("CORP", name);
}

void AccountsTest::countCalls(const std::string &call) {
    world().addFault({call, kAccessDenied, "", std::numeric_limits<int>::max(), 1});
}

int64_t AccountsTest::callsOf(const std::string &call) {
    auto seen = world().database().prepare("SELECT seen FROM faults WHERE call = ?");
    seen.bind(1, call);
    return seen.step() ? seen.integer(0) : -1;
}

void AccountsTest::failCalls(const std::string &call, uint32_t status) {
    world().addFault({call, status, "", 0, -1});
}

bool AccountsTest::storeHasUser(const std::string &name) const {
    const auto users = storedUsers();
    return std::find(users.begin(), users.end(), name) != users.end();
}

bool AccountsTest::storeHasGroup(const std::string &name) const {
    const auto groups = storedGroups();
    return std::any_of(groups.begin(), groups.end(),
                       [&](const auto &group) { return group.first == name; });
}

bool AccountsTest::storeHasMembership(const std::string &group, const std::string &user) const {
    return storedMemberships().contains({group, user});
}

void AccountsTest::forgetMemberships(const std::string &user) {
    const Database store(data().WorkingPath());
    store
        .prepare(
            "DELETE FROM GroupUser WHERE UserID IN (SELECT UserID FROM User WHERE UserName = ?)")
        .bind(1, user)
        .run();
}

std::optional<std::string> AccountsTest::storedComment(const std::string &group) {
    const Database store(data().WorkingPath());
    Statement row =
        store.prepare("SELECT Comment IS NULL, Comment FROM [Group] WHERE GroupName = ?");
    row.bind(1, group);
    if (!row.step()) {
        throw std::runtime_error("The store has no group " + group);
    }
    return row.integer(0) != 0 ? std::nullopt : std::optional(row.text(1));
}

std::string StatusMessage(uint32_t status) {
    std::string text;
    StatusText(status, text);
    return text;
}
