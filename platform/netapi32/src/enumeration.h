// The shape of the calls that answer with a list: output checks, the resumed enumeration by
// position, and the one-shot list that reports ERROR_MORE_DATA without a resume handle.
#pragma once

#include "backend/records.h"
#include "buffers.h"

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

// Hands the first `count` records out as one block.
template <class Info, class Records, class Fill>
void deliver(const ListOutputs &out, const Records &records, size_t count, DWORD total,
             const Fill &fill) {
    const Records taken(records.begin(), records.begin() + static_cast<std::ptrdiff_t>(count));
    *out.buffer = buildBlock<Info>(taken, fill);
    *out.entriesRead = static_cast<DWORD>(count);
    *out.totalEntries = total;
}

// Entries after the resume position, in order: those that fit prefmaxlen (at least one),
// ERROR_MORE_DATA while more remain, and the position of the last one in the resume handle (0
// when done). Positions only grow, so entries added or removed between calls never make the
// next call skip or repeat one that existed throughout.
// totalentries: the entries left from the resume position when the backend knows them;
// otherwise a hint, as the documented call allows: the entries returned plus those read ahead
// after them, exact in the call that ends the list. Counting a whole long list on every batch
// would make reading it quadratic.
//   fetch(after, limit) -> backend::Page<T>, fill(Info &, const T &, BlockWriter &).
template <class Info, class Handle, class Fetch, class Fill>
NET_API_STATUS enumerate(const ListOutputs &out, DWORD prefmaxlen, Handle *resume,
                         const Fetch &fetch, const Fill &fill) {
    const backend::Position after = resume != nullptr ? static_cast<backend::Position>(*resume) : 0;
    const int64_t limit = rowLimit<Info>(prefmaxlen);
    const auto page = fetch(after, limit < 0 ? limit : limit + 1);  // one more shows if more remain
    const auto &rows = page.entries;
    const auto fillValue = [&fill](Info &info, const auto &row, BlockWriter &writer) {
        fill(info, row.value, writer);
    };
    const size_t taken = fittingCount<Info>(rows, prefmaxlen, fillValue);
    deliver<Info>(out, rows, taken, static_cast<DWORD>(page.remaining.value_or(rows.size())),
                  fillValue);
    const bool more = taken < rows.size();
    if (resume != nullptr) *resume = more ? static_cast<Handle>(rows[taken - 1].key) : 0;
    return more ? ERROR_MORE_DATA : NERR_Success;
}

// A whole list without a resume handle: what fits, and ERROR_MORE_DATA when that is not all.
template <class Info, class Records, class Fill>
NET_API_STATUS listAll(const ListOutputs &out, DWORD prefmaxlen, const Records &records,
                       const Fill &fill) {
    const size_t taken = fittingCount<Info>(records, prefmaxlen, fill);
    deliver<Info>(out, records, taken, static_cast<DWORD>(records.size()), fill);
    return taken < records.size() ? ERROR_MORE_DATA : NERR_Success;
}

}  // namespace netapi
