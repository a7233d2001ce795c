// A case for the window-side data operations: its own world, the program-wide store (gData)
// working in the case's folder, a recording presenter, and one list view to fill.
#pragma once

#include "dataops/ItemList.h"
#include "testing/RecordingPresenter.h"
#include "testing/WorldTest.h"
#include "vantry_api/NameList.h"

#include <QStringList>

class DataopsTest : public WorldTest {
protected:
    void SetUp() override;
    void TearDown() override;

    RecordingPresenter &messages() { return messages_; }
    ItemListView &list() { return list_; }

    // Domain CORP through its controller \\ALDER, opened in the store as Switch To opens it.
    void openCorp();
    // Opens the target's snapshot afresh, as Refresh does.
    void openTarget(const std::string &host);

    // The list's entries: texts, icon keys, and the texts of the selected ones.
    static QStringList texts(const ItemListView &list);
    static QStringList iconKeys(const ItemListView &list);
    static QStringList selectedTexts(const ItemListView &list);
    // Appends one entry without touching the selection.
    static void addEntry(ItemListView &list, const std::string &name, const std::string &iconKey);
    static void setSelected(ItemListView &list, int row, bool selected);

private:
    RecordingPresenter messages_;
    StringNameList workList_;
    ItemListView list_;
};
