// The main window on a 20,000-user domain, driven as an administrator would, without a display:
// Switch To until the list can be used, select all, Relationships and its OK, and Apply of one
// flag to 2,000 users, against the bare library calls that Apply makes for the same accounts.
// Prints each time and the longest the window went without being repainted meanwhile: one of
// its buttons is asked to repaint every 10 ms throughout, so a long gap is a window that froze.
#include "dataops/ItemList.h"
#include "samworld/world.h"
#include "status/MsgBox.h"
#include "testing/TempFolder.h"
#include "ui/frmMain.h"
#include "ui/frmRelations.h"
#include "ui/modDeclare.h"
#include "vantry_api/ProgramFolder.h"
#include "vantry_api/UserReadBuffers.h"
#include "vantry_api/modVantryDeclare.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

#include <lm.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const char *const kDomain = "BENCH";
const char *const kController = "SPRUCE";
const char *const kServer = "\\\\SPRUCE";
constexpr int kUsers = 20000;
constexpr int kMembersPerGroup = 50;
constexpr int kApplied = 2000;
constexpr int kRepaintAskedEveryMs = 10;

// Every message is printed: none is expected, so one means a step did not do what it should.
class PrintingPresenter final : public MessagePresenter {
public:
    MsgAnswer present(const std::string &text, MsgButtons buttons, MsgIcon,
                      const std::string &title) override {
        std::cerr << "message: " << title << ": " << text << '\n';
        ++count;
        return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::OK;
    }
    int count = 0;
};

// Asks a control to repaint every few milliseconds and remembers the longest time between two
// paints since the last reset.
class RepaintWatch final : public QObject {
public:
    explicit RepaintWatch(QWidget &control) : control_(control) {
        control.installEventFilter(this);
        asker_.setInterval(kRepaintAskedEveryMs);
        QObject::connect(&asker_, &QTimer::timeout, &control, [&control] { control.update(); });
        asker_.start();
        reset();
    }
    void reset() {
        longestMs_ = 0;
        sincePaint_.start();
    }
    // The longest gap so far, counting the one still open.
    qint64 longestMs() const { return std::max(longestMs_, sincePaint_.elapsed()); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched == &control_ && event->type() == QEvent::Paint) {
            longestMs_ = std::max(longestMs_, sincePaint_.restart());
        }
        return false;
    }

private:
    QWidget &control_;
    QTimer asker_;
    QElapsedTimer sincePaint_;
    qint64 longestMs_ = 0;
};

template <typename Control>
Control &find(QWidget &window, const char *name) {
    auto *found = window.findChild<Control *>(QString::fromLatin1(name));
    if (found == nullptr) throw std::runtime_error(std::string("No control ") + name);
    return *found;
}

// Lets the window work until done says so.
void waitUntil(const std::function<bool()> &done) {
    while (!done()) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

struct Measured {
    double ms;
    qint64 longestGapMs;
};

Measured measure(RepaintWatch &watch, const std::function<void()> &step) {
    QCoreApplication::processEvents();
    watch.reset();
    QElapsedTimer clock;
    clock.start();
    step();
    const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    const qint64 gap = watch.longestMs();
    return {ms, gap};
}

void print(const char *what, const Measured &measured) {
    std::printf("%-42s %9.0f ms   longest without repaint %6lld ms\n", what, measured.ms,
                static_cast<long long>(measured.longestGapMs));
}

// Selects the first count entries as one selection and waits until the window has taken it up.
void selectFirst(frmMain &window, ItemListView &list, int count) {
    list.clearSelection();
    if (count == list.count()) {
        list.selectAll();
    } else {
        QItemSelection range(list.model()->index(0, 0), list.model()->index(count - 1, 0));
        list.selectionModel()->select(range, QItemSelectionModel::ClearAndSelect);
    }
    waitUntil([&] { return window.SelCount() == count; });
}

// The calls Apply makes for one flag, and nothing else: read the account, write it back with
// the flag set.
double bareLibraryCallsMs(const std::vector<std::string> &users) {
    namespace api = modVantryDeclare;
    QElapsedTimer clock;
    clock.start();
    for (const std::string &name : users) {
        UserReadBuffers current;
        UserRecord record{};
        if (api::GetUserInfo(kServer, name.c_str(), &current.record()) != 0) {
            throw std::runtime_error("GetUserInfo failed for " + name);
        }
        record.flags = current.record().flags | UF_DONT_EXPIRE_PASSWD;
        record.acct_expires = current.record().acct_expires;
        record.password_expired = current.record().password_expired;
        if (api::SetUserInfo(kServer, name.c_str(), &record) != 0) {
            throw std::runtime_error("SetUserInfo failed for " + name);
        }
    }
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char *argv[]) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);

    const TempFolder folder;
    const std::string worldPath = (folder.path() / "samworld.db").string();
    {
        samworld::World world = samworld::World::create(worldPath);
        world.addDomain(kDomain, kController);
        world.logon(std::string(kDomain) + "\\Administrator");
        world.generate(kDomain, kUsers, kUsers / kMembersPerGroup, kMembersPerGroup, 7);
    }
    setenv("SAMWORLD", worldPath.c_str(), 1);
    setenv("COMPUTERNAME", kController, 1);
    std::filesystem::copy_file(ProgramFolder() / "Template.MDB", folder.path() / "Template.MDB");

    PrintingPresenter presenter;
    const PresenterScope messages(presenter);
    InitDeclarations();
    frmMain window;
    window.FormSetup(folder.path());
    window.resize(1100, 700);
    window.show();
    RepaintWatch watch(find<QPushButton>(window, "cmdSwitch"));
    auto &list = find<ItemListView>(window, "lstItems");

    print("Switch To, until the list can be used", measure(watch, [&] {
              find<QPushButton>(window, "cmdSwitch").click();
              waitUntil([&] { return window.SelCount() == 1; });
          }));
    const int listed = list.count();
    std::printf("  %d users listed\n", listed);

    print("Select all, until the panel shows it", measure(watch, [&] {
              selectFirst(window, list, listed);
          }));

    double openMs = 0;
    print("Relationships -> OK", measure(watch, [&] {
              QElapsedTimer open;
              open.start();
              QTimer::singleShot(0, [&] {
                  openMs = static_cast<double>(open.nsecsElapsed()) / 1e6;
                  if (auto *dialog = qobject_cast<frmRelations *>(QApplication::activeModalWidget())) {
                      find<QPushButton>(*dialog, "cmdOK").click();
                  }
              });
              find<QPushButton>(window, "cmdRelations").click();
          }));
    std::printf("  of which the dialog's opening             %9.0f ms\n", openMs);
    print("  then the restored selection taken up", measure(watch, [&] {
              waitUntil([&] { return window.SelCount() == listed; });
          }));

    selectFirst(window, list, kApplied);
    const std::vector<std::string> applied = SelectedNames(list);
    // Not "disabled": the administrator these calls are made as is among the users.
    find<QCheckBox>(window, "chkUserPassNever").click();
    // A first pass reads the accounts' pages of the world for the first time; after it the bare
    // calls are timed before and after Apply, so that neither gains from the other's caches.
    std::printf("%-42s %9.0f ms\n", "First pass of the bare calls (not compared)",
                bareLibraryCallsMs(applied));
    const double bareBefore = bareLibraryCallsMs(applied);
    const Measured apply = measure(watch, [&] { find<QPushButton>(window, "cmdApply").click(); });
    const double bareAfter = bareLibraryCallsMs(applied);
    print("Apply of one flag to 2,000 users", apply);
    const double bareMs = (bareBefore + bareAfter) / 2;
    std::printf("%-42s %9.0f ms   (%.0f before Apply, %.0f after)\n",
                "  the same library calls, bare", bareMs, bareBefore, bareAfter);
    std::printf("  Apply / bare calls %.2f\n", apply.ms / bareMs);

    return presenter.count == 0 ? 0 : 1;
}
