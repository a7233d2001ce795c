// A case with a domain whose users and groups the main window shows: CORP through ALDER, the
// users ann, bob, carl, dave and eve, the global group Staff (ann, bob) and the local group
// Printers, opened by Switch To in the users view.
#pragma once

#include "UiTest.h"

#include <QStringList>

#include <initializer_list>

class ItemListView;

class AccountWorldTest : public UiTest {
protected:
    void SetUp() override;

    ItemListView &list();
    int entry(const QString &name) { return rowOf(list(), name); }
    // Clicks the first name, Ctrl-clicks the others, and waits until the selection is handled.
    void select(std::initializer_list<const char *> names);
    // Switches to the groups view.
    void showGroups();
    QStringList selectedNames();
    void clickButton(const char *name);
    // The account as the SAM holds it now.
    samworld::UserRecord account(const std::string &name) { return world().user("CORP", name); }
};
