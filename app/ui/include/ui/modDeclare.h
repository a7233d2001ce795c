// The program-wide tables that every window shares. ItemStrings itself is kept with the
// store, which rewrites the users' item word for each target; the windows fill it here.
#pragma once

#include "dataops/ItemList.h"    // the item types, group kinds and ItemIcons
#include "dataops/LogonHours.h"  // BitValues

#include <array>
#include <cstdint>

// Fills ItemStrings: per item type the item word and the four captions of the membership
// lists of the Relationships dialog.
void InitDeclarations();

// The verbs that start the Edit menu captions, each followed by the item word.
inline constexpr std::array<const char *, 3> EditVerbs{"&New ", "&Delete ", "&Find "};

inline constexpr char OutOfStepWarning[] =
    "Tarnwick's local copy of User and Group data may be out of step with the Target SAM "
    "database.\n\r\n\r"
    "Suggestion: Click the Refresh button to get an up-to-date view of the data.";
