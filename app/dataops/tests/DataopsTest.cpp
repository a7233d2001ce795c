#include "DataopsTest.h"

#include "dataops/ItemList.h"
#include "store/ProgramValues.h"
#include "vantry_api/ProgramFolder.h"

#include <filesystem>
#include <memory>

void DataopsTest::SetUp() {
    WorldTest::SetUp();
    std::filesystem::copy_file(ProgramFolder() / "Template.MDB", folder() / "Template.MDB");
    gData = std::make_unique<clsData>(folder());
    gData->WorkList(workList_);
}

void DataopsTest::TearDown() {
    gData.reset();
    gDomainName.clear();
    WorldTest::TearDown();
}

void DataopsTest::openCorp() {
    addDomainCorp();
    gDomainName = "CORP";
    openTarget("\\\\ALDER");
}

void DataopsTest::openTarget(const std::string &host) {
    gData->LastErr().Refresh();
    gData->TargetSAM(host);
    ASSERT_EQ(gData->LastErr().count(), 0) << gData->LastErr().Description();
}

QStringList DataopsTest::texts(const ItemListView &list) {
    QStringList result;
    for (int row = 0; row < list.count(); ++row) result << list.text(row);
    return result;
}

QStringList DataopsTest::iconKeys(const ItemListView &list) {
    QStringList result;
    for (int row = 0; row < list.count(); ++row) result << list.iconKey(row);
    return result;
}

QStringList DataopsTest::selectedTexts(const ItemListView &list) {
    QStringList result;
    for (const int row : list.selectedRows()) result << list.text(row);
    return result;
}

void DataopsTest::addEntry(ItemListView &list, const std::string &name,
                           const std::string &iconKey) {
    list.entries().append({name}, {IconOfKey(iconKey)});
}

void DataopsTest::setSelected(ItemListView &list, int row, bool selected) {
    list.selectionModel()->select(list.model()->index(row, 0),
                                  selected ? QItemSelectionModel::Select
                                           : QItemSelectionModel::Deselect);
}
