#include "accounts/Details.h"

#include "status/ProgramError.h"
#include "testing/TimeLocale.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

using namespace std::chrono;

// The number of the run-time error that work raises; 0 when it raises none.
int32_t errorNumberOf(const std::function<void()> &work) {
    try {
        work();
    } catch (const ProgramError &error) {
        return error.number();
    }
    return 0;
}

DateTime at(int y, unsigned m, unsigned d, int hh = 0, int mm = 0, int ss = 0) {
    return sys_days{year{y} / month{m} / day{d}} + hours{hh} + minutes{mm} + seconds{ss};
}

TEST(Details, KeysIgnoreCaseAndKeepTheirOrder) {
    Details details;
    details.Add("FullName", std::string("Ann Smith"));
    details.Add("AccountDisabled", true);
    details.Add("PasswordChangeNext", 1);

    EXPECT_EQ(TextOf(details.Item("fullname")), "Ann Smith");
    EXPECT_TRUE(KeyExists("ACCOUNTDISABLED", details));
    EXPECT_FALSE(KeyExists("Comment", details));
    EXPECT_EQ(errorNumberOf([&] { details.Add("FULLNAME", std::string("again")); }), 457);
    EXPECT_EQ(errorNumberOf([&] { details.Item("Comment"); }), 5);

    std::vector<std::string> keys;
    for (const auto &[key, value] : details)
        keys.push_back(key);
    EXPECT_EQ(keys,
              (std::vector<std::string>{"FullName", "AccountDisabled", "PasswordChangeNext"}));
}

TEST(DetailValue, ReadsTheKindsAPropertyNeeds) {
    EXPECT_TRUE(BooleanOf(std::string("true")));
    EXPECT_FALSE(BooleanOf(std::string("0")));
    EXPECT_TRUE(BooleanOf(1));
    EXPECT_EQ(LongOf(true), -1);
    EXPECT_EQ(LongOf(std::string(" 42 ")), 42);
    EXPECT_EQ(TextOf(false), "False");
    EXPECT_EQ(TextOf(at(2030, 6, 1, 12)), "2030-06-01 12:00:00");

    EXPECT_EQ(errorNumberOf([] { BooleanOf(std::string("maybe")); }), 13);
    EXPECT_EQ(errorNumberOf([] { LongOf(std::string("3000000000")); }), 6);
    EXPECT_EQ(errorNumberOf([] { LongOf(std::string("1x")); }), 13);
    EXPECT_EQ(errorNumberOf([] { TextOf(ByteArray{1, 2}); }), 13);
    EXPECT_EQ(errorNumberOf([] { BytesOf(std::string("hours")); }), 13);
    EXPECT_FALSE(DateOf(5).has_value());
    EXPECT_EQ(DateOf(std::string("2030-06-01")), at(2030, 6, 1));
}

TEST(OneBasedArray, CountsFromOne) {
    ByteArray hours{10, 20, 30};
    EXPECT_EQ(hours.Item(1), 10);
    EXPECT_EQ(hours.Item(3), 30);
    EXPECT_EQ(errorNumberOf([&] { hours.Item(0); }), 9);
    EXPECT_EQ(errorNumberOf([&] { hours.Item(4); }), 9);
}

TEST(AccountTime, TextShowsTheTimeUnlessItIsMidnight) {
    EXPECT_EQ(DateTimeText(AccountTimeOf(0)), "1970-01-01");
    EXPECT_EQ(DateTimeText(AccountTimeOf(kNeverExpires)), "1969-12-31 23:59:59");
    EXPECT_EQ(DateTimeText(at(2024, 2, 29, 7, 5, 9)), "2024-02-29 07:05:09");
    EXPECT_EQ(DateTimeText(AccountTimeOf(std::numeric_limits<int32_t>::max())),
              "2038-01-19 03:14:07");
}

TEST(AccountTime, EveryTextItWritesReadsBackToTheSameMoment) {
    for (const int32_t count :
         {kNeverExpires, 0, 1, 86400, 951782400, 1709190309, std::numeric_limits<int32_t>::max()}) {
        const DateTime moment = AccountTimeOf(count);
        EXPECT_EQ(ParseDateTime(DateTimeText(moment)), moment) << count;
        EXPECT_EQ(AccountSecondsOf(moment), count);
    }
}

TEST(AccountTime, ReadsWhatAPersonTypes) {
    EXPECT_EQ(ParseDateTime(" 2030-6-1 "), at(2030, 6, 1));
    EXPECT_EQ(ParseDateTime("2030-06-01 9:05"), at(2030, 6, 1, 9, 5));
    EXPECT_EQ(ParseDateTime("2030-06-01  23:59:59"), at(2030, 6, 1, 23, 59, 59));
}

TEST(AccountTime, ImpossibleDatesAndOtherTextAreNotDates) {
    for (const char *text :
         {"2024-02-31", "2023-02-29", "2024-13-01", "2024-00-10", "2024-01-01 24:00:00",
          "2024-01-01 10:60", "2024-01-01 10:00:61", "abc", "", "2024-01-01x",
          "2024-01-01 10:00 PM", "24-01-01", "20245-01-01"}) {
        EXPECT_FALSE(ParseDateTime(text).has_value()) << text;
    }
}

// In the user's locale the short date is shown, and the time unless it is midnight; what is
// shown reads back to the same moment, ISO dates still read, and no-dates are refused.
TEST(AccountTime, RegionalDatesReadBackAndIsoDatesStillRead) {
    struct Region {
        const char *locale, *midnight, *morning, *typed, *impossible;
    };
    for (const Region &region :
         {Region{"de_DE.UTF-8", "01.06.2030", "01.06.2030 09:05:00", " 1.6.2030  9:05 ",
                 "31.02.2030"},
          Region{"en_US.UTF-8", "06/01/2030", "06/01/2030 09:05:00 AM", "6/1/2030 9:05",
                 "02/31/2030"}}) {
        const TimeLocale locale(region.locale);
        EXPECT_EQ(DateTimeText(at(2030, 6, 1)), region.midnight);
        EXPECT_EQ(DateTimeText(at(2030, 6, 1, 9, 5)), region.morning);
        for (const int32_t count : {kNeverExpires, 0, 1, 43200, 951782400, 1709190309,
                                    std::numeric_limits<int32_t>::max()}) {
            const DateTime moment = AccountTimeOf(count);
            EXPECT_EQ(ParseDateTime(DateTimeText(moment)), moment) << region.locale << " " << count;
        }
        EXPECT_EQ(ParseDateTime(region.typed), at(2030, 6, 1, 9, 5)) << region.locale;
        EXPECT_EQ(ParseDateTime("2030-06-01 9:05"), at(2030, 6, 1, 9, 5)) << region.locale;
        for (const char *text : {region.impossible, "2030-02-31", "abc", "", "01.06.2030x"}) {
            EXPECT_FALSE(ParseDateTime(text).has_value()) << region.locale << " " << text;
        }
    }
}

TEST(AccountTime, OnlyMomentsTheExpiryFieldHoldsHaveACount) {
    EXPECT_FALSE(AccountSecondsOf(AccountTimeOf(0) - seconds{2}).has_value());
    EXPECT_FALSE(AccountSecondsOf(at(1901, 1, 1)).has_value());
    EXPECT_FALSE(AccountSecondsOf(AccountTimeOf(std::numeric_limits<int32_t>::max()) + seconds{1})
                     .has_value());
    EXPECT_FALSE(AccountSecondsOf(at(2106, 2, 7, 6, 28, 15)).has_value());
}

}  // namespace
