#include "status/MsgBox.h"

#include <stdexcept>

namespace {

MessagePresenter *installedPresenter = nullptr;

}  // namespace

MsgAnswer MsgBox(const std::string &text, MsgButtons buttons, MsgIcon icon,
                 const std::string &title) {
    if (installedPresenter == nullptr) {
        throw std::logic_error("No message presenter is installed for: " + text);
    }
    return installedPresenter->present(text, buttons, icon, title);
}

PresenterScope::PresenterScope(MessagePresenter &presenter) : previous_(installedPresenter) {
    installedPresenter = &presenter;
}

PresenterScope::~PresenterScope() { installedPresenter = previous_; }
