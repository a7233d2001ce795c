// What a long operation tells the window as it works through many accounts, how the window
// asks it to stop, and how the window is asked for another logon when the target refuses the
// one it has. Nothing here knows about windows: the window implements the reporter.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

class ProgressReporter {
public:
    virtual ~ProgressReporter() = default;
    // Called before each piece of work: done of total are finished (total 0 when not known)
    // and what names the piece at hand. False when the administrator asked to stop: the
    // operation then ends before that piece.
    virtual bool Step(int64_t done, int64_t total, const std::string &what) = 0;
    // The target refused the logon for the piece at hand. True when another logon was given:
    // the piece is then done again, and what its refused try recorded in the error list is
    // taken back. False, without asking, unless the reporter can ask.
    virtual bool NewLogon() { return false; }
};

// For work that nobody watches: it never stops.
class NoProgress final : public ProgressReporter {
public:
    bool Step(int64_t, int64_t, const std::string &) override { return true; }
};

// How one operation over many accounts went.
struct OperationCount {
    int64_t total = 0;
    int64_t succeeded = 0;
    int64_t failed = 0;

    // The accounts that were not reached because the operation was stopped.
    int64_t notDone() const { return total - succeeded - failed; }
};

// Runs work, which returns true when it failed, and runs it again each time the target refused
// it for the logon (LastStatus 1326) and newLogon gave another logon; the result is the last
// try's. What a refused try recorded in the error list is newLogon's to take back.
bool RetriedAfterNewLogon(const std::function<bool()> &work, const std::function<bool()> &newLogon);

// How a window runs one piece of work on the target (true when it failed): with its own way
// of asking for another logon when the target refuses the one it has.
using TargetWork = std::function<bool(const std::function<bool()> &work)>;

// Runs the work once, asking nothing: for work that nobody watches.
bool RunOnce(const std::function<bool()> &work);

// Runs work for each name in order, telling progress before each one, until progress asks to
// stop. work returns true when it failed for that name; the reasons are in the error list. A
// name whose work the target refused for the logon (LastStatus 1326: a password changed or a
// ticket expired meanwhile) is done again once progress got a new logon; once it got none, the
// other names go on without asking again.
OperationCount ForEachAccount(std::span<const std::string> names, ProgressReporter &progress,
                              const std::function<bool(const std::string &)> &work);

// "47 of 50 accounts succeeded, 3 failed." and, for a stopped operation, how many were not done.
std::string SummaryText(const OperationCount &count);
