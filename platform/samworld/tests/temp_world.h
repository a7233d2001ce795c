// A fresh world per test in its own temporary folder, named by SAMWORLD so that the Net*
// calls and the tool find it; the folder goes when the test ends.
#pragma once

#include "samworld/world.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

namespace samworld::test {

class TempWorldTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "samworld-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        path_ = (folder_ / "samworld.db").string();
        world_.emplace(World::create(path_, PasswordCost::Quick));
        setenv("SAMWORLD", path_.c_str(), 1);
    }

    void TearDown() override {
        world_.reset();
        unsetenv("SAMWORLD");
        std::filesystem::remove_all(folder_);
    }

    World &world() { return *world_; }
    const std::string &path() const { return path_; }
    const std::filesystem::path &folder() const { return folder_; }

private:
    std::filesystem::path folder_;
    std::string path_;
    std::optional<World> world_;
};

}  // namespace samworld::test
