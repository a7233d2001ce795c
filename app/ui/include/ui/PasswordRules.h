// Keeps the three password check boxes in a combination the SAM accepts: an account that must
// change its password at next logon can neither forbid the change nor have a password that
// never expires. The rules run on every change of a box, by the administrator or by code; a
// box the rules change themselves does not set them off again. A partly checked box (the
// selected accounts differ) counts as checked: the rules must hold for every account that has
// the flag, and a box a rule changes takes one value for all of them.
#pragma once

#include <QObject>

#include <functional>

class QCheckBox;

class PasswordRules final : public QObject {
public:
    // Connect the boxes' own change handlers before making the rules, so that a changed box is
    // marked before the rules change the others.
    PasswordRules(QCheckBox &mustChange, QCheckBox &cannotChange, QCheckBox &neverExpires,
                  QObject *parent);

    // Runs show with the rules at rest: several accounts' flags, each account's a combination
    // the rules allow, may together look like one they would not (some accounts must change
    // their password, others cannot).
    void WithoutRules(const std::function<void()> &show);

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
