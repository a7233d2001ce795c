// The program's pictures, drawn for it and kept in its resources.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The toolbar images: 1 users, 2 groups, 3 new, 4 delete, 5 find.
QIcon imlTbIcons(int index);

// The button of a date field that opens its calendar.
QIcon CalendarIcon();

// The About box's product picture, and the day and night pictures above the hours grid.
QPixmap ProductPicture(int size);
QPixmap DayPicture(int size);
QPixmap NightPicture(int size);
