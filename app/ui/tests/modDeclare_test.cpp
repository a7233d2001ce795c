#include "store/ProgramValues.h"
#include "ui/modDeclare.h"

#include <gtest/gtest.h>

namespace {

TEST(InitDeclarations, FillsTheItemWordsAndRelationshipCaptions) {
    ItemStrings = {};
    InitDeclarations();
    const std::array<std::array<std::string, 5>, 2> expected{{
        {"User", "Is in &Groups:", "Is &not in Groups:", "Are all in &Groups:",
         "Are &Not all in Groups"},
        {"Group", "Has &Members:", "Does &not have Users:", "All have &Users:",
         "Do &not all have Users:"},
    }};
    EXPECT_EQ(ItemStrings, expected);
}

TEST(OutOfStepWarning, BreaksLinesWithLineFeedThenCarriageReturn) {
    EXPECT_EQ(std::string(OutOfStepWarning),
              "Tarnwick's local copy of User and Group data may be out of step with the Target "
              "SAM database.\n\r\n\rSuggestion: Click the Refresh button to get an up-to-date "
              "view of the data.");
}

}  // namespace
