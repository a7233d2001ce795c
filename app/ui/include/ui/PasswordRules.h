// Keeps the three password check boxes in a combination the SAM accepts: an account that must
// change its password at next logon can neither forbid the change nor have a password that
// never expires. The rules run on every change of a box, by the administrator or by code; a
// box the rules change themselves does not set them off again.
#pragma once

#include <QObject>

class QCheckBox;

class PasswordRules final : public QObject {
public:
    // Connect the boxes' own change handlers before making the rules, so that a changed box is
    // marked before the rules change the others.
    PasswordRules(QCheckBox &mustChange, QCheckBox &cannotChange, QCheckBox &neverExpires,
                  QObject *parent);

private:
    void chkUserPassMust_Click();
    void chkUserPassCant_Click();
    void chkUserPassNever_Click();
    void SetByRule(QCheckBox &box, bool checked);

    QCheckBox &chkUserPassMust_;
    QCheckBox &chkUserPassCant_;
    QCheckBox &chkUserPassNever_;
    bool InPasswordRule_ = false;
};
