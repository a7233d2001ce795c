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

// Asks for a name, or part of one, and makes the first entry of the whole list that matches
// the only selected entry: the entry of that name (compared without regard to case, as the SAM
// compares names), else the first whose name holds the text. A search that hides the entry is
// cleared first. With no match nothing is selected. Returns the text asked for; not answering
// returns nullopt and leaves the list as it is. The selection is the program's, not a click of
// the administrator's: the list's own signals stay quiet.
std::optional<QString> FindByName(int type, ItemListView &list, const AskForText &ask);

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
