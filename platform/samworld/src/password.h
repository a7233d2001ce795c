// Passwords are kept only as a hash: Argon2id (libsodium) at the world's cost, its parameters
// and salt inside the stored text. An empty password is kept as an empty hash. Hashes of
// earlier worlds (salted SHA-256, iterated) still verify, and are replaced on the next
// successful check.
#pragma once

#include "samworld/database.h"
#include "samworld/records.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace samworld {

// As the users table keeps it; the salt is empty but for the hashes of earlier worlds.
struct PasswordHash {
    std::vector<uint8_t> salt;
    std::vector<uint8_t> hash;
};

PasswordHash hashPassword(std::string_view password, PasswordCost cost);

enum class PasswordCheck { Mismatch, Match, MatchButRehash };
// MatchButRehash: right, but kept in an older or weaker form than the world's cost asks for.
PasswordCheck checkPassword(const PasswordHash &stored, std::string_view password,
                            PasswordCost cost);

// The cost a world was made with; worlds made before it was recorded are Strong.
PasswordCost passwordCost(const Database &database);
void setPasswordCost(const Database &database, PasswordCost cost);

}  // namespace samworld
