// Comma-separated values as RFC 4180 has them, in UTF-8: records end in CR LF (a bare LF is
// read as well); a field holding a comma, a quote or a line break is enclosed in quotes, and a
// quote inside it is doubled. A byte order mark before the first record is read past.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

struct CsvRecord {
    int line;  // the line of the text the record begins on, from 1
    std::vector<std::string> fields;
};

// The text's records, every field exactly as written between the commas (quotes removed). Text
// that is not well-formed CSV in UTF-8 raises a ProgramError that says why and on which line.
// An empty text has no records; a line break after the last record is optional.
std::vector<CsvRecord> ReadCsv(std::string_view text);

// One record: the fields separated by commas, each quoted when it must be, ended by CR LF.
std::string CsvRecordText(std::span<const std::string> fields);
