#include "testing/WorldTest.h"

#include <cstdlib>

void WorldTest::SetUp() {
    const std::string path = (folder() / "samworld.db").string();
    world_.emplace(samworld::World::create(path, samworld::PasswordCost::Quick));
    ASSERT_EQ(setenv("SAMWORLD", path.c_str(), 1), 0);
}

void WorldTest::TearDown() {
    unsetenv("SAMWORLD");
    world_.reset();
}

void WorldTest::addDomainCorp() {
    world().addDomain("CORP", "ALDER");
    world().logon("CORP\\Administrator");
}

void WorldTest::addStandAlonePc1() {
    world().addMachine("PC1", "", "OFFICE", false);
    world().logon("PC1\\Administrator");
}
