// The network every call test starts from: CORP (controller ALDER) trusts PARTNER (controller BIRCH); OAK is a member of
// CORP and the local machine; HEATH stands alone in the workgroup MOOR. The caller is
// CORP\Administrator.
#pragma once

#include "lm.h"
#include "temp_world.h"
#include "unicode.hpp"

#include <string>
#include <vector>

namespace nettest {

inline std::u16string w(std::string_view text) { return *win32::toUtf16(text); }

inline std::string narrow(const char16_t *text) {
    return text == nullptr ? std::string("(null)") : *win32::toUtf8(text);
}

// A result buffer, released with NetApiBufferFree and nothing else.
class NetBuffer {
public:
    NetBuffer() = default;
    NetBuffer(const NetBuffer &) = delete;
    NetBuffer &operator=(const NetBuffer &) = delete;
    ~NetBuffer() { NetApiBufferFree(buffer_); }
    LPBYTE *out() {
        NetApiBufferFree(buffer_);
        buffer_ = nullptr;
        return &buffer_;
    }
    template <class T>
    T *as() const { return reinterpret_cast<T *>(buffer_); }
    bool empty() const { return buffer_ == nullptr; }

private:
    LPBYTE buffer_ = nullptr;
};

class NetTest : public samworld::test::TempWorldTest {
protected:
    void SetUp() override {
        TempWorldTest::SetUp();
        world().addDomain("CORP", "ALDER");
        world().addDomain("PARTNER", "BIRCH");
        world().addTrust("CORP", "PARTNER");
        world().addMachine("OAK", "CORP", "", true);
        world().addMachine("HEATH", "", "MOOR", false);
        world().logon("CORP\\Administrator");
    }

    // A user of a SAM with a password; the options' other fields as their defaults.
    void addUser(const std::string &sam, const std::string &name, const std::string &password = "") {
        samworld::UserOptions options;
        options.password = password;
        world().addUser(sam, name, options);
    }
};

}  // namespace nettest
