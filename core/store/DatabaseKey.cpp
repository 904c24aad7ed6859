// SHA-1's own context (deprecated in OpenSSL 3 in favour of EVP) is what
// makes the rounds cheap: a context is a plain structure, copied for free.
#define OPENSSL_SUPPRESS_DEPRECATED

#include "core/store/DatabaseKey.h"

#include <openssl/sha.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace rumone {

namespace {

constexpr int kKdfRounds = 64000;  // SQLCipher 3's kdf_iter
constexpr int kKeyBytes = 32;
constexpr char kHexDigits[] = "0123456789ABCDEF";

void appendHex(std::string& to, const unsigned char* bytes, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        to += kHexDigits[bytes[i] >> 4];
        to += kHexDigits[bytes[i] & 0xf];
    }
}
}  // namespace

// The HMAC's inner and outer hash states are made once from the password;
// each round is then two SHA-1 blocks with nothing else between them,
// which is what a general HMAC (a context made and copied per round) does
// not manage. The same result as OpenSSL's PKCS5_PBKDF2_HMAC_SHA1.
void pbkdf2HmacSha1(const std::string& password, const unsigned char* salt, std::size_t saltSize, int rounds,
                    unsigned char* out, std::size_t size)
{
    constexpr std::size_t kBlock = SHA_CBLOCK;        // 64
    constexpr std::size_t kHash = SHA_DIGEST_LENGTH;  // 20
    unsigned char key[kBlock] = {};
    if (password.size() > kBlock)
        SHA1(reinterpret_cast<const unsigned char*>(password.data()), password.size(), key);
    else
        std::memcpy(key, password.data(), password.size());
    unsigned char pad[kBlock];
    SHA_CTX inner, outer;
    for (std::size_t i = 0; i < kBlock; ++i)
        pad[i] = key[i] ^ 0x36;
    SHA1_Init(&inner);
    SHA1_Update(&inner, pad, kBlock);
    for (std::size_t i = 0; i < kBlock; ++i)
        pad[i] = key[i] ^ 0x5c;
    SHA1_Init(&outer);
    SHA1_Update(&outer, pad, kBlock);

    const auto hmac = [&](const unsigned char* first, std::size_t firstSize, const unsigned char* second,
                          std::size_t secondSize, unsigned char* mac) {
        SHA_CTX c = inner;
        SHA1_Update(&c, first, firstSize);
        if (secondSize > 0)
            SHA1_Update(&c, second, secondSize);
        unsigned char innerHash[kHash];
        SHA1_Final(innerHash, &c);
        c = outer;
        SHA1_Update(&c, innerHash, kHash);
        SHA1_Final(mac, &c);
    };

    for (std::uint32_t block = 1; size > 0; ++block) {
        const unsigned char index[4] = {static_cast<unsigned char>(block >> 24),
                                        static_cast<unsigned char>(block >> 16), static_cast<unsigned char>(block >> 8),
                                        static_cast<unsigned char>(block)};
        unsigned char u[kHash], t[kHash];
        hmac(salt, saltSize, index, sizeof index, u);
        std::memcpy(t, u, kHash);
        for (int r = 1; r < rounds; ++r) {
            hmac(u, kHash, nullptr, 0, u);
            for (std::size_t i = 0; i < kHash; ++i)
                t[i] ^= u[i];
        }
        const std::size_t part = std::min(size, kHash);
        std::memcpy(out, t, part);
        out += part;
        size -= part;
    }
}

std::string deriveRawKey(const std::string& password, const DatabaseSalt& salt)
{
    unsigned char key[kKeyBytes];
    pbkdf2HmacSha1(password, salt.data(), salt.size(), kKdfRounds, key, sizeof key);
    std::string text = "x'";
    appendHex(text, key, sizeof key);
    appendHex(text, salt.data(), salt.size());
    text += '\'';
    return text;
}

std::optional<std::string> DatabaseKeyCache::find(const std::string& path, const DatabaseSalt& salt) const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    for (const Entry& e : entries_)
        if (e.salt == salt && e.path == path)
            return e.rawKey;
    return std::nullopt;
}

void DatabaseKeyCache::remember(const std::string& path, const DatabaseSalt& salt, const std::string& rawKey)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    for (Entry& e : entries_)
        if (e.salt == salt && e.path == path) {
            e.rawKey = rawKey;
            return;
        }
    entries_.push_back({path, salt, rawKey});
}

}  // namespace rumone
