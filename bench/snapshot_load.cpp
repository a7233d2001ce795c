// The snapshot load of a generated domain, end to end, against two floors: the same
// enumerations through the library into a plain list plus inserting the same rows (names, and
// what the listings say of each) into a fresh SQLite file in one transaction; and the physical
// floor, the world's rows read plainly and inserted into a copy of the template. Reports each,
// the ratios and the peak memory. The enumerations alone, through the library and as the
// platform's bare calls, show the layers' shares.
#include "domain_enumeration.h"
#include "lm.h"
#include "samworld/world.h"
#include "store/Database.h"
#include "store/ProgramValues.h"
#include "testing/TempFolder.h"
#include "vantry_api/NameList.h"
#include "vantry_api/ProgramFolder.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

const char *const kDomain = "BENCH";
const char *const kServer = "\\\\SPRUCE";
constexpr int kMembersPerGroup = 50;

// A generated domain, kept for the whole run: users / 50 groups of 50 members each.
class GeneratedDomain {
public:
    explicit GeneratedDomain(int users) {
        const std::string path = (folder_.path() / "samworld.db").string();
        samworld::World world = samworld::World::create(path, samworld::PasswordCost::Quick);
        world.addDomain(kDomain, "SPRUCE");
        world.logon(std::string(kDomain) + "\\Administrator");
        world.generate(kDomain, users, users / kMembersPerGroup, kMembersPerGroup, 7);
        setenv("SAMWORLD", path.c_str(), 1);
        std::filesystem::copy_file(ProgramFolder() / "Template.MDB",
                                   folder_.path() / "Template.MDB");
    }
    const std::filesystem::path &folder() const { return folder_.path(); }

private:
    TempFolder folder_;
};

GeneratedDomain &domainOf(int users) {
    static std::map<int, std::unique_ptr<GeneratedDomain>> domains;
    auto &domain = domains[users];
    if (!domain) {
        domain = std::make_unique<GeneratedDomain>(users);
    }
    return *domain;
}

// Peak resident memory since the last reset, in megabytes.
void resetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }

double peakMemoryMB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0;
}

// The same rows as the load, without its indexes or lookups: ids come from a hash map.
void insertRows(const std::filesystem::path &path, const Enumerated &rows) {
    std::filesystem::remove(path);
    const Database store(path, Database::Mode::Create);
    store.execute(
        "CREATE TABLE User (UserID INTEGER PRIMARY KEY, UserName TEXT, FullName TEXT, "
        "Comment TEXT, Flags INTEGER);"
        "CREATE TABLE [Group] (GroupID INTEGER PRIMARY KEY, GroupName TEXT, IsGlobal INTEGER, "
        "Comment TEXT);"
        "CREATE TABLE GroupUser (GroupID INTEGER, UserID INTEGER);");
    Transaction transaction(store);
    Statement addUser = store.prepare("INSERT INTO User VALUES (?, ?, ?, ?, ?)");
    Statement addGroup = store.prepare("INSERT INTO [Group] VALUES (?, ?, ?, ?)");
    Statement addMember = store.prepare("INSERT INTO GroupUser VALUES (?, ?)");
    std::unordered_map<std::string, int64_t> userIds;
    for (std::size_t u = 0; u < rows.users.size(); ++u) {
        const int64_t id = static_cast<int64_t>(userIds.size()) + 1;
        const ListedDetails &details = rows.userDetails[u];
        userIds.emplace(rows.users[u], id);
        addUser.bind(1, id)
            .bind(2, rows.users[u])
            .bind(3, details.fullName)
            .bind(4, details.comment)
            .bind(5, int64_t{details.flags})
            .run();
        addUser.reset();
    }
    const std::string prefix = std::string(kDomain) + "\\";
    for (std::size_t g = 0; g < rows.groups.size(); ++g) {
        const auto groupId = static_cast<int64_t>(g) + 1;
        addGroup.bind(1, groupId)
            .bind(2, rows.groups[g].first)
            .bind(3, rows.groups[g].second ? -1 : 0)
            .bind(4, rows.groupComments[g])
            .run();
        addGroup.reset();
        for (std::string member : rows.members[g]) {
            if (!rows.groups[g].second && member.rfind(prefix, 0) == 0) {
                member.erase(0, prefix.size());
            }
            if (const auto found = userIds.find(member); found != userIds.end()) {
                addMember.bind(1, groupId).bind(2, found->second).run();
                addMember.reset();
            }
        }
    }
    transaction.commit();
}

// The load's physical floor: the world's rows read plainly on one connection (its normal
// users, its groups, the user memberships of each) and inserted, in the same pass, into a copy
// of the template in one transaction. Nothing of the platform, the library or the work list.
void copyWorldRows(const std::filesystem::path &world, const std::filesystem::path &store) {
    std::filesystem::copy_file(ProgramFolder() / "Template.MDB", store,
                               std::filesystem::copy_options::overwrite_existing);
    const Database source(world);
    const Database target(store);
    Transaction transaction(target);
    Statement sam = source.prepare("SELECT id FROM sams WHERE name = ?");
    if (!sam.bind(1, kDomain).step()) throw std::runtime_error("No domain in the world");
    const int64_t samId = sam.integer(0);

    Statement users = source.prepare(
        "SELECT a.id, a.name FROM accounts a JOIN users u ON u.account_id = a.id "
        "WHERE a.sam_id = ? AND a.kind = 1 AND (u.flags & 512) != 0 ORDER BY a.rid");
    Statement addUser = target.prepare("INSERT INTO User (UserName) VALUES (?)");
    std::unordered_map<int64_t, int64_t> userIds;
    for (users.bind(1, samId); users.step();) {
        addUser.bind(1, users.text(1)).run();
        addUser.reset();
        userIds.emplace(users.integer(0), target.lastInsertId());
    }

    // Local groups (alias 4) first, then global ones (2), as the load adds them.
    Statement groups = source.prepare(
        "SELECT id, name, kind FROM accounts WHERE sam_id = ? AND kind IN (2, 4) "
        "ORDER BY kind DESC, rid");
    Statement globalMembers =
        source.prepare("SELECT user_id FROM group_members WHERE group_id = ? ORDER BY user_rid");
    Statement localMembers =
        source.prepare("SELECT member_id FROM alias_members WHERE alias_id = ? ORDER BY id");
    Statement addGroup = target.prepare("INSERT INTO [Group] (GroupName, IsGlobal) VALUES (?, ?)");
    Statement addMember = target.prepare("INSERT INTO GroupUser (GroupID, UserID) VALUES (?, ?)");
    for (groups.bind(1, samId); groups.step();) {
        const bool global = groups.integer(2) == 2;
        addGroup.bind(1, groups.text(1)).bind(2, global ? -1 : 0).run();
        addGroup.reset();
        const int64_t groupId = target.lastInsertId();
        Statement &members = global ? globalMembers : localMembers;
        for (members.bind(1, groups.integer(0)); members.step();) {
            if (const auto user = userIds.find(members.integer(0)); user != userIds.end()) {
                addMember.bind(1, groupId).bind(2, user->second).run();
                addMember.reset();
            }
        }
        members.reset();
    }
    transaction.commit();
}

double secondsOf(const std::function<void()> &work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void SnapshotLoad(benchmark::State &state) {
    const int users = static_cast<int>(state.range(0));
    GeneratedDomain &domain = domainOf(users);
    StringNameList workList;
    clsData data(domain.folder());
    data.WorkList(workList);
    gDomainName = kDomain;

    double loadSeconds = 0, floorSeconds = 0, physicalSeconds = 0, loadPeak = 0, floorPeak = 0;
    for (auto _ : state) {
        resetPeakMemory();
        const double thisLoad = secondsOf([&] { data.TargetSAM(kServer); });
        loadSeconds += thisLoad;
        loadPeak = std::max(loadPeak, peakMemoryMB());
        if (data.LastErr().Number() != 0) {
            state.SkipWithError(data.LastErr().ErrList().c_str());
            return;
        }
        state.SetIterationTime(thisLoad);

        resetPeakMemory();
        floorSeconds +=
            secondsOf([&] { insertRows(domain.folder() / "floor.db", enumerateDomain(kServer)); });
        floorPeak = std::max(floorPeak, peakMemoryMB());

        physicalSeconds += secondsOf([&] {
            copyWorldRows(domain.folder() / "samworld.db", domain.folder() / "physical.db");
        });
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["floor_ms"] = floorSeconds / iterations * 1000;
    state.counters["load_peak_MB"] = loadPeak;
    state.counters["floor_peak_MB"] = floorPeak;
    state.counters["load_to_floor"] = loadSeconds / floorSeconds;
    state.counters["physical_floor_ms"] = physicalSeconds / iterations * 1000;
    state.counters["load_to_physical"] = loadSeconds / physicalSeconds;
}

// The platform's share of the load: the same calls with the same levels and batch sizes as
// the library makes them, straight to the Net* functions, the names kept as they come.
using Batch = std::function<NET_API_STATUS(LPBYTE *, DWORD *, DWORD_PTR *)>;

template <class Info, class Name>
std::vector<std::u16string> platformNames(const Batch &call, Name name) {
    std::vector<std::u16string> names;
    DWORD_PTR resume = 0;
    NET_API_STATUS status = ERROR_MORE_DATA;
    while (status == ERROR_MORE_DATA) {
        LPBYTE buffer = nullptr;
        DWORD read = 0;
        status = call(&buffer, &read, &resume);
        const auto *entries = reinterpret_cast<const Info *>(buffer);
        for (DWORD i = 0; i < read; ++i) names.emplace_back(entries[i].*name);
        NetApiBufferFree(buffer);
    }
    if (status != NERR_Success) {
        throw std::runtime_error("A Net* enumeration failed with status " + std::to_string(status));
    }
    return names;
}

size_t enumeratePlatform() {
    const char16_t *server = u"SPRUCE";
    DWORD total = 0;
    // Users at the level the load asks for: names with their full names, comments and flags.
    size_t names = platformNames<USER_INFO_20>(
                       [&](LPBYTE *buffer, DWORD *read, DWORD_PTR *resume) {
                           DWORD handle = static_cast<DWORD>(*resume);
                           const auto status = NetUserEnum(server, 20, FILTER_NORMAL_ACCOUNT, buffer,
                                                           1024, read, &total, &handle);
                           *resume = handle;
                           return status;
                       },
                       &USER_INFO_20::usri20_name)
                       .size();
    // Groups with their comments.
    const auto locals = platformNames<LOCALGROUP_INFO_1>(
        [&](LPBYTE *buffer, DWORD *read, DWORD_PTR *resume) {
            return NetLocalGroupEnum(server, 1, buffer, 1024, read, &total, resume);
        },
        &LOCALGROUP_INFO_1::lgrpi1_name);
    const auto globals = platformNames<GROUP_INFO_1>(
        [&](LPBYTE *buffer, DWORD *read, DWORD_PTR *resume) {
            return NetGroupEnum(server, 1, buffer, 1024, read, &total, resume);
        },
        &GROUP_INFO_1::grpi1_name);
    for (const auto &group : locals) {
        names += platformNames<LOCALGROUP_MEMBERS_INFO_2>(
                     [&](LPBYTE *buffer, DWORD *read, DWORD_PTR *resume) {
                         return NetLocalGroupGetMembers(server, group.c_str(), 2, buffer, 3072,
                                                        read, &total, resume);
                     },
                     &LOCALGROUP_MEMBERS_INFO_2::lgrmi2_domainandname)
                     .size();
    }
    for (const auto &group : globals) {
        names += platformNames<GROUP_USERS_INFO_0>(
                     [&](LPBYTE *buffer, DWORD *read, DWORD_PTR *resume) {
                         return NetGroupGetUsers(server, group.c_str(), 0, buffer, 1024, read,
                                                 &total, resume);
                     },
                     &GROUP_USERS_INFO_0::grui0_name)
                     .size();
    }
    return names + locals.size() + globals.size();
}

// The load's shares apart, in wall time: the library's enumerations into plain lists (the
// library and the platform), and the platform's calls alone.
void Enumerations(benchmark::State &state, bool platformOnly) {
    domainOf(static_cast<int>(state.range(0)));
    size_t names = 0;
    for (auto _ : state) {
        if (platformOnly) {
            names = enumeratePlatform();
        } else {
            const Enumerated all = enumerateDomain(kServer);
            names = all.users.size() + all.groups.size();
            for (const auto &members : all.members) names += members.size();
        }
    }
    state.counters["names"] = static_cast<double>(names);
}

void LibraryEnumerations(benchmark::State &state) { Enumerations(state, false); }
void PlatformEnumerations(benchmark::State &state) { Enumerations(state, true); }

}  // namespace

BENCHMARK(SnapshotLoad)
    ->Arg(1000)
    ->Arg(10000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
// One load of the largest domain takes minutes: once is enough to measure it.
BENCHMARK(SnapshotLoad)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
// The load's enumerations alone: through the library, and the platform's calls alone.
BENCHMARK(LibraryEnumerations)
    ->Arg(10000)
    ->Arg(100000)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(PlatformEnumerations)
    ->Arg(10000)
    ->Arg(100000)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// --million adds the load of a 1,000,000-user domain (20,000 groups): about two minutes more,
// most of it building the domain.
int main(int argc, char **argv) {
    const auto end = std::remove(argv + 1, argv + argc, std::string_view("--million"));
    if (end != argv + argc) {
        benchmark::RegisterBenchmark("SnapshotLoad", SnapshotLoad)
            ->Arg(1000000)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    }
    argc = static_cast<int>(end - argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
