#include "status/ShowErrors.h"

#include "testing/RecordingPresenter.h"

#include <gtest/gtest.h>

namespace {

TEST(ShowErrors, ShowsCaptionAndListTitledErrorWithExclamation) {
    RecordingPresenter presenter;
    clsErr errors;
    errors.Number(-1);
    errors.Description("User not found: ann");
    errors.Description("Group not found: staff");

    EXPECT_EQ(ShowErrors(errors, "Error during add"), 17);

    ASSERT_EQ(presenter.shown().size(), 1u);
    const ShownMessage &shown = presenter.shown()[0];
    EXPECT_EQ(shown.text,
              "Error during add:\n\r1. User not found: ann\n\r2. Group not found: staff\n\r");
    EXPECT_EQ(shown.title, "Error");
    EXPECT_EQ(shown.icon, MsgIcon::Exclamation);
    EXPECT_EQ(shown.buttons, MsgButtons::OKOnly);
}

TEST(ShowErrors, EmptyCaptionAndListShowsAnEmptyBox) {
    RecordingPresenter presenter;
    const clsErr errors;
    EXPECT_EQ(ShowErrors(errors, ""), 0);
    ASSERT_EQ(presenter.shown().size(), 1u);
    EXPECT_EQ(presenter.shown()[0].text, "");
    EXPECT_EQ(presenter.shown()[0].title, "Error");
}

TEST(ShowErrors, PlainShowsOnlyTheCaption) {
    RecordingPresenter presenter;
    clsErr errors;
    errors.Description("hidden");
    ShowErrors(errors, "Failed to add test user: Access denied.", true);
    ASSERT_EQ(presenter.shown().size(), 1u);
    EXPECT_EQ(presenter.shown()[0].text, "Failed to add test user: Access denied.");
}

TEST(MsgBox, WithoutAPresenterIsAProgrammingError) {
    EXPECT_THROW(MsgBox("text", MsgButtons::OKOnly, MsgIcon::None, "title"), std::logic_error);
}

TEST(MsgBox, ScopesRestoreThePreviousPresenter) {
    RecordingPresenter outer;
    {
        RecordingPresenter inner;
        inner.answerNext(MsgAnswer::No);
        EXPECT_EQ(MsgBox("Delete?", MsgButtons::YesNo, MsgIcon::Question, "Deleting"),
                  MsgAnswer::No);
        EXPECT_EQ(inner.shown().size(), 1u);
    }
    MsgBox("after", MsgButtons::OKOnly, MsgIcon::None, "t");
    EXPECT_EQ(outer.shown().size(), 1u);
}

}  // namespace
