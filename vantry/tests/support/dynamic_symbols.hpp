// What a shared library offers to others: the defined names of its dynamic symbol table.
#pragma once

#include <set>
#include <string>

namespace vantry_test {

// The names that the 64-bit ELF file at path defines in its dynamic symbol table. Throws
// std::runtime_error when the file cannot be read or is no such file.
std::set<std::string> definedDynamicSymbols(const std::string &path);

}  // namespace vantry_test
