#include "ui/HoursGrid.h"

#include "dataops/LogonHours.h"
#include "ui/Images.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include <array>

namespace {

constexpr int kDays = kDaysPerWeek;
constexpr int kHours = kHoursPerDay;
constexpr int kPictureSize = 14;
const std::array<const char *, kDays> kDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                "Thursday", "Friday", "Saturday"};

// The ruler above the hour columns: day and night pictures, the hour labels and tick lines,
// drawn in line with the columns below it.
class HoursRuler final : public QHeaderView {
public:
    explicit HoursRuler(QWidget *parent) : QHeaderView(Qt::Horizontal, parent) {}

    QSize sizeHint() const override {
        const int height = kPictureSize + fontMetrics().height() + kLongTick + 6;
        return {QHeaderView::sizeHint().width(), height};
    }

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(viewport());
        painter.fillRect(viewport()->rect(), palette().window());
        painter.setPen(palette().color(QPalette::WindowText));
        drawPictures(painter);
        drawLabels(painter);
        drawTicks(painter);
    }

private:
    static constexpr int kLongTick = 7;
    static constexpr int kShortTick = 3;

    // x of the boundary before hour (0-24) in the viewport.
    int boundary(int hour) const {
        if (hour < kHours) return sectionViewportPosition(hour);
        return sectionViewportPosition(kHours - 1) + sectionSize(kHours - 1) - 1;
    }

    void drawPictures(QPainter &painter) const {
        const QPixmap night = NightPicture(kPictureSize);
        const QPixmap day = DayPicture(kPictureSize);
        for (int hour : {3, 21}) drawPictureAt(painter, night, hour);
        drawPictureAt(painter, day, 12);
    }

    void drawPictureAt(QPainter &painter, const QPixmap &picture, int hour) const {
        painter.drawPixmap(boundary(hour) - kPictureSize / 2, 1, picture);
    }

    void drawLabels(QPainter &painter) const {
        const int top = kPictureSize + 2;
        const int height = fontMetrics().height();
        const int width = fontMetrics().horizontalAdvance(QStringLiteral("Midnight")) + 4;
        painter.drawText(QRect(boundary(0), top, width, height), Qt::AlignLeft, "Midnight");
        painter.drawText(QRect(boundary(24) - width, top, width, height), Qt::AlignRight,
                         "Midnight");
        const std::array<std::pair<int, const char *>, 3> marks{
            {{6, "6 AM"}, {12, "Noon"}, {18, "6 PM"}}};
        for (const auto &[hour, label] : marks) {
            painter.drawText(QRect(boundary(hour) - width / 2, top, width, height),
                             Qt::AlignHCenter, label);
        }
    }

    void drawTicks(QPainter &painter) const {
        const int bottom = viewport()->height() - 1;
        for (int hour = 0; hour <= kHours; ++hour) {
            const int length = hour % 6 == 0 ? kLongTick : kShortTick;
            painter.drawLine(boundary(hour), bottom - length, boundary(hour), bottom);
        }
        painter.drawLine(boundary(0), bottom, boundary(kHours), bottom);
    }
};

// Shades the allowed hours so that the week reads at a glance; the text stays "X". Hours the
// grid does not show are hatched, their "?" in grey.
class HoursCellDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        const QString text = index.data().toString();
        const QRect inside = option.rect.adjusted(1, 1, 0, 0);
        QStyleOptionViewItem cell = option;
        if (text == kAllowedHour) {
            painter->fillRect(inside, QColor(0x9c, 0xc3, 0xf0));
        } else if (text == kUnknownHour) {
            painter->fillRect(inside, QBrush(QColor(0xb0, 0xb0, 0xb0), Qt::BDiagPattern));
            cell.palette.setColor(QPalette::Text, QColor(0x80, 0x80, 0x80));
        }
        QStyledItemDelegate::paint(painter, cell, index);
    }
};

void addEmptyCells(QTableWidget &grid) {
    for (int day = 0; day < kDays; ++day) {
        for (int hour = 0; hour < kHours; ++hour) {
            auto *cell = new QTableWidgetItem();  // owned by the grid
            cell->setTextAlignment(Qt::AlignCenter);
            cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            grid.setItem(day, hour, cell);
        }
    }
}

void sizeToCells(QTableWidget &grid) {
    const QFontMetrics metrics = grid.fontMetrics();
    grid.verticalHeader()->setMinimumWidth(metrics.averageCharWidth() * 12);
    grid.verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid.verticalHeader()->setDefaultSectionSize(metrics.height() + 6);
    grid.horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid.horizontalHeader()->setDefaultSectionSize(metrics.horizontalAdvance(QStringLiteral("XX")) +
                                                   6);
    grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid.setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    grid.setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

}  // namespace

void SetupHoursGrid(QTableWidget &grid) {
    grid.setRowCount(kDays);
    grid.setColumnCount(kHours);
    grid.setHorizontalHeader(new HoursRuler(&grid));  // the grid takes it over
    QStringList dayNames;
    for (const char *name : kDayNames) dayNames << name;
    grid.setVerticalHeaderLabels(dayNames);
    grid.setItemDelegate(new HoursCellDelegate(&grid));  // owned by the grid
    grid.setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid.setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid.setCornerButtonEnabled(false);
    addEmptyCells(grid);
    sizeToCells(grid);
}

void FillSelectedCells(QTableWidget &grid, const QString &text) {
    for (QTableWidgetItem *cell : grid.selectedItems()) cell->setText(text);
}
