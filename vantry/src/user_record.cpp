#include "user_record.hpp"

#include <algorithm>
#include <cstring>

namespace vantry {

namespace {

// Logon hours left unset by the platform allow every hour.
void copyLogonHours(const BYTE *platformHours, uint8_t *recordHours) {
    if (recordHours == nullptr) return;
    if (platformHours == nullptr) {
        std::fill_n(recordHours, kLogonHoursBytes, 0xFF);
    } else {
        std::memcpy(recordHours, platformHours, kLogonHoursBytes);
    }
}

}  // namespace

uint32_t readUserRecord(const USER_INFO_3 &info, UserRecord &record) {
    CallerTexts texts;
    for (const UserTextField &field : kUserTextFields) {
        if (const uint32_t status = texts.stage(record.*field.record, info.*field.platform)) {
            return status;
        }
    }
    texts.write();
    record.password_age = info.usri3_password_age;
    record.flags = info.usri3_flags;
    record.last_logon = static_cast<int32_t>(info.usri3_last_logon);
    record.last_logoff = static_cast<int32_t>(info.usri3_last_logoff);
    record.acct_expires = static_cast<int32_t>(info.usri3_acct_expires);
    record.bad_pw_count = info.usri3_bad_pw_count;
    record.password_expired = info.usri3_password_expired;
    copyLogonHours(info.usri3_logon_hours, record.logon_hours);
    return NERR_Success;
}

uint32_t PlatformUserInfo::assign(const UserRecord &record, const USER_INFO_3 *current) {
    info_ = USER_INFO_3{};
    for (std::size_t i = 0; i < kUserTextFields.size(); ++i) {
        const char *text = record.*kUserTextFields[i].record;
        if (text == nullptr) continue;
        if (current != nullptr && isShownFormOf(text, current->*kUserTextFields[i].platform)) {
            continue;
        }
        if (const uint32_t status = texts_[i].assign(text)) return status;
        info_.*kUserTextFields[i].platform = texts_[i].get();
    }
    info_.usri3_flags = record.flags;
    info_.usri3_acct_expires = static_cast<DWORD>(record.acct_expires);
    info_.usri3_logon_hours = record.logon_hours;
    info_.usri3_password_expired = record.password_expired;
    // The fields no record field feeds; privilege, operator rights and parameters stay 0/absent.
    info_.usri3_max_storage = USER_MAXSTORAGE_UNLIMITED;
    info_.usri3_units_per_week = UNITS_PER_WEEK;
    info_.usri3_primary_group_id =
        current != nullptr ? current->usri3_primary_group_id : DOMAIN_GROUP_RID_USERS;
    return NERR_Success;
}

}  // namespace vantry
