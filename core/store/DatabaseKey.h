// The database key derived by the program itself, with the parameters
// SQLCipher uses for a password (PBKDF2-HMAC-SHA1, 64,000 rounds, a 256-bit
// key, the file's 16-byte salt). A key derived once opens the same file
// again as a raw key, without the derivation that is most of an open's
// cost; a file with another salt (replaced since) gets a key of its own.
#pragma once

#include <array>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace rumone {

using DatabaseSalt = std::array<unsigned char, 16>;

// PBKDF2 with HMAC-SHA1 (RFC 8018): `size` bytes of key into `out`.
void pbkdf2HmacSha1(const std::string& password, const unsigned char* salt, std::size_t saltSize, int rounds,
                    unsigned char* out, std::size_t size);

// SQLCipher's raw-key text for the password and salt: x'<key><salt>' in
// hexadecimal.
std::string deriveRawKey(const std::string& password, const DatabaseSalt& salt);

// What opened a database file before, by its path and salt: the raw key,
// or an empty text where only the password itself opened it. Shared by
// the copies of a DrawDatabaseRef, on any thread.
class DatabaseKeyCache {
public:
    std::optional<std::string> find(const std::string& path, const DatabaseSalt& salt) const;
    void remember(const std::string& path, const DatabaseSalt& salt, const std::string& rawKey);

private:
    struct Entry {
        std::string path;
        DatabaseSalt salt;
        std::string rawKey;
    };
    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
};

}  // namespace rumone
