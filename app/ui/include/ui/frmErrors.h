// The error list after an operation, in a window that suits a long one: it says how many
// errors there are, scrolls through them, gives advice that many entries share once, and can
// be copied or saved as text or as CSV.
#pragma once

#include "status/ErrorReport.h"

#include <QDialog>

#include <memory>

class QFileDialog;

class frmErrors : public QDialog {
    Q_OBJECT

public:
    frmErrors(const ErrorReport &report, QWidget *owner = nullptr);
    ~frmErrors() override;

    // The whole report as plain text, as Copy and Save give it.
    QString ReportText() const { return text_; }
    // Writes the report to the file, as CSV when its name ends in .csv, else as text; false,
    // after saying why, when it cannot.
    bool SaveTo(const QString &path);

    // The file dialog that Save shows.
    QFileDialog &dlgSave();

private:
    void cmdCopy_Click();
    void cmdSave_Click();

    ErrorReport report_;
    QString text_;
    std::unique_ptr<QFileDialog> dlgSave_;
};
