// A window for tests: it records every message that a list export sends it, and apart, the
// details that follow a name, as the program's own lists understand them.
#pragma once

#include "win32.h"

#include <cstdint>
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
    struct Details {
        std::size_t afterMessage;  // the index of the message it followed
        std::string fullName;
        std::string comment;
        uint32_t flags;
    };

    RecordingWindow();
    RecordingWindow(const RecordingWindow &) = delete;
    RecordingWindow &operator=(const RecordingWindow &) = delete;

    HWND handle() { return &window_; }
    const std::vector<Message> &messages() const { return messages_; }
    const std::vector<Details> &details() const { return details_; }
    // The texts received, in order.
    std::vector<std::string> names() const;

private:
    static LRESULT receive(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND__ window_;
    std::vector<Message> messages_;
    std::vector<Details> details_;
};

}  // namespace vantry_test
