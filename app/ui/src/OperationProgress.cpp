#include "ui/OperationProgress.h"

#include "store/ProgramValues.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Events are let through this often, so that the windows repaint well within a tenth of a
// second while each account takes its own time.
constexpr qint64 kEventIntervalMs = 25;
constexpr int kWindowWidth = 420;

}  // namespace

OperationProgress::OperationProgress(QWidget &owner, QString title, QString action,
                                     std::chrono::milliseconds delay,
                                     std::function<bool()> newLogon)
    : owner_(owner),
      title_(std::move(title)),
      action_(std::move(action)),
      delay_(delay),
      newLogon_(std::move(newLogon)) {
    running_.start();
    sinceEvents_.start();
}

OperationProgress::~OperationProgress() = default;

bool OperationProgress::Step(int64_t done, int64_t total, const std::string &what) {
    if (!busy_) busy_.emplace();
    errorsBeforeStep_ = gData->LastErr().count();
    current_ = what;
    done_ = done;
    total_ = total;
    if (window_) ShowStep();
    KeepPainted();
    return !cancelled_;
}

// The step is tried again once connected, so what its refused try recorded is no failure of
// the operation.
bool OperationProgress::NewLogon() {
    if (!newLogon_ || !newLogon_()) return false;
    gData->LastErr().TakeBack(errorsBeforeStep_);
    return true;
}

void OperationProgress::KeepPainted() {
    if (!busy_) return;  // no step has begun: there is nothing to show yet
    if (!window_ && running_.elapsed() >= delay_.count()) {
        ShowWindow();
        ShowStep();
        ProcessEvents();  // at once, so that the window shows
    } else if (sinceEvents_.elapsed() >= kEventIntervalMs) {
        ProcessEvents();
    }
}

void OperationProgress::ShowWindow() {
    window_ = std::make_unique<QDialog>(&owner_);
    window_->setObjectName(QStringLiteral("frmProgress"));
    window_->setWindowTitle(title_);
    window_->setWindowModality(Qt::ApplicationModal);  // the other windows take no input
    window_->setMinimumWidth(kWindowWidth);
    auto *layout = new QVBoxLayout(window_.get());  // each part owned by the window
    lblStep_ = new QLabel(window_.get());
    lblStep_->setObjectName(QStringLiteral("lblStep"));
    lblStep_->setTextFormat(Qt::PlainText);
    prgDone_ = new QProgressBar(window_.get());
    prgDone_->setObjectName(QStringLiteral("prgDone"));
    lblCount_ = new QLabel(window_.get());
    lblCount_->setObjectName(QStringLiteral("lblCount"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, window_.get());
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    for (QWidget *part : std::initializer_list<QWidget *>{lblStep_, prgDone_, lblCount_, buttons}) {
        layout->addWidget(part);
    }
    // Cancel, Escape and the close box all stop the work before the next account.
    QObject::connect(window_.get(), &QDialog::rejected, [this] { cancelled_ = true; });
    QObject::connect(buttons, &QDialogButtonBox::rejected, window_.get(), &QDialog::reject);
    // The arrow beside the hourglass: the Cancel button can be pressed.
    QApplication::changeOverrideCursor(Qt::BusyCursor);
    window_->show();
}

void OperationProgress::ShowStep() {
    lblStep_->setText(action_ + QString::fromStdString(current_));
    const bool counted = total_ > 0;
    prgDone_->setRange(0, counted ? static_cast<int>(total_) : 0);  // 0 to 0: still busy
    if (counted) prgDone_->setValue(static_cast<int>(done_));
    lblCount_->setText(counted ? QStringLiteral("%1 of %2").arg(done_ + 1).arg(total_)
                               : QString());
}

// Paints and lets the progress window's Cancel through. Input meant for the other windows
// waits until the work is over; once the progress window shows, it blocks that input anyway.
void OperationProgress::ProcessEvents() {
    sinceEvents_.restart();
    QCoreApplication::processEvents(window_ ? QEventLoop::AllEvents
                                            : QEventLoop::ExcludeUserInputEvents);
}
