// A message presenter for tests: installs itself for its lifetime, records every message and
// answers questions from a queue (OK or Yes when the queue is empty).
#pragma once

#include "status/MsgBox.h"

#include <deque>
#include <string>
#include <vector>

struct ShownMessage {
    std::string text;
    MsgButtons buttons;
    MsgIcon icon;
    std::string title;
};

class RecordingPresenter final : public MessagePresenter {
public:
    RecordingPresenter() : scope_(*this) {}

    MsgAnswer present(const std::string &text, MsgButtons buttons, MsgIcon icon,
                      const std::string &title) override;
    void answerNext(MsgAnswer answer) { answers_.push_back(answer); }
    const std::vector<ShownMessage> &shown() const { return shown_; }

private:
    PresenterScope scope_;
    std::deque<MsgAnswer> answers_;
    std::vector<ShownMessage> shown_;
};
