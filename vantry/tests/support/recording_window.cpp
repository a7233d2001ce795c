#include "recording_window.hpp"

#include "vantry.h"

namespace vantry_test {

RecordingWindow::RecordingWindow() : window_{&RecordingWindow::receive, this} {}

std::vector<std::string> RecordingWindow::names() const {
    std::vector<std::string> texts;
    for (const Message &message : messages_) texts.push_back(message.text);
    return texts;
}

LRESULT RecordingWindow::receive(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto *self = static_cast<RecordingWindow *>(window->context);
    static const UINT detailsMessage = RegisterWindowMessageA(VANTRY_LIST_DETAILS_MESSAGE);
    if (message == detailsMessage) {
        const auto &details = *reinterpret_cast<const ListDetails *>(lParam);
        self->details_.push_back(
            {self->messages_.size() - 1, details.full_name, details.comment, details.flags});
        return 0;
    }
    self->messages_.push_back({message, wParam, reinterpret_cast<const char *>(lParam)});
    return static_cast<LRESULT>(self->messages_.size() - 1);
}

}  // namespace vantry_test
