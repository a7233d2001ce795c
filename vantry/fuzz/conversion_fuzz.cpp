// Arbitrary narrow arguments, arbitrary platform texts and arbitrary records: the conversions
// never write outside a buffer, never cut an argument short, cut a long record text only
// between characters and with the mark, and a failed read changes nothing.
#include "user_record.hpp"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr char kUntouched = '\xA5';

void require(bool condition) {
    if (!condition) __builtin_trap();
}

// Any UTF-16 units, surrogates and all, up to twice what a caller buffer holds.
std::optional<std::u16string> platformText(FuzzedDataProvider &input) {
    if (!input.ConsumeBool()) return std::nullopt;
    std::u16string text(input.ConsumeIntegralInRange<std::size_t>(0, 2 * netclient::kTextBufferSize), u'a');
    for (char16_t &unit : text) unit = input.ConsumeIntegralInRange<char16_t>(1, 0xFFFF);
    return text;
}

// A narrow argument: converted whole, or refused with nothing cut short.
void checkNarrowArgument(FuzzedDataProvider &input) {
    const std::string narrow = input.ConsumeRandomLengthString(2 * netclient::kTextBufferSize);
    netclient::WideText wide;
    const uint32_t status = wide.assign(narrow.c_str());
    if (status == ERROR_INVALID_PARAMETER) {
        require(std::strlen(narrow.c_str()) >= netclient::kTextBufferSize);
        return;
    }
    if (status != NERR_Success) {
        require(status == ERROR_NO_UNICODE_TRANSLATION);
        return;
    }
    std::string back;
    require(netclient::toNarrow(wide.get(), back) == NERR_Success);
    require(back == narrow.c_str());
}

// What a caller buffer shows of a platform text: the whole text when it fits, else a prefix
// cut between characters and marked.
void checkShownText(const std::string &shown, const std::u16string &platform) {
    std::string whole;
    require(netclient::toNarrow(platform.c_str(), whole) == NERR_Success);
    if (whole.size() < netclient::kTextBufferSize) {
        require(shown == whole);
        return;
    }
    require(shown.size() < netclient::kTextBufferSize && shown.ends_with(netclient::kCutMark));
    const std::string kept = shown.substr(0, shown.size() - netclient::kCutMark.size());
    require(whole.starts_with(kept));
    netclient::WideText wide;
    require(wide.assign(kept.c_str()) == NERR_Success);  // cut between characters
    require(netclient::isShownFormOf(shown.c_str(), platform.c_str()));
}

// A platform answer read into a record whose buffers are exactly 256 bytes, so that any write
// past them is caught.
void checkRecordReader(FuzzedDataProvider &input) {
    std::array<std::optional<std::u16string>, vantry::kUserTextFields.size()> texts;
    std::array<std::vector<char>, vantry::kUserTextFields.size()> buffers;
    USER_INFO_3 info{};
    UserRecord record{};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        texts[i] = platformText(input);
        if (texts[i]) info.*vantry::kUserTextFields[i].platform = texts[i]->data();
        if (input.ConsumeBool()) {
            buffers[i].assign(netclient::kTextBufferSize, kUntouched);
            record.*vantry::kUserTextFields[i].record = buffers[i].data();
        }
    }
    std::vector<BYTE> platformHours(vantry::kLogonHoursBytes);
    if (input.ConsumeBool()) info.usri3_logon_hours = platformHours.data();
    std::vector<uint8_t> recordHours(vantry::kLogonHoursBytes, 0);
    if (input.ConsumeBool()) record.logon_hours = recordHours.data();
    info.usri3_flags = input.ConsumeIntegral<uint32_t>();

    const uint32_t status = vantry::readUserRecord(info, record);
    require(status == NERR_Success || status == ERROR_NO_UNICODE_TRANSLATION);
    require(record.flags == (status == NERR_Success ? info.usri3_flags : 0u));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (buffers[i].empty()) continue;
        if (status != NERR_Success || !texts[i]) {
            require(buffers[i].front() == kUntouched);
            continue;
        }
        require(std::memchr(buffers[i].data(), '\0', buffers[i].size()) != nullptr);
        checkShownText(buffers[i].data(), *texts[i]);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider input(data, size);
    checkNarrowArgument(input);
    checkRecordReader(input);
    return 0;
}
