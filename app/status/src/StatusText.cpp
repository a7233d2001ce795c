#include "status/modSAM.h"

#include <algorithm>
#include <array>

uint32_t LastStatus = 0;
std::string LastStatusText;
bool OutOfStep = false;

namespace {

struct StatusMessage {
    uint32_t status;
    const char *text;
    bool outOfStep;
    bool suggestion;
};

constexpr bool kOutOfStep = true;
constexpr bool kSuggest = true;

constexpr std::array kStatusMessages{
    StatusMessage{5, "Access denied.", false, kSuggest},
    StatusMessage{8, "Not enough memory resources are available to process this command.", false,
                  false},
    StatusMessage{19, "The account database is read-only, so it cannot be changed.", false, false},
    // A directory domain: what LDAP cannot reach (shares, logged-on users).
    StatusMessage{50, "This operation is not supported on a directory domain.", false, false},
    StatusMessage{53, "The network path was not found.", false, false},
    StatusMessage{82,
                  "The folder that holds the account database is not writable, so the database "
                  "cannot be changed.",
                  false, false},
    StatusMessage{87,
                  "The parameter is incorrect: a value was refused, for instance a text longer "
                  "than 255 bytes.",
                  false, false},
    StatusMessage{122, "A name returned by the server is longer than 255 bytes.", false, false},
    StatusMessage{123, "Invalid name specified.", false, false},
    StatusMessage{170,
                  "Another program is using the account database and was still using it after a "
                  "wait. Try again later.",
                  false, false},
    StatusMessage{234, "The server said more entries were available but sent none; the list is "
                       "incomplete.",
                  false, false},
    StatusMessage{1113,
                  "A text holds characters that cannot be converted: it is not valid UTF-8 or "
                  "UTF-16 text.",
                  false, false},
    StatusMessage{1209, "The format of the specified group name is invalid.", false, false},
    StatusMessage{1210, "The format of the specified computer name is invalid.", false, false},
    StatusMessage{1212, "The format of the specified domain name is invalid.", false, false},
    StatusMessage{1214, "The format of the specified network name is invalid.", false, false},
    StatusMessage{1229, "An operation was attempted on a non-existent network connection.", false,
                  false},
    StatusMessage{1241, "The network address could not be used for the operation requested.", false,
                  false},
    StatusMessage{1314, "A required privilege is not held by the client.", false, false},
    StatusMessage{1315, "The name provided is not a properly formed account name.", false, false},
    StatusMessage{1316, "The specified user already exists.", kOutOfStep, false},
    StatusMessage{1317, "The specified user does not exist.", kOutOfStep, false},
    StatusMessage{1318, "The specified group already exists.", kOutOfStep, false},
    StatusMessage{1319, "The specified group does not exist.", kOutOfStep, false},
    StatusMessage{1320, "The specified user account is already a member of the group.", kOutOfStep,
                  false},
    StatusMessage{1321,
                  "The specified user account is not a member of the specified group account.",
                  kOutOfStep, false},
    StatusMessage{1322, "The last remaining administration account cannot be disabled or deleted.",
                  false, false},
    StatusMessage{1325, "A password update rule has been violated.", false, false},
    StatusMessage{1326, "Logon failure: unknown user name or bad password.", false, kSuggest},
    StatusMessage{1331, "This user can't sign in because this account is currently disabled.",
                  false, false},
    StatusMessage{1341, "The server is currently disabled.", false, false},
    StatusMessage{1355, "The specified domain did not exist.", false, false},
    StatusMessage{1371, "Cannot perform this operation on built-in accounts.", false, false},
    StatusMessage{1372, "Cannot perform this operation on this built-in special group.", false,
                  false},
    StatusMessage{1373, "Cannot perform this operation on this built-in special user.", false,
                  false},
    StatusMessage{1374,
                  "The user cannot be removed from a group because the group is currently the "
                  "user's primary group.",
                  false, false},
    StatusMessage{1376, "The specified local group does not exist.", kOutOfStep, false},
    StatusMessage{1377, "The specified account name is not a member of the local group.",
                  kOutOfStep, false},
    StatusMessage{1378, "The specified account name is already a member of the group.", kOutOfStep,
                  false},
    StatusMessage{1379, "The specified local group already exists.", kOutOfStep, false},
    StatusMessage{1387, "The member does not exist.", kOutOfStep, false},
    StatusMessage{1388, "The member has the wrong account type.", false, false},
    // A directory domain whose controller refused TLS, or whose certificate did not verify.
    StatusMessage{1790, "A secure connection to the domain controller could not be made: check the "
                        "CA file in the directory configuration.", false, false},
    StatusMessage{1909,
                  "The referenced account is currently locked out and may not be logged on to.",
                  false, false},
    StatusMessage{2140, "An internal error occurred in the account service.", false, false},
    StatusMessage{2202, "The specified username is invalid.", false, false},
    StatusMessage{2220, "The group name could not be found.", kOutOfStep, false},
    StatusMessage{2221, "The user name could not be found.", kOutOfStep, false},
    StatusMessage{2222, "The resource name could not be found.", false, false},
    StatusMessage{2223, "The group already exists.", kOutOfStep, false},
    StatusMessage{2224, "The user account already exists.", kOutOfStep, false},
    StatusMessage{2226,
                  "This operation is only allowed on the primary domain controller of the domain.",
                  false, false},
    StatusMessage{2227, "The security database has not been started.", false, false},
    StatusMessage{2228, "There are too many names in the user accounts database.", false, false},
    StatusMessage{2229, "A disk I/O failure occurred.", false, false},
    StatusMessage{2231, "Deleting a user with a session is not allowed.", false, false},
    StatusMessage{2234, "This operation is not allowed on this special group.", false, false},
    StatusMessage{2236, "The user already belongs to this group.", kOutOfStep, false},
    StatusMessage{2237, "The user does not belong to this group.", kOutOfStep, false},
    StatusMessage{2238, "This user account is undefined.", false, false},
    StatusMessage{2239, "This user account has expired.", false, false},
    StatusMessage{2245,
                  "The password does not meet the password policy requirements. Check the minimum "
                  "password length, password complexity and password history requirements.",
                  false, false},
    StatusMessage{2247, "The security database is corrupted.", false, false},
    StatusMessage{2453, "Could not find domain controller for this domain.", false, false},
};

// Two line breaks, each a line feed then a carriage return, before the suggestion.
const std::string kSuggestion =
    std::string("\n\r\n\r") +
    "Suggestion - ensure that the 'Domain Admins' global group is a member of the target SAM's "
    "local " +
    "'Administrators' group and log on to the target domain as a domain administrator.";

}  // namespace

void StatusText(uint32_t status, std::string &text) {
    const auto *entry =
        std::find_if(kStatusMessages.begin(), kStatusMessages.end(),
                     [status](const StatusMessage &m) { return m.status == status; });
    if (entry == kStatusMessages.end()) {
        text = "Error " + std::to_string(status);
        return;
    }
    text = entry->text;
    if (entry->suggestion) {
        text += kSuggestion;
    }
    if (entry->outOfStep) {
        OutOfStep = true;
    }
}
