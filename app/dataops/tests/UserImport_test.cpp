#include "DataopsTest.h"

#include "accounts/clsGroup.h"
#include "accounts/clsUser.h"
#include "dataops/UserImport.h"
#include "status/ProgramError.h"
#include "status/modSAM.h"
#include "store/ProgramValues.h"

namespace {

// CORP with the user ann, the global group Staff and the local group Printers, open in the
// store with both account objects ready.
class UserImportTest : public DataopsTest {
protected:
    void SetUp() override {
        DataopsTest::SetUp();
        addDomainCorp();
        world().addUser("CORP", "ann");
        world().addGroup("CORP", "Staff", samworld::GroupKind::Global, "");
        world().addGroup("CORP", "Printers", samworld::GroupKind::Local, "");
        gDomainName = "CORP";
        openTarget("\\\\ALDER");
        ASSERT_FALSE(gData->User().OpenData());
        ASSERT_FALSE(gData->Group().OpenData());
    }

    // What the plan of the text says of each row: its line and its verdict.
    static std::vector<std::string> Verdicts(const ImportPlan &plan) {
        std::vector<std::string> verdicts;
        for (const ImportRow &row : plan.rows) {
            verdicts.push_back(std::to_string(row.line) + " " + row.Verdict());
        }
        return verdicts;
    }

    static std::string Complaint(std::string_view text) {
        try {
            PlanUserImport(text);
        } catch (const ProgramError &error) {
            return error.description();
        }
        return "no complaint";
    }
};

// Columns in another order and case; every row that must be refused is, with its reason, and
// nothing reaches the target before the administrator agrees.
TEST_F(UserImportTest, ThePreviewSaysWhatEachRowWillDoOrWhyNot) {
    const std::string longName(256, 'x');
    const ImportPlan plan = PlanUserImport(
        "Name,GROUPS,Password,Flags, account expires ,Full Name\r\n"
        "anna.baker,staff; Printers;Staff,Pa55word,Disabled; never_expires,2030-06-01,\"Baker, Anna\"\r\n"
        "bo,,,,,\r\n"
        "\r\n"
        "ANN,,,,,\r\n"
        "Anna.Baker,,,,,\r\n"
        "\"bad;name\",,,,,\r\n"
        "averyveryverylongname,,,,,\r\n"
        "..,,,,,\r\n"
        "carl,Sales,,,,\r\n"
        "dave,,fifteen-chars!!,,,\r\n"
        "eve,,,must_change;never_expires,,\r\n"
        "fay,,,admin,,\r\n"
        "gus,,,,2026-02-31,\r\n"
        "hal,,,,2040-01-01,\r\n"
        "ivy,,,\r\n"
        "jon,,,,," + longName + "\r\n");
    EXPECT_EQ(Verdicts(plan), (std::vector<std::string>{
        "2 Create anna.baker (disabled, never_expires), add to Staff; Printers",
        "3 Create bo",
        "5 Refused: A user or group 'ANN' already exists.",
        "6 Refused: The name is on line 2 already.",
        "7 Refused: A name cannot hold any of \"/\\[]:|<>+=;,?*@ nor control characters.",
        "8 Refused: The name is longer than 20 characters.",
        "9 Refused: A name cannot be only dots and blanks.",
        "10 Refused: There is no group 'Sales' on the target.",
        "11 Refused: The password is longer than 14 characters.",
        "12 Refused: A password that must be changed at the next logon can neither never expire "
        "nor be one the user cannot change.",
        "13 Refused: There is no flag 'admin'; the flags are disabled, never_expires, "
        "cannot_change and must_change.",
        "14 Refused: '2026-02-31' is not a date.",
        "15 Refused: An account can expire from 1970 to 2038-01-19 only, not on '2040-01-01'.",
        "16 Refused: The row has 4 fields where the first line names 6 columns.",
        "17 Refused: The full name is longer than 255 bytes.",
    }));
    EXPECT_EQ(plan.AcceptedCount(), 2);

    const Details &anna = plan.rows[0].details;
    EXPECT_EQ(TextOf(anna.Item("UserName")), "anna.baker");
    EXPECT_EQ(TextOf(anna.Item("Password")), "Pa55word");  // as written, not lower-cased
    EXPECT_EQ(TextOf(anna.Item("FullName")), "Baker, Anna");
    EXPECT_EQ(AccountSecondsOf(*DateOf(anna.Item("AccountExpires"))), 1906502400);
    EXPECT_TRUE(BooleanOf(anna.Item("AccountDisabled")));
    EXPECT_TRUE(BooleanOf(anna.Item("PasswordNeverExpires")));
    EXPECT_FALSE(BooleanOf(anna.Item("PasswordChangeNext")));
    EXPECT_FALSE(world().hasAccount("CORP", "anna.baker"));
}

// Tells each account it is asked about, and stops before the one at index stopAt. Gives
// another logon whenever the target refuses one.
class StopBefore final : public ProgressReporter {
public:
    explicit StopBefore(int64_t stopAt) : stopAt_(stopAt) {}
    bool Step(int64_t done, int64_t, const std::string &what) override {
        asked.push_back(what);
        return done < stopAt_;
    }
    bool NewLogon() override {
        ++logons;
        return true;
    }
    std::vector<std::string> asked;
    int logons = 0;

private:
    int64_t stopAt_;
};

// Refused rows are passed over; an account whose membership the SAM refused counts as failed
// but stays; a membership refused for the logon is made once another logon is given, without
// creating the account again; a stop leaves the remaining rows alone. SAM and snapshot agree
// throughout.
TEST_F(UserImportTest, TheRunCreatesEachAcceptedRowUntilStopped) {
    world().addFault({.call = "NetLocalGroupAddMembers", .status = 5, .server = "", .after = 0, .count = 1});
    world().addFault({.call = "NetGroupAddUser", .status = 1326, .server = "", .after = 0, .count = 1});
    const ImportPlan plan = PlanUserImport(
        "name,password,full name,flags,groups\r\n"
        "anna,Pa55word,Anna Baker,disabled,Staff\r\n"
        "ann,,,,\r\n"
        "bob,,,,Printers\r\n"
        "carl,,,,Staff\r\n"
        "dave,,,,\r\n");
    gData->LastErr().Refresh();
    StopBefore progress(3);
    const OperationCount count = RunUserImport(plan, progress);
    EXPECT_EQ(progress.asked, (std::vector<std::string>{"anna", "bob", "carl", "dave"}));
    EXPECT_EQ(count.total, 4);
    EXPECT_EQ(count.succeeded, 2);
    EXPECT_EQ(count.failed, 1);
    EXPECT_EQ(count.notDone(), 1);
    EXPECT_EQ(progress.logons, 1);
    EXPECT_NE(gData->LastErr().Description().find("Add user 'bob' to SAM group 'Printers' failed"),
              std::string::npos)
        << gData->LastErr().Description();

    const samworld::UserRecord anna = world().user("CORP", "anna");
    EXPECT_EQ(anna.fullName, "Anna Baker");
    EXPECT_NE(anna.flags & UF_ACCOUNTDISABLE, 0U);
    EXPECT_EQ(anna.flags & UF_DONT_EXPIRE_PASSWD, 0U);  // not named, so not set
    EXPECT_TRUE(world().passwordMatches("CORP", "anna", "Pa55word"));
    EXPECT_EQ(world().members("CORP", "Staff"), (std::vector<std::string>{"anna", "carl"}));
    EXPECT_TRUE(world().members("CORP", "Printers").empty());
    EXPECT_TRUE(world().hasAccount("CORP", "bob"));
    EXPECT_FALSE(world().hasAccount("CORP", "dave"));

    NameArray staff;
    EXPECT_FALSE(gData->Group().GetCommonUsers(std::vector<std::string>{"Staff"}, false, staff));
    EXPECT_EQ(staff.items(), (std::vector<std::string>{"anna", "carl"}));
    EXPECT_TRUE(gData->User().Exists("bob"));
    EXPECT_FALSE(gData->User().Exists("dave"));
}

// Another program reads the local copy while the import runs: the accounts reach the SAM, the
// snapshot's rows cannot be committed, and the administrator is told so and warned.
TEST_F(UserImportTest, AnImportTheLocalCopyCannotKeepIsReportedAndOutOfStep) {
    const ImportPlan plan = PlanUserImport("name\r\nanna\r\nbob\r\n");
    const Database otherProgram(gData->WorkingPath());
    otherProgram.execute("BEGIN");
    otherProgram.prepare("SELECT count(*) FROM User").step();
    OutOfStep = false;
    gData->LastErr().Refresh();
    NoProgress progress;
    const OperationCount count = RunUserImport(plan, progress);
    EXPECT_EQ(count.succeeded, 2);
    EXPECT_TRUE(world().hasAccount("CORP", "bob"));
    EXPECT_EQ(gData->LastErr().Description(),
              "The accounts were created in the SAM, but the local copy could not be updated: "
              "another program is using it.");
    EXPECT_TRUE(OutOfStep);
    OutOfStep = false;
}

TEST_F(UserImportTest, AHeaderItCannotReadIsRefusedWhole) {
    EXPECT_EQ(Complaint("name,e-mail\r\nanna,a@b\r\n"),
              "Line 1: unknown column 'e-mail'. The columns are: name, password, full name, "
              "comment, home directory, script, profile, flags, account expires, groups.");
    EXPECT_EQ(Complaint("name,Comment,comment\r\n"), "Line 1: the column 'comment' is named twice.");
    EXPECT_EQ(Complaint("password\r\nsecret\r\n"),
              "Line 1: the first line names the columns, and one must be 'name'.");
    EXPECT_EQ(Complaint(""), "Line 1: the file is empty; its first line names the columns.");
    EXPECT_EQ(Complaint("name\r\nanna\r\n\"bo\r\n"), "Line 3: a quoted field has no closing quote");
}

}  // namespace
