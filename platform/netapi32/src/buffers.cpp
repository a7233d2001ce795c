#include "buffers.h"

#include "unicode.hpp"

#include <charconv>
#include <new>

namespace netapi {
namespace {

// Revision, count of sub-authorities, a 48-bit authority (big-endian), then each
// sub-authority as a 32-bit little-endian number.
std::vector<uint8_t> binarySid(std::string_view text) {
    std::vector<uint64_t> parts;
    if (text.starts_with("S-")) text.remove_prefix(2);
    while (!text.empty()) {
        const auto dash = text.find('-');
        const auto part = text.substr(0, dash);
        uint64_t value = 0;
        std::from_chars(part.data(), part.data() + part.size(), value);
        parts.push_back(value);
        text = dash == std::string_view::npos ? std::string_view() : text.substr(dash + 1);
    }
    if (parts.size() < 2) return {};
    std::vector<uint8_t> sid{static_cast<uint8_t>(parts[0]), static_cast<uint8_t>(parts.size() - 2)};
    for (int shift = 40; shift >= 0; shift -= 8) sid.push_back(static_cast<uint8_t>(parts[1] >> shift));
    for (size_t i = 2; i < parts.size(); ++i) {
        for (int shift = 0; shift < 32; shift += 8) sid.push_back(static_cast<uint8_t>(parts[i] >> shift));
    }
    return sid;
}

}  // namespace

Block allocateBlock(size_t bytes) {
    Block block(static_cast<uint8_t *>(std::calloc(1, bytes)));
    if (!block) throw std::bad_alloc();
    return block;
}

uint8_t *BlockWriter::place(const void *data, size_t size, size_t alignment) {
    used_ = (used_ + alignment - 1) / alignment * alignment;
    uint8_t *where = start_ != nullptr ? start_ + used_ : nullptr;
    if (where != nullptr) std::memcpy(where, data, size);
    used_ += size;
    return where;
}

// The world holds only well-formed text; anything else reads as empty.
LPWSTR BlockWriter::text(std::string_view utf8) {
    if (start_ == nullptr) {
        const size_t units = win32::utf16Length(utf8).value_or(0);
        return reinterpret_cast<LPWSTR>(place(nullptr, (units + 1) * sizeof(char16_t), alignof(char16_t)));
    }
    // One conversion buffer per thread: every entry of a batch is written through it.
    thread_local std::u16string wide;
    if (!win32::toUtf16(utf8, wide)) wide.clear();
    return reinterpret_cast<LPWSTR>(
        place(wide.c_str(), (wide.size() + 1) * sizeof(char16_t), alignof(char16_t)));
}

PBYTE BlockWriter::bytes(const std::vector<uint8_t> &data) {
    return place(data.data(), data.size(), 1);
}

PSID BlockWriter::sid(std::string_view text) {
    const auto sid = binarySid(text);
    return place(sid.data(), sid.size(), alignof(uint32_t));
}

LPWSTR buildTexts(const std::vector<std::string> &texts) {
    BlockWriter measure;
    for (const auto &text : texts) measure.text(text);
    measure.text("");
    Block block = allocateBlock(measure.used());
    BlockWriter writer(block.get());
    for (const auto &text : texts) writer.text(text);
    writer.text("");
    return reinterpret_cast<LPWSTR>(block.release());
}

}  // namespace netapi

extern "C" NET_API_STATUS NetApiBufferFree(LPVOID buffer) {
    std::free(buffer);
    return NERR_Success;
}
