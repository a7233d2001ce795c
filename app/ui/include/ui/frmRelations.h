// The Relationships dialog: for the users selected in the main window, the groups they are
// and are not in; for the selected groups, the members they have and have not. Add and Remove
// write each change at once, to the target SAM and the store.
#pragma once

#include "accounts/OneBasedArray.h"
#include "status/Progress.h"

#include <QDialog>

#include <chrono>
#include <functional>
#include <memory>

class NameList;
class QComboBox;
class QTimer;
class ItemListView;
class clsGroup;
class clsUser;
class frmTrusted;

namespace Ui {
class frmRelations;
}

// The group kind that SetupForm receives when users are shown.
inline constexpr int kUsersShown = 2;

// What the dialog uses of the main window.
struct RelationsOwner {
    QWidget &window;
    NameList &workList;                 // the hidden list that the library's enumerations fill
    const QComboBox &filter;            // the item list's membership filter
    QTimer &listUpdate;                 // shows the details of the item list's selection
    std::function<void()> rebuildView;  // rebuilds the item list under the same filter
    std::chrono::milliseconds progressDelay;  // how long a change runs before its progress shows
    bool changesAllowed;  // false for a target opened read only: the lists are only shown
    std::function<bool()> newLogon;  // when the target refuses the logon halfway (OperationProgress)
    TargetWork withLogon;            // runs a single read of the target, asking the same way
};

class frmRelations : public QDialog {
    Q_OBJECT

public:
    explicit frmRelations(RelationsOwner owner);
    ~frmRelations() override;

    // Takes the selected entries of sourceList; groupKind is 0 for local groups, 1 for global
    // groups and 2 for users. The caller then shows the dialog modally.
    void SetupForm(int itemType, int groupKind, ItemListView &sourceList);

    // Texts of the selected entries of one icon key, in list order. For "SUser" only, prefixed
    // chooses between accounts of other domains (true) and the target's own users (false).
    static NameArray MakeSelNameListByType(const ItemListView &list, const QString &iconKey,
                                           bool prefixed);
    // Texts of all selected entries, in list order.
    static NameArray MakeSelNameList(const ItemListView &list);

protected:
    // Every change is written at once, so closing the dialog in any way is its OK.
    void reject() override { cmdOk_Click(); }

private:
    // The membership changes work account by account, telling progress before each; their
    // failures are recorded in the error list.
    OperationCount ChangeRelationship(bool add, const ItemListView &list, clsUser &users,
                                      ProgressReporter &progress);
    OperationCount AddGroupRelationship(const ItemListView &list, clsGroup &groups,
                                        const QString &iconKey, ProgressReporter &progress);
    OperationCount RemoveGroupRelationship(const ItemListView &list, clsGroup &groups,
                                           ProgressReporter &progress);
    // Adds or removes a member that the store does not hold to or from every selected group;
    // true when any call failed, each failure being recorded in the error list.
    bool AdjustLocalMember(bool add, const std::string &member);
    // Runs change with the progress of the dialog's operations, then reports how it went.
    void RunAndReport(const QString &action,
                      const std::function<OperationCount(ProgressReporter &)> &change);
    void ListBothRelations();
    void SetCaptions();
    void ChangeMembers(bool add);
    void RestoreSelection();
    frmTrusted &TrustedDialog();

    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdAddOther_Click();
    void cmdOk_Click();
    void cmdHelp_Click();

    std::unique_ptr<Ui::frmRelations> ui;
    RelationsOwner owner_;
    std::unique_ptr<frmTrusted> trusted_;

    int ItemType_ = 0;
    int GroupKind_ = 0;
    NameArray SelNames_;
    ItemListView *SourceList_ = nullptr;
    bool Changed_ = false;
};
