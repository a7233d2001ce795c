#include "ui/frmSplash.h"

#include "ui_frmSplash.h"

#include "status/MsgBox.h"
#include "ui/AppInfo.h"
#include "ui/Images.h"

namespace {

constexpr int kPictureSize = 96;

QString versionText() {
    return QStringLiteral("Version %1.%2.%3")
        .arg(kAppVersionMajor)
        .arg(kAppVersionMinor)
        .arg(kAppVersionRevision);
}

QFont productNameFont(const QFont &base) {
    QFont font(QStringLiteral("Serif"), base.pointSize() * 2 + 4, QFont::Bold);
    font.setStyleHint(QFont::Serif);
    return font;
}

}  // namespace

frmSplash::frmSplash(QWidget *owner) : QDialog(owner), ui(std::make_unique<Ui::frmSplash>()) {
    ui->setupUi(this);
    ui->Picture1->setPixmap(ProductPicture(kPictureSize));
    ui->lblProdName->setFont(productNameFont(font()));
    connect(ui->cmdOK, &QPushButton::clicked, this, &frmSplash::cmdOK_Click);
    connect(ui->cmdSysInfo, &QPushButton::clicked, this, &frmSplash::cmdSysInfo_Click);
}

frmSplash::~frmSplash() = default;

void frmSplash::FormSetup(QWidget *owner, bool splash) {
    const Qt::WindowFlags frame =
        splash ? Qt::SplashScreen | Qt::FramelessWindowHint
               : Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    setParent(owner, frame);
    ui->cmdOK->setVisible(!splash);
    ui->cmdSysInfo->setVisible(!splash);
    setWindowTitle(splash ? QString() : QStringLiteral("About ") + kAppTitle);
    ui->lblProdName->setText(kAppTitle);
    ui->lblProdVer->setText(versionText());
    // The splash has no frame of its own, so the box draws one.
    setStyleSheet(splash ? QStringLiteral("frmSplash { border: 1px solid palette(dark); }")
                         : QString());
}

void frmSplash::StartSysInfo() {
    MsgBox("System Information Is Unavailable At This Time", MsgButtons::OKOnly, MsgIcon::None,
           kAppTitle);
}

void frmSplash::cmdOK_Click() { accept(); }

void frmSplash::cmdSysInfo_Click() { StartSysInfo(); }
