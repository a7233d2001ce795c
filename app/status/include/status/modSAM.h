// Platform statuses turned into the sentences the administrator reads, the domain test and
// the rights probe that the opening of a target needs.
#pragma once

#include "vantry_api/NameList.h"

#include <cstdint>
#include <ctime>
#include <string>

// Status of the latest account service call by the account objects and the dialogs, and
// its message when it was not zero.
extern uint32_t LastStatus;
extern std::string LastStatusText;
// Set when a status shows that the snapshot and the SAM disagree; the main window clears it
// after warning.
extern bool OutOfStep;
// Server name of the target: "\\" and the machine name.
extern std::string gSAMHost;

// Replaces text by the status's message; sets OutOfStep for the out-of-step statuses.
void StatusText(uint32_t status, std::string &text);

// True unless the server's global groups come back as exactly one name (the "None" group of
// a stand-alone machine); an enumeration that fails therefore counts as a domain.
bool IsDomainTarget(const std::string &server, NameList &workList);

// The Boolean result of these three is "failed"; message then holds the reason.
// The user is created disabled, with an empty password that never expires.
bool SAMAddUser(const std::string &server, const std::string &name, const std::string &fullName,
                const std::string &comment, std::string &message);
bool SAMDeleteUser(const std::string &server, const std::string &name, std::string &message);
// Proves that the caller may change gSAMHost's accounts by creating and deleting the user
// "Test" + hhmmss of timeOfDay.
bool CheckSAMRights(std::string &message, const std::tm &timeOfDay);
bool CheckSAMRights(std::string &message);
