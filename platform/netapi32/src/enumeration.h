// The shape of the calls that answer with a list: output checks, the resumed enumeration by
// position, and the one-shot list that reports ERROR_MORE_DATA without a resume handle.
#pragma once

#include "backend/records.h"
#include "buffers.h"

#include <span>
#include <vector>

namespace netapi {

struct ListOutputs {
    LPBYTE *buffer;
    LPDWORD entriesRead;
    LPDWORD totalEntries;

    // ERROR_INVALID_PARAMETER when a pointer is missing; otherwise zeroes what they point to.
    NET_API_STATUS prepare() const {
        if (buffer == nullptr || entriesRead == nullptr || totalEntries == nullptr) {
            return ERROR_INVALID_PARAMETER;
        }
        *buffer = nullptr;
        *entriesRead = 0;
        *totalEntries = 0;
        return NERR_Success;
    }
};

// Entries after the resume position, in order: those that fit prefmaxlen (at least one),
// ERROR_MORE_DATA while more remain, and the position of the last one in the resume handle (0
// when done). The backend reads no further than the first entry that does not fit, which shows
// that more remain. Positions only grow, so entries added or removed between calls never make
// the next call skip or repeat one that existed throughout.
// totalentries: the entries left from the resume position when the backend knows them;
// otherwise a hint, as the documented call allows: the entries returned, and one more while
// more remain; exact in the call that ends the list. Counting a whole long list on every batch
// would make reading it quadratic.
//   fetch(after, accept) -> backend::Page<T>, fill(Info &, const T &, BlockWriter &).
template <class Info, class Handle, class Fetch, class Fill>
NET_API_STATUS enumerate(const ListOutputs &out, DWORD prefmaxlen, Handle *resume,
                         const Fetch &fetch, const Fill &fill) {
    const backend::Position after = resume != nullptr ? static_cast<backend::Position>(*resume) : 0;
    BatchRoom<Info, Fill> room(prefmaxlen, fill);
    const auto page = fetch(after, [&room](const auto &value) { return room.take(value); });
    const auto &rows = page.entries;
    const bool more = page.more && !rows.empty();
    *out.buffer = buildBlock<Info>(rows, [&fill](Info &info, const auto &row, BlockWriter &writer) {
        fill(info, row.value, writer);
    });
    *out.entriesRead = static_cast<DWORD>(rows.size());
    *out.totalEntries = static_cast<DWORD>(page.remaining.value_or(rows.size() + (more ? 1 : 0)));
    if (resume != nullptr) *resume = more ? static_cast<Handle>(rows.back().key) : 0;
    return more ? ERROR_MORE_DATA : NERR_Success;
}

// A whole list without a resume handle: what fits, and ERROR_MORE_DATA when that is not all.
template <class Info, class Record, class Fill>
NET_API_STATUS listAll(const ListOutputs &out, DWORD prefmaxlen, const std::vector<Record> &records,
                       const Fill &fill) {
    const size_t taken = fittingCount<Info>(records, prefmaxlen, fill);
    *out.buffer = buildBlock<Info>(std::span(records).first(taken), fill);
    *out.entriesRead = static_cast<DWORD>(taken);
    *out.totalEntries = static_cast<DWORD>(records.size());
    return taken < records.size() ? ERROR_MORE_DATA : NERR_Success;
}

}  // namespace netapi
