// Tarnwick: the splash, then the main window, until the main window closes.
#include "ui/AppInfo.h"
#include "ui/Images.h"
#include "ui/ProgramFiles.h"
#include "ui/QtMessagePresenter.h"
#include "ui/frmMain.h"
#include "ui/modMain.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(kAppTitle);
    QApplication::setDesktopFileName(QStringLiteral("org.tarnwick.Tarnwick"));  // its icon and entry
    QApplication::setWindowIcon(QIcon(ProductPicture(64)));
    QtMessagePresenter presenter;
    const PresenterScope messages(presenter);
    const std::unique_ptr<frmMain> window = StartUp(ProgramStoreFolders());
    return QApplication::exec();
}
