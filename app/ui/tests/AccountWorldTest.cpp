#include "AccountWorldTest.h"

#include "dataops/ItemList.h"

#include <QAction>
#include <QPushButton>
#include <QTest>

void AccountWorldTest::SetUp() {
    UiTest::SetUp();
    addDomainWithLocalMember();
    for (const char *name : {"ann", "bob", "carl", "dave", "eve"}) {
        world().addUser("CORP", name, withPassword("Secret1"));
    }
    world().addGroup("CORP", "Staff", samworld::GroupKind::Global, "Everybody on the staff");
    world().addGroup("CORP", "Printers", samworld::GroupKind::Local, "Print operators");
    world().addMember("CORP", "Staff", "ann");
    world().addMember("CORP", "Staff", "bob");
    clickSwitch();
    ASSERT_TRUE(messages().shown().empty()) << messages().shown()[0].text;
}

ItemListView &AccountWorldTest::list() { return control<ItemListView>("lstItems"); }

void AccountWorldTest::select(std::initializer_list<const char *> names) {
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    for (const char *name : names) {
        clickItem(list(), entry(name), modifiers);
        modifiers = Qt::ControlModifier;
    }
    QTest::qWait(300);
}

void AccountWorldTest::showGroups() {
    control<QAction>("mnuViewItem_1").trigger();
}

QStringList AccountWorldTest::selectedNames() {
    QStringList names;
    for (const int row : list().selectedRows()) names << list().text(row);
    names.sort();
    return names;
}

void AccountWorldTest::clickButton(const char *name) {
    QTest::mouseClick(&control<QPushButton>(name), Qt::LeftButton);
}
