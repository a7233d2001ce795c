#include "directory/configuration.h"

#include "backend/error.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>

namespace directory {
namespace {

constexpr size_t maxNetbiosName = 15;
constexpr size_t maxHostLabel = 63;
constexpr size_t maxHostName = 253;

char foldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool sameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, {}, foldAscii, foldAscii);
}

bool isAlphanumeric(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool isNetbiosName(std::string_view name) {
    return !name.empty() && name.size() <= maxNetbiosName &&
           std::ranges::all_of(name, [](char c) { return isAlphanumeric(c) || c == '-' || c == '_'; });
}

// Labels of letters, digits and inner hyphens, separated by dots.
bool isHostName(std::string_view name) {
    if (name.empty() || name.size() > maxHostName) return false;
    while (true) {
        const auto dot = name.find('.');
        const std::string_view label = name.substr(0, dot);
        if (label.empty() || label.size() > maxHostLabel || label.front() == '-' ||
            label.back() == '-' ||
            !std::ranges::all_of(label, [](char c) { return isAlphanumeric(c) || c == '-'; })) {
            return false;
        }
        if (dot == std::string_view::npos) return true;
        name.remove_prefix(dot + 1);
    }
}

// Reads lines into domains, failing with the line's number.
class Parser {
public:
    explicit Parser(const std::string &origin) : origin_(origin) {}

    void line(std::string_view text) {
        ++number_;
        text = trimmed(text);
        if (text.empty() || text.front() == '#') return;
        if (text.front() == '[') {
            header(text);
        } else {
            setting(text);
        }
    }

    std::vector<DirectoryDomain> finish() {
        close();
        return std::move(domains_);
    }

private:
    [[noreturn]] void fail(int line, const std::string &why) const {
        throw backend::Error(ERROR_BAD_CONFIGURATION, origin_ + ":" + std::to_string(line) + ": " + why);
    }

    void header(std::string_view text) {
        if (text.back() != ']') fail(number_, "a domain's block starts with [NETBIOS-NAME]");
        const std::string_view name = trimmed(text.substr(1, text.size() - 2));
        if (!isNetbiosName(name)) {
            fail(number_, "'" + std::string(name) +
                              "' is no NetBIOS name (1 to 15 letters, digits, '-' or '_')");
        }
        close();
        domains_.push_back({std::string(name), {}, {}, {}});
        blockLine_ = number_;
    }

    void setting(std::string_view text) {
        const auto equals = text.find('=');
        if (equals == std::string_view::npos) fail(number_, "a setting is written key = value");
        if (domains_.empty()) fail(number_, "a setting comes after its domain's [NETBIOS-NAME]");
        const std::string_view key = trimmed(text.substr(0, equals));
        const std::string_view value = trimmed(text.substr(equals + 1));
        DirectoryDomain &domain = domains_.back();
        if (key == "dns") {
            if (!isHostName(value)) fail(number_, "'" + std::string(value) + "' is no DNS name");
            assign(domain.dnsName, key, value);
        } else if (key == "controller") {
            if (!isHostName(value)) fail(number_, "'" + std::string(value) + "' is no host name");
            assign(domain.controller, key, value);
        } else if (key == "ca-file") {
            if (!std::filesystem::path(value).is_absolute()) {
                fail(number_, "the ca-file is an absolute path");
            }
            assign(domain.caFile, key, value);
        } else {
            fail(number_, "unknown setting '" + std::string(key) +
                              "' (known: dns, controller, ca-file)");
        }
    }

    void assign(std::string &field, std::string_view key, std::string_view value) {
        if (!field.empty()) fail(number_, "'" + std::string(key) + "' is set twice for one domain");
        field = value;
    }

    // Checks the block that ends: complete, and naming no domain listed before it.
    void close() {
        if (domains_.empty()) return;
        const DirectoryDomain &last = domains_.back();
        if (last.dnsName.empty()) fail(blockLine_, "the domain " + last.netbiosName + " has no dns setting");
        const auto earlier = std::find_if(domains_.begin(), domains_.end() - 1, [&](const DirectoryDomain &d) {
            return sameName(d.netbiosName, last.netbiosName) || sameName(d.dnsName, last.dnsName);
        });
        if (earlier != domains_.end() - 1) fail(blockLine_, "the domain " + last.netbiosName + " is listed twice");
    }

    const std::string &origin_;
    std::vector<DirectoryDomain> domains_;
    int number_ = 0;
    int blockLine_ = 0;
};

std::optional<std::string> variable(const char *name) {
    const char *value = std::getenv(name);
    if (value == nullptr || *value == '\0') return std::nullopt;
    return value;
}

}  // namespace

bool DirectoryDomain::isNamedBy(std::string_view name) const {
    name.remove_prefix(std::min(name.find_first_not_of('\\'), name.size()));
    if (name.empty()) return false;
    const std::string_view host = controller;
    return sameName(name, netbiosName) || sameName(name, dnsName) ||
           (!host.empty() && (sameName(name, host) || sameName(name, host.substr(0, host.find('.')))));
}

std::vector<DirectoryDomain> parseConfiguration(std::string_view text, const std::string &origin) {
    Parser parser(origin);
    while (!text.empty()) {
        const auto end = text.find('\n');
        parser.line(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return parser.finish();
}

std::filesystem::path configurationPath() {
    if (const auto named = variable("TARNWICK_DIRECTORIES")) return *named;
    if (const auto config = variable("XDG_CONFIG_HOME")) {
        return std::filesystem::path(*config) / "tarnwick" / "directories.conf";
    }
    if (const auto home = variable("HOME")) {
        return std::filesystem::path(*home) / ".config" / "tarnwick" / "directories.conf";
    }
    return {};
}

std::vector<DirectoryDomain> readConfiguration(const std::filesystem::path &path) {
    const auto unreadable = [&path](const std::string &why) {
        return backend::Error(ERROR_BAD_CONFIGURATION, path.string() + ": " + why);
    };
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (path.empty() || status.type() == std::filesystem::file_type::not_found) return {};
    if (error) throw unreadable(error.message());
    if (status.type() != std::filesystem::file_type::regular) throw unreadable("not a file");
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    if (!file) throw unreadable("cannot be read");
    return parseConfiguration(text.str(), path.string());
}

}  // namespace directory
