// tarnwick_screenshot FOLDER: renders the real windows into PNG files, so that people can look
// at what an administrator sees. The targets come from the world the platform names (the
// variable SAMWORLD, else its own default): the domain of the local machine, then the local
// machine's own SAM. The bulk scenes change accounts of that world and make some of its calls
// fail.
// tarnwick_screenshot FOLDER DOMAIN USER PASSWORD: a directory domain instead, which asks for
// the name and password first.
#include "dataops/ItemList.h"
#include "samworld/world.h"
#include "status/MsgBox.h"
#include "ui/frmConnect.h"
#include "ui/frmErrors.h"
#include "ui/frmImport.h"
#include "ui/frmMain.h"
#include "ui/frmRelations.h"
#include "ui/frmSplash.h"
#include "ui/frmTrusted.h"
#include "ui/modDeclare.h"
#include "ui/modMain.h"
#include "vantry_api/ProgramFolder.h"

#include <QApplication>
#include <QAction>
#include <QCalendarWidget>
#include <QLabel>
#include <QCheckBox>
#include <QComboBox>
#include <QAbstractItemView>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <array>
#include <functional>
#include <iostream>

namespace {

// Writes every message to the error stream and answers it as a person pressing Enter would.
// An error report expected by a scene is handed to it instead.
class ConsolePresenter final : public MessagePresenter {
public:
    MsgAnswer present(const std::string &text, MsgButtons buttons, MsgIcon,
                      const std::string &title) override {
        std::cerr << title << ": " << text << '\n';
        if (expected > 0) {
            --expected;
        } else {
            ++count;
        }
        return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::OK;
    }
    void presentErrors(const ErrorReport &report) override {
        if (!expectedReport) {
            MessagePresenter::presentErrors(report);
            return;
        }
        expectedReport(report);
        expectedReport = {};
    }
    int count = 0;     // messages no scene expected
    int expected = 0;  // messages the scene at hand expects
    std::function<void(const ErrorReport &)> expectedReport;
};

class Camera {
public:
    explicit Camera(QDir folder) : folder_(std::move(folder)) {}

    // A popup is a window of its own: it is drawn over the window where it stands.
    bool shoot(QWidget &window, const QString &name, QWidget *popup = nullptr) {
        WaitProcessingEvents(std::chrono::milliseconds(200));  // let layouts and paints settle
        QPixmap picture = window.grab();
        if (popup != nullptr) {
            QPainter painter(&picture);
            painter.drawPixmap(window.mapFromGlobal(popup->mapToGlobal(QPoint(0, 0))),
                               popup->grab());
        }
        return save(picture, name);
    }

    // A window with a dialog over its middle, framed and titled as a desktop would show it.
    // Events are let through only to paint, so that the work behind the dialog goes on.
    bool shootOver(QWidget &window, QWidget &dialog, const QString &name) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QPixmap picture = window.grab();
        const QPixmap top = titled(dialog);
        QPainter painter(&picture);
        painter.drawPixmap((picture.width() - top.width()) / 2,
                           (picture.height() - top.height()) / 2, top);
        painter.end();
        return save(picture, name);
    }

    // A window with its title bar, for a scene whose caption matters.
    bool shootTitled(QWidget &window, const QString &name) {
        WaitProcessingEvents(std::chrono::milliseconds(200));
        return save(titled(window), name);
    }

private:
    // The window under a title bar with its caption, framed as a desktop would show it.
    static QPixmap titled(QWidget &window) {
        const QPixmap body = window.grab();
        const int titleHeight = window.fontMetrics().height() + 8;
        QPixmap picture(body.width(), body.height() + titleHeight);
        const QRect title(0, 0, body.width(), titleHeight);
        QPainter painter(&picture);
        painter.fillRect(title, window.palette().color(QPalette::Highlight));
        painter.setPen(window.palette().color(QPalette::HighlightedText));
        painter.drawText(title.adjusted(8, 0, 0, 0), Qt::AlignVCenter, window.windowTitle());
        painter.drawPixmap(0, titleHeight, body);
        painter.setPen(window.palette().color(QPalette::Dark));
        painter.drawRect(picture.rect().adjusted(0, 0, -1, -1));
        painter.end();
        return picture;
    }

    bool save(const QPixmap &picture, const QString &name) {
        const QString path = folder_.filePath(name + QStringLiteral(".png"));
        const bool saved = picture.save(path);
        std::cout << (saved ? "wrote " : "could not write ") << path.toStdString() << '\n';
        return saved;
    }

private:
    QDir folder_;
};

template <typename Control>
Control &find(QWidget &window, const char *name) {
    return *window.findChild<Control *>(QString::fromLatin1(name));
}

bool shootPanelTabs(Camera &camera, frmMain &window, const QString &prefix) {
    auto &tabs = find<QTabWidget>(window, "tabDetails_0");
    const std::array<const char *, 3> names{"details", "access", "password"};
    bool saved = true;
    for (int tab = 0; tab < tabs.count(); ++tab) {
        tabs.setCurrentIndex(tab);
        saved &= camera.shoot(window, prefix + QStringLiteral("-") + names[tab]);
    }
    tabs.setCurrentIndex(0);
    return saved;
}

// The groups view filtered by one user: the user's local and global groups together.
bool shootGroupsOfOneUser(Camera &camera, frmMain &window, const QString &user) {
    find<QAction>(window, "tbrToolBar_Group").trigger();
    auto &filter = find<QComboBox>(window, "cboFilter");
    const int entry = filter.findText(user);
    if (entry < 0) {
        std::cerr << "No filter entry " << user.toStdString() << '\n';
        return false;
    }
    filter.setCurrentIndex(entry);
    return camera.shoot(window, QStringLiteral("domain-groups-of-") + user.toLower());
}

// Selects the first count entries of the main list and lets the window take the selection up.
void selectFirst(frmMain &window, int count) {
    auto &list = find<ItemListView>(window, "lstItems");
    const int last = std::min(count, list.count()) - 1;
    list.selectionModel()->select(
        QItemSelection(list.model()->index(0, 0), list.model()->index(last, 0)),
        QItemSelectionModel::ClearAndSelect);
    WaitProcessingEvents(std::chrono::milliseconds(400));
}

void selectByName(frmMain &window, const QString &name) {
    auto &list = find<ItemListView>(window, "lstItems");
    const int row = list.entries().findName(name);
    list.selectOnly(row);
    if (row >= 0) list.scrollTo(list.model()->index(row, 0));
    WaitProcessingEvents(std::chrono::milliseconds(400));
}

// The list while the search box holds text: only the names that hold it, with their columns.
bool shootSearch(Camera &camera, frmMain &window, const QString &text) {
    auto &search = find<QLineEdit>(window, "txtSearch");
    search.setText(text);
    const bool saved = camera.shoot(window, QStringLiteral("domain-users-search"));
    search.clear();
    return saved;
}

// The filter's list dropped down: each group with the icon of its kind.
bool shootFilterList(Camera &camera, frmMain &window) {
    auto &filter = find<QComboBox>(window, "cboFilter");
    filter.showPopup();
    const bool saved =
        camera.shoot(window, QStringLiteral("domain-users-filter-list"), filter.view()->window());
    filter.hidePopup();
    return saved;
}

// The calendar dropped down from the account-expiry field of a user whose account expires.
bool shootExpiryCalendar(Camera &camera, frmMain &window, const QString &user) {
    selectByName(window, user);
    auto &field = find<QLineEdit>(window, "txtUserAcctExp");
    find<QAction>(field, "cmdCalendar").trigger();
    auto &calendar = find<QCalendarWidget>(field, "calCalendar");
    const bool saved = camera.shoot(window, QStringLiteral("user-expiry-calendar"), &calendar);
    calendar.close();
    return saved;
}

// Runs scene on the modal dialog that open shows, then closes it.
template <typename Dialog>
bool onModal(const std::function<void()> &open, const std::function<bool(Dialog &)> &scene) {
    bool saved = false;
    QTimer::singleShot(0, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *dialog = qobject_cast<Dialog *>(modal)) saved = scene(*dialog);
        if (modal != nullptr && modal->isVisible()) modal->hide();
    });
    open();
    if (!saved) std::cerr << "No dialog for the scene\n";
    return saved;
}

bool shootRelationships(Camera &camera, frmMain &window, const QString &name,
                        const std::function<bool(frmRelations &)> &more = {}) {
    return onModal<frmRelations>([&] { find<QPushButton>(window, "cmdRelations").click(); },
                                 [&](frmRelations &dialog) {
                                     const bool saved = camera.shoot(dialog, name);
                                     return more ? saved && more(dialog) : saved;
                                 });
}

// The Other Items dialog on the trusted domain, opened from the Relationships dialog.
bool shootOtherItems(Camera &camera, frmRelations &relations, const QString &domain) {
    return onModal<frmTrusted>([&] { find<QPushButton>(relations, "cmdAddOther").click(); },
                               [&](frmTrusted &trusted) {
                                   auto &domains = find<QComboBox>(trusted, "cboDomain");
                                   domains.setCurrentIndex(domains.findText(domain));
                                   return camera.shoot(trusted, QStringLiteral("other-items"));
                               });
}

// The Relationships dialog for one user, three users and a local group with members of every
// kind, and the Other Items dialog.
bool shootRelationshipScenes(Camera &camera, frmMain &window) {
    find<QAction>(window, "tbrToolBar_User").trigger();
    selectFirst(window, 1);
    bool saved = shootRelationships(camera, window, QStringLiteral("relations-one-user"));
    selectFirst(window, 3);
    saved &= shootRelationships(camera, window, QStringLiteral("relations-three-users"));
    find<QAction>(window, "tbrToolBar_Group").trigger();
    selectByName(window, QStringLiteral("Harbour Office"));
    saved &= shootRelationships(camera, window, QStringLiteral("relations-local-group"),
                                [&](frmRelations &dialog) {
                                    return shootOtherItems(camera, dialog, QStringLiteral("ORCHARD"));
                                });
    return saved;
}

// Selects the first count users, gives them a comment and presses Apply; scene runs while the
// work goes on, at every chance the window has to paint. Nothing is disabled: the administrator
// the later scenes log on as is among those users.
void applyToFirstUsers(frmMain &window, int count, const std::function<bool()> &scene) {
    find<QAction>(window, "tbrToolBar_User").trigger();
    selectFirst(window, count);
    find<QTabWidget>(window, "tabDetails_0").setCurrentIndex(0);
    find<QLineEdit>(window, "txtUserComment").setText(QStringLiteral("Winter crew"));
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (scene()) poll.stop();
    });
    poll.start(0);
    find<QPushButton>(window, "cmdApply").click();
    poll.stop();
}

// The progress of a bulk Apply, caught a third of the way through.
bool shootApplyProgress(Camera &camera, frmMain &window) {
    bool saved = false;
    window.ProgressDelay(std::chrono::milliseconds(0));
    applyToFirstUsers(window, 60, [&] {
        auto *progress = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (progress == nullptr || progress->objectName() != QLatin1String("frmProgress")) {
            return false;
        }
        const QString count = find<QLabel>(*progress, "lblCount").text();
        if (count.section(QLatin1Char(' '), 0, 0).toInt() < 20) {
            // The demo's accounts take microseconds each, and the window lets events through
            // only every 25 ms: a pause as long as a slow target's account brings it back at
            // the next one.
            QThread::msleep(30);
            return false;
        }
        saved = camera.shootOver(window, *progress, QStringLiteral("apply-progress"));
        return true;
    });
    window.ProgressDelay(kProgressDelay);
    find<QPushButton>(window, "cmdDiscard").click();
    return saved;
}

// The one report after a bulk Apply that the SAM refused for twelve of thirty users.
bool shootApplyReport(Camera &camera, frmMain &window, ConsolePresenter &presenter) {
    samworld::World world = samworld::World::open(samworld::World::defaultPath());
    world.addFault({.call = "NetUserSetInfo", .status = 5, .server = "", .after = 10, .count = 12});
    bool saved = false;
    presenter.expectedReport = [&](const ErrorReport &report) {
        frmErrors errors(report, &window);
        errors.show();
        saved = camera.shootOver(window, errors, QStringLiteral("apply-report"));
    };
    applyToFirstUsers(window, 30, [] { return true; });
    world.clearFaults();
    find<QPushButton>(window, "cmdDiscard").click();
    return saved;
}

// Several users selected: the hours grid shows none of them, and Clear on Sunday is ready to
// be applied to each user's own hours.
bool shootMixedHours(Camera &camera, frmMain &window) {
    find<QAction>(window, "tbrToolBar_User").trigger();
    selectFirst(window, 5);
    find<QTabWidget>(window, "tabDetails_0").setCurrentIndex(1);
    auto &grid = find<QTableWidget>(window, "flxUserHours");
    grid.clearSelection();
    grid.setRangeSelected(QTableWidgetSelectionRange(0, 0, 0, 23), true);
    find<QPushButton>(window, "cmdUserClear").click();
    grid.clearSelection();
    const bool saved = camera.shoot(window, QStringLiteral("users-mixed-hours"));
    find<QPushButton>(window, "cmdDiscard").click();
    find<QTabWidget>(window, "tabDetails_0").setCurrentIndex(0);
    return saved;
}

// The preview of an import from the README's sample file: two accounts to create, and a row
// refused for a name in use and a group the target lacks. Cancelled, so nothing changes.
bool shootImportPreview(Camera &camera, frmMain &window) {
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("new-staff.csv"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write("name,password,full name,comment,flags,account expires,groups\r\n"
                   "ruth.baker,Tide-2001,\"Baker, Ruth\",Net mender,must_change,,Fishers; Weavers\r\n"
                   "sam.carter,Tide-2002,Sam Carter,\"Dock clerk, nights\",disabled,2030-06-01,"
                   "Clerks; Harbour Office\r\n"
                   "anna.baker,Tide-2003,Anna Baker,,,,Sailors; Sea Scouts\r\n") < 0) {
        std::cerr << "Cannot write " << path.toStdString() << '\n';
        return false;
    }
    file.close();
    find<QAction>(window, "tbrToolBar_User").trigger();
    window.dlgCD().setOption(QFileDialog::DontUseNativeDialog);
    bool saved = false;
    QTimer::singleShot(0, [&] {
        window.dlgCD().selectFile(path);
        QMetaObject::invokeMethod(&window.dlgCD(), "accept");
        QTimer::singleShot(0, [&] {  // the preview comes next
            auto *preview = qobject_cast<frmImport *>(QApplication::activeModalWidget());
            if (preview == nullptr) return;
            saved = camera.shootOver(window, *preview, QStringLiteral("import-preview"));
            preview->reject();
        });
    });
    find<QAction>(window, "mnuFileImport").trigger();
    if (!saved) std::cerr << "No import preview\n";
    return saved;
}

// Several users with flags that differ on the Password Control tab: the count, and the boxes
// partly checked where the users differ.
bool shootMixedFlags(Camera &camera, frmMain &window) {
    find<QAction>(window, "tbrToolBar_User").trigger();
    selectFirst(window, 24);
    auto &tabs = find<QTabWidget>(window, "tabDetails_0");
    tabs.setCurrentIndex(2);
    const bool saved = camera.shoot(window, QStringLiteral("users-mixed-flags"));
    tabs.setCurrentIndex(0);
    return saved;
}

// The domain opened by a user who may not change its accounts: after the probe's refusal and
// the offer, both answered, the lists shown read only.
bool shootReadOnly(Camera &camera, frmMain &window, ConsolePresenter &presenter,
                   const QString &target) {
    samworld::World world = samworld::World::open(samworld::World::defaultPath());
    world.logon("HARBOUR\\david.baker");
    find<QCheckBox>(window, "chkPDC").setChecked(true);
    find<QLineEdit>(window, "txtName").setText(target);
    presenter.expected = 2;
    find<QPushButton>(window, "cmdSwitch").click();
    const bool saved = presenter.expected == 0 &&
                       camera.shootTitled(window, QStringLiteral("domain-read-only"));
    world.logon("HARBOUR\\Administrator");
    return saved;
}

// A directory domain opened by name: the Connect dialog that Switch To brings up, then the
// users list.
bool shootDirectory(Camera &camera, frmMain &window, const QString &domain, const QString &user,
                    const QString &password) {
    find<QRadioButton>(window, "optSelect_1").click();
    find<QLineEdit>(window, "txtName").setText(domain);
    const auto switchTo = [&] { find<QPushButton>(window, "cmdSwitch").click(); };
    const bool saved = onModal<frmConnect>(switchTo, [&](frmConnect &dialog) {
        find<QLineEdit>(dialog, "txtUserName").setText(user);
        // With its caption: it names the domain being connected to.
        const bool shot = camera.shootTitled(dialog, QStringLiteral("directory-connect"));
        find<QLineEdit>(dialog, "txtPassword").setText(password);
        find<QPushButton>(dialog, "cmdOk").click();
        return shot;
    });
    return saved && shootPanelTabs(camera, window, QStringLiteral("directory-users"));
}

}  // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 2 && arguments.size() != 5) {
        std::cerr << "Usage: tarnwick_screenshot FOLDER [DOMAIN USER PASSWORD]\n";
        return 2;
    }
    QDir folder(arguments[1]);
    if (!folder.mkpath(QStringLiteral("."))) {
        std::cerr << "Cannot create " << arguments[1].toStdString() << '\n';
        return 1;
    }
    ConsolePresenter presenter;
    const PresenterScope messages(presenter);
    Camera camera(folder);

    InitDeclarations();
    frmMain window;
    window.FormSetup(ProgramFolder());
    window.show();
    if (arguments.size() == 5) {
        const bool shot = shootDirectory(camera, window, arguments[2], arguments[3], arguments[4]);
        return shot && presenter.count == 0 ? 0 : 1;
    }
    bool saved = camera.shoot(window, QStringLiteral("main-no-target"));
    {
        frmSplash about;
        about.FormSetup(&window, false);
        about.show();
        saved &= camera.shoot(about, QStringLiteral("about"));
    }

    find<QPushButton>(window, "cmdSwitch").click();
    saved &= shootPanelTabs(camera, window, QStringLiteral("domain-users"));
    saved &= shootSearch(camera, window, QStringLiteral("baker"));
    saved &= shootFilterList(camera, window);
    selectByName(window, QStringLiteral("henry.baker"));  // locked: the lock box can be cleared
    saved &= shootPanelTabs(camera, window, QStringLiteral("user-panel"));
    saved &= shootExpiryCalendar(camera, window, QStringLiteral("david.baker"));
    saved &= shootRelationshipScenes(camera, window);
    saved &= camera.shoot(window, QStringLiteral("group-panel"));  // the local group shown last
    saved &= shootGroupsOfOneUser(camera, window, QStringLiteral("Administrator"));
    saved &= shootMixedHours(camera, window);
    saved &= shootMixedFlags(camera, window);
    saved &= shootApplyProgress(camera, window);
    saved &= shootApplyReport(camera, window, presenter);
    saved &= shootImportPreview(camera, window);

    const QString localMachine = find<QLineEdit>(window, "txtName").text();
    find<QCheckBox>(window, "chkPDC").setChecked(false);
    find<QLineEdit>(window, "txtName").setText(localMachine);
    find<QPushButton>(window, "cmdSwitch").click();
    saved &= camera.shoot(window, QStringLiteral("machine-users"));
    saved &= shootReadOnly(camera, window, presenter, localMachine);

    // A message means a scene did not show what it should.
    return saved && presenter.count == 0 ? 0 : 1;
}
