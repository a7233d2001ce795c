// The account objects on a large target: the common-membership queries on a 100,000-user
// snapshot (two crews of 50,000 members each, every user in Domain Users), and Update of one
// field on 1,000 users through the embedded world, against the bare library calls it makes
// and against the platform's NetUserSetInfo alone.
#include "lm.h"
#include "samworld/world.h"
#include "store/ProgramValues.h"
#include "testing/TempFolder.h"
#include "unicode.hpp"
#include "vantry_api/NameList.h"
#include "vantry_api/ProgramFolder.h"
#include "vantry_api/UserReadBuffers.h"
#include "vantry_api/modVantryDeclare.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const char *const kDomain = "BENCH";
const char *const kServer = "\\\\SPRUCE";
constexpr int kUsers = 100000;
constexpr int kCrews = 2;
constexpr int kCrewMembers = 50000;
constexpr int kSelected = 1000;

// The generated domain and its loaded snapshot, with both account objects open; built once.
class LoadedDomain {
public:
    LoadedDomain() {
        const std::string path = (folder_.path() / "samworld.db").string();
        samworld::World world = samworld::World::create(path, samworld::PasswordCost::Quick);
        world.addDomain(kDomain, "SPRUCE");
        world.logon(std::string(kDomain) + "\\Administrator");
        world.generate(kDomain, kUsers, kCrews, kCrewMembers, 7);
        setenv("SAMWORLD", path.c_str(), 1);
        std::filesystem::copy_file(ProgramFolder() / "Template.MDB",
                                   folder_.path() / "Template.MDB");

        data_ = std::make_unique<clsData>(folder_.path());
        data_->WorkList(workList_);
        gDomainName = kDomain;
        data_->TargetSAM(kServer);
        if (data_->LastErr().Number() != 0 || data_->User().OpenData() ||
            data_->Group().OpenData()) {
            throw std::runtime_error("Opening the snapshot failed: " + data_->LastErr().ErrList());
        }
        data_->User().GetAll(allUsers_);
    }

    clsData &data() { return *data_; }
    // Every hundredth user of the snapshot, in name order.
    std::vector<std::string> selectedUsers() const {
        std::vector<std::string> selected;
        for (int64_t i = 1; i <= allUsers_.Count() && selected.size() < kSelected; i += 100) {
            selected.push_back(allUsers_.Item(i));
        }
        return selected;
    }
    // A generated global group with kCrewMembers members.
    std::string crew() {
        NameArray groups;
        data_->Group().GetByType(1, groups);
        for (const std::string &name : groups) {
            if (name.find("-crew-") != std::string::npos)
                return name;
        }
        throw std::runtime_error("The generated domain has no crew");
    }

private:
    TempFolder folder_;
    StringNameList workList_;
    std::unique_ptr<clsData> data_;
    NameArray allUsers_;
};

LoadedDomain &domain() {
    static LoadedDomain loaded;
    return loaded;
}

void failUnless(bool succeeded, benchmark::State &state) {
    if (!succeeded)
        state.SkipWithError(domain().data().LastErr().ErrList().c_str());
}

void GetCommonGroups(benchmark::State &state) {
    const bool reverse = state.range(0) != 0;
    const auto users = domain().selectedUsers();
    NameArray groups;
    OneBasedArray<int32_t> isGlobal;
    for (auto _ : state) {
        failUnless(!domain().data().User().GetCommonGroups(users, reverse, groups, isGlobal),
                   state);
    }
    state.counters["users"] = static_cast<double>(users.size());
    state.counters["groups"] = static_cast<double>(groups.Count());
}

void GetCommonUsers(benchmark::State &state) {
    const bool reverse = state.range(0) != 0;
    const std::vector<std::string> crew{domain().crew()};
    NameArray users;
    for (auto _ : state) {
        failUnless(!domain().data().Group().GetCommonUsers(crew, reverse, users), state);
    }
    state.counters["users"] = static_cast<double>(users.Count());
}

void UpdateOneField(benchmark::State &state) {
    const auto users = domain().selectedUsers();
    int round = 0;
    for (auto _ : state) {
        Details details;
        details.Add("Comment", "Reviewed in round " + std::to_string(++round));
        for (const std::string &name : users) {
            failUnless(!domain().data().User().Update(name, details), state);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(users.size()));
}

// The floor of UpdateOneField: the same two library calls per user, reading the account and
// writing the comment with the flags, expiry and password-expired value read, and nothing else.
void UpdateFloor(benchmark::State &state) {
    namespace api = modVantryDeclare;
    const auto users = domain().selectedUsers();
    int round = 0;
    for (auto _ : state) {
        std::string comment = "Floor round " + std::to_string(++round);
        for (const std::string &name : users) {
            UserReadBuffers current;
            UserRecord record{};
            const bool read = api::GetUserInfo(kServer, name.c_str(), &current.record()) == 0;
            record.comment = comment.data();
            record.flags = current.record().flags;
            record.acct_expires = current.record().acct_expires;
            record.password_expired = current.record().password_expired;
            if (!read || api::SetUserInfo(kServer, name.c_str(), &record) != 0) {
                state.SkipWithError("A library call failed");
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(users.size()));
}

// What the platform costs per change: NetUserSetInfo on the same 1,000 users, each given the
// record it already has with a new comment (the records are read before the timing starts).
void PlatformSetInfo(benchmark::State &state) {
    const auto users = domain().selectedUsers();
    std::vector<std::u16string> names;
    std::vector<std::unique_ptr<USER_INFO_3, decltype(&NetApiBufferFree)>> records;
    for (const std::string &name : users) {
        names.push_back(*win32::toUtf16(name));
        LPBYTE record = nullptr;
        if (NetUserGetInfo(u"SPRUCE", names.back().c_str(), 3, &record) != NERR_Success) {
            state.SkipWithError("NetUserGetInfo failed");
            return;
        }
        records.emplace_back(reinterpret_cast<USER_INFO_3 *>(record), &NetApiBufferFree);
    }
    int round = 0;
    for (auto _ : state) {
        std::u16string comment = *win32::toUtf16("Platform round " + std::to_string(++round));
        for (size_t i = 0; i < records.size(); ++i) {
            records[i]->usri3_comment = comment.data();
            if (NetUserSetInfo(u"SPRUCE", names[i].c_str(), 3,
                               reinterpret_cast<LPBYTE>(records[i].get()), nullptr) != NERR_Success) {
                state.SkipWithError("NetUserSetInfo failed");
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(records.size()));
}

}  // namespace

BENCHMARK(GetCommonGroups)->ArgName("reverse")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(GetCommonUsers)->ArgName("reverse")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(UpdateOneField)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(UpdateFloor)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(PlatformSetInfo)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

BENCHMARK_MAIN();
