// The account calls against a real directory domain (the lab's, seeded with 5,000 users: run
// inside it with scripts/directory-lab exec, see the README):
//  - the snapshot load end to end against its floor: the same paged searches (users, groups,
//    each group's members and primary-group members) straight into plain lists, plus the same
//    rows into SQLite in one transaction;
//  - Apply of one field to 1,000 users through the account object, against a bare LDAP modify
//    of the same attribute per user.
#include "connection.h"
#include "sid.h"

#include "accounts/Details.h"
#include "store/Database.h"
#include "store/ProgramValues.h"
#include "store/clsData.h"
#include "testing/TempFolder.h"
#include "vantry_api/NameList.h"
#include "vantry_api/NetworkConnection.h"
#include "vantry_api/ProgramFolder.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const char *const kServer = "\\\\DC1";
const char *const kDomainDn = "DC=tarn,DC=test";
constexpr int kApplied = 1000;

std::string variable(const char *name) {
    const char *value = std::getenv(name);
    if (value == nullptr) throw std::runtime_error(std::string(name) + " is not set: run under scripts/directory-lab exec");
    return value;
}

directory::Connection labConnection() {
    return directory::Connection::open({"dc1.tarn.test", variable("LAB_DIR") + "/private/tls/ca.pem", "tarn.test"},
                                       directory::Credentials{variable("LAB_ADMIN"), variable("LAB_PASSWORD")});
}

double secondsOf(const std::function<void()> &work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string seededUser(int number) {
    char name[16];
    std::snprintf(name, sizeof name, "user%04d", number);
    return name;
}

// ---- the floor of the load ----

struct Group {
    std::string dn;
    std::string name;
    std::string rid;  // of a global group, whose primary-group members are no `member` values
};

struct Listed {
    std::map<std::string, std::string> userByDn;
    std::vector<Group> groups;
    std::vector<std::pair<std::string, std::string>> memberships;
};

Listed searchDomain(const directory::Connection &ldap) {
    Listed listed;
    using directory::Scope;
    for (const auto &entry : ldap.search(kDomainDn, Scope::Subtree, "(sAMAccountType=805306368)", {"sAMAccountName"})) {
        listed.userByDn.emplace(entry.dn, entry.first("sAMAccountName"));
    }
    for (const auto &entry : ldap.search(kDomainDn, Scope::Subtree, "(sAMAccountType=268435456)", {"sAMAccountName", "objectSid"})) {
        const auto sid = directory::sidText(entry.first("objectSid")).value_or("");
        listed.groups.push_back({entry.dn, entry.first("sAMAccountName"), sid.substr(sid.rfind('-') + 1)});
    }
    for (const auto &entry : ldap.search(kDomainDn, Scope::Subtree, "(sAMAccountType=536870912)", {"sAMAccountName"})) {
        listed.groups.push_back({entry.dn, entry.first("sAMAccountName"), {}});
    }
    for (const auto &group : listed.groups) {
        for (const auto &member : ldap.readRanged(group.dn, "member", false)) {
            if (const auto user = listed.userByDn.find(member); user != listed.userByDn.end()) {
                listed.memberships.emplace_back(group.name, user->second);
            }
        }
        if (group.rid.empty()) continue;
        for (const auto &user : ldap.search(kDomainDn, Scope::Subtree, "(&(objectClass=user)(primaryGroupID=" + group.rid + "))",
                                            {"sAMAccountName"})) {
            listed.memberships.emplace_back(group.name, user.first("sAMAccountName"));
        }
    }
    return listed;
}

void insertRows(const std::filesystem::path &path, const Listed &rows) {
    std::filesystem::remove(path);
    const Database store(path, Database::Mode::Create);
    store.execute(
        "CREATE TABLE User (UserID INTEGER PRIMARY KEY, UserName TEXT);"
        "CREATE TABLE [Group] (GroupID INTEGER PRIMARY KEY, GroupName TEXT);"
        "CREATE TABLE GroupUser (GroupName TEXT, UserName TEXT);");
    Transaction transaction(store);
    Statement addUser = store.prepare("INSERT INTO User (UserName) VALUES (?)");
    Statement addGroup = store.prepare("INSERT INTO [Group] (GroupName) VALUES (?)");
    Statement addMember = store.prepare("INSERT INTO GroupUser VALUES (?, ?)");
    for (const auto &[dn, user] : rows.userByDn) {
        addUser.bind(1, user).run();
        addUser.reset();
    }
    for (const auto &group : rows.groups) {
        addGroup.bind(1, group.name).run();
        addGroup.reset();
    }
    for (const auto &[group, user] : rows.memberships) {
        addMember.bind(1, group).bind(2, user).run();
        addMember.reset();
    }
    transaction.commit();
}

// A store of its own on the lab domain, the lab administrator's credentials given.
class LabStore {
public:
    LabStore() {
        if (AddConnection(kServer, variable("LAB_ADMIN"), variable("LAB_PASSWORD")) != 0) {
            throw std::runtime_error("the platform took no credentials");
        }
        std::filesystem::copy_file(ProgramFolder() / "Template.MDB", folder_.path() / "Template.MDB");
        data_.WorkList(workList_);
        gDomainName = "TARN";
    }
    clsData &data() { return data_; }
    std::filesystem::path floorPath() const { return folder_.path() / "floor.db"; }

private:
    TempFolder folder_;
    StringNameList workList_;
    clsData data_{folder_.path()};
};

void DirectorySnapshotLoad(benchmark::State &state) {
    LabStore store;
    clsData &data = store.data();
    const directory::Connection ldap = labConnection();

    double loadSeconds = 0, floorSeconds = 0;
    for (auto _ : state) {
        const double thisLoad = secondsOf([&] { data.TargetSAM(kServer); });
        if (data.LastErr().Number() != 0) {
            state.SkipWithError(data.LastErr().ErrList().c_str());
            return;
        }
        loadSeconds += thisLoad;
        state.SetIterationTime(thisLoad);
        floorSeconds += secondsOf([&] { insertRows(store.floorPath(), searchDomain(ldap)); });
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["floor_ms"] = floorSeconds / iterations * 1000;
    state.counters["load_to_floor"] = loadSeconds / floorSeconds;
}

// ---- Apply of one field ----

void DirectoryApplyOneField(benchmark::State &state) {
    LabStore store;
    clsData &data = store.data();
    data.TargetSAM(kServer);
    if (data.LastErr().Number() != 0 || data.User().OpenData()) {
        state.SkipWithError(data.LastErr().ErrList().c_str());
        return;
    }
    const directory::Connection ldap = labConnection();

    double applySeconds = 0, bareSeconds = 0;
    int round = 0;
    for (auto _ : state) {
        const std::string comment = "bench " + std::to_string(++round);
        const double thisApply = secondsOf([&] {
            for (int i = 1; i <= kApplied; ++i) {
                Details details;
                details.Add("Comment", comment);
                if (data.User().Update(seededUser(i), details)) throw std::runtime_error(data.LastErr().ErrList());
            }
        });
        applySeconds += thisApply;
        state.SetIterationTime(thisApply);
        bareSeconds += secondsOf([&] {
            for (int i = 1; i <= kApplied; ++i) {
                ldap.modify("CN=" + seededUser(i) + ",CN=Users," + kDomainDn,
                            {{directory::Modification::Kind::Replace, "description", {comment + " bare"}}});
            }
        });
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["apply_ms_per_user"] = applySeconds / iterations / kApplied * 1000;
    state.counters["bare_modify_ms_per_user"] = bareSeconds / iterations / kApplied * 1000;
}

}  // namespace

BENCHMARK(DirectorySnapshotLoad)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(DirectoryApplyOneField)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
