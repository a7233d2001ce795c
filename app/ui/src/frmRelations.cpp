#include "ui/frmRelations.h"

#include "ui_frmRelations.h"

#include "accounts/clsGroup.h"
#include "accounts/clsUser.h"
#include "dataops/ItemList.h"
#include "dataops/ItemLists.h"
#include "dataops/Relations.h"
#include "status/MsgBox.h"
#include "status/modSAM.h"
#include "store/ProgramValues.h"
#include "ui/AppInfo.h"
#include "ui/Help.h"
#include "ui/OperationProgress.h"
#include "ui/frmTrusted.h"
#include "ui/modMain.h"
#include "vantry_api/modVantryDeclare.h"

#include <QComboBox>
#include <QTimer>

#include <set>
#include <vector>

namespace {

constexpr int kRelationshipsHelpContext = 700;

const char *const kLocalGroupsNote =
    "Note: the items successfully added to the selected local groups will "
    "not appear in the left-hand list since it is displaying local users."
    "\n\r\n\r"
    "The entire membership of a local group is displayed when a single group is selected.";

// Names of the target's own users are shown bare; other domains' accounts carry a prefix.
bool HasDomainPrefix(const std::string &name) { return name.find('\\') != std::string::npos; }

QString Joined(const NameArray &names, const QString &separator) {
    QStringList texts;
    for (const std::string &name : names) texts.append(QString::fromStdString(name));
    return texts.join(separator);
}

}  // namespace

frmRelations::frmRelations(RelationsOwner owner)
    : QDialog(&owner.window), ui(std::make_unique<Ui::frmRelations>()), owner_(std::move(owner)) {
    ui->setupUi(this);
    for (ItemListView *list : {ui->lstMembers, ui->lstNonMembers}) {
        list->entries().setHeader(QStringLiteral("Items"));
    }
    ui->cmdAdd->setEnabled(owner_.changesAllowed);
    ui->cmdRemove->setEnabled(owner_.changesAllowed);
    connect(ui->cmdAdd, &QPushButton::clicked, this, &frmRelations::cmdAdd_Click);
    connect(ui->cmdRemove, &QPushButton::clicked, this, &frmRelations::cmdRemove_Click);
    connect(ui->cmdAddOther, &QPushButton::clicked, this, &frmRelations::cmdAddOther_Click);
    connect(ui->cmdOK, &QPushButton::clicked, this, &frmRelations::cmdOk_Click);
    connect(ui->cmdHelp, &QPushButton::clicked, this, &frmRelations::cmdHelp_Click);
}

frmRelations::~frmRelations() = default;

void frmRelations::SetupForm(int itemType, int groupKind, ItemListView &sourceList) {
    SourceList_ = &sourceList;
    ItemType_ = itemType;
    GroupKind_ = groupKind;
    Changed_ = false;
    // Only local groups can hold accounts of other domains.
    ui->cmdAddOther->setEnabled(owner_.changesAllowed && groupKind == kLocalGroup);
    SelNames_ = MakeSelNameList(sourceList);
    ui->txtItems->setText(Joined(SelNames_, QStringLiteral(", ")));
    ListBothRelations();
    SetCaptions();
}

void frmRelations::SetCaptions() {
    const auto &strings = ItemStrings[ItemType_];
    const bool single = SelNames_.Count() == 1;
    const QString word = QString::fromStdString(strings[0]);
    ui->lblItems->setText(word + (single ? QStringLiteral(":") : QStringLiteral("(s):")));
    ui->lblMembers->setText(QString::fromStdString(strings[single ? 1 : 3]));
    ui->lblNonMembers->setText(QString::fromStdString(strings[single ? 2 : 4]));
}

// Nothing is chosen for the administrator: Add and Remove act only on what they select.
void frmRelations::ListBothRelations() {
    ListRelations(*ui->lstMembers, *ui->lstNonMembers, ItemType_, SelNames_, GroupKind_,
                  owner_.workList, owner_.withLogon);
    for (ItemListView *list : {ui->lstMembers, ui->lstNonMembers}) list->clearSelection();
}

NameArray frmRelations::MakeSelNameListByType(const ItemListView &list, const QString &iconKey,
                                              bool prefixed) {
    const ItemIcon icon = IconOfKey(iconKey.toStdString());
    const bool filterByPrefix = icon == ItemIcon::User;
    NameArray names;
    for (const int row : list.selectedRows()) {
        const std::string &name = list.entries().name(row);
        if (list.entries().icon(row) != icon) continue;
        if (filterByPrefix && HasDomainPrefix(name) != prefixed) continue;
        names.Append(name);
    }
    return names;
}

NameArray frmRelations::MakeSelNameList(const ItemListView &list) {
    return NameArray(SelectedNames(list));
}

OperationCount frmRelations::ChangeRelationship(bool add, const ItemListView &list,
                                                clsUser &users, ProgressReporter &progress) {
    const NameArray groups = MakeSelNameList(list);
    return ForEachAccount(SelNames_.items(), progress, [&](const std::string &user) {
        return add ? users.AddToGroups(user, groups.items())
                   : users.RemoveFromGroups(user, groups.items());
    });
}

OperationCount frmRelations::AddGroupRelationship(const ItemListView &list, clsGroup &groups,
                                                  const QString &iconKey,
                                                  ProgressReporter &progress) {
    const NameArray users = MakeSelNameListByType(list, iconKey, false);
    return ForEachAccount(users.items(), progress, [&](const std::string &user) {
        bool failed = false;
        for (const std::string &group : SelNames_) failed |= groups.AddUsers(group, {&user, 1});
        return failed;
    });
}

// Members that the store does not hold (global groups and other domains' accounts, in local
// groups only) go straight to the target SAM; the own users through the group object.
OperationCount frmRelations::RemoveGroupRelationship(const ItemListView &list, clsGroup &groups,
                                                     ProgressReporter &progress) {
    std::vector<std::string> members;
    if (GroupKind_ == kLocalGroup) {
        members = MakeSelNameListByType(list, QStringLiteral("SGroupGlobal"), false).items();
        for (const std::string &account :
             MakeSelNameListByType(list, QStringLiteral("SUser"), true)) {
            members.push_back(account);
        }
    }
    const std::set<std::string> others(members.begin(), members.end());
    for (const std::string &user : MakeSelNameListByType(list, QStringLiteral("SUser"), false)) {
        members.push_back(user);
    }
    return ForEachAccount(members, progress, [&](const std::string &member) {
        if (others.contains(member)) return AdjustLocalMember(false, member);
        bool failed = false;
        for (const std::string &group : SelNames_) {
            failed |= groups.RemoveUsers(group, {&member, 1});
        }
        return failed;
    });
}

bool frmRelations::AdjustLocalMember(bool add, const std::string &member) {
    const int32_t adjust = add ? modVantryDeclare::kTrue : modVantryDeclare::kFalse;
    bool failed = false;
    for (const std::string &group : SelNames_) {
        LastStatus = modVantryDeclare::LocalGroupAdjustMembers(adjust, gSAMHost.c_str(),
                                                               group.c_str(), member.c_str());
        if (LastStatus == 0) continue;
        std::string text;
        StatusText(LastStatus, text);
        gData->LastErr().Description(text);
        failed = true;
    }
    return failed;
}

void frmRelations::RunAndReport(const QString &action,
                                const std::function<OperationCount(ProgressReporter &)> &change) {
    gData->LastErr().Refresh();
    OperationCount count;
    {
        OperationProgress progress(*this, windowTitle(), action, owner_.progressDelay,
                                   owner_.newLogon);
        count = change(progress);
    }
    ShowOperationReport(count);
}

// Acts on the entries selected in the list, and on nothing when none is.
void frmRelations::ChangeMembers(bool add) {
    ItemListView &list = add ? *ui->lstNonMembers : *ui->lstMembers;
    if (list.selectedCount() == 0) return;
    if (!OpenItemData(ItemType_)) {
        ShowErrors("Error opening user/group");
    } else {
        RunAndReport(add ? QStringLiteral("Adding ") : QStringLiteral("Removing "),
                     [&](ProgressReporter &progress) {
                         if (ItemType_ == kUsersType) {
                             return ChangeRelationship(add, list, gData->User(), progress);
                         }
                         return add ? AddGroupRelationship(list, gData->Group(),
                                                           QStringLiteral("SUser"), progress)
                                    : RemoveGroupRelationship(list, gData->Group(), progress);
                     });
        ListBothRelations();
    }
    // Set even after a failure: some of the changes may have been made.
    Changed_ = true;
    list.setFocus();
}

void frmRelations::cmdAdd_Click() { ChangeMembers(true); }

void frmRelations::cmdRemove_Click() { ChangeMembers(false); }

frmTrusted &frmRelations::TrustedDialog() {
    if (!trusted_) trusted_ = std::make_unique<frmTrusted>(this, owner_.workList);
    return *trusted_;
}

void frmRelations::cmdAddOther_Click() {
    frmTrusted &trusted = TrustedDialog();
    if (!trusted.LoadDomains()) return;
    trusted.UpdateList();
    trusted.Loading(false);
    trusted.exec();
    if (!trusted.Accepted()) return;
    const std::vector<std::string> accounts = trusted.ChosenAccounts();
    RunAndReport(QStringLiteral("Adding "), [&](ProgressReporter &progress) {
        return ForEachAccount(accounts, progress, [this](const std::string &account) {
            return AdjustLocalMember(true, account);
        });
    });
    if (!accounts.empty()) {
        // Several groups list only the store's users in common, which never holds these.
        if (SelNames_.Count() == 1) {
            ListBothRelations();
        } else {
            MsgBox(kLocalGroupsNote, MsgButtons::OKOnly, MsgIcon::Information, kAppTitle);
        }
    }
    ui->lstMembers->setFocus();
}

void frmRelations::cmdOk_Click() {
    hide();
    owner_.rebuildView();
    const QString filter = owner_.filter.currentText();
    const bool filtered = filter != QLatin1String(kAllUsers) && filter != QLatin1String(kAllGroups);
    // Under a membership filter the rebuilt list shows the new memberships; the old selection
    // may no longer be in it.
    if (filtered && Changed_) return;
    RestoreSelection();
    owner_.listUpdate.start();
}

// The selected names are in list order, so one walk down the rebuilt list finds them all. The
// found entries are selected in one step: one change of the selection, handled once.
void frmRelations::RestoreSelection() {
    ItemListView &list = *SourceList_;
    const QAbstractItemModel &entries = *list.model();
    QItemSelection found;
    int previous = -2;
    int64_t position = 1;
    for (int row = 0; row < list.count() && position <= SelNames_.Count(); ++row) {
        if (list.entries().name(row) != SelNames_.Item(position)) continue;
        const QModelIndex entry = entries.index(row, 0);
        if (row == previous + 1) {
            found.last() = QItemSelectionRange(found.last().topLeft(), entry);
        } else {
            found.append(QItemSelectionRange(entry));
        }
        previous = row;
        ++position;
    }
    list.selectionModel()->select(found, QItemSelectionModel::ClearAndSelect);
    if (previous >= 0) {
        list.selectionModel()->setCurrentIndex(entries.index(previous, 0),
                                               QItemSelectionModel::NoUpdate);
    }
}

void frmRelations::cmdHelp_Click() {
    ShowHelp(HelpAddress(kRelationshipsHelpContext), windowTitle());
}
