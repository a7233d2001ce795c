// The shared steps of the window-side data operations: opening an account object, filling an
// item list, and the main window's list of users or groups by view and membership filter.
// (KeyExists, the test for a key of a details collection, lives with the collection.)
#pragma once

#include "accounts/OneBasedArray.h"
#include "dataops/ItemList.h"

#include <functional>
#include <string>
#include <vector>

// The first filter entry of each view: no filter.
inline constexpr char kAllUsers[] = "*All Users*";
inline constexpr char kAllGroups[] = "*All Groups*";

// The caption every data operation shows above the errors an account object reported.
inline constexpr char kOperationFailedCaption[] =
    "The following errors occurred during the requested operation";

// Opens gData's user object (item type 0) or group object (item type 1) for a window
// operation. False, after showing why, when it cannot be opened.
bool OpenItemData(int itemType);

// Runs one listing or query of an account object and returns its failed flag. Some listings
// raise rather than report: what they raise is recorded in the error list as a failure.
bool RunListing(const std::function<bool()> &listing);

// Shows the error list under kOperationFailedCaption, unless it holds nothing to show.
void ShowOperationErrors();

// Appends one entry per name, each with the icon at the same position, and selects the first
// entry of the list (the first row shown, when a search leaves some out). The list is not
// cleared; no names leave it as it is.
void FillItemList(ItemListView &list, NameArray names, const std::vector<ItemIcon> &icons);

// Gives the list the columns of the view beside the name: full name, comment and state for
// users (view type 0), kind and comment for groups (1). Their texts come from the snapshot as
// they are shown, so that they follow every change the account objects make.
void ShowAccountColumns(ItemListView &list, int viewType);

// Appends the items of one view: users (view type 0) or groups (1). The filter "*All Users*"
// or "*All Groups*" lists every user, or every group of the kind asked for (globalGroups);
// any other filter names the group whose users, or the user whose groups, are listed.
// Users carry iconKey; filtered groups carry the icon of their own kind, since local and global
// groups are listed together. A failure is shown; what came back is listed all the same.
void ListItemsByFilter(ItemListView &list, int viewType, bool globalGroups,
                       const std::string &filterName, const std::string &iconKey);
