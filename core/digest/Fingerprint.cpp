#include "core/digest/Fingerprint.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <stdexcept>

namespace rumone {

namespace {

std::string hexOf(const unsigned char* bytes, std::size_t size)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (std::size_t i = 0; i < size; ++i) {
        hex += kHex[bytes[i] >> 4];
        hex += kHex[bytes[i] & 15];
    }
    return hex;
}

}  // namespace

std::string sha256Hex(std::string_view data)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (EVP_Digest(data.data(), data.size(), digest, &size, EVP_sha256(), nullptr) != 1)
        throw std::runtime_error("指紋に使うハッシュを計算できません。");
    return hexOf(digest, size);
}

std::string randomSalt()
{
    unsigned char bytes[16];
    if (RAND_bytes(bytes, sizeof bytes) != 1)
        throw std::runtime_error("指紋に使う乱数を得られません。");
    return hexOf(bytes, sizeof bytes);
}

std::string fingerprintOf(std::string_view canonical)
{
    return sha256Hex(canonical).substr(0, kFingerprintLength);
}

std::string chainHashOf(std::string_view canonical, std::string_view previous)
{
    return sha256Hex(std::string(previous) + '\n' + sha256Hex(canonical));
}

}  // namespace rumone
