#include "status/MsgBox.h"

#include <stdexcept>

namespace {

MessagePresenter *installedPresenter = nullptr;

MessagePresenter &presenterFor(const std::string &text) {
    if (installedPresenter == nullptr) {
        throw std::logic_error("No message presenter is installed for: " + text);
    }
    return *installedPresenter;
}

}  // namespace

void MessagePresenter::presentErrors(const ErrorReport &report) {
    present(report.Message(), MsgButtons::OKOnly, MsgIcon::Exclamation, "Error");
}

MsgAnswer MsgBox(const std::string &text, MsgButtons buttons, MsgIcon icon,
                 const std::string &title) {
    return presenterFor(text).present(text, buttons, icon, title);
}

void ShowErrorReport(const ErrorReport &report) {
    presenterFor(report.caption).presentErrors(report);
}

PresenterScope::PresenterScope(MessagePresenter &presenter) : previous_(installedPresenter) {
    installedPresenter = &presenter;
}

PresenterScope::~PresenterScope() { installedPresenter = previous_; }
