// tarnwick_screenshot FOLDER: renders the real windows into PNG files, so that people can look
// at what an administrator sees. The targets come from the world the platform names (the
// variable SAMWORLD, else samworld.db beside the program): the domain of the local machine,
// then the local machine's own SAM.
#include "status/MsgBox.h"
#include "ui/frmMain.h"
#include "ui/frmSplash.h"
#include "ui/modDeclare.h"
#include "ui/modMain.h"
#include "vantry_api/ProgramFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <array>
#include <iostream>

namespace {

// Writes every message to the error stream and answers it as a person pressing Enter would.
class ConsolePresenter final : public MessagePresenter {
public:
    MsgAnswer present(const std::string &text, MsgButtons buttons, MsgIcon,
                      const std::string &title) override {
        std::cerr << title << ": " << text << '\n';
        ++count;
        return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::OK;
    }
    int count = 0;
};

class Camera {
public:
    explicit Camera(QDir folder) : folder_(std::move(folder)) {}

    bool shoot(QWidget &window, const QString &name) {
        WaitProcessingEvents(std::chrono::milliseconds(200));  // let layouts and paints settle
        const QString path = folder_.filePath(name + QStringLiteral(".png"));
        const bool saved = window.grab().save(path);
        std::cout << (saved ? "wrote " : "could not write ") << path.toStdString() << '\n';
        return saved;
    }

private:
    QDir folder_;
};

template <typename Control>
Control &find(frmMain &window, const char *name) {
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

}  // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 2) {
        std::cerr << "Usage: tarnwick_screenshot FOLDER\n";
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
    bool saved = camera.shoot(window, QStringLiteral("main-no-target"));
    {
        frmSplash about;
        about.FormSetup(&window, false);
        about.show();
        saved &= camera.shoot(about, QStringLiteral("about"));
    }

    find<QPushButton>(window, "cmdSwitch").click();
    saved &= shootPanelTabs(camera, window, QStringLiteral("domain-users"));

    const QString localMachine = find<QLineEdit>(window, "txtName").text();
    find<QCheckBox>(window, "chkPDC").setChecked(false);
    find<QLineEdit>(window, "txtName").setText(localMachine);
    find<QPushButton>(window, "cmdSwitch").click();
    saved &= camera.shoot(window, QStringLiteral("machine-users"));

    // A message means a scene did not show what it should.
    return saved && presenter.count == 0 ? 0 : 1;
}
