// Asks one question and takes one line of text as the answer; an optional Browse button fills
// the answer with a file's path. A caller makes one for each question.
#pragma once

#include <QDialog>

#include <memory>

class QFileDialog;

namespace Ui {
class frmAsk;
}

class frmAsk : public QDialog {
    Q_OBJECT

public:
    explicit frmAsk(QWidget *owner = nullptr);
    ~frmAsk() override;

    void FormSetup(const QString &caption, const QString &question, bool showBrowse);

    // True after OK; false after Cancel or any other way of closing.
    bool Answered() const { return Answered_; }
    QString Answer() const;

    // The file dialog that Browse shows.
    QFileDialog &dlgCD();

private:
    void cmdBrowse_Click();
    void cmdOk_Click();
    void cmdCancel_Click();

    std::unique_ptr<Ui::frmAsk> ui;
    std::unique_ptr<QFileDialog> dlgCD_;
    bool Answered_ = false;
};
