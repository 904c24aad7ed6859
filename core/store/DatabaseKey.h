// The database key derived by the program itself, with the parameters
// SQLCipher uses for a password (PBKDF2-HMAC-SHA1, 64,000 rounds, a 256-bit
// key, the file's 16-byte salt). A key derived once opens the same file
// again as a raw key, without the derivation that is most of an open's
// cost; a file with another salt (replaced since) is opened with the
// password as before.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

namespace rumone {

using DatabaseSalt = std::array<unsigned char, 16>;

// PBKDF2 with HMAC-SHA1 (RFC 8018): `size` bytes of key into `out`.
void pbkdf2HmacSha1(const std::string& password, const unsigned char* salt, std::size_t saltSize, int rounds,
                    unsigned char* out, std::size_t size);

// SQLCipher's raw-key text for the password and salt: x'<key><salt>' in
// hexadecimal.
std::string deriveRawKey(const std::string& password, const DatabaseSalt& salt);

// The salt a raw-key text was derived for; nothing for any other text.
std::optional<DatabaseSalt> saltOfRawKey(const std::string& rawKey);

}  // namespace rumone
