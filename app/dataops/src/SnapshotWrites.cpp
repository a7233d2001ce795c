#include "dataops/SnapshotWrites.h"

#include "status/ProgramError.h"
#include "status/modSAM.h"
#include "store/ProgramValues.h"

OperationCount ForEachAccountInOneWrite(std::span<const std::string> names,
                                        ProgressReporter &progress,
                                        const std::function<bool(const std::string &)> &work,
                                        std::string_view done) {
    OperationCount count{static_cast<int64_t>(names.size())};
    try {
        Transaction rows(*gData->User().DataSource());
        count = ForEachAccount(names, progress, work);
        rows.commit();
    } catch (const ProgramError &failure) {
        const bool samChanged = count.succeeded + count.failed > 0;
        OutOfStep = OutOfStep || samChanged;
        const std::string what(done);
        gData->LastErr().Description(
            (samChanged ? "The accounts were " + what +
                              " in the SAM, but the local copy could not be updated: "
                        : "No account was " + what + ", as the local copy cannot be changed: ") +
            PlainStoreFailure(failure) + ".");
    }
    return count;
}
