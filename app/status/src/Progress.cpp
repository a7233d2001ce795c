#include "status/Progress.h"

OperationCount ForEachAccount(std::span<const std::string> names, ProgressReporter &progress,
                              const std::function<bool(const std::string &)> &work) {
    OperationCount count{static_cast<int64_t>(names.size())};
    for (const std::string &name : names) {
        if (!progress.Step(count.succeeded + count.failed, count.total, name)) break;
        ++(work(name) ? count.failed : count.succeeded);
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
