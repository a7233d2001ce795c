#include "lab_fixture.h"

#include "store/ProgramValues.h"
#include "vantry_api/NetworkConnection.h"
#include "vantry_api/ProgramFolder.h"
#include "vantry_api/modVantryDeclare.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace api = modVantryDeclare;

std::string labVariable(const char *name) {
    const char *value = std::getenv(name);
    if (value == nullptr) throw std::runtime_error(std::string(name) + " is not set: run under scripts/directory-lab exec");
    return value;
}

std::string seededUser(int number) {
    char name[16];
    std::snprintf(name, sizeof name, "user%04d", number);
    return name;
}

uint32_t connectAs(const std::string &user, const std::string &password) {
    return AddConnection(kLabServer, user, password);
}

uint32_t connectAsAdministrator() { return connectAs(labVariable("LAB_ADMIN"), labVariable("LAB_PASSWORD")); }

void LabTest::SetUp() {
    ASSERT_EQ(connectAsAdministrator(), 0u);
    std::filesystem::copy_file(ProgramFolder() / "Template.MDB", folder_.path() / "Template.MDB");
    data_.emplace(folder_.path());
    data_->WorkList(workList_);
}

void LabTest::TearDown() {
    data_.reset();
    connectAsAdministrator();
    for (const auto &user : users_) api::DeleteUser(kLabServer, user.c_str());
    for (const auto &[group, global] : groups_) {
        api::DeleteGroup(global ? api::kTrue : api::kFalse, kLabServer, group.c_str());
    }
}

void LabTest::loadSnapshot() {
    gDomainName = "TARN";
    data().TargetSAM(kLabServer);
    ASSERT_EQ(data().LastErr().Number(), 0) << data().LastErr().ErrList();
    ASSERT_EQ(data().LastErr().count(), 0) << data().LastErr().ErrList();
    ASSERT_FALSE(data().User().OpenData()) << data().LastErr().ErrList();
    ASSERT_FALSE(data().Group().OpenData()) << data().LastErr().ErrList();
}

namespace {

// Names of this run, so that a case left behind by an aborted run never clashes.
std::string runTag() { return std::to_string(getpid() % 100000); }

}  // namespace

std::string LabTest::scratchUser(const std::string &suffix, const std::string &password) {
    std::string name = "lb" + suffix + runTag(), pw = password, fullName = "Lab user";
    UserRecord record{};
    record.name = name.data();
    record.password = pw.data();
    record.full_name = fullName.data();
    record.flags = 0x0201;  // UF_SCRIPT | UF_NORMAL_ACCOUNT
    record.acct_expires = -1;
    EXPECT_EQ(api::CreateUser(kLabServer, &record), 0u) << name;
    users_.push_back(name);
    return name;
}

std::string LabTest::scratchGroup(const std::string &suffix, bool global) {
    const std::string name = "lg" + suffix + runTag();
    EXPECT_EQ(api::CreateGroup(global ? api::kTrue : api::kFalse, kLabServer, name.c_str(), "lab group"), 0u) << name;
    groups_.emplace_back(name, global);
    return name;
}

ControllerAway::ControllerAway() {
    if (std::system((labVariable("LAB_SCRIPT") + " controller stop").c_str()) != 0) {
        throw std::runtime_error("the lab's controller did not stop");
    }
}

ControllerAway::~ControllerAway() {
    if (std::system((labVariable("LAB_SCRIPT") + " controller start").c_str()) != 0) std::abort();
}
