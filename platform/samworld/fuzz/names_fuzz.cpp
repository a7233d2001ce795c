// The world's name rules with fuzzed names: an account or machine name is taken exactly when it
// is valid and no other name of its SAM (or no other machine) is the same without regard to
// case; a taken name is found again however its ASCII letters are cased; folding keeps UTF-8
// UTF-8; DOMAIN\NAME splits back into its parts.
//
// Each input starts from the same small world, put back before every run.
#include "samworld/accounts.h"
#include "samworld/names.h"
#include "samworld/network.h"
#include "samworld/world.h"
#include "unicode.hpp"

#include <fuzzer/FuzzedDataProvider.h>

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

namespace samworld {
namespace {

void require(bool condition) {
    if (!condition) __builtin_trap();
}

std::string asciiCased(std::string text, bool upper) {
    for (char &c : text) {
        if (upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (!upper && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

uint32_t statusOf(const auto &action) {
    try {
        action();
    } catch (const Error &error) {
        return error.status;
    }
    return 0;
}

void checkFolding(const std::string &name) {
    const std::string folded = foldCase(name);
    require(win32::toUtf16(name).has_value() == win32::toUtf16(folded).has_value());
    require(foldCase(asciiCased(name, true)) == foldCase(asciiCased(name, false)) ||
            !win32::toUtf16(name));
    if (name.find('\\') == std::string::npos) {
        const QualifiedName split = splitQualifiedName("CORP\\" + name);
        require(split.domain == "CORP" && split.name == name);
    }
}

// Tries to add the names as accounts of CORP; `taken` holds the folded names already there.
void checkAccounts(World &world, const std::vector<std::string> &names, std::set<std::string> &taken) {
    const Sam corp(world.database(), Network(world.database()).sam("CORP"));
    for (const std::string &name : names) {
        const bool valid = isValidAccountName(name);
        const bool clash = valid && taken.count(foldCase(name)) != 0;
        const uint32_t status = statusOf([&] { world.addUser("CORP", name); });
        if (!valid) {
            require(status == NERR_BadUsername);
        } else if (clash) {
            require(status == NERR_UserExists || status == NERR_GroupExists ||
                    status == ERROR_ALIAS_EXISTS);
        } else {
            require(status == 0);
            taken.insert(foldCase(name));
            for (const bool upper : {true, false}) {
                const auto found = corp.find(asciiCased(name, upper));
                require(found.has_value() && found->name == name);
            }
        }
    }
}

void checkMachines(World &world, const std::vector<std::string> &names, std::set<std::string> &taken) {
    for (const std::string &name : names) {
        const bool valid = isValidMachineName(name);
        const bool clash = valid && taken.count(foldCase(name)) != 0;
        const uint32_t status = statusOf([&] { world.addMachine(name, "", "MOOR", false); });
        if (!valid) {
            require(status == ERROR_INVALID_NAME);
        } else if (clash) {
            require(status == ERROR_ALREADY_EXISTS);
        } else {
            require(status == 0);
            taken.insert(foldCase(name));
            require(Network(world.database()).findMachine(asciiCased(name, false)).has_value());
        }
    }
}

std::filesystem::path pristineWorld;
std::filesystem::path worldPath;

void buildWorld() {
    std::string folder = (std::filesystem::temp_directory_path() / "samworld-fuzz-XXXXXX").string();
    require(mkdtemp(folder.data()) != nullptr);
    pristineWorld = std::filesystem::path(folder) / "pristine.db";
    worldPath = std::filesystem::path(folder) / "samworld.db";
    World built = World::create(pristineWorld.string(), PasswordCost::Quick);
    built.addDomain("CORP", "ALDER");
    built.database().execute("PRAGMA wal_checkpoint(TRUNCATE)");
}

}  // namespace
}  // namespace samworld

using namespace samworld;

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    buildWorld();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    for (const char *suffix : {"-wal", "-shm"}) std::filesystem::remove(worldPath.string() + suffix);
    std::filesystem::copy_file(pristineWorld, worldPath,
                               std::filesystem::copy_options::overwrite_existing);
    World world = World::open(worldPath.string());

    FuzzedDataProvider input(data, size);
    std::vector<std::string> accounts, machines;
    while (input.remaining_bytes() > 0 && accounts.size() + machines.size() < 6) {
        const bool machine = input.ConsumeBool();
        std::string name = input.ConsumeRandomLengthString(80);
        checkFolding(name);
        (machine ? machines : accounts).push_back(std::move(name));
    }
    std::set<std::string> takenAccounts;
    for (const char *builtin : {"Administrator", "Guest", "Domain Users", "Domain Admins",
                                "Domain Guests", "Administrators", "Users", "Guests", "ALDER$"}) {
        takenAccounts.insert(foldCase(builtin));
    }
    // A machine is named apart from every machine and every SAM, such as the domain CORP.
    std::set<std::string> takenMachines = {foldCase("ALDER"), foldCase("CORP")};
    checkAccounts(world, accounts, takenAccounts);
    checkMachines(world, machines, takenMachines);
    return 0;
}
