// The main window's frame: construction, menus, toolbar, the view switch and Help.
#include "ui/frmMain.h"

#include "ui_frmMain.h"

#include "status/MsgBox.h"
#include "status/modSAM.h"
#include "store/ProgramValues.h"
#include "ui/AppInfo.h"
#include "ui/Help.h"
#include "ui/Images.h"
#include "ui/frmAdd.h"
#include "ui/frmSplash.h"
#include "ui/modDeclare.h"
#include "win32.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QListView>
#include <QSignalBlocker>

#include <functional>
#include <utility>

namespace {

constexpr int kSelectionDelayMs = 250;

QString LocalComputerName() {
    std::array<char, 256> buffer{};
    DWORD size = buffer.size() - 1;
    if (!GetComputerNameA(buffer.data(), &size)) return {};
    return QString::fromUtf8(buffer.data()).trimmed();
}

}  // namespace

frmMain::frmMain(QWidget *parent)
    : QMainWindow(parent),
      ui(std::make_unique<Ui::frmMain>()),
      viewButtonGroup_(this),
      timListUpdate_(this),
      lstHidden_(new ListBoxNameList(this)),
      filterNames_(new ItemListModel(this)) {
    ui->setupUi(this);
    optSelect = {ui->optSelect_0, ui->optSelect_1};
    mnuEditItems = {ui->mnuEditItems_0, ui->mnuEditItems_1, ui->mnuEditItems_2};
    mnuViewItem = {ui->mnuViewItem_0, ui->mnuViewItem_1};
    tabDetails = {ui->tabDetails_0, ui->tabDetails_1};
    viewButtons = {ui->tbrToolBar_User, ui->tbrToolBar_Group};
    timListUpdate_.setObjectName(QStringLiteral("timListUpdate"));
    timListUpdate_.setSingleShot(true);
    timListUpdate_.setInterval(kSelectionDelayMs);
    ui->cboFilter->setModel(filterNames_);
    // Its entries are one line each: the drop-down list needs no height of every entry.
    if (auto *entries = qobject_cast<QListView *>(ui->cboFilter->view())) {
        entries->setUniformItemSizes(true);
    }
    // The list, with its columns, and the panel share what the window gains.
    ui->splMain->setStretchFactor(0, 1);
    ui->splMain->setStretchFactor(1, 1);
    ui->splMain->setSizes({560, 800});
    SetupToolbar();
    SetupPanel();
    ConnectHandlers();
}

// The base class deletes the controls after ui is gone: none of them may call back into the
// window while that happens.
frmMain::~frmMain() {
    ui->lstItems->removeEventFilter(this);
    ui->txtSearch->removeEventFilter(this);
    ui->fraDetails->removeEventFilter(this);
    for (QObject *control : findChildren<QObject *>()) control->disconnect(this);
}

void frmMain::SetupToolbar() {
    const std::array<std::pair<QAction *, int>, 5> images{{{ui->tbrToolBar_User, 1},
                                                           {ui->tbrToolBar_Group, 2},
                                                           {ui->tbrToolBar_Add, 3},
                                                           {ui->tbrToolBar_Delete, 4},
                                                           {ui->tbrToolBar_Find, 5}}};
    for (const auto &[button, image] : images) button->setIcon(imlTbIcons(image));
    // The two view buttons stay pressed one at a time, and both are released without a target.
    viewButtonGroup_.setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (QAction *button : viewButtons) viewButtonGroup_.addAction(button);
}

void frmMain::ConnectHandlers() {
    connect(ui->tbrToolBar, &QToolBar::actionTriggered, this, &frmMain::tbrToolBar_ButtonClick);
    for (int i = 0; i < static_cast<int>(mnuEditItems.size()); ++i) {
        connect(mnuEditItems[i], &QAction::triggered, this, [this, i] { mnuEditItems_Click(i); });
    }
    for (int i = 0; i < static_cast<int>(mnuViewItem.size()); ++i) {
        connect(mnuViewItem[i], &QAction::triggered, this, [this, i] { mnuViewItem_Click(i); });
        connect(optSelect[i], &QRadioButton::toggled, this, [this, i](bool selected) {
            if (selected) optSelect_Click(i);
        });
    }
    connect(ui->mnuViewRefresh, &QAction::triggered, this, &frmMain::mnuViewRefresh_Click);
    connect(ui->mnuFileImport, &QAction::triggered, this, &frmMain::mnuFileImport_Click);
    connect(ui->mnuFileExport, &QAction::triggered, this, &frmMain::mnuFileExport_Click);
    connect(ui->mnuFileExit, &QAction::triggered, this, &frmMain::mnuFileExit_Click);
    connect(ui->mnuHelpContents, &QAction::triggered, this, &frmMain::mnuHelpContents_Click);
    connect(ui->mnuHelpSearch, &QAction::triggered, this, &frmMain::mnuHelpSearch_Click);
    connect(ui->mnuHelpAbout, &QAction::triggered, this, &frmMain::mnuHelpAbout_Click);
    connect(ui->cboFilter, &QComboBox::currentIndexChanged, this, &frmMain::cboFilter_Click);
    connect(ui->txtSearch, &QLineEdit::textChanged, this, &frmMain::txtSearch_Change);
    // A find that clears the search says so in the box.
    connect(&ui->lstItems->entries(), &ItemListModel::searchChanged, this,
            [this](const QString &text) {
                const QSignalBlocker quiet(ui->txtSearch);
                ui->txtSearch->setText(text);
            });
    ui->txtSearch->installEventFilter(this);
    // Queued, so that a question asked about the click comes after the mouse has been released.
    connect(ui->lstItems, &ItemListView::itemSelectionChanged, this,
            &frmMain::lstItems_SelectionChanged, Qt::QueuedConnection);
    ui->lstItems->installEventFilter(this);
    ui->fraDetails->installEventFilter(this);
    connect(&timListUpdate_, &QTimer::timeout, this, &frmMain::timListUpdate_Timer);
    connect(ui->txtName, &QLineEdit::textChanged, this, &frmMain::txtName_Change);
    connect(ui->txtName, &QLineEdit::returnPressed, this, &frmMain::cmdSwitch_Click);
    connect(ui->cmdSwitch, &QPushButton::clicked, this, &frmMain::cmdSwitch_Click);
    ConnectPanel();
}

void frmMain::FormSetup(const StoreFolders &storeFolders) {
    const QString computerName = LocalComputerName();
    // Setting the name leaves the window without a target; an unchanged name must too.
    if (ui->txtName->text() == computerName) txtName_Change();
    ui->txtName->setText(computerName);
    gData = std::make_unique<clsData>(storeFolders);
    setWindowTitle(kAppTitle);
    ui->mnuHelpAbout->setText(QStringLiteral("&About ") + kAppTitle);
}

void frmMain::SetItemStrings(int type) {
    const QString word = QString::fromStdString(ItemStrings[type][0]);
    ui->fraDetails->setTitle(word + QStringLiteral(" Properties:"));
    for (std::size_t i = 0; i < mnuEditItems.size(); ++i) {
        mnuEditItems[i]->setText(QString::fromUtf8(EditVerbs[i]) + word);
    }
}

void frmMain::tbrToolBar_ButtonClick(QAction *button) {
    const std::array<std::pair<QAction *, std::function<void()>>, 5> commands{{
        {ui->tbrToolBar_Add, [this] { mnuEditItems_Click(0); }},
        {ui->tbrToolBar_Delete, [this] { mnuEditItems_Click(1); }},
        {ui->tbrToolBar_Find, [this] { mnuEditItems_Click(2); }},
        {ui->tbrToolBar_User, [this] { mnuViewItem_Click(0); }},
        {ui->tbrToolBar_Group, [this] { mnuViewItem_Click(1); }},
    }};
    for (const auto &[key, command] : commands) {
        if (key == button) command();
    }
}

// The menu, its shortcuts, the toolbar and the Delete key all come here: without a target
// there is nothing to edit.
void frmMain::mnuEditItems_Click(int index) {
    if (!mnuEditItems.at(index)->isEnabled()) return;
    const std::array<std::function<void()>, 3> commands{
        [this] { AddItem(); }, [this] { DeleteSelected(); }, [this] { FindItem(); }};
    commands.at(index)();
}

void frmMain::mnuViewItem_Click(int index) {
    if (!LoseChangesConfirmed()) {
        SetViewMarks(ViewType_);  // the click may have toggled them
        return;
    }
    ShowView(index);
    UpdateMainView(true);
}

// Each view starts with its whole list in the store's order.
void frmMain::ShowView(int index) {
    ViewType_ = index;
    ClearSearch();
    ui->lstItems->sortByColumn(-1, Qt::AscendingOrder);
    for (QTabWidget *panel : tabDetails) panel->hide();
    tabDetails[index]->setCurrentIndex(0);
    SetItemStrings(index);
    tabDetails[index]->show();
    SetViewMarks(index);
}

// Checks the view's menu item and presses its toolbar button; -1 leaves every one released.
void frmMain::SetViewMarks(int checkedView) {
    for (int i = 0; i < static_cast<int>(mnuViewItem.size()); ++i) {
        mnuViewItem[i]->setChecked(i == checkedView);
        viewButtons[i]->setChecked(i == checkedView);
    }
}

// The Edit commands themselves too: their shortcuts work outside the menu. Import changes the
// target as they do; Export needs a list.
void frmMain::SetMenusEnabled(bool enabled) {
    for (QMenu *menu : {ui->mnuEdit, ui->mnuView}) {
        menu->setEnabled(enabled);
        menu->menuAction()->setEnabled(enabled);
    }
    for (QAction *command : mnuEditItems) command->setEnabled(enabled);
    ui->mnuFileImport->setEnabled(enabled);
    ui->mnuFileExport->setEnabled(enabled);
}

bool frmMain::LoseChangesConfirmed() {
    if (!ui->cmdApply->isEnabled()) return true;
    return MsgBox("Do you wish to lose your changes?", MsgButtons::OKCancel, MsgIcon::None,
                  kAppTitle) == MsgAnswer::OK;
}

void frmMain::ShowOutOfStepWarning() {
    if (!OutOfStep) return;
    MsgBox(OutOfStepWarning, MsgButtons::OKOnly, MsgIcon::Exclamation, kAppTitle);
    OutOfStep = false;
}

void frmMain::mnuViewRefresh_Click() { cmdSwitch_Click(); }

void frmMain::mnuFileExit_Click() { close(); }

void frmMain::mnuHelpContents_Click() {
    ShowHelp(HelpAddress(HelpCommand::Contents), windowTitle());
}

void frmMain::mnuHelpSearch_Click() { ShowHelp(HelpAddress(HelpCommand::Index), windowTitle()); }

void frmMain::mnuHelpAbout_Click() {
    frmSplash about;
    about.FormSetup(this, false);
    about.exec();
}

// Every other window closes before the main window. The dialogs are modal, so the modal stack
// holds them in the order they were opened: the most recent closes first.
void frmMain::closeEvent(QCloseEvent *event) {
    while (QWidget *dialog = QApplication::activeModalWidget()) {
        if (dialog == this || !dialog->close()) break;
    }
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible()) window->close();
    }
    QMainWindow::closeEvent(event);
}

bool frmMain::eventFilter(QObject *watched, QEvent *event) {
    if (watched == ui->lstItems && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        mnuEditItems_Click(1);
    }
    if (watched == ui->txtSearch && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        ui->txtSearch->clear();
        return true;
    }
    // The hint stands where the details are while no target is open.
    if (watched == ui->fraDetails &&
        (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)) {
        ui->lblNoTarget->setVisible(ui->fraDetails->isHidden());
    }
    return QMainWindow::eventFilter(watched, event);
}

QFileDialog &frmMain::dlgCD() {
    // Made on first use: the dialog reads the file system as soon as it exists.
    if (!dlgCD_) {
        dlgCD_ = std::make_unique<QFileDialog>(this);
        dlgCD_->setObjectName(QStringLiteral("dlgCD"));
    }
    return *dlgCD_;
}
