#include "core/store/CsvFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace rumone {

namespace {

CsvFileError refusal(const std::string& path, const std::string& why)
{
    return CsvFileError("CSV ファイル「" + path + "」を読み取れません。" + why);
}

// The number (1-based) of the first line longer than the bound, or 0.
std::size_t firstLongLine(const std::string& text)
{
    std::size_t line = 1;
    std::size_t start = 0;
    while (start <= text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        if (end - start > kMaxCsvLineBytes)
            return line;
        ++line;
        start = end + 1;
    }
    return 0;
}

}  // namespace

std::string readCsvFile(const std::string& path)
{
    // O_NONBLOCK: opening a pipe with no writer must not hang; a regular
    // file reads the same either way.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throw refusal(path, std::string("（") + std::strerror(errno) + "）");
    std::string text;
    try {
        struct stat st {};
        if (::fstat(fd, &st) != 0)
            throw refusal(path, std::string("（") + std::strerror(errno) + "）");
        if (S_ISDIR(st.st_mode))
            throw refusal(path, "フォルダーです。");
        if (!S_ISREG(st.st_mode))
            throw refusal(path, "通常のファイルではありません（デバイスやパイプなど）。");
        if (static_cast<unsigned long long>(st.st_size) > kMaxCsvFileBytes)
            throw refusal(path, "大きすぎます（" + std::to_string(kMaxCsvFileBytes >> 20) + " MB を超えています）。");
        char buffer[65536];
        while (true) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                throw refusal(path, std::string("（") + std::strerror(errno) + "）");
            if (n == 0)
                break;
            text.append(buffer, static_cast<std::size_t>(n));
            if (text.size() > kMaxCsvFileBytes)  // the file grew while it was read
                throw refusal(path,
                              "大きすぎます（" + std::to_string(kMaxCsvFileBytes >> 20) + " MB を超えています）。");
        }
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
    if (const std::size_t line = firstLongLine(text))
        throw refusal(path, std::to_string(line) + "行目が長すぎます（" + std::to_string(kMaxCsvLineBytes) +
                                " バイトを超えています）。CSV ファイルではないようです。");
    return text;
}

}  // namespace rumone
