#include "core/store/CsvFile.h"

#include "core/store/SafeFile.h"
#include "core/text/TextParts.h"

namespace rumone {

namespace {

CsvFileError refusal(const std::string& path, const std::string& why)
{
    return CsvFileError("CSV ファイル「" + path + "」を読み取れません。" + why);
}

// The number (1-based) of the first line longer than the bound, or 0.
std::size_t firstLongLine(const std::string& text)
{
    const std::vector<std::string_view> lines = splitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].size() > kMaxCsvLineBytes)
            return i + 1;
    return 0;
}

}  // namespace

std::string readCsvFile(const std::string& path)
{
    std::string text;
    try {
        text = readRegularFile(path, kMaxCsvFileBytes);
    } catch (const FileReadError& e) {
        throw refusal(path, e.what());
    }
    if (const std::size_t line = firstLongLine(text))
        throw refusal(path, std::to_string(line) + "行目が長すぎます（" + std::to_string(kMaxCsvLineBytes) +
                                " バイトを超えています）。CSV ファイルではないようです。");
    return text;
}

}  // namespace rumone
