#include "dynamic_symbols.hpp"

#include <elf.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace vantry_test {

namespace {

std::vector<char> readFile(const std::string &path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A structure at offset, checked to lie inside the file.
template <typename T>
T at(const std::vector<char> &file, std::size_t offset) {
    if (offset > file.size() || file.size() - offset < sizeof(T)) {
        throw std::runtime_error("truncated ELF file");
    }
    T value;
    std::memcpy(&value, file.data() + offset, sizeof(T));
    return value;
}

}  // namespace

std::set<std::string> definedDynamicSymbols(const std::string &path) {
    const std::vector<char> file = readFile(path);
    const auto header = at<Elf64_Ehdr>(file, 0);
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64) {
        throw std::runtime_error(path + " is no 64-bit ELF file");
    }
    const auto section = [&](std::size_t index) {
        return at<Elf64_Shdr>(file, header.e_shoff + index * sizeof(Elf64_Shdr));
    };
    std::set<std::string> names;
    for (std::size_t i = 0; i < header.e_shnum; ++i) {
        const Elf64_Shdr symbols = section(i);
        if (symbols.sh_type != SHT_DYNSYM) continue;
        const Elf64_Shdr strings = section(symbols.sh_link);
        for (std::size_t s = 1; s < symbols.sh_size / sizeof(Elf64_Sym); ++s) {
            const auto symbol = at<Elf64_Sym>(file, symbols.sh_offset + s * sizeof(Elf64_Sym));
            if (symbol.st_shndx == SHN_UNDEF) continue;
            const std::size_t nameOffset = strings.sh_offset + symbol.st_name;
            if (nameOffset >= file.size()) throw std::runtime_error("truncated ELF file");
            names.emplace(file.data() + nameOffset, strnlen(file.data() + nameOffset, file.size() - nameOffset));
        }
    }
    return names;
}

}  // namespace vantry_test
