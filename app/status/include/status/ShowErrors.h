// Shows an error list in one report titled "Error".
#pragma once

#include "status/clsErr.h"

#include <cstdint>
#include <string>

// Shows the caption, ":" and a line break, then the list; plain shows the caption alone.
// Returns the list's Number. The program-wide form that reads gData's list is in store.
int32_t ShowErrors(const clsErr &errors, const std::string &caption, bool plain = false);

// The list under the caption, with a summary of what the operation did (empty: none).
ErrorReport ReportOf(const clsErr &errors, const std::string &caption,
                     const std::string &summary = {});
