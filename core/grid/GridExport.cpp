#include "core/grid/GridExport.h"

#include <algorithm>
#include <cstdio>

namespace rumone {

namespace {

CellRange cut(const ResultGrid& grid, CellRange block)
{
    block.col1 = std::max(block.col1, 1);
    block.row1 = std::max(block.row1, 1);
    block.col2 = std::min(block.col2, grid.columns());
    block.row2 = std::min(block.row2, grid.rows());
    return block;
}

void appendFlat(std::string& out, const std::string& text)
{
    for (char ch : text)
        out += ch == '\t' || ch == '\n' || ch == '\r' ? ' ' : ch;
}

void appendHtmlEscaped(std::string& out, const std::string& text)
{
    for (char ch : text) {
        switch (ch) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\n':
                out += "<br>";
                break;
            default:
                out += ch;
        }
    }
}

std::string cssColour(const Rgb& c)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c.r, c.g, c.b);
    return buf;
}

const char* cssAlign(HAlign h)
{
    switch (h) {
        case HAlign::Left:
            return "left";
        case HAlign::Centre:
            return "center";
        case HAlign::Right:
            return "right";
    }
    return "left";
}

bool isBlank(char ch)
{
    return ch == ' ';
}

bool needsQuotes(const std::string& text)
{
    if (text.empty())
        return false;
    if (isBlank(text.front()) || isBlank(text.back()))
        return true;
    // An ideographic space (U+3000) at either end is kept the same way.
    constexpr std::string_view ideographic = "\xE3\x80\x80";
    if (text.starts_with(ideographic) || text.ends_with(ideographic))
        return true;
    return text.find_first_of(",\"\r\n") != std::string::npos;
}

void appendCsvField(std::string& out, const std::string& text)
{
    if (!needsQuotes(text)) {
        out += text;
        return;
    }
    out += '"';
    for (char ch : text) {
        if (ch == '"')
            out += '"';
        out += ch;
    }
    out += '"';
}

}  // namespace

std::string blockTsv(const ResultGrid& grid, CellRange block)
{
    block = cut(grid, block);
    std::string out;
    if (block.empty())
        return out;
    for (int r = block.row1; r <= block.row2; ++r) {
        for (int c = block.col1; c <= block.col2; ++c) {
            if (c > block.col1)
                out += '\t';
            appendFlat(out, grid.getText(c, r));
        }
        out += '\n';
    }
    return out;
}

std::string blockHtml(const ResultGrid& grid, CellRange block)
{
    block = cut(grid, block);
    std::string out = "<table border=\"1\" cellspacing=\"0\" style=\"border-collapse:collapse\">\n";
    if (!block.empty()) {
        for (int r = block.row1; r <= block.row2; ++r) {
            out += "<tr>";
            for (int c = block.col1; c <= block.col2; ++c) {
                const CellStyle& s = grid.style(c, r);
                out += "<td style=\"text-align:";
                out += cssAlign(s.hAlign);
                if (s.back)
                    out += ";background-color:" + cssColour(*s.back);
                if (s.text)
                    out += ";color:" + cssColour(*s.text);
                out += "\">";
                appendHtmlEscaped(out, grid.getText(c, r));
                out += "</td>";
            }
            out += "</tr>\n";
        }
    }
    out += "</table>\n";
    return out;
}

CellRange csvRange(const ResultGrid& grid)
{
    const int lastRow = grid.restrictedToDataRows() ? grid.lastDataRow() : grid.rows();
    return CellRange{1, 1, grid.columns(), lastRow};
}

namespace {

void appendCsvRow(std::string& out, const ResultGrid& grid, int row, int lastColumn)
{
    for (int c = 1; c <= lastColumn; ++c) {
        if (c > 1)
            out += ',';
        appendCsvField(out, grid.getText(c, row));
    }
    out += '\n';
}

bool sameTexts(const ResultGrid& grid, int rowA, int rowB)
{
    for (int c = 1; c <= grid.columns(); ++c)
        if (grid.getText(c, rowA) != grid.getText(c, rowB))
            return false;
    return true;
}

}  // namespace

std::string gridCsv(const ResultGrid& grid)
{
    const CellRange range = csvRange(grid);
    std::string out;
    if (range.empty())
        return out;
    for (int r = range.row1; r <= range.row2; ++r)
        appendCsvRow(out, grid, r, range.col2);
    return out;
}

std::vector<int> dataCsvRows(const ResultGrid& grid)
{
    const CellRange range = csvRange(grid);
    std::vector<int> rows;
    if (range.empty())
        return rows;
    const int heading = std::min(grid.frozenRows(), range.row2);
    if (heading > 0)
        rows.push_back(heading);
    for (int r = heading + 1; r <= range.row2; ++r) {
        bool holdsData = false;
        for (int c = 1; c <= range.col2 && !holdsData; ++c)
            holdsData = !grid.getText(c, r).empty();
        bool repeatsFrozenRow = false;
        for (int f = 1; f <= heading && !repeatsFrozenRow; ++f)
            repeatsFrozenRow = sameTexts(grid, r, f);
        if (holdsData && !repeatsFrozenRow)
            rows.push_back(r);
    }
    return rows;
}

std::string gridDataCsv(const ResultGrid& grid)
{
    std::string out;
    for (int r : dataCsvRows(grid))
        appendCsvRow(out, grid, r, grid.columns());
    return out;
}

std::string gridCsvFile(const ResultGrid& grid, TextEncoding encoding, CsvContent content)
{
    const std::string text = content == CsvContent::DataOnly ? gridDataCsv(grid) : gridCsv(grid);
    switch (encoding) {
        case TextEncoding::Utf8:
            return text;
        case TextEncoding::Utf8WithBom:
            return std::string(kUtf8Bom) + text;
        case TextEncoding::Cp932:
            break;
    }
    const Conversion c = utf8ToCp932(text);
    if (!c.ok())
        throw GridCsvError(std::to_string(lineOfOffset(text, *c.badOffset)) +
                           "行目に Shift-JIS (CP932) で表せない文字があります。");
    return c.text;
}

}  // namespace rumone
