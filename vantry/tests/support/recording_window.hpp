// A window for tests: it records every message that a list export sends it.
#pragma once

#include "win32.h"

#include <string>
#include <vector>

namespace vantry_test {

class RecordingWindow {
public:
    struct Message {
        UINT number;
        WPARAM wParam;
        std::string text;  // what lParam addressed
    };

    RecordingWindow();
    RecordingWindow(const RecordingWindow &) = delete;
    RecordingWindow &operator=(const RecordingWindow &) = delete;

    HWND handle() { return &window_; }
    const std::vector<Message> &messages() const { return messages_; }
    // The texts received, in order.
    std::vector<std::string> names() const;

private:
    static LRESULT receive(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND__ window_;
    std::vector<Message> messages_;
};

}  // namespace vantry_test
