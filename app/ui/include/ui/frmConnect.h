// Asks for the name and password to connect to a target that refused the caller: shown when a
// call answers "logon failure", again with the refusal when the password was wrong.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class frmConnect;
}

class frmConnect : public QDialog {
    Q_OBJECT

public:
    explicit frmConnect(QWidget *owner = nullptr);
    ~frmConnect() override;

    // target: the name as the user typed it; refusal: why the last try failed, or empty.
    void FormSetup(const QString &target, const QString &userName, const QString &refusal);

    // True after OK; false after Cancel or any other way of closing.
    bool Answered() const { return Answered_; }
    QString UserName() const;
    QString Password() const;

private:
    void cmdOk_Click();
    void cmdCancel_Click();

    std::unique_ptr<Ui::frmConnect> ui;
    bool Answered_ = false;
};
