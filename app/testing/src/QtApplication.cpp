// Compiled into each widget test program: the one application object of the run, made before
// the first case and gone after the last, before the process's own exit handlers, which Qt's
// global objects would not survive.
#include <QApplication>
#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <memory>

namespace {

class ApplicationEnvironment final : public ::testing::Environment {
public:
    void SetUp() override {
        application_ = std::make_unique<QApplication>(argc_, argv_.data());
        // The application takes the user's locale; dates in the cases are ISO whatever the
        // machine's, unless a case chooses a locale (TimeLocale).
        std::setlocale(LC_TIME, "C");
    }
    void TearDown() override { application_.reset(); }

private:
    int argc_ = 1;
    char name_[15] = "tarnwick_tests";
    std::array<char *, 2> argv_{name_, nullptr};
    std::unique_ptr<QApplication> application_;
};

// Google Test owns registered environments.
[[maybe_unused]] const auto *const kApplication =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

}  // namespace
