#include "testing/RecordingPresenter.h"

MsgAnswer RecordingPresenter::present(const std::string &text, MsgButtons buttons, MsgIcon icon,
                                      const std::string &title) {
    shown_.push_back({text, buttons, icon, title});
    if (!answers_.empty()) {
        const MsgAnswer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::OK;
}
