// Fingerprints of a rule's record: the record's canonical text (its rule,
// target draw, tickets, when it was recorded and a random salt) hashed with
// SHA-256. The first 12 hexadecimal characters are the fingerprint a
// player may publish before the draw; the salt keeps the numbers from
// being guessed by trying every ticket list. Each record also carries the
// hash of the one before it, so that a record removed or put in between
// breaks the chain.
//
// What a matching fingerprint proves: the record's numbers were fixed when
// the fingerprint was published (no other numbers give the same one). What
// it does not: that no other fingerprints were published for other
// numbers, that the rule or this program chose them, or that they have an
// edge over chance.
#pragma once

#include <string>
#include <string_view>

namespace rumone {

inline constexpr std::size_t kFingerprintLength = 12;

// SHA-256 of `data` in lower-case hexadecimal. Throws std::runtime_error
// when the library cannot compute it.
std::string sha256Hex(std::string_view data);
// 16 random bytes in hexadecimal from the system's random source. Throws
// std::runtime_error when there is none.
std::string randomSalt();

// The first kFingerprintLength characters of sha256Hex(canonical).
std::string fingerprintOf(std::string_view canonical);
// The chain hash of a record after the one whose chain hash is `previous`
// ("" for the first).
std::string chainHashOf(std::string_view canonical, std::string_view previous);

}  // namespace rumone
