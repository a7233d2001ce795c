// The user object: creates, reads, changes and deletes user accounts in the target SAM, keeps
// the store's User rows in step, edits a user's group memberships and answers which groups a
// set of users has in common.
//
// Properties travel as a details collection under these keys: UserName, Password, FullName,
// Comment, UserComment, HomeDirectory, HomeDirDrive, ScriptPath, Profile, AccountExpires,
// LastLogon, LastLogoff, PasswordAge, BadPasswordCount, PasswordChangeNext,
// PasswordCannotChange, PasswordNeverExpires, AccountDisabled, AccountLocked, LogonHours.
#pragma once

#include "accounts/AccountColumns.h"
#include "accounts/AccountObject.h"
#include "accounts/AccountTime.h"
#include "accounts/Details.h"
#include "accounts/OneBasedArray.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

struct OutgoingUser;
class UserReadBuffers;

// What a new user gets for each property its details leave out.
struct NewUserDefaults {
    std::string def_Comment;
    std::string def_UserComment;
    int16_t def_PasswordChangeNext = 0;
    bool def_PasswordCannotChange = false;
    bool def_PasswordNeverExpires = true;
    bool def_AccountDisabled = false;
    int32_t def_AccountExpires = kNeverExpires;
    std::string def_ScriptPath;
    std::string def_HomeDirDrive;
};

class clsUser : public AccountObject, public NewUserDefaults {
public:
    clsUser();

    // Restores the defaults above.
    void ResetDefaults();

    // Adds the user named by the UserName item: first its store row, then the SAM account; the
    // row goes again when the SAM refuses. The caller asks Exists first.
    bool Add(const Details &details);
    // Writes the present keys to the SAM account; the flags, the expiry and the
    // password-expired value are always written, from the details or else as they are now. Then
    // the store's row takes the new full name, comment and flags.
    bool Update(const std::string &name, const Details &details);
    // Replaces details by the account's properties; left as it was when that fails.
    bool GetDetails(const std::string &name, Details &details);
    // Deletes the SAM account, then the store row.
    bool Remove(const std::string &name);
    // Every user name of the store, in name order; always false.
    bool GetAll(NameArray &names);
    // What the store keeps of the user besides the name; nullopt for a name it lacks. Reads the
    // store only, and catches nothing.
    std::optional<UserColumns> Columns(const std::string &name);
    // The same of every user, handed to each with the user's name, in one read: a million
    // users' columns are never held at once.
    void EachColumns(const std::function<void(const std::string &, const UserColumns &)> &each);

    bool AddToGroups(const std::string &user, std::span<const std::string> groups);
    bool RemoveFromGroups(const std::string &user, std::span<const std::string> groups);
    // The groups every listed user belongs to or, with Reverse, every other group; isGlobal
    // holds each group's kind at the same index. Names the store lacks are left out; when it
    // holds none of them the error list is emptied and the result is true.
    bool GetCommonGroups(std::span<const std::string> users, bool Reverse, NameArray &groups,
                         OneBasedArray<int32_t> &isGlobal);

private:
    void FillUserRecord(const std::string &name, const Details &details, OutgoingUser &record,
                        bool isNew);
    // The account as the SAM holds it now, into fresh transfer buffers.
    void ReadFromSAM(const std::string &name, UserReadBuffers &current);
    bool ChangeGroups(MembershipEdit edit, const std::string &user,
                      std::span<const std::string> groups);
};
