// The caller's UserRecord and the platform's level-3 user information, in both directions.
#pragma once

#include "vantry.h"

#include "netclient/text.hpp"

#include <array>
#include <cstdint>

namespace vantry {

using netclient::CallerTexts;
using netclient::isShownFormOf;
using netclient::WideText;

// The text fields that a UserRecord shares with USER_INFO_3.
struct UserTextField {
    char *UserRecord::*record;
    LPWSTR USER_INFO_3::*platform;
};

inline constexpr std::array<UserTextField, 10> kUserTextFields{{
    {&UserRecord::name, &USER_INFO_3::usri3_name},
    {&UserRecord::password, &USER_INFO_3::usri3_password},
    {&UserRecord::home_dir, &USER_INFO_3::usri3_home_dir},
    {&UserRecord::comment, &USER_INFO_3::usri3_comment},
    {&UserRecord::script_path, &USER_INFO_3::usri3_script_path},
    {&UserRecord::full_name, &USER_INFO_3::usri3_full_name},
    {&UserRecord::usr_comment, &USER_INFO_3::usri3_usr_comment},
    {&UserRecord::workstations, &USER_INFO_3::usri3_workstations},
    {&UserRecord::profile, &USER_INFO_3::usri3_profile},
    {&UserRecord::home_dir_drive, &USER_INFO_3::usri3_home_dir_drive},
}};

inline constexpr std::size_t kLogonHoursBytes = UNITS_PER_WEEK / 8;

// Copies the platform's answer into the record: text into the caller's 256-byte buffers where
// the record field is not null (cut and marked when too long), the numbers, and 21 bytes of
// logon hours. Every text is converted first: on a failure (ERROR_NO_UNICODE_TRANSLATION) the
// record is left exactly as it was.
uint32_t readUserRecord(const USER_INFO_3 &info, UserRecord &record);

// A UserRecord as the platform takes it for NetUserAdd and NetUserSetInfo. Absent texts stay
// null, so that an update leaves those properties unchanged. Holds the wide copies of the
// record's texts, so it must outlive the platform call.
//
// An update is made over the account as it is now (`current`): it keeps its primary group, and
// a text that is just the shown form of a longer one (read cut, sent back untouched) is left
// out, so the account keeps its whole text. A new account's primary group is 513.
class PlatformUserInfo {
public:
    PlatformUserInfo() = default;
    PlatformUserInfo(const PlatformUserInfo &) = delete;
    PlatformUserInfo &operator=(const PlatformUserInfo &) = delete;

    // 0, or the conversion status of the first record text that cannot be sent.
    uint32_t assign(const UserRecord &record, const USER_INFO_3 *current = nullptr);
    const USER_INFO_3 &info() const { return info_; }
    LPBYTE buffer() { return reinterpret_cast<LPBYTE>(&info_); }

private:
    USER_INFO_3 info_{};
    std::array<WideText, kUserTextFields.size()> texts_;
};

}  // namespace vantry
