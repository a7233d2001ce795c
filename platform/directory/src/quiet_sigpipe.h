// A write to a connection the controller has closed raises SIGPIPE, which would end the whole
// process: libldap writes to its sockets plainly. A library inside someone's process must not
// change how the process handles signals, so while the guard lives SIGPIPE is blocked in this
// thread, and one raised meanwhile is taken away before the old mask returns.
#pragma once

#include <csignal>
#include <ctime>
#include <pthread.h>

namespace directory {

class QuietSigpipe {
public:
    QuietSigpipe() {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        wasPending_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipe_, &previous_);
    }
    ~QuietSigpipe() {
        sigset_t pending;
        sigpending(&pending);
        if (!wasPending_ && sigismember(&pending, SIGPIPE) == 1) {
            const timespec now{0, 0};
            sigtimedwait(&pipe_, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
    QuietSigpipe(const QuietSigpipe &) = delete;
    QuietSigpipe &operator=(const QuietSigpipe &) = delete;

private:
    sigset_t pipe_;
    sigset_t previous_;
    bool wasPending_ = false;
};

}  // namespace directory
