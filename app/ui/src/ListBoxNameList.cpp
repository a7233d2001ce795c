#include "ui/ListBoxNameList.h"

ListBoxNameList::ListBoxNameList(QWidget *parent)
    : QWidget(parent), window_{&ListBoxNameList::receive, this} {
    setObjectName(QStringLiteral("lstHidden"));
    hide();
}

std::string ListBoxNameList::item(int64_t index) const {
    if (whileWorking_) whileWorking_();
    return names_.item(index);
}

// The names are kept by the plain list; each message passes through here on its way there.
LRESULT ListBoxNameList::receive(HWND window, UINT message, WPARAM wParam, LPARAM text) {
    auto &list = *static_cast<ListBoxNameList *>(window->context);
    if (list.whileWorking_) list.whileWorking_();
    HWND names = list.names_.window();
    return names->proc(names, message, wParam, text);
}
