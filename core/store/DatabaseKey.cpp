#include "core/store/DatabaseKey.h"

#include <openssl/evp.h>

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

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string deriveRawKey(const std::string& password, const DatabaseSalt& salt)
{
    unsigned char key[kKeyBytes];
    if (PKCS5_PBKDF2_HMAC_SHA1(password.data(), static_cast<int>(password.size()), salt.data(),
                               static_cast<int>(salt.size()), kKdfRounds, kKeyBytes, key) != 1)
        return {};
    std::string text = "x'";
    appendHex(text, key, sizeof key);
    appendHex(text, salt.data(), salt.size());
    text += '\'';
    return text;
}

std::optional<DatabaseSalt> saltOfRawKey(const std::string& rawKey)
{
    constexpr std::size_t kSize = 2 + 2 * kKeyBytes + 2 * sizeof(DatabaseSalt) + 1;
    if (rawKey.size() != kSize || rawKey.compare(0, 2, "x'") != 0 || rawKey.back() != '\'')
        return std::nullopt;
    DatabaseSalt salt{};
    const std::size_t start = 2 + 2 * kKeyBytes;
    for (std::size_t i = 0; i < salt.size(); ++i) {
        const int high = hexValue(rawKey[start + 2 * i]);
        const int low = hexValue(rawKey[start + 2 * i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        salt[i] = static_cast<unsigned char>(high << 4 | low);
    }
    for (std::size_t i = 2; i < start; ++i)
        if (hexValue(rawKey[i]) < 0)
            return std::nullopt;
    return salt;
}

}  // namespace rumone
