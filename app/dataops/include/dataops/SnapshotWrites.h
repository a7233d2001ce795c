// Operations over many accounts whose rows of the snapshot are written together.
#pragma once

#include "status/Progress.h"

#include <functional>
#include <span>
#include <string>
#include <string_view>

// ForEachAccount with the snapshot's rows of every account in one transaction: committed one by
// one, each account's rows would take the store's locks and write its journal anew, which costs
// more than the account's own calls to the SAM. When the local copy cannot take the rows, the
// error list says so once and the copy is marked out of step if the SAM was changed. done says
// what the work does to an account ("created").
OperationCount ForEachAccountInOneWrite(std::span<const std::string> names,
                                        ProgressReporter &progress,
                                        const std::function<bool(const std::string &)> &work,
                                        std::string_view done);
