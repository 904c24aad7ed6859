// The reflect switches and their file "ルモーネ.ini".
//
// The file is CP932 text; every line is converted to UTF-8 on reading and
// the whole content is converted back on writing, so that the comparisons
// here work on UTF-8 strings only. A file that an editor saved as UTF-8
// (well-formed UTF-8 with non-ASCII bytes, with or without a byte order
// mark) is read as UTF-8, so that its settings are kept.
#include "core/predict/PredictionOptions.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <random>
#include <string_view>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/store/SafeFile.h"
#include "core/text/TextEncoding.h"

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

constexpr const char* kFileEncoding = "CP932";

// One iconv conversion descriptor, closed on destruction.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (valid())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // The whole of `in` converted, or nullopt when any byte cannot be.
    std::optional<std::string> convert(std::string_view in)
    {
        if (!valid())
            return std::nullopt;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // initial state
        std::string out(in.size() * 4 + 16, '\0');
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char* dst = out.data();
        size_t dstLeft = out.size();
        if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1))
            return std::nullopt;
        if (iconv(cd_, nullptr, nullptr, &dst, &dstLeft) == static_cast<size_t>(-1))
            return std::nullopt;
        out.resize(out.size() - dstLeft);
        return out;
    }

private:
    iconv_t cd_;
};

// A POSIX file descriptor, closed on destruction.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor() { close(); }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&&) = delete;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now; false when the close reports an error (data not written).
    bool close()
    {
        if (fd_ < 0)
            return true;
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc == 0;
    }

private:
    int fd_;
};

std::optional<std::string> readWholeFile(const std::string& path)
{
    // Non-blocking open and a regular-file check: a pipe or device under
    // the file's name must not hang or flood the reader.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid())
        return std::nullopt;
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    std::string content;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        content.append(buffer, static_cast<size_t>(n));
    }
    return content;
}

std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
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
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
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
        Converter toUtf8("UTF-8", kFileEncoding);
        for (std::string_view rawLine : splitLines(text)) {
            if (const std::optional<std::string> line = toUtf8.convert(rawLine))
                applyLine(options, *line);
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
        Converter toFileEncoding(kFileEncoding, "UTF-8");
        const std::optional<std::string> bytes = toFileEncoding.convert(optionsText(options));
        if (!bytes)
            return false;
        // Most runs change no switch: a file that already holds these bytes
        // is left as it is, and quitting waits for no disk.
        if (readWholeFile(path) == bytes)
            return true;

        replaceFileWith(path, *bytes);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace rumone
