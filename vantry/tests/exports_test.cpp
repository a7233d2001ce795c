// The built library, loaded as the program loads it: by name, each export found by name.
#include "dynamic_symbols.hpp"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

namespace {

const std::set<std::string> kExports = {
    "CreateUser",         "DeleteUser",          "GetUserInfo",
    "SetUserInfo",        "GetAllUsers",         "GetUserGroups",
    "CreateGroup",        "DeleteGroup",         "GroupAdjustUsers",
    "LocalGroupAdjustMembers", "GetGroupInfo",   "SetGroupInfo",
    "GetAllGroups",       "GetGroupUsers",       "GetLocalGroupMembers",
    "GetLocalGroupMembers2", "GetLocalGroupUsers", "GetDomainServer",
    "CreateShare",        "DeleteShare",         "GetUserLogons",
    "GetDomainName",
};

struct LibraryCloser {
    void operator()(void *library) const { dlclose(library); }
};

TEST(VantryLibrary, LoadsAndOffersAll22ExportsByName) {
    ASSERT_EQ(kExports.size(), 22u);
    const std::unique_ptr<void, LibraryCloser> library(dlopen(VANTRY_LIBRARY, RTLD_NOW | RTLD_LOCAL));
    ASSERT_NE(library, nullptr) << dlerror();
    for (const std::string &name : kExports) {
        EXPECT_NE(dlsym(library.get(), name.c_str()), nullptr) << name;
    }
}

TEST(VantryLibrary, ExportsNothingElseOfItsOwn) {
    EXPECT_EQ(vantry_test::definedDynamicSymbols(VANTRY_LIBRARY), kExports);
}

}  // namespace
