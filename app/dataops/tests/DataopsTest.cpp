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
    list_.setSelectionMode(QAbstractItemView::ExtendedSelection);
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

QStringList DataopsTest::texts(const QTreeWidget &list) {
    QStringList result;
    for (int i = 0; i < list.topLevelItemCount(); ++i) result << list.topLevelItem(i)->text(0);
    return result;
}

QStringList DataopsTest::iconKeys(const QTreeWidget &list) {
    QStringList result;
    for (int i = 0; i < list.topLevelItemCount(); ++i) result << IconKeyOf(*list.topLevelItem(i));
    return result;
}

QStringList DataopsTest::selectedTexts(const QTreeWidget &list) {
    QStringList result;
    for (const QTreeWidgetItem *item : list.selectedItems()) result << item->text(0);
    return result;
}
