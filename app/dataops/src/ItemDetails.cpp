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

void ShowCheck(QCheckBox &box, const Details &details, const char *key) {
    const DetailValue *value = details.Find(key);
    box.setChecked(value != nullptr && BooleanOf(*value));
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

void AddChangedHours(Details &changes, const QTableWidget &grid) {
    if (!IsMarkedChanged(grid)) return;
    std::vector<uint8_t> hours(kLogonHoursBytes, 0);
    GridToHours(grid, hours);
    changes.Add("LogonHours", ByteArray(std::move(hours)));
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

void ShowUserDetails(const UserDetailControls &panel, const std::string &name) {
    if (!OpenItemData(kUsersType)) return;
    Details details;
    if (gData->User().GetDetails(name, details)) {
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
    ShowCheck(panel.chkUserPassMust, details, "PasswordChangeNext");
    ShowCheck(panel.chkUserPassCant, details, "PasswordCannotChange");
    ShowCheck(panel.chkUserPassNever, details, "PasswordNeverExpires");
    ShowCheck(panel.chkUserAcctDisable, details, "AccountDisabled");
    ShowCheck(panel.chkUserAcctLocked, details, "AccountLocked");
    panel.chkUserAcctLocked.setEnabled(panel.chkUserAcctLocked.isChecked());
    ShowPasswordAge(panel.lblUserPassAgeNum, details);
}

void ShowGroupDetails(const GroupDetailControls &panel, const std::string &name) {
    if (!OpenItemData(kGroupsType)) return;
    Details details;
    if (gData->Group().GetDetails(name, details)) {
        ShowOperationErrors();
        return;
    }
    ShowText(panel.txtGrpType, details, "GroupType");
    ShowText(panel.txtGrpComment, details, "Comment");
}

// Each account's failures are shown on their own, so the list is emptied first.
bool ApplyUserChanges(const UserDetailControls &panel, const std::string &name) {
    gData->LastErr().Refresh();
    if (!OpenItemData(kUsersType)) return false;
    Details changes;
    const std::array<std::pair<const QLineEdit *, const char *>, 5> texts{{
        {&panel.txtUserFullName, "FullName"},
        {&panel.txtUserComment, "Comment"},
        {&panel.txtUserHomeDir, "HomeDirectory"},
        {&panel.txtUserScript, "ScriptPath"},
        {&panel.txtUserProfile, "Profile"},
    }};
    for (const auto &[field, key] : texts) AddChangedText(changes, *field, key);
    AddChangedExpiry(changes, panel.txtUserAcctExp);
    AddChangedHours(changes, panel.flxUserHours);
    if (!AddChangedPassword(changes, panel)) return true;
    AddUnlock(changes, panel.chkUserAcctLocked);
    AddChangedCheck(changes, panel.chkUserPassMust, "PasswordChangeNext");
    AddChangedCheck(changes, panel.chkUserPassCant, "PasswordCannotChange");
    AddChangedCheck(changes, panel.chkUserPassNever, "PasswordNeverExpires");
    AddChangedCheck(changes, panel.chkUserAcctDisable, "AccountDisabled");
    if (changes.Count() > 0 && gData->User().Update(name, changes)) ShowOperationErrors();
    return false;
}

bool ApplyGroupChanges(const GroupDetailControls &panel, const std::string &name) {
    gData->LastErr().Refresh();
    if (!OpenItemData(kGroupsType)) return false;
    Details changes;
    AddChangedText(changes, panel.txtGrpComment, "Comment");
    if (changes.Count() > 0 && gData->Group().Update(name, changes)) ShowOperationErrors();
    return false;
}
