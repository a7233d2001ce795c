#include "csv/Csv.h"

#include "status/ProgramError.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Fields = std::vector<std::string>;

// What the reader says about text that is not CSV.
std::string Complaint(std::string_view text) {
    try {
        ReadCsv(text);
    } catch (const ProgramError &error) {
        return error.description();
    }
    return "no complaint";
}

// The cases that a split on commas and line breaks gets wrong, in one file: a byte order mark,
// quoted commas, doubled quotes, line breaks inside a field (so the next record starts lines
// later), empty fields, LF and CR LF records, and no line break after the last record.
TEST(Csv, ReadsQuotedFieldsAndCountsTheLinesTheyCover) {
    const std::vector<CsvRecord> records = ReadCsv(
        "\xEF\xBB\xBFname,comment\r\n"
        "anna,\"Baker, Anna\"\r\n"
        "\"bo\"\"b\",\"two\r\nlines\nand three\"\n"
        ",\"\"\r\n"
        "\r\n"
        "zo\xC3\xAB,last");
    ASSERT_EQ(records.size(), 6U);
    EXPECT_EQ(records[0].fields, (Fields{"name", "comment"}));
    EXPECT_EQ(records[1].fields, (Fields{"anna", "Baker, Anna"}));
    EXPECT_EQ(records[2].fields, (Fields{"bo\"b", "two\r\nlines\nand three"}));
    EXPECT_EQ(records[3].fields, (Fields{"", ""}));
    EXPECT_EQ(records[4].fields, (Fields{""}));
    EXPECT_EQ(records[5].fields, (Fields{"zo\xC3\xAB", "last"}));
    EXPECT_EQ(records[3].line, 6);
    EXPECT_EQ(records[5].line, 8);
    EXPECT_TRUE(ReadCsv("").empty());
    EXPECT_TRUE(ReadCsv("\xEF\xBB\xBF").empty());
}

TEST(Csv, MalformedTextNamesItsLine) {
    EXPECT_EQ(Complaint("a,b\r\nc,d\"e\r\n"),
              "Line 2: a quote in a field that does not begin with one");
    EXPECT_EQ(Complaint("a\n\"b\"c,d\n"), "Line 2: text follows the closing quote of a field");
    EXPECT_EQ(Complaint("a\n\"b,\nc\nd"), "Line 2: a quoted field has no closing quote");
    EXPECT_EQ(Complaint("a\n\"b\nc\xE9\"\n"), "Line 3: text that is not UTF-8");
    EXPECT_EQ(Complaint("a\n\xED\xA0\x80\n"), "Line 2: text that is not UTF-8");  // a surrogate
    EXPECT_EQ(Complaint(std::string_view("a\nb\0c", 5)), "Line 2: a NUL character");
}

TEST(Csv, WrittenRecordsReadBackAsTheyWere) {
    const Fields awkward{"plain", "comma, inside", "\"quoted\"", "line\r\nbreak", "", "lone\ncr\r"};
    const std::string text = CsvRecordText(Fields{"a", "b"}) + CsvRecordText(awkward);
    EXPECT_EQ(text.substr(0, 5), "a,b\r\n");
    const std::vector<CsvRecord> records = ReadCsv(text);
    ASSERT_EQ(records.size(), 2U);
    EXPECT_EQ(records[1].fields, awkward);
}

}  // namespace
