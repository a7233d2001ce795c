// The directory configuration: what a file lists, every malformed line refused with its
// number, the names that mean a listed domain, and where the file is looked for.
#include "directory/configuration.h"

#include "backend/error.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace directory {
namespace {

// The status and message of the failure that reading `text` ends in.
backend::Error failureOf(const std::string &text) {
    try {
        parseConfiguration(text, "test.conf");
    } catch (const backend::Error &error) {
        return error;
    }
    return backend::Error(0, "no failure");
}

TEST(Configuration, ReadsEveryBlockWithCommentsBlanksAndWindowsLineEnds) {
    const std::string text =
        "# Domains reached over LDAP\r\n"
        "\r\n"
        "[TARN]\r\n"
        "  dns = tarn.test\r\n"
        "controller=dc1.tarn.test\r\n"
        "ca-file = /etc/tarnwick/tarn ca.pem\r\n"
        "   # a comment inside a block\n"
        "[ORCHARD]\n"
        "dns = orchard.example.org";
    const std::vector<DirectoryDomain> expected{
        {"TARN", "tarn.test", "dc1.tarn.test", "/etc/tarnwick/tarn ca.pem"},
        {"ORCHARD", "orchard.example.org", "", ""}};
    EXPECT_EQ(parseConfiguration(text, "test.conf"), expected);
    EXPECT_TRUE(parseConfiguration("# nothing yet\n\n", "test.conf").empty());
}

TEST(Configuration, RefusesEveryMalformedLineAndSaysWhere) {
    const struct {
        const char *text;
        const char *where;
    } cases[] = {
        {"dns = tarn.test\n", "test.conf:1:"},                          // before any block
        {"[TARN]\ndns tarn.test\n", "test.conf:2:"},                    // no '='
        {"[TARN]\ndns = tarn.test\nserver = dc1\n", "test.conf:3:"},   // unknown setting
        {"[TARN]\ndns = tarn.test\ndns = tarn.test\n", "test.conf:3:"},  // set twice
        {"[TARN]\ncontroller = dc1.tarn.test\n", "test.conf:1:"},      // no dns
        {"[TARN\ndns = tarn.test\n", "test.conf:1:"},
        {"[TARN.TEST]\ndns = tarn.test\n", "test.conf:1:"},            // no NetBIOS name
        {"[SIXTEEN-LETTERS1]\ndns = tarn.test\n", "test.conf:1:"},
        {"[TARN]\ndns = tarn..test\n", "test.conf:2:"},
        {"[TARN]\ndns = tarn.test # the lab\n", "test.conf:2:"},       // no trailing comments
        {"[TARN]\ndns = tarn.test\ncontroller = -dc1.tarn.test\n", "test.conf:3:"},
        {"[TARN]\ndns = tarn.test\ncontroller =\n", "test.conf:3:"},
        {"[TARN]\ndns = tarn.test\nca-file = certs/ca.pem\n", "test.conf:3:"},
        {"[TARN]\ndns = tarn.test\n[tarn]\ndns = other.test\n", "test.conf:3:"},  // twice
        {"[TARN]\ndns = tarn.test\n[OTHER]\ndns = TARN.test\n", "test.conf:3:"},
    };
    for (const auto &c : cases) {
        const backend::Error error = failureOf(c.text);
        EXPECT_EQ(error.status, uint32_t{ERROR_BAD_CONFIGURATION}) << c.text;
        EXPECT_TRUE(std::string(error.what()).starts_with(c.where)) << c.text << " -> " << error.what();
    }
}

TEST(Configuration, ADomainIsNamedByItsNamesAndItsControllersInAnyCase) {
    const DirectoryDomain tarn{"TARN", "tarn.test", "dc1.tarn.test", ""};
    for (const char *name : {"TARN", "tarn", "\\\\TARN", "tarn.test", "\\\\Tarn.Test", "DC1.TARN.TEST",
                             "dc1", "\\\\DC1"}) {
        EXPECT_TRUE(tarn.isNamedBy(name)) << name;
    }
    for (const char *name : {"", "\\\\", "dc2", "tarn.tes", "dc1.tarn", "OAK", "TARN\\dc1"}) {
        EXPECT_FALSE(tarn.isNamedBy(name)) << name;
    }
    const DirectoryDomain withoutController{"TARN", "tarn.test", "", ""};
    EXPECT_FALSE(withoutController.isNamedBy("dc1"));
    EXPECT_FALSE(withoutController.isNamedBy("\\\\"));
}

TEST(Configuration, TheFileIsTheVariableElseInTheUsersConfigFolder) {
    setenv("TARNWICK_DIRECTORIES", "/tmp/named.conf", 1);
    setenv("XDG_CONFIG_HOME", "/home/ann/.cfg", 1);
    setenv("HOME", "/home/ann", 1);
    EXPECT_EQ(configurationPath(), "/tmp/named.conf");
    unsetenv("TARNWICK_DIRECTORIES");
    EXPECT_EQ(configurationPath(), "/home/ann/.cfg/tarnwick/directories.conf");
    setenv("XDG_CONFIG_HOME", "", 1);
    EXPECT_EQ(configurationPath(), "/home/ann/.config/tarnwick/directories.conf");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(configurationPath(), "/home/ann/.config/tarnwick/directories.conf");
}

TEST(Configuration, AMissingFileListsNothingAndAnUnreadableOneIsAnError) {
    const auto folder = std::filesystem::temp_directory_path() / "directory-configuration-test";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(readConfiguration(folder / "missing.conf").empty());
    std::ofstream(folder / "good.conf") << "[TARN]\ndns = tarn.test\n";
    EXPECT_EQ(readConfiguration(folder / "good.conf").size(), 1u);
    try {
        readConfiguration(folder);
        ADD_FAILURE() << "a folder read as a configuration";
    } catch (const backend::Error &error) {
        EXPECT_EQ(error.status, uint32_t{ERROR_BAD_CONFIGURATION});
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace directory
