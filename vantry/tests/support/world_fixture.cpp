#include "world_fixture.hpp"

#include "samworld/network.h"

#include <cstdlib>
#include <string>

namespace vantry_test {

void WorldTest::SetUp() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vantry-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    const std::string path = (folder_ / "samworld.db").string();
    world_.emplace(samworld::World::create(path, samworld::PasswordCost::Quick));
    setenv("SAMWORLD", path.c_str(), 1);
}

samworld::Sam WorldTest::sam(const std::string &name) {
    return samworld::Sam(world().database(), samworld::Network(world().database()).sam(name));
}

void WorldTest::useLocalController() {
    world().addDomain(kDomain, kController);
    world().addMachine(kController, kDomain, "", true);
    world().logon(std::string(kDomain) + "\\Administrator");
}

void WorldTest::failCalls(const std::string &call, uint32_t status, int after, int count) {
    samworld::Fault fault;
    fault.call = call;
    fault.status = status;
    fault.after = after;
    fault.count = count;
    world().addFault(fault);
}

void WorldTest::TearDown() {
    world_.reset();
    unsetenv("SAMWORLD");
    std::filesystem::remove_all(folder_);
}

}  // namespace vantry_test
