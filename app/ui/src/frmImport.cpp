#include "ui/frmImport.h"

#include "dataops/UserImport.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kWidth = 720;
constexpr int kHeight = 420;
constexpr int kVerdictColumn = 2;

QString Counted(qsizetype count, const QString &one, const QString &many) {
    return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? one : many);
}

// "users.csv: 2 of 15 accounts will be created; 13 rows are refused."
QString SummaryText(const ImportPlan &plan, const QString &fileName) {
    const auto rows = static_cast<qsizetype>(plan.rows.size());
    const auto accepted = static_cast<qsizetype>(plan.AcceptedCount());
    QString text = fileName + QStringLiteral(": ");
    if (accepted == rows) {
        text += Counted(rows, QStringLiteral("account"), QStringLiteral("accounts")) +
                QStringLiteral(" will be created.");
    } else {
        text += QStringLiteral("%1 of %2 will be created; ")
                    .arg(accepted)
                    .arg(Counted(rows, QStringLiteral("account"), QStringLiteral("accounts"))) +
                Counted(rows - accepted, QStringLiteral("row is"), QStringLiteral("rows are")) +
                QStringLiteral(" refused.");
    }
    return text + QStringLiteral(" Nothing changes until you press OK.");
}

QTableWidget *RowList(const ImportPlan &plan, QWidget &owner) {
    auto *list = new QTableWidget(static_cast<int>(plan.rows.size()), 3, &owner);  // owned by the window
    list->setObjectName(QStringLiteral("lstRows"));
    list->setHorizontalHeaderLabels({QStringLiteral("Line"), QStringLiteral("Name"),
                                     QStringLiteral("What will be done")});
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setShowGrid(false);
    list->verticalHeader()->hide();
    const QIcon refused = owner.style()->standardIcon(QStyle::SP_MessageBoxWarning);
    for (int i = 0; i < list->rowCount(); ++i) {
        const ImportRow &row = plan.rows[static_cast<std::size_t>(i)];
        auto *line = new QTableWidgetItem(QString::number(row.line));
        line->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        list->setItem(i, 0, line);
        list->setItem(i, 1, new QTableWidgetItem(QString::fromStdString(row.name)));
        auto *verdict = new QTableWidgetItem(QString::fromStdString(row.Verdict()));
        if (!row.Accepted()) verdict->setIcon(refused);
        list->setItem(i, kVerdictColumn, verdict);
    }
    QHeaderView &columns = *list->horizontalHeader();
    columns.setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columns.setSectionResizeMode(0, QHeaderView::ResizeToContents);
    columns.setSectionResizeMode(1, QHeaderView::ResizeToContents);
    columns.setStretchLastSection(true);
    // A refused row says every reason, on as many lines as the width needs.
    list->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return list;
}

}  // namespace

frmImport::frmImport(const ImportPlan &plan, const QString &fileName, QWidget *owner)
    : QDialog(owner) {
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(QStringLiteral("Import Users"));
    auto *summary = new QLabel(SummaryText(plan, fileName), this);
    summary->setObjectName(QStringLiteral("lblSummary"));
    summary->setTextFormat(Qt::PlainText);
    summary->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setEnabled(plan.AcceptedCount() > 0);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(RowList(plan, *this), 1);
    layout->addWidget(buttons);
    resize(kWidth, kHeight);
}
