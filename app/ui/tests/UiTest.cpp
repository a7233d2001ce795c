#include "UiTest.h"

#include "status/modSAM.h"
#include "store/ProgramValues.h"
#include "ui/modDeclare.h"
#include "vantry_api/ProgramFolder.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

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

void UiTest::clickItem(QTreeWidget &list, QTreeWidgetItem &item, Qt::KeyboardModifiers modifiers) {
    QTest::mouseClick(list.viewport(), Qt::LeftButton, modifiers,
                      list.visualItemRect(&item).center());
    QCoreApplication::processEvents();  // the click is handled after the mouse is released
}
