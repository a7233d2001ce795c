#include "ui/frmAdd.h"

#include "ui_frmAdd.h"

#include "accounts/Details.h"
#include "accounts/clsGroup.h"
#include "accounts/clsUser.h"
#include "dataops/ItemList.h"
#include "dataops/ItemLists.h"
#include "store/ProgramValues.h"
#include "ui/TextLimit.h"

#include <array>

namespace {

constexpr int kUserNameLength = 20;
constexpr int kGroupNameLength = 256;
constexpr int kPasswordLength = 14;
constexpr int kAdded = 0;
constexpr int kNotAdded = -1;

// Whether the name is taken; what the check meets is recorded as the failure.
bool NameTaken(AccountObject &object, const std::string &name, const std::string &takenText) {
    try {
        if (!object.Exists(name)) return false;
        gData->LastErr().Description(takenText);
    } catch (...) {
        gData->LastErr().CloneErr();
    }
    return true;
}

}  // namespace

frmAdd::frmAdd(QWidget *owner, TargetWork withLogon)
    : QDialog(owner), ui(std::make_unique<Ui::frmAdd>()), withLogon_(std::move(withLogon)) {
    ui->setupUi(this);
    connect(ui->txtName, &QLineEdit::textChanged, this, &frmAdd::txtName_Change);
    connect(ui->cmdOk, &QPushButton::clicked, this, &frmAdd::cmdOk_Click);
    connect(ui->cmdCancel, &QPushButton::clicked, this, &frmAdd::cmdCancel_Click);
}

frmAdd::~frmAdd() = default;

QString frmAdd::NewName() const { return ui->txtName->text(); }

void frmAdd::SetupForm(int kind, const QString &group) {
    Kind_ = kind;
    AddResult_ = kNotAdded;  // closing the dialog any other way than OK adds nothing
    ui->txtName->clear();
    if (kind == kGroupsType) {
        GroupName_.clear();
        SetTypeRow(TypeRow::GroupType);
        SetCommentRow(true, QStringLiteral("Comment:"));
        SetAddToGroup(QString(), false);
        ui->txtName->setMaxLength(kGroupNameLength);
    } else {
        GroupName_ = group;
        SetTypeRow(TypeRow::Password);
        SetCommentRow(true, QStringLiteral("Full Name:"));
        SetAddToGroup(group, true);
        ui->txtName->setMaxLength(kUserNameLength);
    }
    LimitToLibraryText(*ui->txtComment);
    ui->txtPassword->setMaxLength(kPasswordLength);
    setWindowTitle(QStringLiteral("New ") + QString::fromStdString(ItemStrings[kind][0]));
}

void frmAdd::SetTypeRow(TypeRow row) {
    ui->cboType->hide();
    ui->txtPassword->hide();
    switch (row) {
    case TypeRow::GroupType:
        ui->lblType->setText(QStringLiteral("Type:"));
        ui->cboType->clear();
        ui->cboType->addItem(QStringLiteral("Local"));
        if (gIsDomain) ui->cboType->addItem(QStringLiteral("Global"));
        ui->cboType->setCurrentIndex(0);
        ui->cboType->show();
        break;
    case TypeRow::Password:
        ui->lblType->show();
        ui->txtPassword->clear();
        ui->txtPassword->show();
        ui->lblType->setText(QStringLiteral("Password:"));
        break;
    }
}

void frmAdd::SetCommentRow(bool visible, const QString &caption) {
    ui->lblComment->setVisible(visible);
    ui->lblComment->setText(caption);
    ui->txtComment->clear();
    ui->txtComment->setVisible(visible);
}

// The box keeps its checked state from the last use: the administrator's own choice.
void frmAdd::SetAddToGroup(const QString &group, bool offer) {
    ui->chkAddToGroup->hide();
    if (!offer) return;
    ui->chkAddToGroup->setVisible(group != QLatin1String(kAllUsers));
    ui->chkAddToGroup->setText(QStringLiteral("Add to group '") + group + QLatin1Char('\''));
}

void frmAdd::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    ui->txtName->setFocus();
}

void frmAdd::txtName_Change() { ui->cmdOk->setEnabled(!ui->txtName->text().trimmed().isEmpty()); }

// The dialog is gone before the add runs; a failure is reported in a message of its own. The
// error list is emptied first, so that it shows this add's failures only.
void frmAdd::cmdOk_Click() {
    accept();
    gData->LastErr().Refresh();
    AddResult_ = Kind_ == kUsersType ? AddNewUser() : AddNewGroup();
    if (AddResult_ == kNotAdded) ShowErrors("Error during add");
}

void frmAdd::cmdCancel_Click() {
    AddResult_ = kNotAdded;
    reject();
}

// The name goes on exactly as typed: blanks only decide whether OK is enabled. The account and
// its membership are separate calls, so a logon refused for the membership does not create
// the account again.
int frmAdd::AddNewUser() {
    if (!OpenItemData(kUsersType)) return kNotAdded;
    clsUser &user = gData->User();
    const std::string name = ui->txtName->text().toStdString();
    if (NameTaken(user, name, "A user or group '" + name + "' already exists.")) return kNotAdded;
    Details details;
    details.Add("UserName", name);
    details.Add("Password", ui->txtPassword->text().toStdString());
    details.Add("FullName", ui->txtComment->text().toStdString());
    if (withLogon_([&] { return user.Add(details); })) return kNotAdded;
    // Visible to the dialog: the dialog itself is hidden by now.
    if (ui->chkAddToGroup->isVisibleTo(this) && ui->chkAddToGroup->isChecked()) {
        const std::array<std::string, 1> groups{GroupName_.toStdString()};
        if (withLogon_([&] { return user.AddToGroups(name, groups); })) return kNotAdded;
    }
    return kAdded;
}

int frmAdd::AddNewGroup() {
    if (!OpenItemData(kGroupsType)) return kNotAdded;
    clsGroup &group = gData->Group();
    const std::string name = ui->txtName->text().toStdString();
    if (NameTaken(group, name, "A group or user '" + name + "' already exists.")) return kNotAdded;
    Details details;
    details.Add("GroupName", name);
    details.Add("IsGlobal", ui->cboType->currentText() == QLatin1String("Global"));
    details.Add("Comment", ui->txtComment->text().toStdString());
    return withLogon_([&] { return group.Add(details); }) ? kNotAdded : kAdded;
}
