// A case with its own world and its own store folder: the built template is copied into the
// case's folder, so cases running side by side never share a working file.
#pragma once

#include "store/clsData.h"
#include "testing/WorldTest.h"
#include "vantry_api/NameList.h"

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

class StoreTest : public WorldTest {
protected:
    void SetUp() override;
    void TearDown() override;

    clsData &data() { return *data_; }
    // Opens the case's store afresh, as at the start of a run.
    void recreateData();

    // The working file's rows, read through a connection of the test's own.
    std::vector<std::string> storedUsers() const;
    // Group name and whether it is global.
    std::set<std::pair<std::string, bool>> storedGroups() const;
    // Group name and user name.
    std::set<std::pair<std::string, std::string>> storedMemberships() const;

private:
    StringNameList workList_;
    std::optional<clsData> data_;
};
