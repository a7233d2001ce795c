// Moving account properties between the account objects and the properties panel. Showing
// works on one account; applying collects the fields whose controls carry the change mark once,
// then writes them to one account per call, so a change made while many accounts are selected
// reaches each of them and leaves their other properties as they were.
#pragma once

#include "accounts/Details.h"
#include "dataops/LogonHours.h"
#include "status/Progress.h"

#include <array>
#include <optional>
#include <span>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QTableWidget;

// The users panel's controls, as the main window hands them over.
struct UserDetailControls {
    QLineEdit &txtUserFullName;
    QLineEdit &txtUserComment;
    QLineEdit &txtUserHomeDir;
    QLineEdit &txtUserScript;
    QLineEdit &txtUserProfile;
    QLineEdit &txtUserAcctExp;
    QLineEdit &txtUserLastLogon;
    QLineEdit &txtUserLastLogoff;
    QTableWidget &flxUserHours;
    QLineEdit &txtChangePassword;
    QLineEdit &txtConfirmPassword;
    QCheckBox &chkUserPassMust;
    QCheckBox &chkUserPassCant;
    QCheckBox &chkUserPassNever;
    QCheckBox &chkUserAcctDisable;
    QCheckBox &chkUserAcctLocked;
    QLabel &lblUserPassAgeNum;
};

// The groups panel's controls.
struct GroupDetailControls {
    QLineEdit &txtGrpType;
    QLineEdit &txtGrpComment;
};

// Fill the cleared panel with the account's properties, read live from the SAM through run; a
// failure is shown and leaves the panel as it was.
void ShowUserDetails(const UserDetailControls &panel, const std::string &name,
                     const TargetWork &run);
void ShowGroupDetails(const GroupDetailControls &panel, const std::string &name,
                      const TargetWork &run);

// The check boxes' flags of several accounts: of the accounts read, how many have each flag
// set, in the order of the boxes "User Must Change Password at Next Logon", "User Cannot Change
// Password", "Password Never Expires", "Account Disabled" and "Account Locked Out".
struct UserFlagTally {
    int64_t read = 0;
    std::array<int64_t, 5> set{};
};

// Reads the flags of each named user into the tally, telling progress before each; a failure
// is recorded in the error list.
OperationCount TallyUserFlags(std::span<const std::string> names, ProgressReporter &progress,
                              UserFlagTally &tally);

// Shows each box checked when every one of the accounts has its flag, unchecked when none has,
// and partly checked when they differ or not every account could be read. "Account Locked
// Out" can be cleared when any of the accounts may be locked.
void ShowUserFlags(const UserDetailControls &panel, const UserFlagTally &tally, int64_t accounts);

// The users panel's marked fields, the same for every selected account, and the hours set or
// cleared in a grid that did not show an account's own hours: those are merged into each
// account's hours.
struct UserChanges {
    Details fields;
    std::optional<LogonHoursEdit> hours;
};

// The marked fields; nullopt, after saying "Passwords don't match" once, when the two new
// passwords differ: then nothing is applied to any account.
std::optional<UserChanges> CollectUserChanges(const UserDetailControls &panel);
Details CollectGroupChanges(const GroupDetailControls &panel);

// Write the collected fields to one account; true when that failed, the reasons being added
// to the error list. Nothing collected writes nothing.
bool ApplyUserChanges(const UserChanges &changes, const std::string &name);
bool ApplyGroupChanges(const Details &changes, const std::string &name);
