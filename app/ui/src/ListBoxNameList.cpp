#include "ui/ListBoxNameList.h"

#include <QListWidget>

#include <stdexcept>

namespace {

constexpr LRESULT kListError = -1;

}  // namespace

ListBoxNameList::ListBoxNameList(QListWidget &listBox)
    : listBox_(listBox), window_{&ListBoxNameList::receive, this} {}

void ListBoxNameList::clear() { listBox_.clear(); }

int64_t ListBoxNameList::count() const { return listBox_.count(); }

std::string ListBoxNameList::item(int64_t index) const {
    if (index < 0 || index >= count()) {
        throw std::out_of_range("No list box item " + std::to_string(index));
    }
    if (whileWorking_) whileWorking_();
    return listBox_.item(static_cast<int>(index))->text().toStdString();
}

// Answers as a list box does: the new item's index, or an error for anything else.
LRESULT ListBoxNameList::receive(HWND window, UINT message, WPARAM, LPARAM text) {
    if (message != LB_ADDSTRING || text == 0) return kListError;
    auto &list = *static_cast<ListBoxNameList *>(window->context);
    if (list.whileWorking_) list.whileWorking_();
    list.listBox_.addItem(QString::fromUtf8(reinterpret_cast<const char *>(text)));
    return static_cast<LRESULT>(list.listBox_.count() - 1);
}
