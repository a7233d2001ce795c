// The two lists of the Relationships dialog: the groups that the selected users are and are
// not all in, or the members that the selected groups do and do not all have.
#pragma once

#include "accounts/OneBasedArray.h"
#include "status/Progress.h"

class NameList;
class ItemListView;

// Clears and refills both lists once the account object of itemType is open. Several items
// are answered from the store; a single group's members are read from the target SAM through
// workList, run through readLive, so that members the store does not hold are listed too.
// groupKind is that group's kind (0 local, 1 global). Failures are shown once, at the end.
void ListRelations(ItemListView &members, ItemListView &nonMembers, int itemType,
                   const NameArray &names, int groupKind, NameList &workList,
                   const TargetWork &readLive);
