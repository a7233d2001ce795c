#include "recording_window.hpp"

namespace vantry_test {

RecordingWindow::RecordingWindow() : window_{&RecordingWindow::receive, this} {}

std::vector<std::string> RecordingWindow::names() const {
    std::vector<std::string> texts;
    for (const Message &message : messages_) texts.push_back(message.text);
    return texts;
}

LRESULT RecordingWindow::receive(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto *self = static_cast<RecordingWindow *>(window->context);
    self->messages_.push_back({message, wParam, reinterpret_cast<const char *>(lParam)});
    return static_cast<LRESULT>(self->messages_.size() - 1);
}

}  // namespace vantry_test
