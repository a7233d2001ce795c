#include "dataops/ItemDetails.h"

#include "accounts/Details.h"
#include "accounts/clsGroup.h"
#include "accounts/clsUser.h"
#include "dataops/ChangeMark.h"
#include "dataops/ItemList.h"
#include "dataops/ItemLists.h"
#include "dataops/LogonHours.h"
#include "status/MsgBox.h"
#include "store/ProgramValues.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include <array>
#include <utility>
#include <vector>

namespace {

constexpr int32_t kSecondsPerDay = 86400;

// The keys of the check boxes' flags, in the order of FlagBoxes and of a tally.
constexpr std::array<const char *, 5> kFlagKeys{"PasswordChangeNext", "PasswordCannotChange",
                                                "PasswordNeverExpires", "AccountDisabled",
                                                "AccountLocked"};

std::array<QCheckBox *, 5> FlagBoxes(const UserDetailControls &panel) {
    return {&panel.chkUserPassMust, &panel.chkUserPassCant, &panel.chkUserPassNever,
            &panel.chkUserAcctDisable, &panel.chkUserAcctLocked};
}

bool FlagSet(const Details &details, const char *key) {
    const DetailValue *value = details.Find(key);
    return value != nullptr && BooleanOf(*value);
}

std::string TextItem(const Details &details, const char *key) {
    const DetailValue *value = details.Find(key);
    return value == nullptr ? std::string() : TextOf(*value);
}

void ShowText(QLineEdit &field, const Details &details, const char *key) {
    field.setText(QString::fromStdString(TextItem(details, key)));
}

// Moments at or before the start of 1970 (such as "never" and "not yet") leave the field empty.
void ShowDate(QLineEdit &field, const Details &details, const char *key) {
    const DetailValue *value = details.Find(key);
    if (value == nullptr) return;
    const std::optional<DateTime> moment = DateOf(*value);
    if (moment && *moment > AccountTimeOf(0)) {
        field.setText(QString::fromStdString(DateTimeText(*moment)));
    }
}

void ShowHours(QTableWidget &grid, const Details &details) {
    const DetailValue *value = details.Find("LogonHours");
    if (value == nullptr) return;
    HoursToGrid(grid, BytesOf(*value).items());
}

void ShowPasswordAge(QLabel &label, const Details &details) {
    const DetailValue *value = details.Find("PasswordAge");
    const int32_t days = value == nullptr ? 0 : LongOf(*value) / kSecondsPerDay;
    label.setText(QString::number(days));
}

void AddChangedText(Details &changes, const QLineEdit &field, const char *key) {
    if (IsMarkedChanged(field)) changes.Add(key, field.text().toStdString());
}

// An emptied field means that the account never expires.
void AddChangedExpiry(Details &changes, const QLineEdit &field) {
    if (!IsMarkedChanged(field)) return;
    if (field.text().isEmpty()) {
        changes.Add("AccountExpires", AccountTimeOf(kNeverExpires));
    } else {
        changes.Add("AccountExpires", field.text().toStdString());
    }
}

void AddChangedCheck(Details &changes, const QCheckBox &box, const char *key) {
    if (IsMarkedChanged(box)) changes.Add(key, int32_t{box.isChecked() ? 1 : 0});
}

// A grid that shows every hour is written as it is; one with hours it did not show leaves
// those to each account.
void AddChangedHours(UserChanges &changes, const QTableWidget &grid) {
    if (!IsMarkedChanged(grid)) return;
    const LogonHoursEdit edit = HoursEditOf(grid);
    if (!edit.complete()) {
        changes.hours = edit;
        return;
    }
    std::vector<uint8_t> hours(kLogonHoursBytes, 0);
    GridToHours(grid, hours);
    changes.fields.Add("LogonHours", ByteArray(std::move(hours)));
}

// The account's own hours with the administrator's edit merged in; nullopt when they cannot be
// read (the reason is in the error list).
std::optional<ByteArray> MergedHours(const LogonHoursEdit &edit, const std::string &name) {
    Details account;
    if (gData->User().GetDetails(name, account)) return std::nullopt;
    const DetailValue *own = account.Find("LogonHours");
    const std::vector<uint8_t> ownHours =
        own != nullptr ? BytesOf(*own).items() : std::vector<uint8_t>{};
    return ByteArray(edit.AppliedTo(ownHours));
}

// The two boxes are compared exactly and the password goes on as typed: changing its case
// would set a password other than the one the administrator chose.
bool AddChangedPassword(Details &changes, const UserDetailControls &panel) {
    if (!IsMarkedChanged(panel.txtChangePassword)) return true;
    const QString password = panel.txtChangePassword.text();
    if (password != panel.txtConfirmPassword.text()) {
        MsgBox("Passwords don't match", MsgButtons::OKOnly, MsgIcon::Exclamation,
               "Password Error");
        return false;
    }
    changes.Add("Password", password.toStdString());
    return true;
}

// A locked account can be unlocked here; nothing locks one.
void AddUnlock(Details &changes, QCheckBox &locked) {
    if (!IsMarkedChanged(locked) || locked.isChecked()) return;
    changes.Add("AccountLocked", int32_t{0});
    locked.setEnabled(false);
}

}  // namespace

void ShowUserDetails(const UserDetailControls &panel, const std::string &name,
                     const TargetWork &run) {
    if (!OpenItemData(kUsersType)) return;
    Details details;
    if (run([&] { return gData->User().GetDetails(name, details); })) {
        ShowOperationErrors();
        return;
    }
    ShowText(panel.txtUserFullName, details, "FullName");
    ShowText(panel.txtUserComment, details, "Comment");
    ShowText(panel.txtUserScript, details, "ScriptPath");
    ShowText(panel.txtUserHomeDir, details, "HomeDirectory");
    ShowText(panel.txtUserProfile, details, "Profile");
    ShowDate(panel.txtUserAcctExp, details, "AccountExpires");
    ShowDate(panel.txtUserLastLogon, details, "LastLogon");
    ShowDate(panel.txtUserLastLogoff, details, "LastLogoff");
    ShowHours(panel.flxUserHours, details);
    const std::array<QCheckBox *, 5> boxes = FlagBoxes(panel);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        boxes[i]->setChecked(FlagSet(details, kFlagKeys[i]));
    }
    panel.chkUserAcctLocked.setEnabled(panel.chkUserAcctLocked.isChecked());
    ShowPasswordAge(panel.lblUserPassAgeNum, details);
}

void ShowGroupDetails(const GroupDetailControls &panel, const std::string &name,
                      const TargetWork &run) {
    if (!OpenItemData(kGroupsType)) return;
    Details details;
    if (run([&] { return gData->Group().GetDetails(name, details); })) {
        ShowOperationErrors();
        return;
    }
    ShowText(panel.txtGrpType, details, "GroupType");
    ShowText(panel.txtGrpComment, details, "Comment");
}

OperationCount TallyUserFlags(std::span<const std::string> names, ProgressReporter &progress,
                              UserFlagTally &tally) {
    return ForEachAccount(names, progress, [&tally](const std::string &name) {
        Details details;
        if (gData->User().GetDetails(name, details)) return true;
        ++tally.read;
        for (std::size_t i = 0; i < kFlagKeys.size(); ++i) {
            tally.set[i] += FlagSet(details, kFlagKeys[i]) ? 1 : 0;
        }
        return false;
    });
}

void ShowUserFlags(const UserDetailControls &panel, const UserFlagTally &tally, int64_t accounts) {
    const std::array<QCheckBox *, 5> boxes = FlagBoxes(panel);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const int64_t set = tally.set[i];
        const bool known = tally.read == accounts;
        boxes[i]->setCheckState(known && set == 0          ? Qt::Unchecked
                                : known && set == accounts ? Qt::Checked
                                                           : Qt::PartiallyChecked);
    }
    panel.chkUserAcctLocked.setEnabled(panel.chkUserAcctLocked.isChecked());
}

std::optional<UserChanges> CollectUserChanges(const UserDetailControls &panel) {
    UserChanges changes;
    Details &fields = changes.fields;
    const std::array<std::pair<const QLineEdit *, const char *>, 5> texts{{
        {&panel.txtUserFullName, "FullName"},
        {&panel.txtUserComment, "Comment"},
        {&panel.txtUserHomeDir, "HomeDirectory"},
        {&panel.txtUserScript, "ScriptPath"},
        {&panel.txtUserProfile, "Profile"},
    }};
    for (const auto &[field, key] : texts) AddChangedText(fields, *field, key);
    AddChangedExpiry(fields, panel.txtUserAcctExp);
    AddChangedHours(changes, panel.flxUserHours);
    if (!AddChangedPassword(fields, panel)) return std::nullopt;
    AddUnlock(fields, panel.chkUserAcctLocked);
    AddChangedCheck(fields, panel.chkUserPassMust, "PasswordChangeNext");
    AddChangedCheck(fields, panel.chkUserPassCant, "PasswordCannotChange");
    AddChangedCheck(fields, panel.chkUserPassNever, "PasswordNeverExpires");
    AddChangedCheck(fields, panel.chkUserAcctDisable, "AccountDisabled");
    return changes;
}

Details CollectGroupChanges(const GroupDetailControls &panel) {
    Details changes;
    AddChangedText(changes, panel.txtGrpComment, "Comment");
    return changes;
}

bool ApplyUserChanges(const UserChanges &changes, const std::string &name) {
    if (!changes.hours) {
        return changes.fields.Count() > 0 && gData->User().Update(name, changes.fields);
    }
    const std::optional<ByteArray> hours = MergedHours(*changes.hours, name);
    if (!hours) return true;
    Details fields = changes.fields;
    fields.Add("LogonHours", *hours);
    return gData->User().Update(name, fields);
}

bool ApplyGroupChanges(const Details &changes, const std::string &name) {
    return changes.Count() > 0 && gData->Group().Update(name, changes);
}
