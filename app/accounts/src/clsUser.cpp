#include "accounts/clsUser.h"

#include "OutgoingUser.h"
#include "StoreCursors.h"
#include "vantry_api/UserReadBuffers.h"
#include "vantry_api/modVantryDeclare.h"

#include <optional>

namespace {

namespace api = modVantryDeclare;

// The user-account flag bits the program reads and writes. Every other bit of an existing
// account ("password not required", "smart card required", its account type...) is written
// back as the account has it.
constexpr uint32_t kFlagScript = 0x0001;
constexpr uint32_t kFlagAccountDisabled = 0x0002;
constexpr uint32_t kFlagLockedOut = 0x0010;
constexpr uint32_t kFlagPasswordCannotChange = 0x0040;
constexpr uint32_t kFlagPasswordNeverExpires = 0x10000;
constexpr uint32_t kHandledFlags =
    kFlagAccountDisabled | kFlagLockedOut | kFlagPasswordCannotChange | kFlagPasswordNeverExpires;

// The flags a key sets and clears, with the default a new user takes.
struct FlagKey {
    const char *key;
    uint32_t bit;
    bool NewUserDefaults::*newUserDefault;
};

constexpr FlagKey kFlagKeys[] = {
    {"PasswordCannotChange", kFlagPasswordCannotChange, &NewUserDefaults::def_PasswordCannotChange},
    {"PasswordNeverExpires", kFlagPasswordNeverExpires, &NewUserDefaults::def_PasswordNeverExpires},
    {"AccountDisabled", kFlagAccountDisabled, &NewUserDefaults::def_AccountDisabled},
};

std::optional<std::string> textItem(const Details &details, std::string_view key) {
    if (const DetailValue *value = details.Find(key)) {
        return TextOf(*value);
    }
    return std::nullopt;
}

// A text item, or for a new user whose details lack it, the default.
std::optional<std::string> textItem(const Details &details, std::string_view key, bool isNew,
                                    const std::string &newUserDefault) {
    auto text = textItem(details, key);
    if (!text && isNew) {
        text = newUserDefault;
    }
    return text;
}

bool isSet(uint32_t flags, uint32_t bit) { return (flags & bit) != 0; }

int32_t signedValue(uint32_t number) { return static_cast<int32_t>(number); }

void fillTexts(const Details &details, const NewUserDefaults &defaults, bool isNew,
               OutgoingUser &record) {
    record.fullName = textItem(details, "FullName");
    record.scriptPath = textItem(details, "ScriptPath", isNew, defaults.def_ScriptPath);
    record.homeDir = textItem(details, "HomeDirectory");
    record.profile = textItem(details, "Profile");
    record.password = textItem(details, "Password");
    // The details never carry the workstations an account may log on from: a new account
    // gets none, and an update leaves an existing restriction in place.
    if (isNew) {
        record.workstations = "";
    }
    record.comment = textItem(details, "Comment", isNew, defaults.def_Comment);
    record.userComment = textItem(details, "UserComment", isNew, defaults.def_UserComment);
    record.homeDirDrive = textItem(details, "HomeDirDrive", isNew, defaults.def_HomeDirDrive);
}

// Elements 1 to 21 of the LogonHours item; every hour for a new user without one.
std::optional<LogonHoursBytes> logonHoursFor(const Details &details, bool isNew) {
    std::optional<LogonHoursBytes> bytes;
    if (const DetailValue *item = details.Find("LogonHours")) {
        const ByteArray &hours = BytesOf(*item);
        bytes.emplace();
        for (std::size_t i = 0; i < bytes->size(); ++i) {
            (*bytes)[i] = hours.Item(static_cast<int64_t>(i) + 1);
        }
    } else if (isNew) {
        bytes.emplace().fill(0xFF);
    }
    return bytes;
}

// The seconds of an AccountExpires value; nullopt when it is no date the field can hold.
std::optional<int32_t> expirySecondsOf(const DetailValue &value) {
    const auto moment = DateOf(value);
    return moment ? AccountSecondsOf(*moment) : std::nullopt;
}

// The flags to write: the details' values, else the new user's defaults or the account's
// current bits. A locked account stays locked unless the details unlock it; nothing can lock
// one.
uint32_t flagsFor(const Details &details, const NewUserDefaults &defaults,
                  const UserRecord *account) {
    const uint32_t currentFlags = account != nullptr ? account->flags : 0;
    uint32_t flags = kFlagScript | (currentFlags & ~kHandledFlags);
    for (const FlagKey &flag : kFlagKeys) {
        bool set =
            account != nullptr ? isSet(currentFlags, flag.bit) : defaults.*flag.newUserDefault;
        if (const DetailValue *value = details.Find(flag.key)) {
            set = BooleanOf(*value);
        }
        flags |= set ? flag.bit : 0;
    }
    const DetailValue *locked = details.Find("AccountLocked");
    const bool unlock = locked != nullptr && !BooleanOf(*locked);
    if (isSet(currentFlags, kFlagLockedOut) && !unlock) {
        flags |= kFlagLockedOut;
    }
    return flags;
}

// The account's properties in the order the windows expect them.
Details detailsOf(const std::string &storedName, UserReadBuffers &account) {
    const UserRecord &record = account.record();
    const auto text = [&](char *UserRecord::*field) { return account.text(field); };
    const auto flag = [&](uint32_t bit) { return isSet(record.flags, bit); };
    const auto moment = [](int32_t seconds) { return DateTimeText(AccountTimeOf(seconds)); };

    ByteArray hours;
    for (std::size_t i = 0; i < kLogonHoursBytes; ++i) {
        hours.Append(record.logon_hours[i]);
    }

    Details details;
    details.Add("UserName", storedName);
    details.Add("HomeDirectory", text(&UserRecord::home_dir));
    details.Add("FullName", text(&UserRecord::full_name));
    details.Add("ScriptPath", text(&UserRecord::script_path));
    details.Add("PasswordChangeNext", signedValue(record.password_expired));
    details.Add("Profile", text(&UserRecord::profile));
    details.Add("Comment", text(&UserRecord::comment));
    details.Add("UserComment", text(&UserRecord::usr_comment));
    details.Add("AccountExpires", moment(record.acct_expires));
    details.Add("PasswordCannotChange", flag(kFlagPasswordCannotChange));
    details.Add("PasswordNeverExpires", flag(kFlagPasswordNeverExpires));
    details.Add("AccountDisabled", flag(kFlagAccountDisabled));
    details.Add("AccountLocked", flag(kFlagLockedOut));
    details.Add("BadPasswordCount", signedValue(record.bad_pw_count));
    details.Add("HomeDirDrive", text(&UserRecord::home_dir_drive));
    details.Add("LastLogon", moment(record.last_logon));
    details.Add("LastLogoff", moment(record.last_logoff));
    details.Add("LogonHours", std::move(hours));
    details.Add("PasswordAge", signedValue(record.password_age));
    return details;
}

// What the store keeps of the account once the record is written: texts the record leaves
// absent keep their stored values; the flags are always written.
UserColumns columnsAfter(const OutgoingUser &user, const UserColumns &stored) {
    return {user.fullName.value_or(stored.FullName), user.comment.value_or(stored.Comment),
            user.flags};
}

}  // namespace

bool UserColumns::AccountDisabled() const { return isSet(Flags, kFlagAccountDisabled); }
bool UserColumns::AccountLocked() const { return isSet(Flags, kFlagLockedOut); }
bool UserColumns::PasswordNeverExpires() const { return isSet(Flags, kFlagPasswordNeverExpires); }

clsUser::clsUser() : AccountObject("Data.User", {Table::User, Table::Group, Table::GroupUser}) {}

void clsUser::ResetDefaults() { static_cast<NewUserDefaults &>(*this) = NewUserDefaults{}; }

void clsUser::ReadFromSAM(const std::string &name, UserReadBuffers &current) {
    RaiseIfRefused(api::GetUserInfo(SAMHost().c_str(), name.c_str(), &current.record()),
                   "Failed to get user details from SAM: ");
}

bool clsUser::GetDetails(const std::string &name, Details &details) {
    return Guarded([&] {
        const auto row = Users().Seek(name);
        if (!row) {
            return Missing("User not found: " + name);
        }
        UserReadBuffers account;
        ReadFromSAM(name, account);
        details = detailsOf(row->UserName, account);
        return false;
    });
}

void clsUser::FillUserRecord(const std::string &name, const Details &details, OutgoingUser &record,
                             bool isNew) {
    // An existing account keeps its flags, expiry and password-expired value unless the
    // details change them.
    std::optional<UserReadBuffers> current;
    if (!isNew) {
        ReadFromSAM(name, current.emplace());
    }
    const UserRecord *account = current ? &current->record() : nullptr;

    if (isNew) {
        record.name = textItem(details, "UserName");
    }
    fillTexts(details, *this, isNew, record);
    record.logonHours = logonHoursFor(details, isNew);

    record.accountExpires = account != nullptr ? account->acct_expires : def_AccountExpires;
    if (const DetailValue *expires = details.Find("AccountExpires")) {
        const auto seconds = expirySecondsOf(*expires);
        if (!seconds) {
            Raise("Invalid date specified " + TextOf(*expires));
        }
        record.accountExpires = *seconds;
    }

    record.flags = flagsFor(details, *this, account);

    record.passwordExpired = account != nullptr ? account->password_expired
                                                : static_cast<uint32_t>(def_PasswordChangeNext);
    if (const DetailValue *mustChange = details.Find("PasswordChangeNext")) {
        record.passwordExpired = static_cast<uint32_t>(LongOf(*mustChange));
    }
}

bool clsUser::Add(const Details &details) {
    return Guarded([&] {
        const DetailValue *userName = details.Find("UserName");
        if (userName == nullptr) {
            return Missing("Username not supplied.");
        }
        const std::string name = TextOf(*userName);
        OutgoingUser user;
        FillUserRecord(name, details, user, true);

        const int64_t userId = Users().AddNew(name, columnsAfter(user, {}));
        const UserRecord record = user.record();
        if (const auto statusText = SAMRefusal(api::CreateUser(SAMHost().c_str(), &record))) {
            const std::string failure =
                "Failed to create user '" + name + "' in SAM: " + *statusText;
            FollowInStore(failure, [&] { Users().Delete(userId); });
            Raise(failure);
        }
        return false;
    });
}

bool clsUser::Update(const std::string &name, const Details &details) {
    return Guarded([&] {
        const auto row = Users().Seek(name);
        if (!row) {
            return Missing("User not found: " + name);
        }
        const std::string &storedName = row->UserName;
        OutgoingUser user;
        FillUserRecord(storedName, details, user, false);

        const UserRecord record = user.record();
        RaiseIfRefused(api::SetUserInfo(SAMHost().c_str(), storedName.c_str(), &record),
                       "Failed to update user '" + storedName + "' in SAM: ");
        Users().SetColumns(row->UserID, columnsAfter(user, row->Columns));
        return false;
    });
}

bool clsUser::Remove(const std::string &name) {
    return Guarded([&] {
        const auto row = Users().Seek(name);
        if (!row) {
            return Missing("User not found: " + name);
        }
        RaiseIfRefused(api::DeleteUser(SAMHost().c_str(), name.c_str()),
                       "Failed to delete user '" + name + "' in SAM: ");
        // Its GroupUser rows may stay: keys are never reused, and every query that reads
        // memberships joins them to the User table.
        FollowInStore("User '" + name + "' was deleted from the SAM",
                      [&] { Users().Delete(row->UserID); });
        return false;
    });
}

std::optional<UserColumns> clsUser::Columns(const std::string &name) {
    const auto row = Users().Seek(name);
    if (!row) return std::nullopt;
    return row->Columns;
}

void clsUser::EachColumns(
    const std::function<void(const std::string &, const UserColumns &)> &each) {
    Users().EachColumns(each);
}

bool clsUser::GetAll(NameArray &names) {
    names = Users().AllNames();
    return false;
}
