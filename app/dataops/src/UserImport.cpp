#include "dataops/UserImport.h"

#include "accounts/clsGroup.h"
#include "accounts/clsUser.h"
#include "csv/Csv.h"
#include "dataops/ItemList.h"
#include "dataops/SnapshotWrites.h"
#include "status/ProgramError.h"
#include "status/modSAM.h"
#include "store/ProgramValues.h"
#include "vantry_api/modVantryDeclare.h"

#include <QString>

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <optional>
#include <set>

namespace {

// The Add dialog's limits; every other text is held to the account library's.
constexpr int kNameCharacters = 20;
constexpr int kPasswordCharacters = 14;
constexpr auto kTextBytes = static_cast<std::size_t>(modVantryDeclare::kLibraryTextBytes);
// Characters no account name may hold, besides control characters.
constexpr std::string_view kForbiddenInNames = "\"/\\[]:|<>+=;,?*@";

// A column of the file; a text column fills the details key it names.
struct ImportColumn {
    std::string_view header;
    const char *textKey;  // null for the columns read otherwise
};

constexpr std::array<ImportColumn, 10> kColumns{{
    {"name", nullptr},
    {"password", "Password"},
    {"full name", "FullName"},
    {"comment", "Comment"},
    {"home directory", "HomeDirectory"},
    {"script", "ScriptPath"},
    {"profile", "Profile"},
    {"flags", nullptr},
    {"account expires", nullptr},
    {"groups", nullptr},
}};

// A flag by the name the file gives it, and the details key it sets.
struct ImportFlag {
    std::string_view name;
    const char *key;
};

constexpr std::array<ImportFlag, 4> kFlags{{
    {"disabled", "AccountDisabled"},
    {"never_expires", "PasswordNeverExpires"},
    {"cannot_change", "PasswordCannotChange"},
    {"must_change", "PasswordChangeNext"},
}};

[[noreturn]] void RaiseAt(int line, const std::string &why) {
    throw ProgramError(kProgramErrorNumber, "Import", "Line " + std::to_string(line) + ": " + why);
}

std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

std::string Trimmed(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
        .trimmed()
        .toStdString();
}

// Names compare as the SAM compares them: without regard to case.
std::string Folded(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
        .toCaseFolded()
        .toStdString();
}

// Characters as the Add dialog and the SAM count them (UTF-16 units).
qsizetype CharacterCount(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).size();
}

// The items of a list separated by semicolons, without blanks around them; empty items are
// none.
std::vector<std::string> ListItems(std::string_view text) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(';', start), text.size());
        if (std::string item = Trimmed(text.substr(start, end - start)); !item.empty()) {
            items.push_back(std::move(item));
        }
        start = end + 1;
    }
    return items;
}

std::string Joined(const std::vector<std::string> &items, std::string_view separator) {
    std::string text;
    for (const std::string &item : items) {
        if (!text.empty()) text += separator;
        text += item;
    }
    return text;
}

// The column of each field of the header record. Raises for a column that is not one of these,
// a column named twice, or no name column.
std::vector<const ImportColumn *> ReadHeader(const CsvRecord &header) {
    std::vector<const ImportColumn *> columns;
    for (const std::string &field : header.fields) {
        const std::string wanted = Folded(Trimmed(field));
        const auto known = std::find_if(kColumns.begin(), kColumns.end(),
                                        [&](const ImportColumn &c) { return c.header == wanted; });
        if (known == kColumns.end()) {
            std::vector<std::string> headers;
            for (const ImportColumn &column : kColumns) headers.emplace_back(column.header);
            RaiseAt(header.line, "unknown column " + Quoted(field) + ". The columns are: " +
                                     Joined(headers, ", ") + ".");
        }
        if (std::find(columns.begin(), columns.end(), &*known) != columns.end()) {
            RaiseAt(header.line, "the column " + Quoted(known->header) + " is named twice.");
        }
        columns.push_back(&*known);
    }
    if (std::find(columns.begin(), columns.end(), &kColumns[0]) == columns.end()) {
        RaiseAt(header.line, "the first line names the columns, and one must be 'name'.");
    }
    return columns;
}

// Checks the rows of one file in order: it remembers the names met so far and knows the
// snapshot's groups.
class RowChecker {
public:
    explicit RowChecker(std::vector<const ImportColumn *> columns) : columns_(std::move(columns)) {
        for (const int32_t kind : {kLocalGroup, kGlobalGroup}) {
            NameArray names;
            gData->Group().GetByType(kind, names);
            for (const std::string &name : names) groups_.emplace(Folded(name), name);
        }
    }

    ImportRow Check(const CsvRecord &record) {
        ImportRow row;
        row.line = record.line;
        if (record.fields.size() != columns_.size()) {
            Refuse(row, "The row has " + std::to_string(record.fields.size()) +
                            " fields where the first line names " +
                            std::to_string(columns_.size()) + " columns.");
            return row;
        }
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            fields_[columns_[i]->header] = record.fields[i];
        }
        row.name = Field("name");
        row.details.Add("UserName", row.name);
        CheckName(row);
        CheckTexts(row);
        CheckFlags(row);
        CheckExpiry(row);
        CheckGroups(row);
        return row;
    }

private:
    static void Refuse(ImportRow &row, std::string reason) {
        row.refusals.push_back(std::move(reason));
    }

    // The row's field of the column; empty when the file has no such column.
    std::string Field(std::string_view header) const {
        const auto found = fields_.find(header);
        return found == fields_.end() ? std::string() : found->second;
    }

    // The name goes on as written, as the Add dialog takes it: blanks only decide whether
    // there is a name at all.
    void CheckName(ImportRow &row) {
        const std::string &name = row.name;
        if (Trimmed(name).empty()) {
            Refuse(row, "The row has no name.");
            return;
        }
        if (CharacterCount(name) > kNameCharacters) {
            Refuse(row, "The name is longer than " + std::to_string(kNameCharacters) +
                            " characters.");
        }
        const auto forbidden = std::find_if(name.begin(), name.end(), [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return byte < 0x20 || byte == 0x7F || kForbiddenInNames.find(c) != std::string::npos;
        });
        if (forbidden != name.end()) {
            Refuse(row, "A name cannot hold any of " + std::string(kForbiddenInNames) +
                            " nor control characters.");
        } else if (name.find_first_not_of(". ") == std::string::npos) {
            Refuse(row, "A name cannot be only dots and blanks.");
        }
        const auto [first, added] = namesSeen_.emplace(Folded(name), row.line);
        if (!added) {
            Refuse(row, "The name is on line " + std::to_string(first->second) + " already.");
        } else if (gData->User().Exists(name)) {
            Refuse(row, "A user or group " + Quoted(name) + " already exists.");
        }
    }

    // A password is taken as written, as the Add dialog takes it, and within its length.
    void CheckTexts(ImportRow &row) {
        for (const ImportColumn *column : columns_) {
            if (column->textKey == nullptr) continue;
            const std::string text = Field(column->header);
            const bool password = column->header == "password";
            if (password && CharacterCount(text) > kPasswordCharacters) {
                Refuse(row, "The password is longer than " + std::to_string(kPasswordCharacters) +
                                " characters.");
            } else if (text.size() > kTextBytes) {
                Refuse(row, "The " + std::string(column->header) + " is longer than " +
                                std::to_string(kTextBytes) + " bytes.");
            }
            row.details.Add(column->textKey, text);
        }
    }

    // Every flag is written: those the row names are set, the others clear.
    void CheckFlags(ImportRow &row) {
        std::vector<std::string_view> named;
        for (const std::string &item : ListItems(Field("flags"))) {
            const std::string wanted = Folded(item);
            const auto flag = std::find_if(kFlags.begin(), kFlags.end(),
                                           [&](const ImportFlag &f) { return f.name == wanted; });
            if (flag == kFlags.end()) {
                Refuse(row, "There is no flag " + Quoted(item) +
                                "; the flags are disabled, never_expires, cannot_change and "
                                "must_change.");
            } else if (std::find(named.begin(), named.end(), flag->name) == named.end()) {
                named.push_back(flag->name);
                row.flags.emplace_back(flag->name);
            }
        }
        const auto isNamed = [&](std::string_view name) {
            return std::find(named.begin(), named.end(), name) != named.end();
        };
        if (isNamed("must_change") && (isNamed("never_expires") || isNamed("cannot_change"))) {
            Refuse(row, "A password that must be changed at the next logon can neither never "
                        "expire nor be one the user cannot change.");
        }
        for (const ImportFlag &flag : kFlags) {
            row.details.Add(flag.key, int32_t{isNamed(flag.name) ? 1 : 0});
        }
    }

    // An empty date, or none, is an account that never expires.
    void CheckExpiry(ImportRow &row) {
        const std::string text = Trimmed(Field("account expires"));
        if (text.empty()) return;
        const std::optional<DateTime> moment = ParseDateTime(text);
        if (!moment) {
            Refuse(row, Quoted(text) + " is not a date.");
        } else if (!AccountSecondsOf(*moment)) {
            Refuse(row, "An account can expire from 1970 to 2038-01-19 only, not on " +
                            Quoted(text) + ".");
        } else {
            row.details.Add("AccountExpires", *moment);
        }
    }

    void CheckGroups(ImportRow &row) {
        for (const std::string &item : ListItems(Field("groups"))) {
            const auto group = groups_.find(Folded(item));
            if (group == groups_.end()) {
                Refuse(row, "There is no group " + Quoted(item) + " on the target.");
            } else if (std::find(row.groups.begin(), row.groups.end(), group->second) ==
                       row.groups.end()) {
                row.groups.push_back(group->second);
            }
        }
    }

    std::vector<const ImportColumn *> columns_;
    std::map<std::string_view, std::string, std::less<>> fields_;  // the row at hand by column
    std::map<std::string, std::string> groups_;                    // folded name to its spelling
    std::map<std::string, int> namesSeen_;                         // folded name to its line
};

bool Blank(const CsvRecord &record) {
    return std::all_of(record.fields.begin(), record.fields.end(),
                       [](const std::string &field) { return Trimmed(field).empty(); });
}

// Creates each row's account, then puts it into its groups. A row whose try the target
// refused for the logon is tried again from the step refused: its account is created once, and
// the memberships it has already are left as they are.
class RowCreator {
public:
    // Each accepted row names an account of its own.
    void Add(const ImportRow &row) { rows_.emplace(row.name, &row); }

    bool operator()(const std::string &name) {
        const ImportRow &row = *rows_.at(name);
        clsUser &user = gData->User();
        if (!created_.contains(name)) {
            if (user.Add(row.details)) return true;
            created_.insert(name);
        }
        return !row.groups.empty() && user.AddToGroups(row.name, row.groups);
    }

private:
    std::map<std::string, const ImportRow *> rows_;
    std::set<std::string> created_;
};

}  // namespace

std::string ImportRow::Verdict() const {
    if (!Accepted()) return "Refused: " + Joined(refusals, " ");
    std::string verdict = "Create " + name;
    if (!flags.empty()) verdict += " (" + Joined(flags, ", ") + ")";
    if (!groups.empty()) verdict += ", add to " + Joined(groups, "; ");
    return verdict;
}

int64_t ImportPlan::AcceptedCount() const {
    return std::count_if(rows.begin(), rows.end(), [](const ImportRow &row) { return row.Accepted(); });
}

ImportPlan PlanUserImport(std::string_view text) {
    const std::vector<CsvRecord> records = ReadCsv(text);
    if (records.empty()) RaiseAt(1, "the file is empty; its first line names the columns.");
    RowChecker checker(ReadHeader(records.front()));
    ImportPlan plan;
    for (auto record = records.begin() + 1; record != records.end(); ++record) {
        if (!Blank(*record)) plan.rows.push_back(checker.Check(*record));
    }
    return plan;
}

OperationCount RunUserImport(const ImportPlan &plan, ProgressReporter &progress) {
    RowCreator creator;
    std::vector<std::string> names;
    for (const ImportRow &row : plan.rows) {
        if (!row.Accepted()) continue;
        creator.Add(row);
        names.push_back(row.name);
    }
    return ForEachAccountInOneWrite(names, progress, std::ref(creator), "created");
}
