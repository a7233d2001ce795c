// Every message the program shows goes through MsgBox, which hands it to the presenter in
// use: the windows install one that opens real message boxes, tests one that records.
#pragma once

#include "status/ErrorReport.h"

#include <string>

enum class MsgButtons { OKOnly, OKCancel, YesNo };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgAnswer { OK, Cancel, Yes, No };

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    virtual MsgAnswer present(const std::string &text, MsgButtons buttons, MsgIcon icon,
                              const std::string &title) = 0;
    // An error list: as one message titled "Error" with the exclamation icon, unless the
    // presenter has a better way to show a long one.
    virtual void presentErrors(const ErrorReport &report);
};

// Shows text through the installed presenter; std::logic_error when none is installed.
MsgAnswer MsgBox(const std::string &text, MsgButtons buttons, MsgIcon icon,
                 const std::string &title);

// Shows an error report through the installed presenter, as MsgBox does a message.
void ShowErrorReport(const ErrorReport &report);

// Installs a presenter for the scope's lifetime and restores the previous one afterwards.
class PresenterScope {
public:
    explicit PresenterScope(MessagePresenter &presenter);
    ~PresenterScope();
    PresenterScope(const PresenterScope &) = delete;
    PresenterScope &operator=(const PresenterScope &) = delete;

private:
    MessagePresenter *previous_;
};
