// Finding an entry of the main list by name, and deleting the selected users or groups after
// the administrator confirmed it.
#pragma once

#include "status/Progress.h"

#include <QString>

#include <functional>
#include <optional>

class ItemListView;

// Asks the administrator for one line of text under a caption and a question; nullopt when
// the question was not answered.
using AskForText =
    std::function<std::optional<QString>(const QString &caption, const QString &question)>;

// Asks for a name and makes the entry of that name, compared without regard to case as the
// SAM compares names, the only selected entry of the list; with no such entry nothing is
// selected. Not answering leaves the list as it is. The selection is the program's, not a
// click of the administrator's: the list's own signals stay quiet.
void FindByName(int type, ItemListView &list, const AskForText &ask);

// The main window's check that the selected entries are all of one kind; it says so itself
// when they are not.
using SelectionCheck = std::function<bool(const ItemListView &list)>;

// Asks whether to delete the count selected entries and, when the administrator agrees, removes
// each from the SAM and the snapshot, telling progress before each; the failures are collected
// in the error list for the caller to report with the count. A selection of two or more that
// mixes kinds is refused. nullopt unless the deletion was carried out (confirmed, and the
// account object open). The list itself is left as it is.
std::optional<OperationCount> DeleteSelectedItems(int type, const ItemListView &list, int count,
                                                  const SelectionCheck &sameTypeSelected,
                                                  ProgressReporter &progress);
