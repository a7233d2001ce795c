// Moving account properties between the account objects and the properties panel. Showing
// works on one account; applying works on one account per call and writes only the fields
// whose controls carry the change mark, so a change made while many accounts are selected
// reaches each of them and leaves their other properties as they were.
#pragma once

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

// Fill the cleared panel with the account's properties, read live from the SAM; a failure is
// shown and leaves the panel as it was.
void ShowUserDetails(const UserDetailControls &panel, const std::string &name);
void ShowGroupDetails(const GroupDetailControls &panel, const std::string &name);

// Write the marked fields to one account; a failure of the SAM or the store is shown. True only
// when the two new passwords differ: then nothing at all is applied to the account.
bool ApplyUserChanges(const UserDetailControls &panel, const std::string &name);
// Always false.
bool ApplyGroupChanges(const GroupDetailControls &panel, const std::string &name);
