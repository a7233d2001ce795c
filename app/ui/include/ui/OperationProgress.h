// The progress of a long operation. From its first step the pointer is busy; once it has run
// for a moment a small window shows which account is at hand and how many of how many are
// done, and its Cancel button stops the work before the next account. Meanwhile every window
// goes on being painted; only the progress window takes input, so nothing else can start while
// the work goes on. The pointer and the window go when the object does: before any report.
// When the target refuses the logon halfway, the owner is asked for another (newLogon).
#pragma once

#include "status/Progress.h"
#include "ui/BusyCursor.h"

#include <QElapsedTimer>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QDialog;
class QLabel;
class QProgressBar;
class QWidget;

// How long an operation runs before its progress is shown.
inline constexpr std::chrono::milliseconds kProgressDelay{500};

class OperationProgress final : public ProgressReporter {
public:
    // title captions the progress window; action goes before the text of each step
    // ("Applying the changes to "); the window shows once the work has run for delay.
    // newLogon asks for a logon to the target and connects with it, true once connected; an
    // empty one asks nothing.
    OperationProgress(QWidget &owner, QString title, QString action,
                      std::chrono::milliseconds delay, std::function<bool()> newLogon = {});
    ~OperationProgress() override;
    OperationProgress(const OperationProgress &) = delete;
    OperationProgress &operator=(const OperationProgress &) = delete;

    bool Step(int64_t done, int64_t total, const std::string &what) override;
    bool NewLogon() override;
    // Keeps the windows painted during one long step (such as a long enumeration), and shows
    // the progress window when the operation has been running for its delay.
    void KeepPainted();

    // The administrator pressed Cancel.
    bool Cancelled() const { return cancelled_; }
    // The text of the step begun last: where the operation was when it ended.
    const std::string &CurrentStep() const { return current_; }

private:
    void ShowWindow();
    void ShowStep();
    void ProcessEvents();

    QWidget &owner_;
    QString title_;
    QString action_;
    std::chrono::milliseconds delay_;
    std::function<bool()> newLogon_;
    int64_t errorsBeforeStep_ = 0;  // the error list's count when the step at hand began
    QElapsedTimer running_;
    QElapsedTimer sinceEvents_;
    std::optional<BusyCursor> busy_;
    std::unique_ptr<QDialog> window_;
    QLabel *lblStep_ = nullptr;
    QLabel *lblCount_ = nullptr;
    QProgressBar *prgDone_ = nullptr;
    bool cancelled_ = false;
    std::string current_;
    int64_t done_ = 0;
    int64_t total_ = 0;
};
