#include "StoreTest.h"

#include "status/ProgramError.h"
#include "store/ProgramValues.h"
#include "testing/RecordingPresenter.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// How many descriptors of this process have the file open.
int openHandlesTo(const std::filesystem::path &file) {
    const auto target = std::filesystem::canonical(file);
    int handles = 0;
    for (const auto &entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        const auto opened = std::filesystem::read_symlink(entry.path(), error);
        handles += !error && opened == target ? 1 : 0;
    }
    return handles;
}

class TargetSAM : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        addDomainCorp();
        world().addUser("CORP", "ann", withPassword("secret-1"));
        gDomainName = "CORP";
    }
};

TEST_F(TargetSAM, BindsFreshAccountObjectsToTheOpenStore) {
    EXPECT_THROW(data().User(), std::logic_error);
    data().TargetSAM("\\\\ALDER");
    ASSERT_EQ(data().LastErr().Number(), 0) << data().LastErr().ErrList();
    for (AccountObject *object : {static_cast<AccountObject *>(&data().User()),
                                  static_cast<AccountObject *>(&data().Group())}) {
        EXPECT_EQ(object->SAMHost(), "\\\\ALDER");
        EXPECT_EQ(object->ErrorObject(), &data().LastErr());
        ASSERT_NE(object->DataSource(), nullptr);
        Statement users =
            object->DataSource()->prepare("SELECT Count(*) FROM User WHERE UserName = 'ann'");
        ASSERT_TRUE(users.step());
        EXPECT_EQ(users.integer(0), 1);
    }
}

TEST_F(TargetSAM, StartsWithAnEmptyErrorList) {
    data().LastErr().Description("from an earlier operation");
    data().TargetSAM("\\\\ALDER");
    EXPECT_EQ(data().LastErr().Number(), 0);
    EXPECT_EQ(data().LastErr().ErrList(), "");
}

TEST_F(TargetSAM, ASecondSwitchClosesTheFirstStore) {
    data().TargetSAM("\\\\ALDER");
    EXPECT_EQ(openHandlesTo(data().WorkingPath()), 1);
    world().addUser("CORP", "bob", withPassword("secret-1"));
    data().TargetSAM("\\\\ALDER");
    EXPECT_EQ(openHandlesTo(data().WorkingPath()), 1);
    const auto users = storedUsers();
    EXPECT_NE(std::find(users.begin(), users.end(), "bob"), users.end());
    const auto workingPath = data().WorkingPath();
    recreateData();
    EXPECT_EQ(openHandlesTo(workingPath), 0);
}

TEST_F(TargetSAM, AMissingTemplateLeavesThePreviousWorkingFile) {
    data().TargetSAM("\\\\ALDER");
    const auto before = storedUsers();
    std::filesystem::remove(data().TemplatePath());
    world().addUser("CORP", "bob", withPassword("secret-1"));

    data().TargetSAM("\\\\ALDER");

    EXPECT_EQ(data().LastErr().count(), 1);
    EXPECT_NE(data().LastErr().ErrList().find("Template.MDB"), std::string::npos);
    EXPECT_EQ(storedUsers(), before);
    EXPECT_EQ(data().User().SAMHost(), "\\\\ALDER");
}

TEST_F(TargetSAM, AMissingWorkingFileFailsTheOpen) {
    std::filesystem::remove(data().TemplatePath());
    data().TargetSAM("\\\\ALDER");
    // The load's copy fails first, then opening the absent working file.
    EXPECT_EQ(data().LastErr().count(), 2);
    EXPECT_FALSE(std::filesystem::exists(data().WorkingPath()));
    EXPECT_THROW(data().User(), std::logic_error);
}

TEST_F(TargetSAM, WithoutAWorkListFailsInsteadOfCrashing) {
    clsData unprepared(folder());
    unprepared.TargetSAM("\\\\ALDER");
    EXPECT_EQ(unprepared.LastErr().ErrList(), "No work list has been set\n\r");
}

TEST_F(TargetSAM, ProgramWideShowErrorsReadsTheStoresList) {
    RecordingPresenter presenter;
    gData = std::make_unique<clsData>(folder());
    gData->LastErr().Description("Get users failed: Access denied.");
    EXPECT_EQ(ShowErrors("Database initialisation failed"), 0);
    ASSERT_EQ(presenter.shown().size(), 1u);
    EXPECT_EQ(presenter.shown()[0].text,
              "Database initialisation failed:\n\rGet users failed: Access denied.\n\r");
    gData.reset();
}

}  // namespace
