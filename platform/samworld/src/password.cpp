#include "password.h"

#include "lm.h"

#include <sodium.h>

#include <algorithm>
#include <array>
#include <string>

namespace samworld {
namespace {

// Argon2id at about 27 ms a hash on one core of a 2-core machine (19 MiB, two passes), the
// strength commonly asked of stored passwords; Quick is the library's least.
struct Argon2Limits {
    unsigned long long passes;
    size_t memoryBytes;
};
constexpr Argon2Limits strongLimits{2, size_t{19} * 1024 * 1024};
constexpr Argon2Limits quickLimits{crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN};

Argon2Limits limitsOf(PasswordCost cost) {
    return cost == PasswordCost::Strong ? strongLimits : quickLimits;
}

constexpr const char *costKey = "password_cost";
constexpr std::string_view argon2Prefix = "$argon2id$";

// ---- the hashes of earlier worlds: SHA-256 over salt and password, iterated ----

constexpr int legacyRounds = 64;

using Digest = std::array<uint8_t, 32>;

constexpr std::array<uint32_t, 64> roundConstants = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr uint32_t rotr(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

void compress(std::array<uint32_t, 8> &state, const uint8_t *block) {
    std::array<uint32_t, 64> w{};
    for (int i = 0; i < 16; ++i) {
        w[i] = (uint32_t{block[4 * i]} << 24) | (uint32_t{block[4 * i + 1]} << 16) |
               (uint32_t{block[4 * i + 2]} << 8) | uint32_t{block[4 * i + 3]};
    }
    for (int i = 16; i < 64; ++i) {
        const uint32_t s0 = rotr(w[i - 15], 7) ^ rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
        const uint32_t s1 = rotr(w[i - 2], 17) ^ rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    auto [a, b, c, d, e, f, g, h] = state;
    for (int i = 0; i < 64; ++i) {
        const uint32_t t1 = h + (rotr(e, 6) ^ rotr(e, 11) ^ rotr(e, 25)) + ((e & f) ^ (~e & g)) +
                            roundConstants[i] + w[i];
        const uint32_t t2 = (rotr(a, 2) ^ rotr(a, 13) ^ rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
        h = g; g = f; f = e; e = d + t1; d = c; c = b; b = a; a = t1 + t2;
    }
    const std::array<uint32_t, 8> added = {a, b, c, d, e, f, g, h};
    for (int i = 0; i < 8; ++i) state[i] += added[i];
}

Digest sha256(const std::vector<uint8_t> &message) {
    std::array<uint32_t, 8> state = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                     0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    std::vector<uint8_t> padded = message;
    padded.push_back(0x80);
    while (padded.size() % 64 != 56) padded.push_back(0);
    const uint64_t bits = uint64_t{message.size()} * 8;
    for (int i = 7; i >= 0; --i) padded.push_back(static_cast<uint8_t>(bits >> (8 * i)));
    for (size_t offset = 0; offset < padded.size(); offset += 64) compress(state, &padded[offset]);
    Digest digest{};
    for (int i = 0; i < 8; ++i) {
        for (int j = 0; j < 4; ++j) digest[4 * i + j] = static_cast<uint8_t>(state[i] >> (24 - 8 * j));
    }
    return digest;
}

std::vector<uint8_t> legacyHash(const std::vector<uint8_t> &salt, std::string_view password) {
    std::vector<uint8_t> input(salt);
    input.insert(input.end(), password.begin(), password.end());
    Digest digest = sha256(input);
    for (int round = 1; round < legacyRounds; ++round) {
        std::vector<uint8_t> next(salt);
        next.insert(next.end(), digest.begin(), digest.end());
        digest = sha256(next);
    }
    return {digest.begin(), digest.end()};
}

// Every byte compared, so the time taken says nothing about where a guess went wrong.
bool sameBytes(const std::vector<uint8_t> &a, const std::vector<uint8_t> &b) {
    uint8_t difference = a.size() == b.size() ? 0 : 1;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) difference |= a[i] ^ b[i];
    return difference == 0;
}

void requireSodium() {
    static const bool ready = sodium_init() >= 0;
    if (!ready) throw Error(NERR_InternalError, "the password library cannot start");
}

std::string textOf(const std::vector<uint8_t> &bytes) { return {bytes.begin(), bytes.end()}; }

}  // namespace

PasswordHash hashPassword(std::string_view password, PasswordCost cost) {
    if (password.empty()) return {};
    requireSodium();
    const Argon2Limits limits = limitsOf(cost);
    std::array<char, crypto_pwhash_STRBYTES> text{};
    if (crypto_pwhash_str_alg(text.data(), password.data(), password.size(), limits.passes,
                              limits.memoryBytes, crypto_pwhash_ALG_ARGON2ID13) != 0) {
        throw Error(ERROR_NOT_ENOUGH_MEMORY, "no memory to hash a password");
    }
    const std::string_view hash(text.data());
    return {{}, {hash.begin(), hash.end()}};
}

PasswordCheck checkPassword(const PasswordHash &stored, std::string_view password,
                            PasswordCost cost) {
    const std::string hash = textOf(stored.hash);
    if (hash.empty()) return password.empty() ? PasswordCheck::Match : PasswordCheck::Mismatch;
    if (!hash.starts_with(argon2Prefix)) {
        return sameBytes(legacyHash(stored.salt, password), stored.hash)
                   ? PasswordCheck::MatchButRehash
                   : PasswordCheck::Mismatch;
    }
    requireSodium();
    if (crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) != 0) {
        return PasswordCheck::Mismatch;
    }
    // A quick world keeps stronger hashes as they are; a strong one replaces weaker ones.
    const bool weaker = cost == PasswordCost::Strong &&
                        crypto_pwhash_str_needs_rehash(hash.c_str(), strongLimits.passes,
                                                       strongLimits.memoryBytes) != 0;
    return weaker ? PasswordCheck::MatchButRehash : PasswordCheck::Match;
}

PasswordCost passwordCost(const Database &database) {
    auto query = database.prepare("SELECT value FROM world WHERE key = ?");
    query.bind(1, costKey);
    return query.step() && query.text(0) == "quick" ? PasswordCost::Quick : PasswordCost::Strong;
}

void setPasswordCost(const Database &database, PasswordCost cost) {
    database.prepare("INSERT OR REPLACE INTO world(key, value) VALUES (?, ?)")
        .bind(1, costKey)
        .bind(2, cost == PasswordCost::Quick ? "quick" : "strong")
        .run();
}

}  // namespace samworld
