// The main window: target selection on the left, the item list with its membership filter
// below it, and the properties panel of the selected users or groups on the right.
#pragma once

#include "store/StoreFolders.h"
#include "ui/ListBoxNameList.h"
#include "ui/OperationProgress.h"

#include <QActionGroup>
#include <QItemSelection>
#include <QMainWindow>
#include <QPersistentModelIndex>
#include <QTimer>

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

class BusyCursor;
class PasswordRules;
class QAction;
class QFileDialog;
class QRadioButton;
class ItemListModel;
class QTabWidget;
class frmAdd;

namespace Ui {
class frmMain;
}

class frmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // Prepares the window before it is first shown: the local computer as the target, the
    // store (in storeFolders), the captions.
    void FormSetup(const StoreFolders &storeFolders);
    // Resolves the target into gSAMHost; true when that failed (the reason is in the list).
    bool SetHost();
    // Puts the item word of the type into the captions that name it.
    void SetItemStrings(int type);
    // Rebuilds the filter list (when refill), the item list and the details.
    void UpdateMainView(bool refill);
    void ShowItemDetails(const QString &name, int type);

    // The properties panel's change marks: a control edited since the last display carries
    // the mark 1, and only marked controls are applied.
    void MarkChanged(QWidget *control);
    void ClearDetails();
    void MarkDetailsClean();

    int ViewType() const { return ViewType_; }
    int SelCount() const { return SelCount_; }
    // The file dialog that BrowseForFile shows.
    QFileDialog &dlgCD();
    // How long an operation over many accounts runs before its progress shows; tests and
    // benchmarks shorten it.
    void ProgressDelay(std::chrono::milliseconds delay) { ProgressDelay_ = delay; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Construction.
    void SetupToolbar();
    void SetupPanel();
    void ConnectHandlers();
    void ConnectPanel();

    // Menus, toolbar and window.
    void tbrToolBar_ButtonClick(QAction *button);
    void mnuEditItems_Click(int index);
    void mnuViewItem_Click(int index);
    void mnuViewRefresh_Click();
    void mnuFileImport_Click();
    void mnuFileExport_Click();
    void mnuFileExit_Click();
    void mnuHelpContents_Click();
    void mnuHelpSearch_Click();
    void mnuHelpAbout_Click();
    void ShowView(int index);
    void SetViewMarks(int checkedView);
    void SetMenusEnabled(bool enabled);
    bool LoseChangesConfirmed();
    void ShowOutOfStepWarning();

    // The item list, its filter and the selection timer.
    void cboFilter_Click();
    void lstItems_ItemClick(const QModelIndex &item);
    void lstItems_SelectionChanged();
    void timListUpdate_Timer();
    // Records how many items the panel stands for, and says so while there are several.
    void SetSelCount(int count);
    void ShowSeveralItems();
    void FillFilterList();
    void FillItems(const std::string &filter);
    void txtSearch_Change(const QString &text);
    void ClearSearch();
    void ShowSearchedList();
    void ShowEmptyList();

    // Target selection.
    void optSelect_Click(int index);
    void txtName_Change();
    void cmdSwitch_Click();
    void OpenTarget(const QString &logonRefusal = QString());
    // After a failed step of OpenTarget: when the target refused the logon, asks for a name and
    // password for host and tries again; otherwise shows why (showWhy).
    void RetryWithLogon(const std::string &host, const QString &refusal, const std::function<void()> &showWhy);
    // Asks for a name and password for host, saying refusal, and connects with them; true once
    // connected. A connection that fails is recorded in the error list.
    bool ConnectTo(const std::string &host, const QString &refusal);
    // When the open target refuses the logon halfway through an operation.
    bool NewLogon();
    // Runs one piece of work on the open target (true when it failed); when the target refuses
    // the logon, asks for another and runs the work again until it is taken or not given.
    bool WithLogon(const std::function<bool()> &work);
    // WithLogon as the dialogs and the panel's readers take it.
    TargetWork LogonRetry() {
        return [this](const std::function<bool()> &work) { return WithLogon(work); };
    }
    // After the rights probe was refused access: asks whether to open host for looking only.
    static bool ReadOnlyWanted(const std::string &host);
    bool LoadTarget(BusyCursor &busy);
    void ShowTargetOpen(bool changesAllowed);
    // Enables every command and field that changes accounts, or makes the target one to look
    // at only; the one place that decides whether anything may be changed.
    void SetChangesAllowed(bool allowed);
    void LimitPanelFields();

    // The properties panel: its filling and its commands.
    void FillDetails(const QString &name, int type);
    // The flags of the selected users, read for the check boxes of several users once the tab
    // that shows them is in front: reading thousands of accounts takes a while.
    void ShowSelectedFlags();
    void ReadFlagsWhenShown();
    void txtUserAcctExp_LostFocus();
    // The account-expiry check; false, after saying why, when the field holds no usable date.
    bool ExpiryAccepted();
    void SetSelectedHours(const QString &text);
    void cmdUserScriptBrowse_Click();
    void cmdApply_Click();
    void cmdDiscard_Click();

    // The Edit commands: New, Delete and Find.
    void AddItem();
    void DeleteSelected();
    void FindItem();
    void SelectOnly(int row);
    void cmdRelations_Click();

    std::unique_ptr<Ui::frmMain> ui;
    std::array<QRadioButton *, 2> optSelect{};
    std::array<QAction *, 3> mnuEditItems{};
    std::array<QAction *, 2> mnuViewItem{};
    std::array<QTabWidget *, 2> tabDetails{};
    std::array<QAction *, 2> viewButtons{};
    QActionGroup viewButtonGroup_;
    QTimer timListUpdate_;
    std::unique_ptr<QFileDialog> dlgCD_;
    ListBoxNameList *lstHidden_;  // a hidden child of the window
    ItemListModel *filterNames_;  // cboFilter's entries, a child of the window
    PasswordRules *passwordRules_ = nullptr;  // a child of the window
    std::unique_ptr<frmAdd> frmAdd_;  // kept between uses

    int ViewType_ = 0;
    int SelCount_ = 0;
    QPersistentModelIndex CurrentItem_;
    // The selection that unapplied edits are for: a refused change of selection goes back to it.
    QItemSelection EditedSelection_;
    bool Updating_ = false;
    bool ChangesAllowed_ = true;  // false while the target is open read only
    bool FlagsPending_ = false;  // several users are selected and their flags are not read yet
    std::chrono::milliseconds ProgressDelay_ = kProgressDelay;
    QString SavedMachineName_;
    QString SavedDomainName_;
    QString LogonName_;  // the name last given to connect, offered again
    Qt::CheckState SavedSelectDomainSAM_ = Qt::Unchecked;
};
