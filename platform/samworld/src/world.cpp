// The world as the tool and tests use it: each operation is one transaction, acting as an
// administrator.
#include "samworld/world.h"

#include "samworld/accounts.h"
#include "samworld/names.h"
#include "samworld/network.h"
#include "samworld/services.h"
#include "password.h"
#include "schema.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace samworld {
namespace {

template <class Change>
void inTransaction(const Database &database, Change &&change) {
    Transaction transaction(database);
    change(Network(database));
    transaction.commit();
}

Sam samNamed(const Network &network, const std::string &name) {
    return Sam(network.database(), network.sam(name));
}

// A world file with its write-ahead log and shared-memory index.
void removeWorldFiles(const std::string &path) {
    for (const char *suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix);
}

const char *variable(const char *name) {
    const char *value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

// $XDG_DATA_HOME, else ~/.local/share; a relative XDG_DATA_HOME counts as unset.
std::filesystem::path userDataFolder() {
    if (const char *data = variable("XDG_DATA_HOME"); data != nullptr && *data == '/') return data;
    const char *home = variable("HOME");
    if (home == nullptr) throw Error(NERR_ACFNotLoaded, "no home folder (HOME) for the world");
    return std::filesystem::path(home) / ".local" / "share";
}

// Built apart and moved in whole: a second program starting at the same moment never opens
// half a world, and a failed build leaves nothing behind.
void createDemo(const std::string &path) {
    const std::string building = path + "." + std::to_string(getpid()) + ".new";
    try {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        World::create(building).populateDemo();
        std::filesystem::rename(building, path);
    } catch (...) {
        removeWorldFiles(building);
        throw;
    }
}

// The world holds password hashes: its file is its owner's alone, and so are the log and
// index, which the engine creates with the file's own permissions.
void createOwnerOnlyFile(const std::string &path) {
    const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (file < 0) {
        throw Error(NERR_ACFNotLoaded, "cannot create " + path + ": " + std::strerror(errno));
    }
    ::close(file);
}

}  // namespace

World::World(Database database) : database_(std::move(database)) {}

World World::create(const std::string &path, PasswordCost cost) {
    removeWorldFiles(path);
    createOwnerOnlyFile(path);
    Database database(path, Database::Mode::Create);
    configureConnection(database);
    createSchema(database);
    setPasswordCost(database, cost);
    inTransaction(database, [](const Network &network) { network.createWellKnownAccounts(); });
    return World(std::move(database));
}

World World::open(const std::string &path) {
    if (!std::filesystem::exists(path)) {
        throw Error(NERR_ACFNotLoaded, "no world file " + path);
    }
    Database database(path, Database::Mode::OpenExisting);
    configureConnection(database);
    verifySchema(database);
    return World(std::move(database));
}

std::string World::defaultPath() {
    // Asked for by every call: the executable's folder is looked up once.
    static const std::filesystem::path programFolder = [] {
        std::error_code error;
        const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
        return error ? std::filesystem::current_path() : executable.parent_path();
    }();
    return defaultPathFor(programFolder);
}

std::string World::defaultPathFor(const std::filesystem::path &programFolder) {
    if (const char *path = variable("SAMWORLD")) return path;
    const auto beside = programFolder / "samworld.db";
    if (std::filesystem::exists(beside)) return beside.string();
    return (userDataFolder() / "tarnwick" / "samworld.db").string();
}

World World::openDefault() {
    const std::string path = defaultPath();
    return variable("SAMWORLD") != nullptr ? open(path) : openOrCreateDemo(path);
}

World World::openOrCreateDemo(const std::string &path) {
    if (!std::filesystem::exists(path)) createDemo(path);
    return open(path);
}

// ---- the network ----

void World::addDomain(const std::string &domain, const std::string &pdc) {
    inTransaction(database_, [&](const Network &network) { network.addDomain(domain, pdc); });
}

void World::addMachine(const std::string &name, const std::string &domain,
                       const std::string &workgroup, bool local) {
    inTransaction(database_, [&](const Network &network) {
        network.addMachine(name, domain, workgroup, local);
    });
}

void World::addTrust(const std::string &trusting, const std::string &trusted) {
    inTransaction(database_, [&](const Network &network) { network.addTrust(trusting, trusted); });
}

void World::logon(const std::string &domainBackslashUser) {
    inTransaction(database_, [&](const Network &network) { setCaller(network, domainBackslashUser); });
}

// ---- accounts ----

void World::addUser(const std::string &sam, const std::string &name, const UserOptions &options) {
    UserRecord record;
    record.name = name;
    record.password = options.password;
    record.fullName = options.fullName;
    record.comment = options.comment;
    record.flags = options.flags;
    addUser(sam, record);
}

void World::addUser(const std::string &sam, const UserRecord &record) {
    inTransaction(database_, [&](const Network &network) { samNamed(network, sam).addUser(record); });
}

void World::deleteUser(const std::string &sam, const std::string &name) {
    inTransaction(database_, [&](const Network &network) { samNamed(network, sam).deleteUser(name); });
}

void World::addGroup(const std::string &sam, const std::string &name, GroupKind kind,
                     const std::string &comment) {
    const auto accountKind = kind == GroupKind::Global ? AccountKind::GlobalGroup : AccountKind::LocalGroup;
    inTransaction(database_, [&](const Network &network) {
        samNamed(network, sam).addGroup(name, accountKind, comment);
    });
}

void World::deleteGroup(const std::string &sam, const std::string &name) {
    inTransaction(database_, [&](const Network &network) {
        const Sam accounts = samNamed(network, sam);
        const auto group = accounts.find(name);
        const bool global = group && group->kind == AccountKind::GlobalGroup;
        accounts.deleteGroup(name, global ? AccountKind::GlobalGroup : AccountKind::LocalGroup);
    });
}

namespace {

// A global group's member is a user of its own SAM: NAME, or SAM\NAME.
std::string globalMemberName(const SamInfo &sam, const std::string &account) {
    const QualifiedName name = splitQualifiedName(account);
    if (name.domain && foldCase(*name.domain) != foldCase(sam.name)) {
        throw Error(NERR_UserNotFound, "a global group of " + sam.name + " holds only its own users");
    }
    return name.name;
}

template <class GlobalChange, class LocalChange>
void changeMembership(const Network &network, const std::string &samName, const std::string &group,
                      const std::string &account, GlobalChange global, LocalChange local) {
    const Sam sam = samNamed(network, samName);
    const auto found = sam.find(group);
    if (found && found->kind == AccountKind::GlobalGroup) {
        (sam.*global)(group, globalMemberName(sam.info(), account));
    } else {
        (sam.*local)(group, network.resolveAccount(sam.info(), account));
    }
}

}  // namespace

void World::addMember(const std::string &sam, const std::string &group, const std::string &account) {
    inTransaction(database_, [&](const Network &network) {
        changeMembership(network, sam, group, account, &Sam::addGroupUser, &Sam::addLocalMember);
    });
}

void World::deleteMember(const std::string &sam, const std::string &group,
                         const std::string &account) {
    inTransaction(database_, [&](const Network &network) {
        changeMembership(network, sam, group, account, &Sam::deleteGroupUser, &Sam::deleteLocalMember);
    });
}

void World::setMinPasswordLength(const std::string &sam, int length) {
    inTransaction(database_, [&](const Network &network) {
        samNamed(network, sam).setMinPasswordLength(length);
    });
}

// ---- machines and faults ----

void World::addShare(const std::string &machine, const std::string &name, const std::string &path) {
    inTransaction(database_, [&](const Network &network) {
        MachineServices(database_, network.machineOfServer(machine))
            .addShare(Share{.name = name, .path = path, .remark = name});
    });
}

void World::addSession(const std::string &machine, const std::string &user) {
    inTransaction(database_, [&](const Network &network) {
        MachineServices(database_, network.machineOfServer(machine)).addSession(user);
    });
}

void World::addFault(const Fault &fault) {
    inTransaction(database_, [&](const Network &) { samworld::addFault(database_, fault); });
}

void World::clearFaults() {
    inTransaction(database_, [&](const Network &) { samworld::clearFaults(database_); });
}

// ---- reading ----

bool World::hasAccount(const std::string &sam, const std::string &name) const {
    const Network network(database_);
    const auto info = network.findSam(sam);
    return info && Sam(database_, *info).find(name).has_value();
}

UserRecord World::user(const std::string &sam, const std::string &name) const {
    return samNamed(Network(database_), sam).userRecord(name);
}

std::vector<std::string> World::members(const std::string &sam, const std::string &group) const {
    const Sam accounts = samNamed(Network(database_), sam);
    const auto found = accounts.find(group);
    const bool global = found && found->kind == AccountKind::GlobalGroup;
    const Account account =
        accounts.group(group, global ? AccountKind::GlobalGroup : AccountKind::LocalGroup);
    const auto entries = global ? accounts.groupUsers(account, 0, -1) : accounts.localMembers(account, 0, -1);
    std::vector<std::string> names;
    for (const auto &entry : entries) {
        names.push_back(global ? entry.value.name : entry.value.qualifiedName());
    }
    return names;
}

bool World::passwordMatches(const std::string &sam, const std::string &user,
                            const std::string &password) const {
    return samNamed(Network(database_), sam).passwordMatches(user, password);
}

}  // namespace samworld
