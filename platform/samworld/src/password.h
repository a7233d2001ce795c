// Passwords are kept only as a salted hash: SHA-256 over salt and password, iterated.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace samworld {

struct PasswordHash {
    std::vector<uint8_t> salt;
    std::vector<uint8_t> hash;
};

PasswordHash hashPassword(std::string_view password);
bool passwordMatches(const PasswordHash &stored, std::string_view password);

}  // namespace samworld
