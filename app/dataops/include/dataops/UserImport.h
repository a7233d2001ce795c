// New users from a CSV file. Every row is read and checked against the snapshot before anything
// changes, so that the administrator sees what each row will do or why it cannot; only then are
// the accepted rows created, one account at a time.
//
// The file's first record names its columns, in any order and case: name (required), password,
// full name, comment, home directory, script, profile, flags, account expires, groups. Flags and
// groups are lists separated by semicolons; a row's account has exactly the flags it names.
#pragma once

#include "accounts/Details.h"
#include "status/Progress.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One row of the file, as the preview shows it.
struct ImportRow {
    int line = 0;  // the line of the file the row begins on
    std::string name;
    std::vector<std::string> refusals;  // each reason the row cannot be created, as a sentence
    Details details;                    // the new account's properties, UserName among them
    std::vector<std::string> flags;     // the flags the row names, as the file lists them
    std::vector<std::string> groups;    // spelled as the snapshot spells them

    bool Accepted() const { return refusals.empty(); }
    // What will be done, "Create anna.baker (disabled), add to Staff; Sales", or "Refused: "
    // followed by every reason.
    std::string Verdict() const;
};

struct ImportPlan {
    std::vector<ImportRow> rows;  // blank lines are no rows

    int64_t AcceptedCount() const;
};

// Reads the file and checks every row: the name as the Add dialog and the SAM take names, each
// name once in the file and not yet in use on the target, texts that fit the account fields,
// known flags that go together, a date the account can expire on, groups the snapshot holds.
// Needs the user and group objects open. Raises a ProgramError that says what is wrong and on
// which line when the text is not CSV or its header is not one these columns make.
ImportPlan PlanUserImport(std::string_view text);

// Creates the account of each accepted row, then puts it into its groups, telling progress
// before each account; the failures are recorded in the error list for the caller to report
// with the count. An account counts as failed when its creation or any membership failed. A
// row the target refused for the logon is tried again once progress got another logon, from
// the step that was refused.
// Needs the user object open; raises nothing.
OperationCount RunUserImport(const ImportPlan &plan, ProgressReporter &progress);
