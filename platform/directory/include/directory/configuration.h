// The directory configuration: the domains that the network account calls reach over LDAP
// rather than in the embedded world. A plain-text file, one block per domain:
//
//     # comment lines start with '#'
//     [TARN]                        the domain's NetBIOS name
//     dns = tarn.test               its DNS name (required)
//     controller = dc1.tarn.test    a controller's host name (optional: else found through DNS)
//     ca-file = /etc/tarn/ca.pem    CA certificates for TLS (optional: else the system's)
//
// Anything else is an error: the file is read whole or not at all.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace directory {

struct DirectoryDomain {
    std::string netbiosName;
    std::string dnsName;
    std::string controller;  // empty: found through DNS
    std::string caFile;      // empty: the system's certificate authorities

    // Whether a server or domain name, with or without leading backslashes and without regard
    // to case, means this domain: its NetBIOS or DNS name, or its controller's host name or the
    // first label of it.
    bool isNamedBy(std::string_view name) const;

    bool operator==(const DirectoryDomain &) const = default;
};

// The domains a configuration text lists, in its order. Error ERROR_BAD_CONFIGURATION, saying
// which line of `origin` and why, for any line that is not a comment, a block's header or one
// of its settings, for a block without its DNS name, and for a domain listed twice.
std::vector<DirectoryDomain> parseConfiguration(std::string_view text, const std::string &origin);

// Where the configuration is: the platform variable TARNWICK_DIRECTORIES when set, else
// tarnwick/directories.conf in $XDG_CONFIG_HOME (or $HOME/.config). Empty when neither
// variable says where.
std::filesystem::path configurationPath();

// The domains that the file at path lists; none when there is no such file. Error
// ERROR_BAD_CONFIGURATION when it cannot be read or is malformed.
std::vector<DirectoryDomain> readConfiguration(const std::filesystem::path &path);

}  // namespace directory
