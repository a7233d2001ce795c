#include "ui/PasswordRules.h"

#include <QCheckBox>

PasswordRules::PasswordRules(QCheckBox &mustChange, QCheckBox &cannotChange,
                             QCheckBox &neverExpires, QObject *parent)
    : QObject(parent),
      chkUserPassMust_(mustChange),
      chkUserPassCant_(cannotChange),
      chkUserPassNever_(neverExpires) {
    connect(&chkUserPassMust_, &QCheckBox::stateChanged, this,
            &PasswordRules::chkUserPassMust_Click);
    connect(&chkUserPassCant_, &QCheckBox::stateChanged, this,
            &PasswordRules::chkUserPassCant_Click);
    connect(&chkUserPassNever_, &QCheckBox::stateChanged, this,
            &PasswordRules::chkUserPassNever_Click);
}

void PasswordRules::chkUserPassMust_Click() {
    if (InPasswordRule_) return;
    SetByRule(chkUserPassNever_, !chkUserPassMust_.isChecked());
    if (chkUserPassCant_.isChecked()) SetByRule(chkUserPassCant_, false);
}

void PasswordRules::chkUserPassCant_Click() {
    if (InPasswordRule_ || !chkUserPassMust_.isChecked()) return;
    SetByRule(chkUserPassMust_, false);
    SetByRule(chkUserPassNever_, true);
}

void PasswordRules::chkUserPassNever_Click() {
    if (InPasswordRule_ || !chkUserPassMust_.isChecked()) return;
    SetByRule(chkUserPassMust_, false);
}

void PasswordRules::SetByRule(QCheckBox &box, bool checked) {
    WithoutRules([&box, checked] { box.setChecked(checked); });
}

void PasswordRules::WithoutRules(const std::function<void()> &show) {
    InPasswordRule_ = true;
    show();
    InPasswordRule_ = false;
}
