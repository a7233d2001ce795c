// A case with the main window as start-up leaves it: its own SAM world and store folder, the
// shared tables filled, a recording presenter, and the local computer named OAK.
#pragma once

#include "testing/RecordingPresenter.h"
#include "testing/WorldTest.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

class ItemListView;

class UiTest : public WorldTest {
protected:
    void SetUp() override;
    void TearDown() override;

    frmMain &window() { return *window_; }
    RecordingPresenter &messages() { return messages_; }

    // The window's control of that name; a missing control fails the case.
    template <typename Control>
    Control &control(const char *name) {
        auto *found = window_->findChild<Control *>(QString::fromLatin1(name));
        if (found == nullptr) throw std::runtime_error(std::string("No control ") + name);
        return *found;
    }

    // A domain CORP with controller ALDER, the local machine OAK in it, the domain's
    // administrator logged on.
    void addDomainWithLocalMember();
    // Presses Switch To (or Refresh) as a person would.
    void clickSwitch();
    // Chooses "Machine Name" (0) or "Domain Name" (1) by clicking its button.
    void clickOption(int index);
    // Clicks the entry in that row of a list, with keyboard modifiers, and lets the click be
    // handled.
    static void clickItem(ItemListView &list, int row,
                          Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // The row of the entry of that name; a missing entry fails the case.
    static int rowOf(const ItemListView &list, const QString &name);
    // Runs act on the modal dialog of type Dialog once it shows, looking for it a while: work
    // that keeps the window painted (an operation's progress) runs timers before it opens.
    template <typename Dialog>
    static void whenModal(std::function<void(Dialog &)> act, int tries = 500) {
        QTimer::singleShot(10, [act, tries] {
            if (auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget())) {
                act(*dialog);
            } else if (tries > 0) {
                whenModal<Dialog>(act, tries - 1);
            }
        });
    }

private:
    RecordingPresenter messages_;
    std::unique_ptr<frmMain> window_;
};
