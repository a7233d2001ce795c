// Shows the program's messages in real message boxes, over the window in front.
#pragma once

#include "status/MsgBox.h"

class QtMessagePresenter final : public MessagePresenter {
public:
    MsgAnswer present(const std::string &text, MsgButtons buttons, MsgIcon icon,
                      const std::string &title) override;
};
