#include "dataops/ItemEdits.h"

#include "accounts/clsGroup.h"
#include "accounts/clsUser.h"
#include "dataops/ItemList.h"
#include "dataops/ItemLists.h"
#include "dataops/SnapshotWrites.h"
#include "status/MsgBox.h"
#include "store/ProgramValues.h"

#include <QSignalBlocker>

namespace {

bool RemoveItem(int type, const std::string &name) {
    return type == kUsersType ? gData->User().Remove(name) : gData->Group().Remove(name);
}

}  // namespace

std::optional<OperationCount> DeleteSelectedItems(int type, const ItemListView &list, int count,
                                                  const SelectionCheck &sameTypeSelected,
                                                  ProgressReporter &progress) {
    if (count == 0) return std::nullopt;
    // One entry is always of one kind, whatever the check says.
    if (!sameTypeSelected(list) && count >= 2) return std::nullopt;
    const std::string word = ItemStrings[type][0];
    const MsgAnswer answer =
        MsgBox("Do you want delete " + std::to_string(count) + " " + word + "(s)",
               MsgButtons::YesNo, MsgIcon::Question, "Deleting " + word + "s");
    gData->LastErr().Refresh();
    // Opened whatever the answer, so that a store that cannot be opened is reported either way.
    if (!OpenItemData(type) || answer != MsgAnswer::Yes) return std::nullopt;
    return ForEachAccountInOneWrite(
        SelectedNames(list), progress,
        [type](const std::string &name) { return RemoveItem(type, name); }, "deleted");
}

std::optional<QString> FindByName(int type, ItemListView &list, const AskForText &ask) {
    const QString caption =
        QStringLiteral("Find ") + QString::fromStdString(ItemStrings[type][0]);
    const std::optional<QString> name = ask(caption, QStringLiteral("Name:"));
    if (!name) return std::nullopt;
    ItemListModel &entries = list.entries();
    const int found = entries.findEntry(*name);
    const QSignalBlocker quiet(list);
    if (found >= 0 && entries.rowOfEntry(found) < 0) entries.setSearch({});
    list.selectOnly(found >= 0 ? entries.rowOfEntry(found) : -1);
    return name;
}
