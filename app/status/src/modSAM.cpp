#include "status/modSAM.h"

#include "vantry_api/UserReadBuffers.h"
#include "vantry_api/modVantryDeclare.h"

#include <ctime>

std::string gSAMHost;

namespace {

constexpr uint32_t kFlagScript = 0x0001;
constexpr uint32_t kFlagAccountDisabled = 0x0002;
constexpr int32_t kNeverExpires = -1;

// Records a failed call's message; true when the status says the call failed. The status
// stays in LastStatus, where target selection looks for a refused logon.
bool failedWith(uint32_t status, std::string &message) {
    LastStatus = status;
    if (status == 0) {
        return false;
    }
    StatusText(status, message);
    return true;
}

std::string probeUserName(const std::tm &timeOfDay) {
    char name[sizeof "Test000000"];
    std::strftime(name, sizeof name, "Test%H%M%S", &timeOfDay);
    return name;
}

}  // namespace

bool IsDomainTarget(const std::string &server, NameList &workList) {
    workList.clear();
    modVantryDeclare::GetAllGroups(modVantryDeclare::kTrue, server.c_str(),
                                   modVantryDeclare::kListBox, workList.window());
    return workList.count() != 1;
}

bool SAMAddUser(const std::string &server, const std::string &name, const std::string &fullName,
                const std::string &comment, std::string &message) {
    std::string nameText = name, fullNameText = fullName, commentText = comment, password;
    UserRecord record{};
    record.name = nameText.data();
    record.full_name = fullNameText.data();
    record.comment = commentText.data();
    record.password = password.data();
    record.acct_expires = kNeverExpires;
    // Disabled from the start: an enabled account with an empty password must never exist,
    // not even until the probe deletes it again, nor when that deletion fails.
    record.flags = kFlagScript | kFlagAccountDisabled;
    return failedWith(modVantryDeclare::CreateUser(server.c_str(), &record), message);
}

bool SAMDeleteUser(const std::string &server, const std::string &name, std::string &message) {
    UserReadBuffers existing;
    if (failedWith(modVantryDeclare::GetUserInfo(server.c_str(), name.c_str(), &existing.record()),
                   message)) {
        return true;
    }
    return failedWith(modVantryDeclare::DeleteUser(server.c_str(), name.c_str()), message);
}

bool CheckSAMRights(std::string &message, const std::tm &timeOfDay) {
    const std::string name = probeUserName(timeOfDay);
    std::string statusText;
    if (SAMAddUser(gSAMHost, name, "Test - please delete", "", statusText)) {
        message = "Failed to add test user: " + statusText;
        return true;
    }
    if (SAMDeleteUser(gSAMHost, name, statusText)) {
        message = "Added test user " + name + "\r\n" + "but failed to delete :" + statusText;
        return true;
    }
    return false;
}

bool CheckSAMRights(std::string &message) {
    const std::time_t now = std::time(nullptr);
    std::tm timeOfDay{};
    localtime_r(&now, &timeOfDay);
    return CheckSAMRights(message, timeOfDay);
}
