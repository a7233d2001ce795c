#include "ui/frmConnect.h"

#include "ui_frmConnect.h"

frmConnect::frmConnect(QWidget *owner) : QDialog(owner), ui(std::make_unique<Ui::frmConnect>()) {
    ui->setupUi(this);
    connect(ui->cmdOk, &QPushButton::clicked, this, &frmConnect::cmdOk_Click);
    connect(ui->cmdCancel, &QPushButton::clicked, this, &frmConnect::cmdCancel_Click);
}

frmConnect::~frmConnect() = default;

void frmConnect::FormSetup(const QString &target, const QString &userName, const QString &refusal) {
    setWindowTitle(QStringLiteral("Connect to %1 as...").arg(target));
    ui->txtUserName->setText(userName);
    ui->txtPassword->clear();
    ui->lblRefusal->setText(refusal);
    ui->lblRefusal->setVisible(!refusal.isEmpty());
    (userName.isEmpty() ? ui->txtUserName : ui->txtPassword)->setFocus();
}

QString frmConnect::UserName() const { return ui->txtUserName->text().trimmed(); }

QString frmConnect::Password() const { return ui->txtPassword->text(); }

void frmConnect::cmdOk_Click() {
    Answered_ = true;
    accept();
}

void frmConnect::cmdCancel_Click() {
    Answered_ = false;
    reject();
}
