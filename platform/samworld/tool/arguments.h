// The tool's command line: positional words and --options, checked against what a command takes.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace samworld::tool {

// A command line the tool cannot make sense of; the message says why.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Arguments {
public:
    // switches take no value; every other --option takes the next word. Every word must be
    // UTF-8 text.
    Arguments(const std::vector<std::string> &words, const std::set<std::string> &switches);

    const std::vector<std::string> &positional() const { return positional_; }
    bool has(const std::string &option) const;
    std::optional<std::string> value(const std::string &option) const;
    const std::map<std::string, std::string> &options() const { return options_; }

private:
    std::vector<std::string> positional_;
    std::map<std::string, std::string> options_;
};

// Every text the tool stores is UTF-8: UsageError naming `what` otherwise.
void requireUtf8(const std::string &text, const std::string &what);

// Strict numbers: the whole word, decimal or 0x hexadecimal.
int64_t parseNumber(const std::string &word, const std::string &what);

}  // namespace samworld::tool
