#include "ui/frmTrusted.h"

#include "ui_frmTrusted.h"

#include "dataops/ItemList.h"
#include "dataops/ItemLists.h"
#include "status/MsgBox.h"
#include "status/ProgramError.h"
#include "status/modSAM.h"
#include "store/ProgramValues.h"
#include "ui/BusyCursor.h"
#include "vantry_api/NameList.h"
#include "vantry_api/TextResult.h"
#include "vantry_api/modVantryDeclare.h"

#include <QComboBox>

namespace {

// The domain list as the window the trusted-domain library appends its names to.
class ComboBoxTarget {
public:
    explicit ComboBoxTarget(QComboBox &box) : box_(box), window_{&ComboBoxTarget::receive, this} {}
    ComboBoxTarget(const ComboBoxTarget &) = delete;
    ComboBoxTarget &operator=(const ComboBoxTarget &) = delete;

    HWND window() { return &window_; }

private:
    static constexpr LRESULT kListError = -1;

    // Answers as a combo box does: the new entry's index, or an error for anything else.
    static LRESULT receive(HWND window, UINT message, WPARAM, LPARAM text) {
        if (message != CB_ADDSTRING || text == 0) return kListError;
        QComboBox &box = static_cast<ComboBoxTarget *>(window->context)->box_;
        box.addItem(QString::fromUtf8(reinterpret_cast<const char *>(text)));
        return box.count() - 1;
    }

    QComboBox &box_;
    HWND__ window_;
};

// A machine entry is written as a server name, "\\" and the machine; anything else is a domain.
bool NamesMachine(const QString &entry) { return entry.contains(QStringLiteral("\\\\")); }

QString WithoutServerPrefix(const std::string &host) {
    const QString name = QString::fromStdString(host);
    return name.startsWith(QStringLiteral("\\\\")) ? name.mid(2) : name;
}

bool SameName(const QString &a, const std::string &b) {
    return a.compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

void ShowFailure(const std::string &what, uint32_t status, BusyCursor &busy) {
    busy.release();
    std::string text;
    StatusText(status, text);
    MsgBox(what + text, MsgButtons::OKOnly, MsgIcon::Critical, "Error");
}

}  // namespace

frmTrusted::frmTrusted(QWidget *owner, NameList &workList)
    : QDialog(owner), ui(std::make_unique<Ui::frmTrusted>()), workList_(workList) {
    ui->setupUi(this);
    ui->lstItems->entries().setHeader(QStringLiteral("Items"));
    connect(ui->cboDomain, &QComboBox::currentIndexChanged, this, &frmTrusted::cboDomain_Click);
    connect(ui->cmdOK, &QPushButton::clicked, this, &frmTrusted::cmdOk_Click);
    connect(ui->cmdCancel, &QPushButton::clicked, this, &frmTrusted::cmdCancel_Click);
}

frmTrusted::~frmTrusted() = default;

bool frmTrusted::LoadDomains() {
    Loading_ = true;
    ui->cboDomain->clear();
    ComboBoxTarget domains(*ui->cboDomain);
    try {
        modVantryDeclare::GetTrustedDomains(gSAMHost.c_str(), 0, domains.window());
    } catch (const ProgramError &error) {
        // Without the trusted-domain library no other accounts can be offered.
        MsgBox(error.description(), MsgButtons::OKOnly, MsgIcon::Exclamation, "Error");
        return false;
    }
    if (!gIsDomain) {
        const int target =
            ui->cboDomain->findText(WithoutServerPrefix(gSAMHost), Qt::MatchFixedString);
        if (target >= 0) ui->cboDomain->removeItem(target);
    }
    if (ui->cboDomain->count() == 0) {
        MsgBox("Unable to detect any domain SAM databases.", MsgButtons::OKOnly,
               MsgIcon::Exclamation, "Nothing to view");
        return false;
    }
    const int own =
        ui->cboDomain->findText(QString::fromStdString(gDomainName), Qt::MatchFixedString);
    ui->cboDomain->setCurrentIndex(own >= 0 ? own : 0);
    return true;
}

void frmTrusted::UpdateList() {
    BusyCursor busy;
    ui->lstItems->clear();
    const QString entry = ui->cboDomain->currentText().trimmed();
    const bool machine = NamesMachine(entry);
    std::string server = entry.toStdString();
    if (!machine) {
        TextResult controller;
        LastStatus = modVantryDeclare::GetDomainServer("", server.c_str(), controller.address());
        if (LastStatus != 0) {
            ShowFailure("Unable to get Domain server: ", LastStatus, busy);
            return;
        }
        server = controller.text();
    }
    // A machine entry lists its global groups only for a domain target; the target domain's
    // own users are in the main window already.
    const bool listGroups = !machine || gIsDomain;
    const bool listUsers = (!machine && !SameName(entry, gDomainName)) || !gIsDomain;
    if (listGroups) ListAccounts(server, true, busy);
    if (listUsers) ListAccounts(server, false, busy);
    // Nothing is chosen for the administrator: OK adds only what they select.
    ui->lstItems->clearSelection();
}

// Appends the server's global groups or its users. A single name is not offered: a SAM
// without a domain has exactly one global group.
void frmTrusted::ListAccounts(const std::string &server, bool groups, BusyCursor &busy) {
    workList_.clear();
    LastStatus =
        groups ? modVantryDeclare::GetAllGroups(modVantryDeclare::kTrue, server.c_str(),
                                                modVantryDeclare::kListBox, workList_.window())
               : modVantryDeclare::GetAllUsers(server.c_str(), modVantryDeclare::kListBox,
                                               workList_.window());
    if (LastStatus != 0) {
        ShowFailure(groups ? "Error retrieving groups: " : "Error retrieving users: ", LastStatus,
                    busy);
        return;
    }
    if (workList_.count() <= 1) return;
    NameArray names;
    for (int64_t i = 0; i < workList_.count(); ++i) names.Append(workList_.item(i));
    const std::vector<ItemIcon> icons(static_cast<std::size_t>(names.Count()),
                                      groups ? ItemIcon::GlobalGroup : ItemIcon::User);
    FillItemList(*ui->lstItems, std::move(names), icons);
}

std::vector<std::string> frmTrusted::ChosenAccounts() const {
    // The entry as it was looked up, so that blanks around it do not end up in the names.
    const QString entry = ui->cboDomain->currentText().trimmed();
    const QString prefix = NamesMachine(entry) ? QString() : entry + QStringLiteral("\\");
    std::vector<std::string> accounts;
    for (const int row : ui->lstItems->selectedRows()) {
        accounts.push_back((prefix + ui->lstItems->text(row)).toStdString());
    }
    return accounts;
}

void frmTrusted::cboDomain_Click() {
    if (!Loading_) UpdateList();
}

void frmTrusted::cmdOk_Click() {
    Accepted_ = true;
    accept();
}

void frmTrusted::cmdCancel_Click() {
    Accepted_ = false;
    QDialog::reject();
}
