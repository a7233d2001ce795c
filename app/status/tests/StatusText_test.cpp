#include "status/modSAM.h"

#include <gtest/gtest.h>

namespace {

struct Row {
    uint32_t status;
    const char *text;
    bool suggestion;
    bool outOfStep;
};

const Row kTable[] = {
    {5, "Access denied.", true, false},
    {50, "This operation is not supported on a directory domain.", false, false},
    {53, "The network path was not found.", false, false},
    {123, "Invalid name specified.", false, false},
    {1209, "The format of the specified group name is invalid.", false, false},
    {1210, "The format of the specified computer name is invalid.", false, false},
    {1212, "The format of the specified domain name is invalid.", false, false},
    {1214, "The format of the specified network name is invalid.", false, false},
    {1229, "An operation was attempted on a non-existent network connection.", false, false},
    {1241, "The network address could not be used for the operation requested.", false, false},
    {1314, "A required privilege is not held by the client.", false, false},
    {1315, "The name provided is not a properly formed account name.", false, false},
    {1316, "The specified user already exists.", false, true},
    {1317, "The specified user does not exist.", false, true},
    {1318, "The specified group already exists.", false, true},
    {1319, "The specified group does not exist.", false, true},
    {1320, "The specified user account is already a member of the group.", false, true},
    {1321, "The specified user account is not a member of the specified group account.", false,
     true},
    {1322, "The last remaining administration account cannot be disabled or deleted.", false,
     false},
    {1325, "A password update rule has been violated.", false, false},
    {1326, "Logon failure: unknown user name or bad password.", true, false},
    {1341, "The server is currently disabled.", false, false},
    {1355, "The specified domain did not exist.", false, false},
    {1371, "Cannot perform this operation on built-in accounts.", false, false},
    {1372, "Cannot perform this operation on this built-in special group.", false, false},
    {1373, "Cannot perform this operation on this built-in special user.", false, false},
    {1377, "The specified account name is not a member of the local group.", false, true},
    {1387, "The member does not exist.", false, true},
    {1388, "The member has the wrong account type.", false, false},
    {1790, "A secure connection to the domain controller could not be made: check the CA file in "
           "the directory configuration.", false, false},
    {2202, "The specified username is invalid.", false, false},
    {2220, "The group name could not be found.", false, true},
    {2221, "The user name could not be found.", false, true},
    {2222, "The resource name could not be found.", false, false},
    {2223, "The group already exists.", false, true},
    {2224, "The user account already exists.", false, true},
    {2226, "This operation is only allowed on the primary domain controller of the domain.", false,
     false},
    {2227, "The security database has not been started.", false, false},
    {2228, "There are too many names in the user accounts database.", false, false},
    {2229, "A disk I/O failure occurred.", false, false},
    {2231, "Deleting a user with a session is not allowed.", false, false},
    {2234, "This operation is not allowed on this special group.", false, false},
    {2236, "The user already belongs to this group.", false, true},
    {2237, "The user does not belong to this group.", false, true},
    {2238, "This user account is undefined.", false, false},
    {2239, "This user account has expired.", false, false},
    {2247, "The security database is corrupted.", false, false},
    {2453, "Could not find domain controller for this domain.", false, false},
};

const std::string kSuggestion =
    "\n\r\n\rSuggestion - ensure that the 'Domain Admins' global group is a member of the target "
    "SAM's local 'Administrators' group and log on to the target domain as a domain "
    "administrator.";

TEST(StatusText, GivesEveryMessageOfTheTableAndItsOutOfStepMark) {
    for (const Row &row : kTable) {
        OutOfStep = false;
        std::string text = "previous";
        StatusText(row.status, text);
        EXPECT_EQ(text, std::string(row.text) + (row.suggestion ? kSuggestion : "")) << row.status;
        EXPECT_EQ(OutOfStep, row.outOfStep) << row.status;
    }
}

// Every status the account library and the platform below it can answer reaches the
// administrator as a sentence, never as a bare number; those that show the snapshot and the SAM
// disagree set the out-of-step mark.
TEST(StatusText, EveryStatusTheProgramCanMeetReadsAsASentence) {
    const std::pair<uint32_t, bool> statuses[] = {
        {8, false},    {19, false},   {50, false},   {82, false},   {87, false},
        {122, false},  {170, false},  {234, false},  {1113, false}, {1331, false},
        {1374, false}, {1376, true},  {1378, true},  {1379, true},  {1909, false},
        {2140, false}, {2245, false},
    };
    for (const auto &[status, outOfStep] : statuses) {
        OutOfStep = false;
        std::string text;
        StatusText(status, text);
        EXPECT_EQ(text.find("Error "), std::string::npos) << status << ": " << text;
        EXPECT_TRUE(text.ends_with(".")) << status << ": " << text;
        EXPECT_EQ(OutOfStep, outOfStep) << status;
    }
}

// What the embedded world answers when its file cannot be used says why.
TEST(StatusText, TheAccountDatabasesOwnFailuresSayWhatIsWrong) {
    const std::pair<uint32_t, const char *> failures[] = {
        {170, "Another program is using the account database"},
        {19, "read-only"},
        {82, "folder that holds the account database is not writable"},
        {2247, "corrupted"},
    };
    for (const auto &[status, words] : failures) {
        std::string text;
        StatusText(status, text);
        EXPECT_NE(text.find(words), std::string::npos) << status << ": " << text;
    }
}

TEST(StatusText, OtherStatusesReadAsErrorAndTheirNumber) {
    for (const uint32_t status : {0u, 4294967295u}) {
        OutOfStep = false;
        std::string text;
        StatusText(status, text);
        EXPECT_EQ(text, "Error " + std::to_string(status));
        EXPECT_FALSE(OutOfStep);
    }
}

TEST(StatusText, NeverClearsOutOfStep) {
    OutOfStep = false;
    std::string text;
    StatusText(2221, text);
    StatusText(2222, text);
    EXPECT_EQ(text, "The resource name could not be found.");
    EXPECT_TRUE(OutOfStep);
}

}  // namespace
