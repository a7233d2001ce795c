// Account and machine names: case folding, validity, DOMAIN\NAME splitting.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace samworld {

// The key under which names are compared: without regard to case (Unicode simple upper case).
std::string foldCase(std::string_view name);

// At most 20 characters, none of "/\[]:|<>+=;,?*@ or control characters, not only dots and
// spaces.
bool isValidAccountName(std::string_view name);

// A machine or domain name: the account-name rules without blanks, up to 63 characters (a host
// label), since Linux host names often exceed the classic 15.
bool isValidMachineName(std::string_view name);

struct QualifiedName {
    std::optional<std::string> domain;  // absent for a bare NAME
    std::string name;
};
// "DOMAIN\NAME" or "NAME"; the domain may be empty ("\Everyone").
QualifiedName splitQualifiedName(std::string_view text);

// "\\NAME" and "NAME" name the same machine.
std::string_view machineOfServer(std::string_view server);

}  // namespace samworld
