// The program-wide tables that every window shares. ItemStrings itself is kept with the
// store, which rewrites the users' item word for each target; the windows fill it here.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// Item types and group kinds, as every window and data operation numbers them.
inline constexpr int kUsersType = 0;
inline constexpr int kGroupsType = 1;
inline constexpr int kLocalGroup = 0;
inline constexpr int kGlobalGroup = 1;

// Fills ItemStrings: per item type the item word and the four captions of the membership
// lists of the Relationships dialog.
void InitDeclarations();

// Small-icon key of an item: users have one, groups one per group kind.
std::string ItemIcons(int type, int groupKind = kLocalGroup);

// Weight of bit n of a byte, for turning logon-hour bytes into grid cells and back.
inline constexpr std::array<uint8_t, 8> BitValues{1, 2, 4, 8, 16, 32, 64, 128};

// The verbs that start the Edit menu captions, each followed by the item word.
inline constexpr std::array<const char *, 3> EditVerbs{"&New ", "&Delete ", "&Find "};

inline constexpr char OutOfStepWarning[] =
    "Tarnwick's local copy of User and Group data may be out of step with the Target SAM "
    "database.\n\r\n\r"
    "Suggestion: Click the Refresh button to get an up-to-date view of the data.";
