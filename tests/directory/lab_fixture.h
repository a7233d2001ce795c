// The directory tests' case: the lab domain (TARN, controller DC1) that scripts/directory-lab
// provisions and seeds, reached through the program's own layers (libvantry.so and the
// platform below it) from inside the lab's network namespace. The lab script sets the
// variables these tests read: TARNWICK_DIRECTORIES, LAB_ADMIN, LAB_PASSWORD, LAB_SCRIPT.
#pragma once

#include "store/clsData.h"
#include "testing/TempFolder.h"
#include "vantry_api/NameList.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

inline constexpr const char *kLabServer = "\\\\DC1";
inline constexpr int kSeededUsers = 1000;

std::string labVariable(const char *name);
// "user0001" and so on, as the lab seeds them.
std::string seededUser(int number);

// Gives the platform a name and password for the lab's controller; the call's status.
uint32_t connectAs(const std::string &user, const std::string &password);
// The lab administrator's name and password, as the lab script made them.
uint32_t connectAsAdministrator();

// The names a list export delivers, with its status.
struct Delivered {
    uint32_t status;
    std::vector<std::string> names;
    std::vector<ListedDetails> details;  // what the listing said of each name, where it did
};

class LabTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    clsData &data() { return *data_; }
    // Opens the store on the lab domain and its account objects' data; fails the case when the
    // load reports anything.
    void loadSnapshot();
    // A fresh user of this case, removed again at the end; name "lab" + suffix.
    std::string scratchUser(const std::string &suffix, const std::string &password = "Lab-pw-123");
    // A fresh group likewise.
    std::string scratchGroup(const std::string &suffix, bool global);

    StringNameList workList_;

private:
    TempFolder folder_;
    std::optional<clsData> data_;
    std::vector<std::string> users_;
    std::vector<std::pair<std::string, bool>> groups_;
};

// The lab's controller stopped for as long as the guard lives, and started again after it.
class ControllerAway {
public:
    ControllerAway();
    ~ControllerAway();
    ControllerAway(const ControllerAway &) = delete;
    ControllerAway &operator=(const ControllerAway &) = delete;
};
