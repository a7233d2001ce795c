#include "ui/frmAsk.h"

#include "ui_frmAsk.h"

#include "ui/modMain.h"

#include <QFileDialog>

frmAsk::frmAsk(QWidget *owner) : QDialog(owner), ui(std::make_unique<Ui::frmAsk>()) {
    ui->setupUi(this);
    connect(ui->cmdBrowse, &QPushButton::clicked, this, &frmAsk::cmdBrowse_Click);
    connect(ui->cmdOk, &QPushButton::clicked, this, &frmAsk::cmdOk_Click);
    connect(ui->cmdCancel, &QPushButton::clicked, this, &frmAsk::cmdCancel_Click);
}

frmAsk::~frmAsk() = default;

void frmAsk::FormSetup(const QString &caption, const QString &question, bool showBrowse) {
    setWindowTitle(caption);
    ui->lblQuestion->setText(question);
    ui->cmdBrowse->setVisible(showBrowse);
}

QString frmAsk::Answer() const { return ui->txtAnswer->text(); }

QFileDialog &frmAsk::dlgCD() {
    if (!dlgCD_) {
        dlgCD_ = std::make_unique<QFileDialog>(this);
        dlgCD_->setObjectName(QStringLiteral("dlgCD"));
    }
    return *dlgCD_;
}

void frmAsk::cmdBrowse_Click() {
    const QString path = BrowseForFile(dlgCD(), "All Files(*.*)|*.*", "Find File");
    if (!path.isEmpty()) ui->txtAnswer->setText(path);
}

// A dialog closed by its title bar or Escape ends rejected, which leaves Answered false.
void frmAsk::cmdOk_Click() {
    Answered_ = true;
    accept();
}

void frmAsk::cmdCancel_Click() {
    Answered_ = false;
    reject();
}
