// A test case with its own SAM world: a fresh world file in a temporary folder, named by
// SAMWORLD for the platform before the case runs. Cases describe their network through
// world(); the logged-on caller is whoever the case logs on.
#pragma once

#include "samworld/world.h"
#include "testing/TempFolder.h"

#include <gtest/gtest.h>

#include <optional>

// An ordinary enabled user with this password.
inline samworld::UserOptions withPassword(const std::string &password) {
    samworld::UserOptions options;
    options.password = password;
    return options;
}

class WorldTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    samworld::World &world() { return *world_; }
    const std::filesystem::path &folder() const { return folder_.path(); }

    // Domain CORP with controller \\ALDER, its administrator logged on.
    void addDomainCorp();
    // Stand-alone machine PC1 in workgroup OFFICE, its administrator logged on.
    void addStandAlonePc1();

private:
    TempFolder folder_;
    std::optional<samworld::World> world_;
};
