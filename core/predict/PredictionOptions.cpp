// The reflect switches and their file "ルモーネ.ini".
//
// The file is CP932 text; every line is converted to UTF-8 on reading and
// the whole content is converted back on writing, so that the comparisons
// here work on UTF-8 strings only. A file that an editor saved as UTF-8
// (well-formed UTF-8 with non-ASCII bytes, with or without a byte order
// mark) is read as UTF-8, so that its settings are kept.
#include "core/predict/PredictionOptions.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <optional>
#include <string_view>

#include "core/store/SafeFile.h"
#include "core/text/TextEncoding.h"
#include "core/text/TextParts.h"

namespace rumone {

const std::array<const char*, kOptionCount> kOptionKeys = {
    "頻度分析Opt",       "間隔分析Opt",     "出現回数分析Opt",       "バラツキ分析Opt",  "引っ張り分析Opt",
    "連番飛び石分析Opt", "数字合計分析Opt", "組合せパターン分析Opt", "5分割傾向分析Opt", "分割データ分析Opt",
};

const std::array<const char*, kOptionCount> kOptionCaptions = {
    "■頻度分析（出現頻度分析、回数出現分析）",
    "■間隔分析（出現間隔分析、数字間隔分析）",
    "■出現回数分析",
    "■バラツキ分析",
    "■引っ張り分析",
    "■連番・飛び石分析",
    "■数字合計分析",
    "■組合せパターン分析",
    "■4分割傾向分析",
    "■分割データ分析",
};

namespace {

// Ten short lines; a larger file is no options file.
constexpr std::size_t kMaxOptionsFileBytes = 1u << 20;

// The bytes of the file at `path`, or nullopt when there is no regular
// file to read.
std::optional<std::string> readWholeFile(const std::string& path)
{
    try {
        return readRegularFile(path, kMaxOptionsFileBytes);
    } catch (const FileReadError&) {
        return std::nullopt;
    }
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A decimal number with optional sign and fraction: nullopt when `text`
// is not one, otherwise whether it is other than zero.
std::optional<bool> numberAsBoolean(std::string_view text)
{
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        text.remove_prefix(1);
    bool anyDigit = false;
    bool nonZero = false;
    bool seenPoint = false;
    for (char c : text) {
        if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else if (isDigit(c)) {
            anyDigit = true;
            nonZero = nonZero || c != '0';
        } else {
            return std::nullopt;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    return nonZero;
}

// "True"/"False" in any letter case, or a number; blanks around it are
// ignored. nullopt when the text is none of these.
std::optional<bool> parseFlagValue(std::string_view text)
{
    text = trim(text);
    if (equalsIgnoringAsciiCase(text, "True"))
        return true;
    if (equalsIgnoringAsciiCase(text, "False"))
        return false;
    return numberAsBoolean(text);
}

std::optional<int> keyIndex(std::string_view key)
{
    for (int i = 0; i < kOptionCount; ++i) {
        if (key == kOptionKeys[static_cast<size_t>(i)])
            return i;
    }
    return std::nullopt;
}

// Applies one line (UTF-8) to `options`; unusable lines change nothing.
void applyLine(PredictionOptions& options, std::string_view line)
{
    const size_t firstEquals = line.find('=');
    if (firstEquals == std::string_view::npos)
        return;
    const std::optional<int> index = keyIndex(line.substr(0, firstEquals));
    if (!index)
        return;
    std::string_view value = line.substr(firstEquals + 1);
    value = value.substr(0, value.find('='));
    if (const std::optional<bool> flag = parseFlagValue(value))
        options.flags[static_cast<size_t>(*index)] = *flag;
}

std::string optionsText(const PredictionOptions& options)
{
    std::string text;
    for (int i = 0; i < kOptionCount; ++i) {
        text += kOptionKeys[static_cast<size_t>(i)];
        text += '=';
        text += options.flags[static_cast<size_t>(i)] ? "True" : "False";
        text += "\r\n";
    }
    return text;
}

}  // namespace

void readOptionsFile(PredictionOptions& options, const std::string& path)
{
    try {
        const std::optional<std::string> content = readWholeFile(path);
        if (!content)
            return;
        std::string_view text = *content;
        if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom)
            text.remove_prefix(kUtf8Bom.size());
        if (!isAscii(text) && isValidUtf8(text)) {
            for (std::string_view line : splitLines(text))
                applyLine(options, line);
            return;
        }
        for (std::string_view rawLine : splitLines(text)) {
            if (const Conversion line = cp932ToUtf8(rawLine); line.ok())
                applyLine(options, line.text);
        }
    } catch (...) {
        // Out of memory while reading a settings file: keep the flags.
    }
}

bool optionsFileIsReadOnly(const std::string& path)
{
    const std::string target = resolveLinks(path);
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0)
        return false;  // no file yet: it will be made
    return (st.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0;
}

bool writeOptionsFile(const PredictionOptions& options, const std::string& linkedPath)
{
    try {
        if (optionsFileIsReadOnly(linkedPath))
            return false;  // the user's choice: the switches are not saved
        const std::string path = resolveLinks(linkedPath);
        const Conversion bytes = utf8ToCp932(optionsText(options));
        if (!bytes.ok())
            return false;
        // Most runs change no switch: a file that already holds these bytes
        // is left as it is, and quitting waits for no disk.
        if (readWholeFile(path) == bytes.text)
            return true;

        replaceFileWith(path, bytes.text);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace rumone
