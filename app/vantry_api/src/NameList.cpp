#include "vantry_api/NameList.h"

namespace {

constexpr LRESULT kListError = -1;

}  // namespace

StringNameList::StringNameList() : window_{&StringNameList::receive, this} {}

// Answers as a list box does: the new item's index, or an error for anything else.
LRESULT StringNameList::receive(HWND window, UINT message, WPARAM, LPARAM text) {
    if ((message != LB_ADDSTRING && message != CB_ADDSTRING) || text == 0) {
        return kListError;
    }
    auto &list = *static_cast<StringNameList *>(window->context);
    list.names_.emplace_back(reinterpret_cast<const char *>(text));
    return static_cast<LRESULT>(list.names_.size() - 1);
}
