#include "core/store/DrawSource.h"

#include "core/store/SourceShapes.h"
#include "core/text/TextEncoding.h"
#include "core/text/TextParts.h"

namespace rumone {

namespace {

// The first line longer than the kind allows, as a refusal.
void requireWithinLimits(std::string_view text, SourceKind kind)
{
    const SourceLimits limits = sourceLimits(kind);
    if (text.size() > limits.totalBytes)
        throw DrawSourceError(0, "文字が多すぎます（" + std::to_string(text.size()) + " バイト、上限 " +
                                     std::to_string(limits.totalBytes) + " バイト）。当選データではないようです。");
    int lineNo = 0;
    for (const std::string_view line : splitLines(text)) {
        ++lineNo;
        if (line.size() > limits.lineBytes)
            throw DrawSourceError(lineNo, "行が長すぎます（" + std::to_string(limits.lineBytes) +
                                              " バイトを超えています）。当選データではないようです。");
    }
}

// The text of a file's bytes: UTF-8 (with or without a byte order mark)
// or CP932.
std::string decodedText(std::string_view bytes)
{
    DecodedText decoded = decodeUtf8OrCp932(bytes);
    if (!decoded.ok())
        throw DrawSourceError(lineOfOffset(bytes, *decoded.badOffset),
                              "文字コードが UTF-8 でも Shift-JIS (CP932) でもない文字があります。");
    return std::move(decoded.text);
}

std::vector<SourceDraw> readShape(std::string_view text, SourceKind kind, const SourceProgress& progress)
{
    if (kind == SourceKind::File)
        return shapes::readDrawTable(text, progress);
    const std::size_t firstLine = text.find_first_not_of(" \t\r\n");
    if (firstLine == std::string_view::npos)
        return {};
    const std::size_t lineStart = text.rfind('\n', firstLine) + 1;  // npos + 1 is 0
    if (shapes::looksLikeTableHeader(text.substr(lineStart)))
        return shapes::readDrawTable(text.substr(lineStart), progress);
    return shapes::readDrawLines(text, progress);
}

std::vector<SourceDraw> parseWithin(std::string_view text, SourceKind kind, const SourceProgress& progress)
{
    const std::string plain = shapes::narrowed(text);
    std::vector<SourceDraw> draws = readShape(plain, kind, progress);
    if (progress)
        progress(text.size(), text.size());
    return draws;
}

}  // namespace

DrawSourceError::DrawSourceError(int line, const std::string& reason)
    : std::runtime_error(line > 0 ? std::to_string(line) + "行目: " + reason : reason), line_(line), reason_(reason)
{
}

std::vector<SourceDraw> parseDrawSource(std::string_view text, SourceKind kind, const SourceProgress& progress)
{
    requireWithinLimits(text, kind);
    return parseWithin(text, kind, progress);
}

std::vector<SourceDraw> parseDrawSourceBytes(std::string_view bytes, const SourceProgress& progress)
{
    // The file's own bytes are held to the limits, before they are decoded.
    requireWithinLimits(bytes, SourceKind::File);
    return parseWithin(decodedText(bytes), SourceKind::File, progress);
}

std::vector<SourceDraw> readDrawSource(const std::string& path, const SourceProgress& progress)
{
    return parseDrawSourceBytes(readCsvFile(path), progress);
}

std::string sourceName(const std::string& path)
{
    return path.empty() ? "貼り付けた文字" : "CSV ファイル「" + path + "」";
}

std::string sourceRefusal(const std::string& path, const DrawSourceError& error)
{
    return sourceName(path) + "を取り込めません。\n\n" + error.what() + "\n\n何も取り込んでいません。";
}

std::string emptySourceNote(const std::string& path)
{
    if (path.empty())
        return "貼り付けた文字に、回と 4 桁の当せん番号のある行がありません。";
    return sourceName(path) + "に取り込むデータがありません。";
}

std::vector<EditRow> editRowsFrom(const std::vector<SourceDraw>& draws)
{
    std::vector<EditRow> rows;
    rows.reserve(draws.size());
    for (const SourceDraw& d : draws) {
        EditRow row;
        row.number = DbValue::fromInt(d.number);
        for (int p = 0; p < 4; ++p)
            if (d.digits[p])
                row.digits[p] = DbValue::fromInt(*d.digits[p]);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<std::pair<int, DrawDetails>> detailsFrom(const std::vector<SourceDraw>& draws)
{
    std::vector<std::pair<int, DrawDetails>> details;
    for (const SourceDraw& d : draws)
        if (!d.details.empty())
            details.emplace_back(d.number, d.details);
    return details;
}

}  // namespace rumone
