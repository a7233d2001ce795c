#include "OutgoingUser.h"

namespace {

char *textOf(std::optional<std::string> &text) { return text ? text->data() : nullptr; }

}  // namespace

UserRecord OutgoingUser::record() {
    UserRecord record{};
    record.name = textOf(name);
    record.password = textOf(password);
    record.home_dir = textOf(homeDir);
    record.comment = textOf(comment);
    record.script_path = textOf(scriptPath);
    record.full_name = textOf(fullName);
    record.usr_comment = textOf(userComment);
    record.workstations = textOf(workstations);
    record.profile = textOf(profile);
    record.home_dir_drive = textOf(homeDirDrive);
    record.logon_hours = logonHours ? logonHours->data() : nullptr;
    record.flags = flags;
    record.acct_expires = accountExpires;
    record.password_expired = passwordExpired;
    return record;
}
