// samworld [--world FILE] COMMAND ...: builds and inspects SAM worlds.
#include "arguments.h"
#include "samworld/world.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <iostream>
#include <limits>

namespace samworld::tool {
namespace {

struct Command {
    std::string verb;  // one or two words: "init", "user add"
    size_t positionals;
    std::set<std::string> valueOptions;
    std::set<std::string> switches;
    std::string usage;
    std::function<void(World &, const Arguments &)> run;
};

std::string required(const Arguments &arguments, const std::string &option) {
    auto value = arguments.value(option);
    if (!value) throw UsageError(option + " is required");
    return *value;
}

int intOption(const Arguments &arguments, const std::string &option, int fallback) {
    const auto value = arguments.value(option);
    if (!value) return fallback;
    const int64_t number = parseNumber(*value, option);
    if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max()) {
        throw UsageError(option + " is out of range");
    }
    return static_cast<int>(number);
}

uint32_t unsignedWord(const std::string &word, const std::string &what) {
    const int64_t number = parseNumber(word, what);
    if (number < 0 || number > std::numeric_limits<uint32_t>::max()) throw UsageError(what + " is out of range");
    return static_cast<uint32_t>(number);
}

// A password given on the command line is shown to every local user in the process list; one
// read from standard input is not.
std::string password(const Arguments &arguments) {
    if (!arguments.has("--password-stdin")) return arguments.value("--password").value_or("");
    if (arguments.has("--password")) throw UsageError("give one of --password-stdin and --password");
    std::string line;
    if (!std::getline(std::cin, line)) throw UsageError("--password-stdin found no line to read");
    if (line.ends_with('\r')) line.pop_back();
    requireUtf8(line, "the password read from standard input");
    return line;
}

void generate(World &world, const Arguments &a) {
    const auto start = std::chrono::steady_clock::now();
    const int users = intOption(a, "--users", -1);
    const int groups = intOption(a, "--groups", -1);
    const int members = intOption(a, "--members-per-group", -1);
    if (users < 0 || groups < 0 || members < 0) {
        throw UsageError("--users, --groups and --members-per-group are required");
    }
    const auto seed = a.value("--seed") ? unsignedWord(*a.value("--seed"), "--seed") : 1u;
    world.generate(a.positional()[0], users, groups, members, seed);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::cout << "generated " << users << " users and " << groups << " groups of " << members
              << " members in " << a.positional()[0] << " in " << took.count() << " s\n";
}

const std::vector<Command> &commands() {
    static const std::vector<Command> table = {
        {"init", 0, {}, {"--demo"}, "init [--demo]",
         [](World &world, const Arguments &a) {
             if (a.has("--demo")) world.populateDemo();
         }},
        {"domain add", 1, {"--pdc"}, {}, "domain add DOMAIN --pdc MACHINE",
         [](World &world, const Arguments &a) {
             world.addDomain(a.positional()[0], required(a, "--pdc"));
         }},
        {"machine add", 1, {"--domain", "--workgroup"}, {"--local"},
         "machine add MACHINE (--domain D | --workgroup W) [--local]",
         [](World &world, const Arguments &a) {
             if (a.has("--domain") == a.has("--workgroup")) {
                 throw UsageError("give one of --domain and --workgroup");
             }
             world.addMachine(a.positional()[0], a.value("--domain").value_or(""),
                              a.value("--workgroup").value_or(""), a.has("--local"));
         }},
        {"trust add", 2, {}, {}, "trust add TRUSTING TRUSTED",
         [](World &world, const Arguments &a) { world.addTrust(a.positional()[0], a.positional()[1]); }},
        {"logon", 1, {}, {}, "logon DOMAIN\\USER",
         [](World &world, const Arguments &a) { world.logon(a.positional()[0]); }},
        {"user add", 2, {"--password", "--full-name", "--comment", "--flags"}, {"--password-stdin"},
         "user add SAM NAME [--password-stdin | --password P] [--full-name T] [--comment T] "
         "[--flags N]",
         [](World &world, const Arguments &a) {
             UserOptions options;
             options.password = password(a);
             options.fullName = a.value("--full-name").value_or("");
             options.comment = a.value("--comment").value_or("");
             if (auto flags = a.value("--flags")) options.flags = unsignedWord(*flags, "--flags");
             world.addUser(a.positional()[0], a.positional()[1], options);
         }},
        {"user del", 2, {}, {}, "user del SAM NAME",
         [](World &world, const Arguments &a) { world.deleteUser(a.positional()[0], a.positional()[1]); }},
        {"group add", 2, {"--comment"}, {"--global", "--local"},
         "group add SAM NAME (--global | --local) [--comment T]",
         [](World &world, const Arguments &a) {
             if (a.has("--global") == a.has("--local")) throw UsageError("give one of --global and --local");
             world.addGroup(a.positional()[0], a.positional()[1],
                            a.has("--global") ? GroupKind::Global : GroupKind::Local,
                            a.value("--comment").value_or(""));
         }},
        {"member add", 3, {}, {}, "member add SAM GROUP ACCOUNT",
         [](World &world, const Arguments &a) {
             world.addMember(a.positional()[0], a.positional()[1], a.positional()[2]);
         }},
        {"member del", 3, {}, {}, "member del SAM GROUP ACCOUNT",
         [](World &world, const Arguments &a) {
             world.deleteMember(a.positional()[0], a.positional()[1], a.positional()[2]);
         }},
        {"policy", 1, {"--min-password-length"}, {}, "policy SAM --min-password-length N",
         [](World &world, const Arguments &a) {
             world.setMinPasswordLength(a.positional()[0],
                                        intOption(a, "--min-password-length", -1));
         }},
        {"fault add", 2, {"--server", "--after", "--count"}, {},
         "fault add CALL STATUS [--server S] [--after N] [--count K]",
         [](World &world, const Arguments &a) {
             world.addFault(Fault{a.positional()[0], unsignedWord(a.positional()[1], "STATUS"),
                                  a.value("--server").value_or(""), intOption(a, "--after", 0),
                                  intOption(a, "--count", 1)});
         }},
        {"fault clear", 0, {}, {}, "fault clear", [](World &world, const Arguments &) { world.clearFaults(); }},
        {"share add", 3, {}, {}, "share add MACHINE NAME PATH",
         [](World &world, const Arguments &a) {
             world.addShare(a.positional()[0], a.positional()[1], a.positional()[2]);
         }},
        {"session add", 2, {}, {}, "session add MACHINE USER",
         [](World &world, const Arguments &a) { world.addSession(a.positional()[0], a.positional()[1]); }},
        {"show", 0, {}, {}, "show [SAM]", nullptr},
        {"generate", 1, {"--users", "--groups", "--members-per-group", "--seed"}, {},
         "generate SAM --users N --groups M --members-per-group K [--seed S]", generate},
    };
    return table;
}

std::string usage() {
    std::string text = "usage: samworld [--world FILE] COMMAND ...\ncommands:\n";
    for (const auto &command : commands()) text += "  " + command.usage + "\n";
    return text +
           "Passwords: --password P shows P to every local user in the process list; "
           "--password-stdin reads one line from standard input and is the safe way.\n"
           "generate makes accounts without passwords.\n";
}

// The command whose verb starts the words, and the words after the verb.
std::pair<const Command *, std::vector<std::string>> findCommand(const std::vector<std::string> &words) {
    for (const auto &command : commands()) {
        const bool twoWords = command.verb.find(' ') != std::string::npos;
        const size_t length = twoWords ? 2 : 1;
        if (words.size() < length) continue;
        const std::string verb = twoWords ? words[0] + " " + words[1] : words[0];
        if (verb == command.verb) return {&command, {words.begin() + length, words.end()}};
    }
    throw UsageError(words.empty() ? "no command given" : "unknown command '" + words[0] + "'");
}

void checkShape(const Command &command, const Arguments &arguments) {
    const size_t given = arguments.positional().size();
    const bool optionalSam = command.verb == "show";
    if (optionalSam ? given > 1 : given != command.positionals) {
        throw UsageError("usage: samworld " + command.usage);
    }
    for (const auto &[option, value] : arguments.options()) {
        if (command.valueOptions.count(option) == 0 && command.switches.count(option) == 0) {
            throw UsageError("'" + command.verb + "' takes no option " + option);
        }
    }
}

int run(std::vector<std::string> words) {
    std::string worldPath = World::defaultPath();
    if (words.size() >= 2 && words[0] == "--world") {
        worldPath = words[1];
        words.erase(words.begin(), words.begin() + 2);
    }
    const auto [command, rest] = findCommand(words);
    const Arguments arguments(rest, command->switches);
    checkShape(*command, arguments);
    if (command->verb == "show") {
        const World world = World::open(worldPath);
        std::cout << world.show(arguments.positional().empty() ? "" : arguments.positional()[0]);
        return 0;
    }
    World world = command->verb == "init" ? World::create(worldPath) : World::open(worldPath);
    command->run(world, arguments);
    return 0;
}

}  // namespace
}  // namespace samworld::tool

int main(int argc, char **argv) {
    using namespace samworld::tool;
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError &error) {
        std::cerr << "samworld: " << error.what() << "\n" << usage();
        return 2;
    } catch (const samworld::Error &error) {
        std::cerr << "samworld: " << error.what() << " (status " << error.status << ")\n";
        return 1;
    } catch (const std::exception &error) {
        std::cerr << "samworld: " << error.what() << "\n";
        return 1;
    }
}
