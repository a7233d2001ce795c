#include "netclient/text.hpp"

#include <cstring>

namespace netclient {

uint32_t WideText::assign(const char *narrow) {
    if (narrow == nullptr || strnlen(narrow, kTextBufferSize) == kTextBufferSize) {
        return ERROR_INVALID_PARAMETER;
    }
    if (MultiByteToWideChar(CP_ACP, 0, narrow, -1, chars_.data(),
                            static_cast<int>(chars_.size())) == 0) {
        return GetLastError();
    }
    return NERR_Success;
}

uint32_t toWide(std::initializer_list<TextArgument> arguments) {
    for (const TextArgument &argument : arguments) {
        if (const uint32_t status = argument.wide.assign(argument.narrow); status != NERR_Success) {
            return status;
        }
    }
    return NERR_Success;
}

uint32_t toNarrow(const char16_t *wide, std::string &narrow) {
    const int needed = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (needed == 0) return GetLastError();
    std::string converted(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, -1, converted.data(), needed, nullptr, nullptr);
    converted.pop_back();  // the terminator; std::string keeps its own
    narrow = std::move(converted);
    return NERR_Success;
}

namespace {

bool isContinuationByte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// UTF-8 text cut at the last character boundary that leaves room for the mark and the
// terminator, followed by the mark.
std::string cutWithMark(const std::string &text) {
    std::size_t length = kTextBufferSize - 1 - kCutMark.size();
    while (length > 0 && isContinuationByte(text[length])) --length;
    return text.substr(0, length) + std::string(kCutMark);
}

}  // namespace

uint32_t shownText(const char16_t *platformText, std::string &shown) {
    std::string text;
    if (const uint32_t status = toNarrow(platformText, text); status != NERR_Success) return status;
    shown = text.size() < kTextBufferSize ? std::move(text) : cutWithMark(text);
    return NERR_Success;
}

bool isShownFormOf(const char *callerText, const char16_t *platformText) {
    std::string shown;
    return callerText != nullptr && platformText != nullptr &&
           shownText(platformText, shown) == NERR_Success && shown == callerText;
}

uint32_t CallerTexts::stage(char *buffer, const char16_t *platformText) {
    if (buffer == nullptr || platformText == nullptr) return NERR_Success;
    std::string text;
    if (const uint32_t status = shownText(platformText, text); status != NERR_Success) return status;
    pending_.push_back({buffer, std::move(text)});
    return NERR_Success;
}

void CallerTexts::write() const {
    for (const Pending &result : pending_) {
        std::memcpy(result.buffer, result.text.c_str(), result.text.size() + 1);
    }
}

uint32_t writeCallerText(char *buffer, const char16_t *platformText) {
    if (platformText == nullptr) return NERR_Success;
    std::string text;
    if (const uint32_t status = toNarrow(platformText, text); status != NERR_Success) return status;
    if (text.size() >= kTextBufferSize) return ERROR_INSUFFICIENT_BUFFER;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return NERR_Success;
}

}  // namespace netclient
