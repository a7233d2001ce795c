#include "ui/Images.h"

#include <QStringList>

namespace {

// Rendered through the icon engine, so every size is drawn from the vector image itself.
QPixmap picture(const QString &name, int size) {
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(name)).pixmap(size, size);
}

}  // namespace

QIcon imlTbIcons(int index) {
    static const QStringList images{"tbUsers", "tbGroups", "tbNew", "tbDelete", "tbFind"};
    if (index < 1 || index > images.size()) return {};
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(images[index - 1]));
}

QIcon CalendarIcon() { return QIcon(QStringLiteral(":/icons/calendar.svg")); }

QPixmap ProductPicture(int size) { return picture("product", size); }
QPixmap DayPicture(int size) { return picture("day", size); }
QPixmap NightPicture(int size) { return picture("night", size); }
