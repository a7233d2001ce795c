// Conversions at the library boundary and delivery to a list target.
#include "netclient/list_target.hpp"
#include "netclient/text.hpp"
#include "recording_window.hpp"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

using netclient::CallerTexts;
using netclient::ListTarget;
using netclient::WideText;
using vantry_test::RecordingWindow;

TEST(WideText, AcceptsUpTo255BytesAndRefusesLongerWithoutCutting) {
    WideText wide;
    const std::string longest(255, 'a');
    ASSERT_EQ(wide.assign(longest.c_str()), 0u);
    EXPECT_EQ(std::u16string(wide.get()), std::u16string(255, u'a'));

    // 255 bytes of two-byte characters plus one more byte: still too long in narrow form.
    std::string tooLong;
    for (int i = 0; i < 128; ++i) tooLong += "\xC3\xA9";
    EXPECT_EQ(wide.assign(tooLong.c_str()), static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(wide.assign(std::string(256, 'a').c_str()),
              static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(wide.assign(nullptr), static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
}

TEST(WideText, RefusesTextNotValidInTheCodePage) {
    WideText wide;
    EXPECT_EQ(wide.assign("ann\xFF"), static_cast<uint32_t>(ERROR_NO_UNICODE_TRANSLATION));
    EXPECT_EQ(wide.assign("\xC3"), static_cast<uint32_t>(ERROR_NO_UNICODE_TRANSLATION));
    ASSERT_EQ(wide.assign("J\xC3\xBCrgen"), 0u);
    EXPECT_EQ(std::u16string(wide.get()), u"J\u00FCrgen");
}

class CallerTextsTest : public ::testing::Test {
protected:
    // Caller buffers as the program prepares them: 256 blanks.
    CallerTextsTest() {
        first_.fill(' ');
        second_.fill(' ');
    }
    std::array<char, netclient::kTextBufferSize> first_;
    std::array<char, netclient::kTextBufferSize> second_;
};

TEST_F(CallerTextsTest, WritesTextAndTerminatorAndLeavesTheRestOfTheBuffer) {
    CallerTexts texts;
    ASSERT_EQ(texts.stage(first_.data(), u"Ann"), 0u);
    EXPECT_EQ(first_[0], ' ') << "nothing is written before write()";
    texts.write();
    EXPECT_STREQ(first_.data(), "Ann");
    EXPECT_EQ(first_[4], ' ');
    EXPECT_EQ(first_[255], ' ');
}

TEST_F(CallerTextsTest, TooLongATextIsCutAtACharacterBoundaryAndMarked) {
    const std::u16string fits(255, u'x');
    // One byte, then three-byte characters: 301 bytes narrow, and no cut at byte 252 falls
    // between characters.
    const std::u16string overflows = u"a" + std::u16string(100, u'\u20AC');

    CallerTexts texts;
    ASSERT_EQ(texts.stage(first_.data(), fits.c_str()), 0u);
    ASSERT_EQ(texts.stage(second_.data(), overflows.c_str()), 0u);
    texts.write();
    EXPECT_EQ(std::string(first_.data()), std::string(255, 'x')) << "what fits is never cut";
    std::string expected = "a";
    for (int i = 0; i < 83; ++i) expected += "\xE2\x82\xAC";
    EXPECT_EQ(std::string(second_.data()), expected + "\xE2\x80\xA6");
    EXPECT_TRUE(netclient::isShownFormOf(second_.data(), overflows.c_str()));
    EXPECT_FALSE(netclient::isShownFormOf(expected.c_str(), overflows.c_str()));

    // A name is never cut: it could name another machine.
    second_.fill(' ');
    EXPECT_EQ(netclient::writeCallerText(second_.data(), overflows.c_str()),
              static_cast<uint32_t>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(second_[0], ' ');
}

TEST_F(CallerTextsTest, ATextThatCannotBeConvertedLeavesEveryBufferAsItWas) {
    CallerTexts texts;
    ASSERT_EQ(texts.stage(first_.data(), u"Ann"), 0u);
    const std::u16string broken(1, char16_t(0xDC00));
    EXPECT_EQ(texts.stage(second_.data(), broken.c_str()),
              static_cast<uint32_t>(ERROR_NO_UNICODE_TRANSLATION));
    EXPECT_EQ(first_[0], ' ');
    EXPECT_EQ(second_[0], ' ');
}

TEST(ListTarget, NonZeroKindsAddToAListBoxAndZeroToAComboBox) {
    const std::vector<std::u16string> names = {u"ann", u"bob"};
    for (const int32_t kind : {-1, 1, 0}) {
        RecordingWindow window;
        ASSERT_EQ(ListTarget(kind, window.handle()).deliver(names), 0u);
        ASSERT_EQ(window.messages().size(), 2u);
        for (const auto &message : window.messages()) {
            EXPECT_EQ(message.number, kind != 0 ? LB_ADDSTRING : CB_ADDSTRING) << kind;
            EXPECT_EQ(message.wParam, 0u);
        }
        EXPECT_EQ(window.names(), (std::vector<std::string>{"ann", "bob"}));
    }
}

TEST(ListTarget, DeliversANameLongerThan255BytesWhole) {
    RecordingWindow window;
    const std::vector<std::u16string> names = {u"CORP\\" + std::u16string(300, u'n') + u"\\u"};
    ASSERT_EQ(ListTarget(-1, window.handle()).deliver(names), 0u);
    ASSERT_EQ(window.names().size(), 1u);
    EXPECT_EQ(window.names()[0].size(), 307u);
    EXPECT_TRUE(window.names()[0].ends_with("\\u"));
}

TEST(ListTarget, BatchWithAnUnconvertibleNameDeliversNothing) {
    RecordingWindow window;
    const std::vector<std::u16string> names = {u"ann", std::u16string(1, char16_t(0xDC00))};
    EXPECT_EQ(ListTarget(-1, window.handle()).deliver(names),
              static_cast<uint32_t>(ERROR_NO_UNICODE_TRANSLATION));
    EXPECT_TRUE(window.messages().empty());
}

}  // namespace
