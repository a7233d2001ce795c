// Result buffers: every answer is one block, the structures first and then every string,
// SID and byte array they point to, so that one NetApiBufferFree releases all of it.
// A level's mapping function fills one structure from one record through a BlockWriter;
// the same function runs once to measure and once to fill, so size and content agree.
#pragma once

#include "lm.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace netapi {

struct BlockDeleter {
    void operator()(void *block) const { std::free(block); }
};
using Block = std::unique_ptr<uint8_t, BlockDeleter>;

// A zero-filled block of the platform's allocator; std::bad_alloc when there is no memory.
Block allocateBlock(size_t bytes);

class BlockWriter {
public:
    // Measures only: every placement returns null and counts its bytes.
    BlockWriter() = default;
    // Places into the bytes that follow `start` (at an offset aligned to 8 within the block).
    explicit BlockWriter(uint8_t *start) : start_(start) {}

    LPWSTR text(std::string_view utf8);
    PBYTE bytes(const std::vector<uint8_t> &data);
    // A binary SID from its text form S-1-A-S1-S2-...
    PSID sid(std::string_view text);

    size_t used() const { return used_; }

private:
    uint8_t *place(const void *data, size_t size, size_t alignment);

    uint8_t *start_ = nullptr;
    size_t used_ = 0;
};

// The bytes one entry takes: its structure and everything it points to.
template <class Info, class Record, class Fill>
size_t entrySize(const Record &record, const Fill &fill) {
    Info info{};
    BlockWriter measure;
    fill(info, record, measure);
    return sizeof(Info) + measure.used();
}

// One block holding an array of Info filled from records by fill(Info &, record, BlockWriter &).
// Null for no records.
template <class Info, class Records, class Fill>
LPBYTE buildBlock(const Records &records, const Fill &fill) {
    if (records.empty()) return nullptr;
    BlockWriter measure;
    for (const auto &record : records) {
        Info info{};
        fill(info, record, measure);
    }
    const size_t structures = records.size() * sizeof(Info);
    Block block = allocateBlock(structures + measure.used());
    auto *infos = reinterpret_cast<Info *>(block.get());
    BlockWriter writer(block.get() + structures);
    for (size_t i = 0; i < records.size(); ++i) fill(infos[i], records[i], writer);
    return block.release();
}

// A block holding one Info.
template <class Info, class Record, class Fill>
LPBYTE buildSingle(const Record &record, const Fill &fill) {
    return buildBlock<Info>(std::vector<Record>{record}, fill);
}

// A block holding the texts one after another, each NUL-terminated, and then one more NUL
// (a multi-string). With one text, that text alone.
LPWSTR buildTexts(const std::vector<std::string> &texts);

// The room of one batch, prefmaxlen bytes, taken entry by entry in order: the first entry
// always fits, and every one for MAX_PREFERRED_LENGTH.
template <class Info, class Fill>
class BatchRoom {
public:
    BatchRoom(DWORD prefmaxlen, const Fill &fill) : prefmaxlen_(prefmaxlen), fill_(fill) {}

    // Whether the entry still fits; if so, it takes its room.
    template <class Record>
    bool take(const Record &record) {
        if (prefmaxlen_ == MAX_PREFERRED_LENGTH) return true;
        const size_t size = entrySize<Info>(record, fill_);
        if (used_ > 0 && used_ + size > prefmaxlen_) return false;
        used_ += size;
        return true;
    }

private:
    DWORD prefmaxlen_;
    const Fill &fill_;
    size_t used_ = 0;
};

// How many of the entries, taken in order, fit prefmaxlen bytes.
template <class Info, class Records, class Fill>
size_t fittingCount(const Records &records, DWORD prefmaxlen, const Fill &fill) {
    BatchRoom<Info, Fill> room(prefmaxlen, fill);
    size_t count = 0;
    for (const auto &record : records) {
        if (!room.take(record)) break;
        ++count;
    }
    return count;
}

}  // namespace netapi
