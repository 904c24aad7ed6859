// Reading a CSV file of draws from the disk, refusing what is not one
// before any of it is parsed.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace rumone {

// No draw list has lines anywhere near this long; a longer line means a
// file that is no CSV at all (or a device that never ends a line).
inline constexpr std::size_t kMaxCsvLineBytes = 8192;
inline constexpr std::size_t kMaxCsvFileBytes = 64u << 20;

// A file that cannot be read as a CSV. what() is a plain Japanese
// sentence naming the file (and the line, where there is one).
class CsvFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The bytes of the regular file at `path`. Throws CsvFileError for a
// missing or unreadable file, a folder, a device or pipe, a file larger
// than kMaxCsvFileBytes or a line longer than kMaxCsvLineBytes.
std::string readCsvFile(const std::string& path);

}  // namespace rumone
