// Lists of names from the platform, delivered to a list target batch by batch.
#pragma once

#include "netclient/list_target.hpp"
#include "netclient/platform_buffer.hpp"

#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

namespace vantry {

using netclient::ListTarget;
using netclient::PlatformBuffer;

// Preferred maximum sizes of one batch, in bytes.
inline constexpr DWORD kAccountBatchBytes = 1024;
inline constexpr DWORD kLocalMemberBatchBytes = 3072;
inline constexpr DWORD kLogonBatchBytes = 65536;

// A platform name as a list entry; a null name is no entry.
inline std::optional<std::u16string> listedName(const char16_t *name) {
    if (name == nullptr) return std::nullopt;
    return std::u16string(name);
}

// A listed name with what else the platform listed of its account.
struct DetailedName {
    std::u16string name;
    std::u16string fullName;
    std::u16string comment;
    uint32_t flags = 0;
};

// Sends names alone, or each name followed by its details (a ListDetails of vantry.h, which
// lasts for the one message). The whole batch is converted before any of it is sent.
inline uint32_t deliverNames(const ListTarget &target, std::span<const std::u16string> names) {
    return target.deliver(names);
}
uint32_t deliverNames(const ListTarget &target, std::span<const DetailedName> entries);

// The listed name of entries that carry one name field.
template <typename Entry>
auto nameField(LPWSTR Entry::*field) {
    return [field](const Entry &entry) { return listedName(entry.*field); };
}

// Delivers the names of count entries of one batch; nameOf gives nothing for skipped entries.
template <typename Entry, typename NameOf>
uint32_t deliverEntries(const PlatformBuffer<> &buffer, DWORD count, NameOf nameOf,
                        const ListTarget &target) {
    const Entry *entries = buffer.as<Entry>();
    // Names, or names with their details.
    std::vector<typename std::invoke_result_t<NameOf, const Entry &>::value_type> names;
    for (DWORD i = 0; i < count; ++i) {
        if (auto name = nameOf(entries[i])) names.push_back(std::move(*name));
    }
    return deliverNames(target, names);
}

// Asks for batches until the platform has no more: nextBatch(LPBYTE *buffer, DWORD *entriesRead)
// makes one call and keeps its own resume handle. A failing batch delivers nothing; names of
// earlier batches stay delivered. A server that says "more data" but sends no entry would be
// asked for ever: its ERROR_MORE_DATA ends the enumeration.
template <typename Entry, typename NextBatch, typename NameOf>
uint32_t deliverResumed(NextBatch nextBatch, NameOf nameOf, const ListTarget &target) {
    NET_API_STATUS status = NERR_Success;
    do {
        PlatformBuffer<> buffer;
        DWORD entriesRead = 0;
        status = nextBatch(buffer.receive(), &entriesRead);
        if (status != NERR_Success && status != ERROR_MORE_DATA) return status;
        if (status == ERROR_MORE_DATA && entriesRead == 0) return status;
        if (const uint32_t delivered = deliverEntries<Entry>(buffer, entriesRead, nameOf, target);
            delivered != NERR_Success) {
            return delivered;
        }
    } while (status == ERROR_MORE_DATA);
    return status;
}

// A user's groups come in one answer, without resume: when they do not fit one batch the
// platform says ERROR_MORE_DATA and nothing is delivered. "Buffer too small" is asked again,
// at most three more times, so that a platform that keeps saying it cannot hold the call.
template <typename Entry, typename Query, typename NameOf>
uint32_t deliverAnswer(Query query, NameOf nameOf, const ListTarget &target) {
    constexpr int kRepeatsOnBufTooSmall = 3;
    for (int repeat = 0;; ++repeat) {
        PlatformBuffer<> buffer;
        DWORD entriesRead = 0;
        const NET_API_STATUS status = query(buffer.receive(), &entriesRead);
        if (status == NERR_BufTooSmall && repeat < kRepeatsOnBufTooSmall) continue;
        if (status != NERR_Success) return status;
        return deliverEntries<Entry>(buffer, entriesRead, nameOf, target);
    }
}

}  // namespace vantry
