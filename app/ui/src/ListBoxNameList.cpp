#include "ui/ListBoxNameList.h"

ListBoxNameList::ListBoxNameList(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("lstHidden"));
    hide();
}
