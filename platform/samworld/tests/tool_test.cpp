// The samworld tool end to end: a few commands as a person types them, exit codes and
// messages.
#include "temp_world.h"

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace samworld::test {
namespace {

struct Outcome {
    int exitCode;
    std::string output;  // stdout and stderr together
};

std::string quoted(const std::string &word) {
    std::string quoted = "'";
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

class Tool : public TempWorldTest {
protected:
    Outcome run(const std::vector<std::string> &words, bool withWorldOption = true,
                const std::string &input = "") {
        std::string command = "printf %s " + quoted(input) + " | " + quoted(SAMWORLD_TOOL);
        if (withWorldOption) command += " --world " + quoted(path());
        for (const auto &word : words) command += " " + quoted(word);
        command += " 2>&1";
        FILE *pipe = popen(command.c_str(), "r");
        std::string output;
        char chunk[4096];
        for (size_t got; (got = fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, got);
        const int status = pclose(pipe);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
    }
};

TEST_F(Tool, BuildsANetworkAndShowsIt) {
    for (const auto &words : std::vector<std::vector<std::string>>{
             {"init"},
             {"domain", "add", "CORP", "--pdc", "ALDER"},
             {"machine", "add", "OAK", "--domain", "CORP", "--local"},
             {"machine", "add", "HEATH", "--workgroup", "MOOR"},
             {"user", "add", "CORP", "ann", "--password", "Sea-Breeze", "--full-name", "Ann Archer",
              "--flags", "0x203"},
             {"group", "add", "CORP", "Rowers", "--global", "--comment", "Row the boats"},
             {"member", "add", "CORP", "Rowers", "ann"},
             {"group", "add", "OAK", "Boathouse", "--local"},
             {"member", "add", "OAK", "Boathouse", "CORP\\Rowers"},
             {"member", "add", "OAK", "Boathouse", "NT AUTHORITY\\INTERACTIVE"},
             {"policy", "CORP", "--min-password-length", "4"},
             {"logon", "CORP\\Administrator"},
             {"share", "add", "OAK", "Data", "C:\\Data"},
             {"session", "add", "OAK", "ann"},
             {"fault", "add", "NetUserEnum", "53", "--server", "OAK", "--after", "1", "--count", "2"}}) {
        const Outcome outcome = run(words);
        ASSERT_EQ(outcome.exitCode, 0) << words[0] << " " << words[1] << ": " << outcome.output;
    }
    const Outcome shown = run({"show", "OAK"});
    EXPECT_EQ(shown.exitCode, 0);
    EXPECT_NE(shown.output.find("OAK: member of CORP (local)"), std::string::npos) << shown.output;
    EXPECT_NE(shown.output.find("HEATH: workgroup MOOR"), std::string::npos);
    EXPECT_NE(shown.output.find("Boathouse: CORP\\Rowers NT AUTHORITY\\INTERACTIVE"), std::string::npos);
    EXPECT_NE(shown.output.find("share Data = C:\\Data"), std::string::npos);
    EXPECT_NE(shown.output.find("Caller: CORP\\Administrator"), std::string::npos);
    EXPECT_NE(shown.output.find("Fault: NetUserEnum -> 53 on OAK, after 1, count 2"), std::string::npos);

    const World world = World::open(path());
    EXPECT_EQ(world.user("CORP", "ann").flags, uint32_t{UF_SCRIPT | UF_ACCOUNTDISABLE | UF_NORMAL_ACCOUNT});
    EXPECT_EQ(world.user("CORP", "ann").fullName, "Ann Archer");
    EXPECT_TRUE(world.passwordMatches("CORP", "ann", "Sea-Breeze"));
    EXPECT_EQ(run({"fault", "clear"}).exitCode, 0);
    EXPECT_EQ(run({"show"}).output.find("Fault:"), std::string::npos);
}

TEST_F(Tool, RefusalsSayWhyAndExitNonZero) {
    world().addDomain("CORP", "ALDER");
    const Outcome exists = run({"user", "add", "CORP", "administrator"});
    EXPECT_EQ(exists.exitCode, 1);
    EXPECT_NE(exists.output.find("already exists"), std::string::npos) << exists.output;
    EXPECT_NE(exists.output.find("2224"), std::string::npos);

    const Outcome unknown = run({"frobnicate"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_NE(unknown.output.find("unknown command 'frobnicate'"), std::string::npos);
    EXPECT_NE(unknown.output.find("usage:"), std::string::npos);

    EXPECT_EQ(run({"group", "add", "CORP", "Rowers"}).exitCode, 2) << "needs --global or --local";
    EXPECT_EQ(run({"user", "add", "CORP"}).exitCode, 2);
    EXPECT_EQ(run({"user", "add", "CORP", "ann", "--flags", "many"}).exitCode, 2);
    EXPECT_EQ(run({"user", "del", "CORP", "ann", "--colour", "blue"}).exitCode, 2);
    EXPECT_EQ(run({"member", "add", "CORP", "Administrators", "NOWHERE\\ann"}).exitCode, 1);

    const Outcome missing = run({"show"}, false);  // SAMWORLD names the world, which exists
    EXPECT_EQ(missing.exitCode, 0);
    setenv("SAMWORLD", (folder() / "missing.db").c_str(), 1);
    const Outcome noWorld = run({"show"}, false);
    EXPECT_EQ(noWorld.exitCode, 1);
    EXPECT_NE(noWorld.output.find("missing.db"), std::string::npos);

    const std::string notes = (folder() / "notes.txt").string();
    std::ofstream(notes) << "a few plain words and no world";
    setenv("SAMWORLD", notes.c_str(), 1);
    EXPECT_NE(run({"show"}, false).output.find(notes + " is not a world, or it is damaged (status 2247)"),
              std::string::npos);
    std::filesystem::permissions(path(), std::filesystem::perms::owner_read);
    EXPECT_NE(run({"user", "add", "CORP", "ann"}).output.find("the world " + path() + " is read-only"),
              std::string::npos);
}

// A password typed on the command line shows in every local user's process list: the tool
// takes one from standard input, says which way is safe, and stores only UTF-8 text.
TEST_F(Tool, TakesAPasswordFromStandardInputAndRefusesTextThatIsNotUtf8) {
    ASSERT_EQ(run({"init"}).exitCode, 0);
    ASSERT_EQ(run({"domain", "add", "CORP", "--pdc", "ALDER"}).exitCode, 0);
    const Outcome piped = run({"user", "add", "CORP", "ann", "--password-stdin"}, true, "Sea-Breeze\n");
    ASSERT_EQ(piped.exitCode, 0) << piped.output;
    EXPECT_TRUE(World::open(path()).passwordMatches("CORP", "ann", "Sea-Breeze"));
    EXPECT_EQ(run({"user", "add", "CORP", "bob", "--password-stdin", "--password", "x"}, true, "y\n")
                  .exitCode,
              2);
    EXPECT_NE(run({}).output.find("--password-stdin reads one line from standard input and is the "
                                  "safe way"),
              std::string::npos);

    for (const auto &words : std::vector<std::vector<std::string>>{
             {"user", "add", "CORP", "cy", "--comment", "\xFF\xFE"},
             {"user", "add", "CORP", "d\xE9", "--full-name", "D"},
             {"user", "add", "CORP", "eve", "--password-stdin"},
             {"group", "add", "CORP", "Rowers", "--global", "--comment", "\xC3"}}) {
        const Outcome refused = run(words, true, "\xFF\n");
        EXPECT_EQ(refused.exitCode, 2) << words[3];
        EXPECT_NE(refused.output.find("is not valid UTF-8 text"), std::string::npos) << refused.output;
    }
    const World world = World::open(path());
    for (const char *name : {"bob", "cy", "eve", "Rowers"}) EXPECT_FALSE(world.hasAccount("CORP", name)) << name;
}

TEST_F(Tool, InitDemoAndGenerate) {
    const Outcome demo = run({"init", "--demo"});
    ASSERT_EQ(demo.exitCode, 0) << demo.output;
    const Outcome generated = run({"generate", "ORCHARD", "--users", "50", "--groups", "5",
                                   "--members-per-group", "4", "--seed", "3"});
    ASSERT_EQ(generated.exitCode, 0) << generated.output;
    EXPECT_NE(generated.output.find("generated 50 users and 5 groups"), std::string::npos);
    const World world = World::open(path());
    EXPECT_TRUE(world.hasAccount("HARBOUR", "anna.baker"));
    EXPECT_EQ(run({"generate", "ORCHARD", "--users", "5"}).exitCode, 2);
}

}  // namespace
}  // namespace samworld::test
