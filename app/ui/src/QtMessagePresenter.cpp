#include "ui/QtMessagePresenter.h"

#include "ui/frmErrors.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

namespace {

QMessageBox::Icon boxIcon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Critical:
            return QMessageBox::Critical;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::OKCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MsgButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MsgButtons::OKOnly:
            break;
    }
    return QMessageBox::Ok;
}

MsgAnswer answerOf(int button) {
    switch (button) {
        case QMessageBox::Cancel:
            return MsgAnswer::Cancel;
        case QMessageBox::Yes:
            return MsgAnswer::Yes;
        case QMessageBox::No:
            return MsgAnswer::No;
        default:
            return MsgAnswer::OK;
    }
}

// The messages break lines with LF CR or CR LF; a label wants a single line feed.
QString displayText(const std::string &text) {
    QString shown = QString::fromStdString(text);
    shown.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.remove(QLatin1Char('\r'));
    return shown;
}

}  // namespace

MsgAnswer QtMessagePresenter::present(const std::string &text, MsgButtons buttons, MsgIcon icon,
                                      const std::string &title) {
    QMessageBox box(boxIcon(icon), QString::fromStdString(title), displayText(text),
                    boxButtons(buttons), QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    return answerOf(box.exec());
}

void QtMessagePresenter::presentErrors(const ErrorReport &report) {
    frmErrors errors(report, QApplication::activeWindow());
    errors.exec();
}
