// The embedded SAM world: one SQLite file that describes a small network (machines, domains,
// trusts, accounts, memberships, shares, sessions, the calling identity, password policy and
// injected faults). The NETAPI32 stand-in answers every call to its machines from it (see
// samworld/backend.h); the `samworld` tool and tests build and change it through this class.
//
// How a test builds a world:
//
//     auto folder = std::filesystem::temp_directory_path() / "my-test-XXXX";   // unique per test
//     auto path = (folder / "samworld.db").string();
//     {
//         samworld::World world = samworld::World::create(path, samworld::PasswordCost::Quick);
//         world.addDomain("CORP", "ALDER");                  // domain, its controller ALDER
//         world.addMachine("OAK", "CORP", "", true);         // the machine empty server text means
//         world.logon("CORP\\Administrator");                // who calls the Net* functions
//         samworld::UserOptions ann;
//         ann.password = "secret";
//         world.addUser("CORP", "ann", ann);
//     }                                                      // (or keep it open: WAL allows both)
//     setenv("SAMWORLD", path.c_str(), 1);                   // before any Net* call
//
// samworld::test::TempWorldTest (tests/temp_world.h, CMake target samworld_test_support) is a
// GoogleTest fixture that does the first and last of this for each case.
//
// Operations of this class act as an administrator: no rights check and no injected faults.
// The Net* calls check the caller's rights and consult the fault table. Both share the account
// rules (name validity, uniqueness, built-in accounts, password minimum), which live in
// samworld/accounts.h.
#pragma once

#include "samworld/database.h"
#include "samworld/records.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace samworld {

enum class GroupKind { Global, Local };

struct UserOptions {
    std::string password;
    std::string fullName;
    std::string comment;
    uint32_t flags = UF_SCRIPT | UF_NORMAL_ACCOUNT;
};

class World {
public:
    // A new empty world at path, readable by its owner only; an existing file there is
    // replaced. Tests and benchmarks choose PasswordCost::Quick.
    static World create(const std::string &path, PasswordCost cost = PasswordCost::Strong);
    // An existing world: Error NERR_ACFNotLoaded when the file is missing, NERR_InvalidDatabase
    // when it is no world or damaged. A file without any write permission is only read: its
    // changes fail with ERROR_WRITE_PROTECT. Its folder must let the journal files be made
    // (else ERROR_CANNOT_MAKE), and a change waits a few seconds for another program that holds
    // the world before it fails with ERROR_BUSY.
    static World open(const std::string &path);
    // Where the platform keeps its world: defaultPathFor the running executable's folder.
    static std::string defaultPath();
    // The file the variable SAMWORLD names; else samworld.db in programFolder when a world is
    // there (a build, where scripts/run makes the demo); else samworld.db in the user's data
    // folder ($XDG_DATA_HOME/tarnwick, by default ~/.local/share/tarnwick), where an installed
    // program, which may not write beside itself, keeps it.
    static std::string defaultPathFor(const std::filesystem::path &programFolder);
    // The world the Net* calls answer from. One that SAMWORLD names must exist; any other
    // default place without a world gets the demo network first (openOrCreateDemo).
    static World openDefault();
    // The world at path; when there is none, the demo network is made there first (its folder
    // too), so that a program opens on it at its first start.
    static World openOrCreateDemo(const std::string &path);

    World(World &&) noexcept = default;
    World &operator=(World &&) noexcept = default;
    World(const World &) = delete;
    World &operator=(const World &) = delete;
    ~World() = default;

    // ---- the network ----
    // A domain with its built-in accounts; pdc becomes a controller machine of it.
    void addDomain(const std::string &domain, const std::string &pdc);
    // A member of domain, or (domain empty) a stand-alone machine of workgroup, with its own
    // SAM. local: the machine that empty server text means. Naming an existing controller of
    // the same domain only marks it local.
    void addMachine(const std::string &name, const std::string &domain,
                    const std::string &workgroup, bool local);
    void addTrust(const std::string &trusting, const std::string &trusted);
    // Who calls the Net* functions: DOMAIN\USER (a domain or machine SAM and one of its users).
    void logon(const std::string &domainBackslashUser);

    // ---- accounts of a SAM (a domain name or a machine name) ----
    void addUser(const std::string &sam, const std::string &name, const UserOptions &options = {});
    // Every field of a user, as the demo and the generator need; record.name names the user.
    void addUser(const std::string &sam, const UserRecord &record);
    void deleteUser(const std::string &sam, const std::string &name);
    void addGroup(const std::string &sam, const std::string &name, GroupKind kind,
                  const std::string &comment = {});
    void deleteGroup(const std::string &sam, const std::string &name);
    // account: NAME (resolved from the SAM outwards) or DOMAIN\NAME, also well-known accounts
    // such as "NT AUTHORITY\INTERACTIVE" and "Everyone". Global groups take users of their SAM.
    void addMember(const std::string &sam, const std::string &group, const std::string &account);
    void deleteMember(const std::string &sam, const std::string &group, const std::string &account);
    void setMinPasswordLength(const std::string &sam, int length);

    // ---- machines ----
    void addShare(const std::string &machine, const std::string &name, const std::string &path);
    void addSession(const std::string &machine, const std::string &user);

    // ---- faults ----
    void addFault(const Fault &fault);
    void clearFaults();

    // ---- whole worlds ----
    // The demo network that `samworld init --demo` builds (deterministic).
    void populateDemo();
    // Bulk accounts in one transaction, deterministic per seed.
    void generate(const std::string &sam, int users, int groups, int membersPerGroup,
                  uint32_t seed);

    // ---- reading, for tests and the tool ----
    // Machines, domains, trusts, then accounts and members (of one SAM when sam is given).
    std::string show(const std::string &sam = {}) const;
    bool hasAccount(const std::string &sam, const std::string &name) const;
    // Every field of a user; Error (NERR_UserNotFound) when there is none.
    UserRecord user(const std::string &sam, const std::string &name) const;
    // Global group: member names. Local group: members as DOMAIN\NAME (bare NAME for accounts
    // without a domain, such as Everyone). In the order the Net* calls give them.
    std::vector<std::string> members(const std::string &sam, const std::string &group) const;
    bool passwordMatches(const std::string &sam, const std::string &user,
                         const std::string &password) const;

    Database &database() { return database_; }
    const Database &database() const { return database_; }

private:
    explicit World(Database database);
    Database database_;
};

}  // namespace samworld
