// The ten reflect switches of the prediction view and their file
// "ルモーネ.ini": ten lines "key=True|False", CP932, CR LF, in the
// process's current working directory.
#pragma once

#include <array>
#include <string>

namespace rumone {

inline constexpr int kOptionCount = 10;
inline constexpr const char* kOptionsFileName = "ルモーネ.ini";

// Keys in the file, by switch index.
extern const std::array<const char*, kOptionCount> kOptionKeys;
// Captions of the switch frames on the prediction view, by switch index.
extern const std::array<const char*, kOptionCount> kOptionCaptions;

struct PredictionOptions {
    std::array<bool, kOptionCount> flags{};  // True: 反映する
};

// Reads the file at `path` into `options`. A missing or unreadable file
// changes nothing; an unusable line is skipped; the last occurrence of a
// key wins. Never throws.
void readOptionsFile(PredictionOptions& options, const std::string& path);
// Writes the ten lines through a temporary file in the same folder renamed
// over the old one. Returns false (and leaves any old file intact) when the
// file cannot be written. A read-only file is left as it is (false); a
// symbolic link is followed and the file it names is replaced, the link
// stays. Never throws.
bool writeOptionsFile(const PredictionOptions& options, const std::string& path);

// True when the file at `path` (after its links) exists and is marked
// read-only: no write permission at all, or none for this user. Its
// switches are then not saved.
bool optionsFileIsReadOnly(const std::string& path);

}  // namespace rumone
