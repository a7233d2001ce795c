#include "ui/frmErrors.h"

#include "dataops/CsvExport.h"
#include "ui/modMain.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace {

constexpr int kIconSize = 32;
constexpr int kWidth = 560;

QString Plain(const std::string &text) { return QString::fromStdString(PlainLines(text)); }

QString CountText(std::size_t count) {
    return count == 1 ? QStringLiteral("1 error") : QStringLiteral("%1 errors").arg(count);
}

// The entries, numbered unless there is only one, then each piece of advice once.
QString EntriesText(const std::vector<ErrorEntry> &entries) {
    QStringList lines;
    std::vector<std::string> advice;
    for (const ErrorEntry &entry : entries) {
        const EntryParts parts = SplitAdvice(entry.description);
        const QString message = Plain(parts.message);
        lines << (entries.size() == 1 ? message : QStringLiteral("%1. %2").arg(entry.number).arg(message));
        if (!parts.advice.empty() &&
            std::find(advice.begin(), advice.end(), parts.advice) == advice.end()) {
            advice.push_back(parts.advice);
        }
    }
    for (const std::string &text : advice) lines << QString() << Plain(text);
    return lines.join(QLatin1Char('\n'));
}

QLabel *TextLabel(const QString &text, const char *name, QWidget &owner) {
    auto *label = new QLabel(text, &owner);  // owned by the window
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

}  // namespace

frmErrors::frmErrors(const ErrorReport &report, QWidget *owner) : QDialog(owner), report_(report) {
    setObjectName(QStringLiteral("frmErrors"));
    setWindowTitle(QStringLiteral("Error"));
    const QString caption =
        report.caption.empty() ? QString() : Plain(report.caption) + QLatin1Char(':');
    const QString count = CountText(report.entries.size());
    const QString summary = Plain(report.summary);
    const QString entries = EntriesText(report.entries);

    auto *icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(kIconSize));
    auto *heading = new QVBoxLayout;
    heading->addWidget(TextLabel(caption, "lblCaption", *this));
    heading->addWidget(TextLabel(count, "lblCount", *this));
    if (!summary.isEmpty()) heading->addWidget(TextLabel(summary, "lblSummary", *this));
    auto *top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(heading, 1);

    auto *list = new QPlainTextEdit(entries, this);
    list->setObjectName(QStringLiteral("txtErrors"));
    list->setReadOnly(true);
    list->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton *copy = buttons->addButton(QStringLiteral("&Copy"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("cmdCopy"));
    QPushButton *save =
        buttons->addButton(QStringLiteral("&Save As..."), QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("cmdSave"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(copy, &QPushButton::clicked, this, &frmErrors::cmdCopy_Click);
    connect(save, &QPushButton::clicked, this, &frmErrors::cmdSave_Click);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(list, 1);
    layout->addWidget(buttons);
    buttons->button(QDialogButtonBox::Ok)->setFocus();

    QStringList text{caption, count};
    if (!summary.isEmpty()) text << summary;
    text_ = (text << QString() << entries).join(QLatin1Char('\n')) + QLatin1Char('\n');

    // As tall as the entries need but never more than most of the screen: the list scrolls.
    const QScreen *screen = owner != nullptr ? owner->screen() : QApplication::primaryScreen();
    const int most = screen != nullptr ? screen->availableGeometry().height() * 2 / 3 : kWidth;
    const int listHeight =
        (list->document()->blockCount() + 2) * list->fontMetrics().lineSpacing();
    resize(kWidth, std::min(most, sizeHint().height() - list->sizeHint().height() + listHeight));
}

frmErrors::~frmErrors() = default;

QFileDialog &frmErrors::dlgSave() {
    if (!dlgSave_) {
        dlgSave_ = std::make_unique<QFileDialog>(this, QStringLiteral("Save Errors"));
        dlgSave_->setObjectName(QStringLiteral("dlgSave"));
        dlgSave_->setAcceptMode(QFileDialog::AcceptSave);
        dlgSave_->setNameFilters({QStringLiteral("Text Files (*.txt)"),
                                  QStringLiteral("CSV Files (*.csv)"), QStringLiteral("All Files (*)")});
        dlgSave_->setDefaultSuffix(QStringLiteral("txt"));  // the dialog follows the kind chosen
    }
    return *dlgSave_;
}

bool frmErrors::SaveTo(const QString &path) {
    const bool csv = path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive);
    const QByteArray contents =
        csv ? QByteArray::fromStdString(ErrorReportCsv(report_)) : text_.toUtf8();
    return SaveFile(path, contents, "the errors");
}

void frmErrors::cmdCopy_Click() { QApplication::clipboard()->setText(text_); }

void frmErrors::cmdSave_Click() {
    QFileDialog &dialog = dlgSave();
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    SaveTo(dialog.selectedFiles().first());
}
