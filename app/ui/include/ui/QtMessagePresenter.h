// Shows the program's messages in real message boxes, over the window in front, and error
// lists in the error window.
#pragma once

#include "status/MsgBox.h"

class QtMessagePresenter final : public MessagePresenter {
public:
    MsgAnswer present(const std::string &text, MsgButtons buttons, MsgIcon icon,
                      const std::string &title) override;
    // In a window that scrolls, counts the errors and can copy and save them.
    void presentErrors(const ErrorReport &report) override;
};
