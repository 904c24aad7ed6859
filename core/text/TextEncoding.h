// Text files from and for Japanese Windows programs: UTF-8 with or without
// a byte order mark, and CP932 (Shift-JIS as Excel and Notepad write it).
// Everything inside the program is UTF-8; these functions convert at the
// edge and tell where a file cannot be read.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace rumone {

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

enum class TextEncoding { Utf8, Utf8WithBom, Cp932 };

// The offset of the first byte that is not part of well-formed UTF-8
// (no overlong forms, no surrogates, nothing above U+10FFFF); nullopt when
// the whole text is well formed.
std::optional<std::size_t> firstInvalidUtf8(std::string_view bytes);
inline bool isValidUtf8(std::string_view bytes)
{
    return !firstInvalidUtf8(bytes).has_value();
}
bool isAscii(std::string_view bytes);

// A conversion: the converted text, or the offset in the input of the
// first byte that could not be converted.
struct Conversion {
    std::string text;
    std::optional<std::size_t> badOffset;
    bool ok() const { return !badOffset.has_value(); }
};
Conversion cp932ToUtf8(std::string_view bytes);
Conversion utf8ToCp932(std::string_view utf8);

// Bytes of a file read as UTF-8 or CP932, decided by the bytes: a byte
// order mark means UTF-8; otherwise well-formed UTF-8 is UTF-8; anything
// else is read as CP932. `text` is UTF-8 without the mark. When the bytes
// are none of these, badOffset is the first byte that cannot be read in
// whichever of UTF-8 and CP932 reads further.
struct DecodedText {
    std::string text;
    TextEncoding encoding = TextEncoding::Utf8;
    std::optional<std::size_t> badOffset;
    bool ok() const { return !badOffset.has_value(); }
};
DecodedText decodeUtf8OrCp932(std::string_view bytes);

// The 1-based line on which byte `offset` stands (LF ends a line).
int lineOfOffset(std::string_view bytes, std::size_t offset);

}  // namespace rumone
