// A calendar that drops down from a date field, through a button inside the field. The field
// stays a text field with its own change mark and checks: the day chosen in the calendar is
// written into it as date text, at the time of day the field held (midnight when it held no
// date), as if typed.
#pragma once

#include <QObject>

class QCalendarWidget;
class QDate;
class QLineEdit;

class CalendarPopup final : public QObject {
public:
    // Owned by the field, as are its button "cmdCalendar" and its calendar "calCalendar".
    explicit CalendarPopup(QLineEdit &field);

    // Shows the calendar under the field, at the field's day, else today.
    void Open();

private:
    void Choose(const QDate &day);

    QLineEdit &field_;
    QCalendarWidget *calendar_;
};
