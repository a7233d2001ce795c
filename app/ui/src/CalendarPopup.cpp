#include "ui/CalendarPopup.h"

#include "accounts/AccountTime.h"
#include "ui/Images.h"

#include <QAction>
#include <QCalendarWidget>
#include <QLineEdit>

#include <limits>
#include <optional>

namespace {

using namespace std::chrono;

// The field's moment, when its text is a date.
std::optional<DateTime> MomentIn(const QLineEdit &field) {
    return ParseDateTime(field.text().toStdString());
}

QDate DayOf(DateTime moment) {
    const year_month_day ymd{floor<days>(moment)};
    return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

sys_days SysDayOf(const QDate &day) {
    return year{day.year()} / month{static_cast<unsigned>(day.month())} /
           std::chrono::day{static_cast<unsigned>(day.day())};
}

}  // namespace

CalendarPopup::CalendarPopup(QLineEdit &field)
    : QObject(&field), field_(field), calendar_(new QCalendarWidget(&field)) {
    QAction *button = field.addAction(CalendarIcon(), QLineEdit::TrailingPosition);
    button->setObjectName(QStringLiteral("cmdCalendar"));
    button->setToolTip(QStringLiteral("Choose the day from a calendar"));
    calendar_->setObjectName(QStringLiteral("calCalendar"));
    calendar_->setWindowFlags(Qt::Popup);
    // The days an account's expiry can hold.
    calendar_->setDateRange(DayOf(AccountTimeOf(0)),
                            DayOf(AccountTimeOf(std::numeric_limits<int32_t>::max())));
    connect(button, &QAction::triggered, this, &CalendarPopup::Open);
    connect(calendar_, &QCalendarWidget::clicked, this, &CalendarPopup::Choose);
    connect(calendar_, &QCalendarWidget::activated, this, &CalendarPopup::Choose);
}

void CalendarPopup::Open() {
    const std::optional<DateTime> moment = MomentIn(field_);
    calendar_->setSelectedDate(moment ? DayOf(*moment) : QDate::currentDate());
    calendar_->move(field_.mapToGlobal(QPoint(0, field_.height())));
    calendar_->show();
    calendar_->adjustSize();  // the hint is right only once the calendar is polished and shown
    calendar_->setFocus(Qt::PopupFocusReason);
}

void CalendarPopup::Choose(const QDate &day) {
    calendar_->close();
    const std::optional<DateTime> moment = MomentIn(field_);
    const seconds timeOfDay = moment ? *moment - floor<days>(*moment) : seconds{0};
    field_.setText(QString::fromStdString(DateTimeText(DateTime{SysDayOf(day)} + timeOfDay)));
}
