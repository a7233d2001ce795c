// The snapshot load of a generated domain, end to end, against its floor: the same
// enumerations through the library into a plain list, plus inserting the same rows into a
// fresh SQLite file in one transaction. Reports both, their ratio and the peak memory of each.
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
        "CREATE TABLE User (UserID INTEGER PRIMARY KEY, UserName TEXT);"
        "CREATE TABLE [Group] (GroupID INTEGER PRIMARY KEY, GroupName TEXT, IsGlobal INTEGER);"
        "CREATE TABLE GroupUser (GroupID INTEGER, UserID INTEGER);");
    Transaction transaction(store);
    Statement addUser = store.prepare("INSERT INTO User (UserID, UserName) VALUES (?, ?)");
    Statement addGroup = store.prepare("INSERT INTO [Group] VALUES (?, ?, ?)");
    Statement addMember = store.prepare("INSERT INTO GroupUser VALUES (?, ?)");
    std::unordered_map<std::string, int64_t> userIds;
    for (const auto &user : rows.users) {
        const int64_t id = static_cast<int64_t>(userIds.size()) + 1;
        userIds.emplace(user, id);
        addUser.bind(1, id).bind(2, user).run();
        addUser.reset();
    }
    const std::string prefix = std::string(kDomain) + "\\";
    for (std::size_t g = 0; g < rows.groups.size(); ++g) {
        const auto groupId = static_cast<int64_t>(g) + 1;
        addGroup.bind(1, groupId)
            .bind(2, rows.groups[g].first)
            .bind(3, rows.groups[g].second ? -1 : 0)
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

    double loadSeconds = 0, floorSeconds = 0, loadPeak = 0, floorPeak = 0;
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
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["floor_ms"] = floorSeconds / iterations * 1000;
    state.counters["load_peak_MB"] = loadPeak;
    state.counters["floor_peak_MB"] = floorPeak;
    state.counters["load_to_floor"] = loadSeconds / floorSeconds;
}

// The platform's share of the load's user list: every user through NetUserEnum level 0 in the
// library's 1,024-byte batches, straight into a vector.
void PlatformUserEnum(benchmark::State &state) {
    domainOf(static_cast<int>(state.range(0)));
    size_t users = 0;
    for (auto _ : state) {
        DWORD resume = 0;
        NET_API_STATUS status = ERROR_MORE_DATA;
        std::vector<std::u16string> names;
        while (status == ERROR_MORE_DATA) {
            LPBYTE buffer = nullptr;
            DWORD read = 0, total = 0;
            status = NetUserEnum(u"SPRUCE", 0, FILTER_NORMAL_ACCOUNT, &buffer, 1024, &read, &total,
                                 &resume);
            const auto *entries = reinterpret_cast<const USER_INFO_0 *>(buffer);
            for (DWORD i = 0; i < read; ++i) names.emplace_back(entries[i].usri0_name);
            NetApiBufferFree(buffer);
        }
        if (status != NERR_Success) {
            state.SkipWithError("NetUserEnum failed");
            return;
        }
        users = names.size();
    }
    state.counters["users"] = static_cast<double>(users);
}

}  // namespace

BENCHMARK(SnapshotLoad)
    ->Arg(1000)
    ->Arg(10000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
// One load of the largest domain takes minutes: once is enough to measure it.
BENCHMARK(SnapshotLoad)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(PlatformUserEnum)->Arg(100000)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
