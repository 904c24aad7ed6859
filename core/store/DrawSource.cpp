#include "core/store/DrawSource.h"

#include <algorithm>
#include <map>

#include "core/store/DrawImport.h"
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

// The shape is decided by the text: the bank's results file, a copied
// results page (labelled blocks), a table with a header, or else lines
// each with a draw (a file without 第N回 anywhere is a table whose header
// is missing).
std::vector<SourceDraw> readShape(std::string_view text, SourceKind kind, const SourceProgress& progress)
{
    const std::size_t firstLine = text.find_first_not_of(" \t\r\n");
    if (firstLine == std::string_view::npos && kind == SourceKind::Pasted)
        return {};
    const std::size_t lineStart = firstLine == std::string_view::npos ? 0 : text.rfind('\n', firstLine) + 1;
    // (npos + 1 is 0: the first line)
    if (shapes::looksLikeBankFile(text))
        return shapes::readBankFile(text);
    if (shapes::looksLikeBlocks(text))
        return shapes::readDrawBlocks(text, progress);
    if (shapes::looksLikeTableHeader(text.substr(lineStart)))
        return shapes::readDrawTable(text, progress);
    if (kind == SourceKind::Pasted || shapes::looksLikeMarkedLines(text))
        return shapes::readDrawLines(text, progress);
    return shapes::readDrawTable(text, progress);
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

DrawSourceError::DrawSourceError(int line, const std::string& reason, std::string path)
    : std::runtime_error(line > 0 ? std::to_string(line) + "行目: " + reason : reason),
      line_(line),
      reason_(reason),
      path_(std::move(path))
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
    const std::string bytes = readCsvFile(path);
    try {
        return parseDrawSourceBytes(bytes, progress);
    } catch (const DrawSourceError& e) {
        throw DrawSourceError(e.line(), e.reason(), path);
    }
}

std::vector<SourceDraw> readDrawSources(const std::vector<std::string>& paths, const SourceProgress& progress)
{
    std::vector<SourceDraw> all;
    std::map<int, std::pair<std::size_t, int>> seen;  // draw -> file, line
    for (std::size_t f = 0; f < paths.size(); ++f) {
        const auto within = [&](std::size_t done, std::size_t total) {
            if (progress)
                progress(f * 1000 + 1000 * done / std::max<std::size_t>(total, 1), paths.size() * 1000);
        };
        for (SourceDraw& draw : readDrawSource(paths[f], within)) {
            const auto [it, fresh] = seen.emplace(draw.number, std::make_pair(f, draw.line));
            if (!fresh)
                throw DrawSourceError(draw.line,
                                      "第" + std::to_string(draw.number) + "回は " +
                                          sourceName(paths[it->second.first]) + "の " +
                                          std::to_string(it->second.second) + "行目にもあります。",
                                      paths[f]);
            all.push_back(std::move(draw));
        }
    }
    return all;
}

std::string sourceName(const std::string& path)
{
    return path.empty() ? "貼り付けた文字" : "CSV ファイル「" + path + "」";
}

std::string sourceRefusal(const std::string& path, const DrawSourceError& error)
{
    return sourceName(error.path().empty() ? path : error.path()) + "を取り込めません。\n\n" + error.what() +
           "\n\n何も取り込んでいません。";
}

std::string emptySourceNote(const std::string& path)
{
    if (path.empty())
        return "貼り付けた文字に、回と 4 桁の当せん番号のある行がありません。";
    return sourceName(path) + "に取り込むデータがありません。";
}

namespace {

std::string dateText(const CivilDate& d)
{
    return std::to_string(d.year) + "年" + std::to_string(d.month) + "月" + std::to_string(d.day) + "日";
}

// 986400 as "986,400".
std::string grouped(long long v)
{
    std::string digits = std::to_string(v);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}

std::string prizeText(int kind, const PrizeLine& p)
{
    const std::string name = kPrizeKindNames[kind];
    if (p.notApplicable)
        return name + " 該当なし";
    return name + " " + grouped(p.units) + "口 " + grouped(p.yenPerUnit) + "円";
}

}  // namespace

std::string sourceDrawText(const SourceDraw& draw)
{
    std::string text = "第" + std::to_string(draw.number) + "回 ";
    for (const std::optional<int>& d : draw.digits)
        text += d ? std::to_string(*d) : "-";
    std::vector<std::string> parts;
    if (draw.details.date)
        parts.push_back(dateText(*draw.details.date));
    for (int k = 0; k < kPrizeKindCount; ++k)
        if (const auto& p = draw.details.prizes[k])
            parts.push_back(prizeText(k, *p));
    for (std::size_t i = 0; i < parts.size(); ++i)
        text += (i == 0 ? "（" : "、") + parts[i];
    return parts.empty() ? text : text + "）";
}

std::vector<std::string> newDrawLines(const ImportPreview& preview, const std::vector<SourceDraw>& draws)
{
    std::map<long long, const SourceDraw*> byNumber;
    for (const SourceDraw& d : draws)
        byNumber.emplace(d.number, &d);
    std::vector<std::string> lines;
    for (const EditRow& row : preview.added)
        if (const auto it = byNumber.find(row.number.integer); it != byNumber.end())
            lines.push_back(sourceDrawText(*it->second));
    return lines;
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
