#include "DataopsTest.h"

#include "dataops/ItemList.h"
#include "store/ProgramValues.h"
#include "vantry_api/ProgramFolder.h"

#include <QApplication>

#include <array>
#include <filesystem>
#include <memory>

namespace {

// The one application object of the run, gone before the process's own exit handlers run.
class ApplicationEnvironment final : public ::testing::Environment {
public:
    void SetUp() override { application_ = std::make_unique<QApplication>(argc_, argv_.data()); }
    void TearDown() override { application_.reset(); }

private:
    int argc_ = 1;
    char name_[14] = "dataops_tests";
    std::array<char *, 2> argv_{name_, nullptr};
    std::unique_ptr<QApplication> application_;
};

// Google Test owns registered environments.
[[maybe_unused]] const auto *const kApplication =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

}  // namespace

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
