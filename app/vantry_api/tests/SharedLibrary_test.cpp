#include "vantry_api/SharedLibrary.h"

#include "status/ProgramError.h"
#include "vantry_api/ProgramFolder.h"
#include "vantry_api/modVantryDeclare.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

void expectFailureNaming(const std::function<void()> &call, const std::string &library,
                         const std::string &exportName) {
    try {
        call();
        ADD_FAILURE() << "no error raised";
    } catch (const ProgramError &error) {
        EXPECT_EQ(error.number(), kProgramErrorNumber);
        EXPECT_EQ(error.source(), "modVantryDeclare");
        EXPECT_NE(error.description().find(library), std::string::npos) << error.what();
        EXPECT_NE(error.description().find(exportName), std::string::npos) << error.what();
    }
}

TEST(SharedLibrary, AMissingLibraryFailsTheCallNamingLibraryAndExport) {
    SharedLibrary missing("libtarnwick-absent.so");
    const LateBound<uint32_t(const char *)> deleteEverything{missing, "DeleteEverything"};
    expectFailureNaming([&] { deleteEverything("\\\\ALDER"); }, "libtarnwick-absent.so",
                        "DeleteEverything");
    // Still failing, not crashing, on a second call.
    expectFailureNaming([&] { deleteEverything("\\\\ALDER"); }, "libtarnwick-absent.so",
                        "DeleteEverything");
}

TEST(SharedLibrary, ALibraryBesideTheProgramThatCannotBeLoadedGivesTheLoadersReason) {
    const std::filesystem::path broken = ProgramFolder() / "libtarnwick-broken.so";
    std::ofstream(broken) << "not a library";
    SharedLibrary library("libtarnwick-broken.so");
    const LateBound<uint32_t()> anything{library, "Anything"};
    try {
        anything();
        ADD_FAILURE() << "no error raised";
    } catch (const ProgramError &error) {
        EXPECT_NE(error.description().find("file too short"), std::string::npos) << error.what();
        EXPECT_EQ(error.description().find("No such file"), std::string::npos) << error.what();
    }
    std::filesystem::remove(broken);
}

TEST(SharedLibrary, AMissingExportFailsTheCallNamingLibraryAndExport) {
    const LateBound<uint32_t()> absent{modVantryDeclare::VantryLibrary(), "NoSuchExport"};
    expectFailureNaming([&] { absent(); }, "libvantry.so", "NoSuchExport");
}

}  // namespace
