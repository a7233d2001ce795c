// libldap's network timeout covers the TCP connect alone: a controller that takes the
// connection and never answers TLS (a stopped process, a listener that hangs) keeps its TLS
// handshake spinning for ever. While the guard lives, the socket that the handle connects is
// shut down once `limit` has passed since the TCP connect, so that the handshake meets
// end-of-file and the connect fails as an unreachable controller's does.
#pragma once

#include <ldap.h>

#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>
#include <thread>

namespace directory {

class HandshakeDeadline {
public:
    HandshakeDeadline(LDAP *ld, std::chrono::seconds limit)
        : ld_(ld), limit_(limit), callback_{added, removed, this}, watcher_([this] { watch(); }) {
        if (ldap_set_option(ld_, LDAP_OPT_CONNECT_CB, &callback_) != LDAP_OPT_SUCCESS) {
            stop();
            throw std::bad_alloc();  // adding a callback fails only for want of memory
        }
    }
    ~HandshakeDeadline() {
        ldap_get_option(ld_, LDAP_OPT_CONNECT_CB, &callback_);  // getting it takes it away
        stop();
        if (socket_ >= 0) ::close(socket_);
    }
    HandshakeDeadline(const HandshakeDeadline &) = delete;
    HandshakeDeadline &operator=(const HandshakeDeadline &) = delete;

private:
    using Clock = std::chrono::steady_clock;

    // Our own descriptor of the socket: libldap may close its own while the watcher holds this.
    static int added(LDAP *, Sockbuf *sb, LDAPURLDesc *, sockaddr *, ldap_conncb *callback) {
        auto *self = static_cast<HandshakeDeadline *>(callback->lc_arg);
        int fd = -1;
        ber_sockbuf_ctrl(sb, LBER_SB_OPT_GET_FD, &fd);
        const std::lock_guard hold(self->lock_);
        if (self->socket_ < 0) {
            self->socket_ = ::dup(fd);
            if (self->socket_ < 0) return -1;  // unguarded it could hang: refuse the connection
            self->deadline_ = Clock::now() + self->limit_;
            self->wake_.notify_one();
        }
        return 0;
    }
    static void removed(LDAP *, Sockbuf *, ldap_conncb *) {}

    void watch() {
        std::unique_lock hold(lock_);
        wake_.wait(hold, [this] { return over_ || socket_ >= 0; });
        if (!wake_.wait_until(hold, deadline_, [this] { return over_; })) ::shutdown(socket_, SHUT_RDWR);
    }

    void stop() {
        {
            const std::lock_guard hold(lock_);
            over_ = true;
        }
        wake_.notify_one();
        watcher_.join();
    }

    LDAP *ld_;
    const std::chrono::seconds limit_;
    ldap_conncb callback_;
    std::mutex lock_;
    std::condition_variable wake_;
    int socket_ = -1;
    Clock::time_point deadline_;
    bool over_ = false;
    std::thread watcher_;  // last: it starts once everything it reads is in place
};

}  // namespace directory
