// `samworld init --demo`: a small harbour town's network. The local machine is a member of
// the domain HARBOUR (controller LIGHTHOUSE), which trusts ORCHARD (controller APPLETREE);
// COTTAGE stands alone in the workgroup VILLAGE. Everything is derived from fixed lists, so
// two demo worlds hold the same accounts.
#include "samworld/world.h"

#include "samworld/accounts.h"
#include "samworld/names.h"
#include "samworld/network.h"
#include "samworld/services.h"
#include "password.h"

#include <array>

namespace samworld {
namespace {

constexpr const char *domainName = "HARBOUR";
constexpr const char *controllerName = "LIGHTHOUSE";
constexpr const char *trustedName = "ORCHARD";
constexpr const char *trustedController = "APPLETREE";
constexpr const char *standAloneName = "COTTAGE";
constexpr const char *workgroupName = "VILLAGE";
constexpr const char *administratorPassword = "Harbour-Master-1";
constexpr int domainUsers = 300;
constexpr int trustedUsers = 40;

constexpr std::array firstNames = {
    "anna", "basil", "clara", "david", "edith", "frank", "grace", "henry", "iris", "jacob",
    "karen", "leo", "mabel", "noah", "olive", "peter", "quinn", "rose", "simon", "tessa",
    "ursula", "victor", "wendy", "xavier", "yvonne", "zach", "amber", "brook", "cedar", "dawn"};
constexpr std::array surnames = {"baker", "carter", "fisher", "gardner", "mason",
                                 "miller", "potter", "shepherd", "tanner", "weaver"};
constexpr std::array jobs = {"Harbour pilot", "Net mender", "Sail maker", "Dock clerk",
                             "Lock keeper", "Rope maker", "Ferry hand", "Boat builder",
                             "Fish seller", "Harbour guard", "Map drawer", "Lamp keeper"};
constexpr std::array globalGroups = {"Sailors", "Bakers", "Gardeners", "Teachers", "Builders",
                                     "Painters", "Fishers", "Weavers", "Clerks", "Drivers"};
constexpr uint32_t firstLogon = 1700000000;       // November 2023
constexpr uint32_t firstExpiry = 1893456000;      // 1 January 2030
constexpr uint32_t day = 86400;

std::string capitalised(std::string word) {
    word[0] = static_cast<char>(word[0] - 'a' + 'A');
    return word;
}

// Monday to Friday, eight in the morning to six in the evening.
std::vector<uint8_t> officeHours() {
    std::vector<uint8_t> hours(logonHoursBytes, 0);
    for (int weekday = 1; weekday <= 5; ++weekday) {
        for (int hour = 8; hour < 18; ++hour) {
            const int bit = weekday * 24 + hour;
            hours[bit / 8] |= static_cast<uint8_t>(1u << (bit % 8));
        }
    }
    return hours;
}

UserRecord townsperson(int i, const std::string &server) {
    const std::string first = firstNames[i % firstNames.size()];
    const std::string last = surnames[(i / firstNames.size()) % surnames.size()];
    UserRecord user;
    user.name = first + "." + last;
    user.password = "Tide-" + std::to_string(1000 + i);
    user.fullName = capitalised(first) + " " + capitalised(last);
    user.comment = jobs[i % jobs.size()];
    user.homeDir = "\\\\" + server + "\\homes\\" + user.name;
    user.homeDirDrive = "H:";
    user.scriptPath = i % 3 == 0 ? "harbour.cmd" : "town.cmd";
    user.profile = "\\\\" + server + "\\profiles\\" + user.name;
    user.usrComment = "Joined in year " + std::to_string(1990 + i % 30);
    user.lastLogon = firstLogon + static_cast<uint32_t>(i) * 3600;
    user.lastLogoff = user.lastLogon + 8 * 3600;
    user.numLogons = static_cast<uint32_t>(i % 50);
    if (i % 7 == 3) user.acctExpires = firstExpiry + static_cast<uint32_t>(i) * day;
    if (i % 5 == 2) user.logonHours = officeHours();
    if (i % 17 == 5) user.flags |= UF_ACCOUNTDISABLE;
    if (i % 23 == 7) {
        user.flags |= UF_LOCKOUT;
        user.badPwCount = 3;
    }
    if (i % 11 == 4) user.flags |= UF_DONT_EXPIRE_PASSWD;
    if (i % 13 == 6) user.passwordExpired = 1;
    return user;
}

// The machine that empty server text means, named as GetComputerNameA says.
std::string localMachineName() {
    char name[256] = {};
    DWORD size = sizeof name;
    if (!GetComputerNameA(name, &size) || !isValidMachineName(std::string_view(name, size))) {
        throw Error(ERROR_INVALID_NAME, "the computer name '" + std::string(name) +
                                            "' is no machine name of 1 to 63 characters; "
                                            "set COMPUTERNAME to one");
    }
    return std::string(name, size);
}

}  // namespace

void World::populateDemo() {
    const std::string local = localMachineName();
    Transaction transaction(database_);
    // The demo's passwords are written in this file for anyone to read: hashing them at a
    // strong world's cost would protect nothing and take seconds. Every password set later is
    // hashed at the world's own cost, and these are hashed again at it when first checked.
    const PasswordCost cost = passwordCost(database_);
    setPasswordCost(database_, PasswordCost::Quick);
    const Network network(database_);
    network.addDomain(domainName, controllerName);
    network.addDomain(trustedName, trustedController);
    network.addTrust(domainName, trustedName);
    network.addMachine(local, domainName, "", true);
    network.addMachine(standAloneName, "", workgroupName, false);
    const Sam harbour(database_, network.sam(domainName));
    const Sam orchard(database_, network.sam(trustedName));
    const Sam home(database_, network.sam(local));
    const Sam cottage(database_, network.sam(standAloneName));
    orchard.setMinPasswordLength(8);

    UserUpdate password;
    password.password = administratorPassword;
    harbour.updateUser("Administrator", password);
    for (int i = 0; i < domainUsers; ++i) harbour.addUser(townsperson(i, controllerName));
    for (const char *group : globalGroups) {
        harbour.addGroup(group, AccountKind::GlobalGroup, std::string("The town's ") + group);
    }
    for (int i = 0; i < domainUsers; ++i) {
        const std::string user = townsperson(i, controllerName).name;
        harbour.addGroupUser(globalGroups[i % globalGroups.size()], user);
        if (i % 4 == 0) {
            const size_t other = (i % globalGroups.size() + 1 + (i / 4) % (globalGroups.size() - 1));
            harbour.addGroupUser(globalGroups[other % globalGroups.size()], user);
        }
    }
    harbour.addGroupUser("Domain Admins", townsperson(0, controllerName).name);

    for (int i = 0; i < trustedUsers; ++i) {
        UserRecord user = townsperson(i + 7, trustedController);
        user.comment = "Works in the orchard";
        orchard.addUser(user);
    }
    orchard.addGroup("Pickers", AccountKind::GlobalGroup, "Pick the fruit");
    orchard.addGroup("Pressers", AccountKind::GlobalGroup, "Press the cider");
    for (int i = 0; i < trustedUsers; ++i) {
        orchard.addGroupUser(i % 2 == 0 ? "Pickers" : "Pressers", townsperson(i + 7, trustedController).name);
    }

    const auto addLocal = [&](const Sam &sam, const char *group, const char *comment,
                              std::initializer_list<std::string> members) {
        sam.addGroup(group, AccountKind::LocalGroup, comment);
        for (const auto &member : members) sam.addLocalMember(group, network.resolveAccount(sam.info(), member));
    };
    addLocal(harbour, "Harbour Office", "May use the harbour office's files",
             {"Clerks", "Sailors", townsperson(1, controllerName).name, "ORCHARD\\Pickers"});
    addLocal(harbour, "Library Readers", "May borrow from the town library",
             {"Teachers", "ORCHARD\\" + townsperson(8, trustedController).name,
              "NT AUTHORITY\\INTERACTIVE"});
    addLocal(harbour, "Workshop Access", "May use the boat workshop", {"Builders", "Painters"});
    addLocal(home, "Plotters", "May print on the large plotter",
             {"HARBOUR\\Builders", "HARBOUR\\" + townsperson(2, controllerName).name,
              "ORCHARD\\Pressers"});
    addLocal(home, "Visitors", "Anyone passing by", {"Everyone"});

    for (const char *name : {"keeper", "helper", "guest.room"}) {
        UserRecord user;
        user.name = name;
        user.password = "Local-" + user.name;
        user.fullName = "Local " + capitalised(user.name);
        home.addUser(user);
    }
    for (const char *name : {"grandma", "grandpa", "nephew"}) {
        UserRecord user;
        user.name = name;
        user.fullName = capitalised(name);
        cottage.addUser(user);
    }
    addLocal(cottage, "Family", "The family at the cottage", {"grandma", "grandpa", "nephew"});

    const MachineServices lighthouse(database_, *network.findMachine(controllerName));
    lighthouse.addShare({.name = "homes", .path = "D:\\Homes", .remark = "Home folders"});
    lighthouse.addShare({.name = "profiles", .path = "D:\\Profiles", .remark = "Profiles"});
    lighthouse.addShare({.name = "exports", .path = "D:\\Exports", .remark = "Exports"});
    const MachineServices homeServices(database_, *network.findMachine(local));
    homeServices.addShare({.name = "Data", .path = "C:\\Data", .remark = "Data"});
    homeServices.addSession(townsperson(0, controllerName).name);
    homeServices.addSession("Administrator");
    setCaller(network, std::string(domainName) + "\\Administrator");
    setPasswordCost(database_, cost);
    transaction.commit();
}

}  // namespace samworld
