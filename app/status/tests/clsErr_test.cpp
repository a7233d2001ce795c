#include "status/clsErr.h"

#include <gtest/gtest.h>

namespace {

TEST(clsErr, StartsEmpty) {
    const clsErr errors;
    EXPECT_EQ(errors.Number(), 0);
    EXPECT_EQ(errors.Description(), "");
    EXPECT_EQ(errors.ErrList(), "");
}

TEST(clsErr, SingleEntryReadsAsBareDescription) {
    clsErr errors;
    errors.Description("Access denied.");
    EXPECT_EQ(errors.ErrList(), "Access denied.\n\r");
}

TEST(clsErr, EntriesAreNumberedAndEndInLineFeedCarriageReturn) {
    clsErr errors;
    errors.Description("A");
    errors.Description("B");
    EXPECT_EQ(errors.ErrList(), "1. A\n\r2. B\n\r");
    EXPECT_EQ(errors.Description(), "B");
}

TEST(clsErr, EmptyDescriptionEmptiesTheListButNumberingGoesOn) {
    clsErr errors;
    errors.Description("A");
    errors.Description("B");
    errors.Description("");
    EXPECT_EQ(errors.ErrList(), "");
    errors.Description("C");
    EXPECT_EQ(errors.ErrList(), "3. C\n\r");
}

TEST(clsErr, ASingleEntryEmptiedAwayLeavesAnEmptyList) {
    clsErr errors;
    errors.Description("A");
    errors.Description("");
    EXPECT_EQ(errors.ErrList(), "");
}

TEST(clsErr, NumbersOutsideTheRangeAreStoredAs17) {
    clsErr errors;
    const std::pair<int32_t, int32_t> cases[] = {
        {0, 0}, {65534, 65534}, {65535, 17}, {-1, 17}, {kProgramErrorNumber, 17}, {2221, 2221}};
    for (const auto &[given, stored] : cases) {
        errors.Number(given);
        EXPECT_EQ(errors.Number(), stored) << given;
    }
}

TEST(clsErr, RefreshForgetsEverything) {
    clsErr errors;
    errors.Number(5);
    errors.Description("A");
    errors.Description("B");
    errors.Refresh();
    EXPECT_EQ(errors.Number(), 0);
    EXPECT_EQ(errors.Description(), "");
    EXPECT_EQ(errors.ErrList(), "");
    errors.Description("C");
    EXPECT_EQ(errors.ErrList(), "C\n\r");
}

TEST(clsErr, CloneErrRecordsTheHandledError) {
    clsErr errors;
    try {
        throw ProgramError(kProgramErrorNumber, "clsData", "Get users failed: Access denied.");
    } catch (...) {
        errors.CloneErr();
    }
    EXPECT_EQ(errors.Number(), 17);
    EXPECT_EQ(errors.ErrList(), "Get users failed: Access denied.\n\r");
}

TEST(clsErr, CloneErrTakesForeignExceptionsByTheirText) {
    clsErr errors;
    errors.Description("first");
    try {
        throw std::runtime_error("disk full");
    } catch (...) {
        errors.CloneErr();
    }
    EXPECT_EQ(errors.ErrList(), "1. first\n\r2. disk full\n\r");
}

TEST(clsErr, CountsPastSixteenBits) {
    clsErr errors;
    for (int i = 0; i < 40000; ++i) {
        errors.Description("x");
    }
    EXPECT_EQ(errors.count(), 40000);
    const std::string list = errors.ErrList();
    EXPECT_EQ(list.substr(list.size() - 10), "40000. x\n\r");
}

}  // namespace
