// The About box, which also serves as the splash screen at start-up.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class frmSplash;
}

class frmSplash : public QDialog {
    Q_OBJECT

public:
    explicit frmSplash(QWidget *owner = nullptr);
    ~frmSplash() override;

    // Splash: no caption, no buttons, no owner. About: caption and buttons, owned by owner.
    void FormSetup(QWidget *owner, bool splash);

    // This platform has no system information program, so this only says so.
    void StartSysInfo();

private:
    void cmdOK_Click();
    void cmdSysInfo_Click();

    std::unique_ptr<Ui::frmSplash> ui;
};
