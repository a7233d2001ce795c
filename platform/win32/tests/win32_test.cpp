#include "win32.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

TEST(MultiByteToWideChar, ConvertsTextAndTerminator) {
    char16_t out[8];
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, "J\xC3\xBCrg", -1, out, 8), 5);
    EXPECT_EQ(std::u16string(out), u"J\u00FCrg");
}

TEST(MultiByteToWideChar, SizeQueryCountsSurrogatePairs) {
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\xF0\x9F\x98\x80", -1, nullptr, 0), 3);
}

TEST(MultiByteToWideChar, RejectsMalformedSequencesWithoutWriting) {
    const char *malformed[] = {"\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80", "a\xFF"};
    for (const char *text : malformed) {
        char16_t out[4] = {u'x', u'x', u'x', u'x'};
        SetLastError(0);
        EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, out, 4), 0) << text;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
        EXPECT_EQ(out[0], u'x');
    }
}

TEST(MultiByteToWideChar, DestinationTooSmallIsUntouched) {
    char16_t out[4] = {u'x', u'x', u'x', u'x'};
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abcd", -1, out, 4), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(out[0], u'x');
    EXPECT_EQ(out[3], u'x');
}

TEST(MultiByteToWideChar, RejectsBadArguments) {
    char16_t out[4];
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, nullptr, -1, out, 4), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(MultiByteToWideChar(1252, 0, "a", -1, out, 4), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a", 0, out, 4), 0);
}

TEST(WideCharToMultiByte, RoundTripsAndCountsExplicitLength) {
    char out[16] = {};
    ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, u"\u00E9t\u00E9", 3, out, 16, nullptr, nullptr), 5);
    EXPECT_EQ(std::string(out, 5), "\xC3\xA9t\xC3\xA9");
}

TEST(WideCharToMultiByte, RejectsUnpairedSurrogates) {
    const char16_t lone_high[] = {0xD800, u'a', 0};
    const char16_t lone_low[] = {0xDC00, 0};
    char out[8] = "xxxxxxx";
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, lone_high, -1, out, 8, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, lone_low, -1, out, 8, nullptr, nullptr), 0);
    EXPECT_EQ(std::string(out), "xxxxxxx");
}

TEST(WideCharToMultiByte, OverlongOutputLeavesDestinationUntouched) {
    std::u16string wide(300, u'\u00E9');
    std::vector<char> out(256, 'x');
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, out.data(), 256, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(out[0], 'x');
    EXPECT_EQ(out[255], 'x');
}

TEST(WideCharToMultiByte, DefaultCharacterIsNotAllowedForUtf8) {
    char out[4];
    BOOL used = FALSE;
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"a", -1, out, 4, "?", &used), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

struct Recorded {
    std::vector<std::pair<UINT, std::string>> messages;
};

LRESULT recordingProc(HWND hwnd, UINT msg, WPARAM, LPARAM lParam) {
    auto *recorded = static_cast<Recorded *>(hwnd->context);
    recorded->messages.emplace_back(msg, reinterpret_cast<const char *>(lParam));
    return static_cast<LRESULT>(recorded->messages.size() - 1);
}

TEST(SendMessageA, CallsTheWindowProcedureSynchronously) {
    Recorded recorded;
    HWND__ window{recordingProc, &recorded};
    EXPECT_EQ(SendMessageA(&window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("ann")), 0);
    EXPECT_EQ(SendMessageA(&window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("bob")), 1);
    ASSERT_EQ(recorded.messages.size(), 2u);
    EXPECT_EQ(recorded.messages[1], std::make_pair(static_cast<UINT>(CB_ADDSTRING), std::string("bob")));
}

TEST(SendMessageA, NullWindowFails) {
    EXPECT_EQ(SendMessageA(nullptr, LB_ADDSTRING, 0, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

// A registered number must never be one that a list or combo box takes for its own message.
TEST(RegisterWindowMessageA, OneNameGivesOneNumberAboveTheControlsMessages) {
    const UINT number = RegisterWindowMessageA("Vantry.ListDetails");
    EXPECT_EQ(RegisterWindowMessageA("Vantry.ListDetails"), number);
    EXPECT_GE(number, 0xC000u);
    EXPECT_LE(number, 0xFFFFu);
    EXPECT_EQ(RegisterWindowMessageA(""), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

class ComputerName : public ::testing::Test {
protected:
    void TearDown() override { unsetenv("COMPUTERNAME"); }
};

TEST_F(ComputerName, VariableWinsAndSmallBufferReportsSize) {
    setenv("COMPUTERNAME", "KESTREL", 1);
    char name[16];
    DWORD size = sizeof name;
    ASSERT_TRUE(GetComputerNameA(name, &size));
    EXPECT_EQ(std::string(name), "KESTREL");
    EXPECT_EQ(size, 7u);

    char small[4];
    size = sizeof small;
    EXPECT_FALSE(GetComputerNameA(small, &size));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
    EXPECT_EQ(size, 8u);
}

TEST_F(ComputerName, HostNameIsUpperCasedAndCutAtTheFirstDot) {
    unsetenv("COMPUTERNAME");
    char name[256];
    DWORD size = sizeof name;
    ASSERT_TRUE(GetComputerNameA(name, &size));
    const std::string text(name);
    EXPECT_EQ(text.find('.'), std::string::npos);
    for (char c : text) EXPECT_FALSE(c >= 'a' && c <= 'z') << text;
}

}  // namespace
