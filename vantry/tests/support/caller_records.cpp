#include "caller_records.hpp"

#include <algorithm>

namespace vantry_test {

CallerBuffer blankBuffer() {
    CallerBuffer buffer;
    buffer.fill(' ');
    return buffer;
}

bool isBlank(const CallerBuffer &buffer) {
    return std::all_of(buffer.begin(), buffer.end(), [](char c) { return c == ' '; });
}

CallerUserRecord::CallerUserRecord() {
    buffers.fill(blankBuffer());
    hours.fill(0x5A);
    for (std::size_t i = 0; i < kUserTextFields.size(); ++i) {
        record.*kUserTextFields[i] = buffers[i].data();
    }
    record.logon_hours = hours.data();
}

bool CallerUserRecord::buffersUntouched() const {
    return std::all_of(buffers.begin(), buffers.end(), isBlank);
}

CallerGroupRecord::CallerGroupRecord() : name(blankBuffer()), comment(blankBuffer()) {
    record.name = name.data();
    record.comment = comment.data();
}

}  // namespace vantry_test
