// Program-wide values of the store and of the windows that read it.
#pragma once

#include "store/clsData.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

// The one store of the run, created by the main window's setup.
extern std::unique_ptr<clsData> gData;
// True while the current target is a domain's SAM; decided by TargetSAM.
extern bool gIsDomain;
// The domain or workgroup of the target server; set by target selection before TargetSAM.
extern std::string gDomainName;
// Texts by item type (0 users, 1 groups) and kind (0 the item word, 1-4 list captions).
// The windows fill the table; TargetSAM sets the users' item word.
extern std::array<std::array<std::string, 5>, 2> ItemStrings;

// Shows gData's error list in one message box titled "Error"; returns its Number.
int32_t ShowErrors(const std::string &caption, bool plain = false);
