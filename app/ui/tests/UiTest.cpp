#include "UiTest.h"

#include "dataops/ItemList.h"
#include "status/modSAM.h"
#include "store/ProgramValues.h"
#include "ui/modDeclare.h"
#include "vantry_api/ProgramFolder.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cstdlib>
#include <filesystem>

void UiTest::SetUp() {
    WorldTest::SetUp();
    ASSERT_EQ(setenv("COMPUTERNAME", "OAK", 1), 0);
    std::filesystem::copy_file(ProgramFolder() / "Template.MDB", folder() / "Template.MDB");
    InitDeclarations();
    window_ = std::make_unique<frmMain>();
    window_->FormSetup(folder());
    window_->show();
}

void UiTest::TearDown() {
    window_.reset();
    gData.reset();
    gSAMHost.clear();
    OutOfStep = false;
    unsetenv("COMPUTERNAME");
    WorldTest::TearDown();
}

void UiTest::addDomainWithLocalMember() {
    world().addDomain("CORP", "ALDER");
    world().addMachine("OAK", "CORP", "", true);
    world().logon("CORP\\Administrator");
}

void UiTest::clickSwitch() {
    QTest::mouseClick(&control<QPushButton>("cmdSwitch"), Qt::LeftButton);
}

void UiTest::clickOption(int index) {
    auto &option = control<QRadioButton>(index == 0 ? "optSelect_0" : "optSelect_1");
    QTest::mouseClick(&option, Qt::LeftButton, {}, QPoint(6, option.height() / 2));  // the circle
}

void UiTest::clickItem(ItemListView &list, int row, Qt::KeyboardModifiers modifiers) {
    QTest::mouseClick(list.viewport(), Qt::LeftButton, modifiers,
                      list.visualRect(list.model()->index(row, 0)).center());
    QCoreApplication::processEvents();  // the click is handled after the mouse is released
}

int UiTest::rowOf(const ItemListView &list, const QString &name) {
    for (int row = 0; row < list.count(); ++row) {
        if (list.text(row) == name) return row;
    }
    throw std::runtime_error("No entry " + name.toStdString());
}
