// Creates one new user or group in the target SAM and the snapshot; a new user can go straight
// into the group the main list is filtered on. One instance is set up and shown for each add,
// and hidden, not destroyed, between uses, so the caller can read the result afterwards.
#pragma once

#include "status/Progress.h"

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class frmAdd;
}

class frmAdd : public QDialog {
    Q_OBJECT

public:
    // withLogon runs each call to the target: the main window's asks for another logon when
    // the target refuses the one it has.
    frmAdd(QWidget *owner, TargetWork withLogon);
    ~frmAdd() override;

    // Kind 0 a user (who may be added to group), 1 a group.
    void SetupForm(int kind, const QString &group);

    // -1 when nothing was added (cancelled or failed), 0 when the item was added.
    int AddResult() const { return AddResult_; }
    // The name as typed, blanks included.
    QString NewName() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    enum class TypeRow { GroupType, Password };

    void SetTypeRow(TypeRow row);
    void SetCommentRow(bool visible, const QString &caption);
    void SetAddToGroup(const QString &group, bool offer);
    void txtName_Change();
    void cmdOk_Click();
    void cmdCancel_Click();
    int AddNewUser();
    int AddNewGroup();

    std::unique_ptr<Ui::frmAdd> ui;
    int Kind_ = 0;
    QString GroupName_;
    int AddResult_ = -1;
    TargetWork withLogon_;
};
