#include "status/Progress.h"

#include "status/modSAM.h"

namespace {

constexpr uint32_t kLogonFailure = 1326;

// The work's own try: its status is the one its own calls leave.
bool Failed(const std::function<bool()> &work) {
    LastStatus = 0;
    return work();
}

}  // namespace

bool RetriedAfterNewLogon(const std::function<bool()> &work,
                          const std::function<bool()> &newLogon) {
    bool failed = Failed(work);
    while (failed && LastStatus == kLogonFailure && newLogon()) failed = Failed(work);
    return failed;
}

bool RunOnce(const std::function<bool()> &work) { return work(); }

OperationCount ForEachAccount(std::span<const std::string> names, ProgressReporter &progress,
                              const std::function<bool(const std::string &)> &work) {
    OperationCount count{static_cast<int64_t>(names.size())};
    bool askForLogon = true;
    for (const std::string &name : names) {
        if (!progress.Step(count.succeeded + count.failed, count.total, name)) break;
        const bool failed = RetriedAfterNewLogon([&] { return work(name); }, [&] {
            askForLogon = askForLogon && progress.NewLogon();
            return askForLogon;
        });
        ++(failed ? count.failed : count.succeeded);
    }
    return count;
}

std::string SummaryText(const OperationCount &count) {
    std::string text = std::to_string(count.succeeded) + " of " + std::to_string(count.total) +
                       (count.total == 1 ? " account" : " accounts") + " succeeded, " +
                       std::to_string(count.failed) + " failed";
    if (count.notDone() > 0) {
        text += ", " + std::to_string(count.notDone()) + " not done (cancelled)";
    }
    return text + ".";
}
