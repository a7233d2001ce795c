#include "vantry_api/UserReadBuffers.h"

#include <algorithm>

namespace {

constexpr std::array kTextFieldMembers{
    &UserRecord::name,           &UserRecord::password,     &UserRecord::home_dir,
    &UserRecord::comment,        &UserRecord::script_path,  &UserRecord::full_name,
    &UserRecord::usr_comment,    &UserRecord::workstations, &UserRecord::profile,
    &UserRecord::home_dir_drive,
};

}  // namespace

UserReadBuffers::UserReadBuffers() {
    static_assert(kTextFieldMembers.size() == kTextFields);
    for (std::size_t i = 0; i < kTextFields; ++i) {
        texts_[i].fill(' ');
        record_.*kTextFieldMembers[i] = texts_[i].data();
    }
    logonHours_.fill(0xFF);
    record_.logon_hours = logonHours_.data();
}

std::string UserReadBuffers::text(char *UserRecord::*field) const {
    const char *start = record_.*field;
    if (start == nullptr) {
        return {};
    }
    return std::string(start, std::find(start, start + kTextBufferSize, '\0'));
}
