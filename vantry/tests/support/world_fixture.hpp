// A fresh world file per test case, named by SAMWORLD for the platform calls, and removed
// afterwards.
#pragma once

#include "samworld/accounts.h"
#include "samworld/world.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace vantry_test {

class WorldTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    samworld::World &world() { return *world_; }
    // The accounts of one SAM, for what the world's own operations do not offer.
    samworld::Sam sam(const std::string &name);

    // The network most cases need: ALDER, the machine that empty server text names, is the
    // controller of CORP, and the caller is CORP's Administrator.
    static constexpr const char *kDomain = "CORP";
    static constexpr const char *kController = "ALDER";
    void useLocalController();

    // Make the next `count` calls of a Net* function (after `after` good ones) fail with status;
    // count -1: every call.
    void failCalls(const std::string &call, uint32_t status, int after = 0, int count = 1);

private:
    std::filesystem::path folder_;
    std::optional<samworld::World> world_;
};

}  // namespace vantry_test
