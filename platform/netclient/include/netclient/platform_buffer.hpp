// A result block handed out by a platform call, released with NetApiBufferFree on every path.
#pragma once

#include "lm.h"

namespace netclient {

template <typename Block = BYTE>
class PlatformBuffer {
public:
    PlatformBuffer() = default;
    PlatformBuffer(const PlatformBuffer &) = delete;
    PlatformBuffer &operator=(const PlatformBuffer &) = delete;
    ~PlatformBuffer() { release(); }

    // The output argument of the platform call; any block held before is released first.
    Block **receive() {
        release();
        return &block_;
    }

    template <typename Info>
    const Info *as() const {
        return reinterpret_cast<const Info *>(block_);
    }

private:
    void release() {
        if (block_ != nullptr) NetApiBufferFree(block_);
        block_ = nullptr;
    }

    Block *block_ = nullptr;
};

}  // namespace netclient
