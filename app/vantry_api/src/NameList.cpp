#include "vantry_api/NameList.h"

#include "vantry.h"

namespace {

constexpr LRESULT kListError = -1;

std::string textOf(const char *text) { return text != nullptr ? text : ""; }

}  // namespace

StringNameList::StringNameList() : window_{&StringNameList::receive, this} {}

void StringNameList::clear() {
    names_.clear();
    details_ = {};  // only the listing of every account has details: give their room back
}

const ListedDetails *StringNameList::details(int64_t index) const {
    return index >= 0 && index < static_cast<int64_t>(details_.size()) ? &details_[index] : nullptr;
}

// Answers as a list box does: the new item's index, or an error for anything else. The details
// of an account belong to the name added last.
LRESULT StringNameList::receive(HWND window, UINT message, WPARAM, LPARAM lParam) {
    static const UINT detailsMessage = RegisterWindowMessageA(VANTRY_LIST_DETAILS_MESSAGE);
    auto &list = *static_cast<StringNameList *>(window->context);
    if (message == detailsMessage && lParam != 0 && !list.names_.empty()) {
        const auto &details = *reinterpret_cast<const ListDetails *>(lParam);
        list.details_.resize(list.names_.size());
        list.details_.back() = {textOf(details.full_name), textOf(details.comment), details.flags};
        return 0;
    }
    if ((message != LB_ADDSTRING && message != CB_ADDSTRING) || lParam == 0) {
        return kListError;
    }
    list.names_.emplace_back(reinterpret_cast<const char *>(lParam));
    return static_cast<LRESULT>(list.names_.size() - 1);
}
