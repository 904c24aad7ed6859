#include "core/grid/GridExport.h"

#include <algorithm>
#include <charconv>
#include <cstring>

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

std::string flat(const std::string& text)
{
    std::string out = text;
    for (char& ch : out)
        if (ch == '\t' || ch == '\n' || ch == '\r')
            ch = ' ';
    return out;
}

std::string htmlEscaped(const std::string& text)
{
    if (text.find_first_of("&<>\"\n") == std::string::npos)
        return text;
    std::string out;
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
    return out;
}

// "#rrggbb"
std::string hexColour(const Rgb& c)
{
    constexpr char digits[] = "0123456789abcdef";
    std::string out = "#000000";
    const std::uint8_t parts[] = {c.r, c.g, c.b};
    for (std::size_t i = 0; i < 3; ++i) {
        out[1 + 2 * i] = digits[parts[i] >> 4];
        out[2 + 2 * i] = digits[parts[i] & 15];
    }
    return out;
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

// What the HTML of a cell shows of its style: one class each.
struct HtmlLook {
    HAlign hAlign = HAlign::Left;
    OptColour back, text;
    friend bool operator==(const HtmlLook&, const HtmlLook&) = default;
};

// A class's rule in the style sheet, and the tags that open and close
// each of its cells.
struct HtmlClass {
    std::string rule, open, close;
};

HtmlClass htmlClass(const HtmlLook& look, std::size_t index)
{
    const std::string name = "c" + std::to_string(index);
    HtmlClass c;
    c.rule = "td." + name + "{text-align:" + cssAlign(look.hAlign);
    c.open = "<td class=\"" + name + "\"";
    if (look.back) {
        c.rule += ";background-color:" + hexColour(*look.back);
        c.open += " bgcolor=\"" + hexColour(*look.back) + "\"";
    }
    c.open += '>';
    c.close = "</td>";
    if (look.text) {
        c.rule += ";color:" + hexColour(*look.text);
        c.open += "<font color=\"" + hexColour(*look.text) + "\">";
        c.close = "</font></td>";
    }
    c.rule += "}\n";
    return c;
}

// Bytes written one after another into room sized for them beforehand.
struct Writer {
    char* at;
    void put(const std::string& text)
    {
        std::memcpy(at, text.data(), text.size());
        at += text.size();
    }
    void put(char ch) { *at++ = ch; }
    // The decimal form of a number kept in its cell.
    void number(std::uint32_t value)
    {
        char digits[16];
        const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        std::memcpy(at, digits, static_cast<std::size_t>(end - digits));
        at += end - digits;
    }
};

std::size_t digitsOf(std::uint32_t number)
{
    std::size_t n = 1;
    while (number >= 10) {
        number /= 10;
        ++n;
    }
    return n;
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

CopiedBlock::CopiedBlock(const ResultGrid& grid, CellRange block)
{
    block = cut(grid, block);
    if (block.empty())
        return;
    grid.applyPendingStyles();
    columns_ = block.col2 - block.col1 + 1;
    rows_ = block.row2 - block.row1 + 1;
    const auto cells = static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_);
    textIds_ = std::make_unique_for_overwrite<std::uint32_t[]>(cells);
    styleIds_ = std::make_unique_for_overwrite<std::uint32_t[]>(cells);
    const auto width = static_cast<std::size_t>(columns_);
    const auto copyRow = [&](const LazyCellTable& from, int row, std::uint32_t* to) {
        const std::uint32_t* stored = from.storedRow(row);
        if (stored)
            std::copy_n(stored + (block.col1 - 1), width, to);
        else
            std::fill_n(to, width, 0u);
    };
    for (int r = 0; r < rows_; ++r) {
        const auto at = static_cast<std::size_t>(r) * width;
        copyRow(grid.cellText_, block.row1 - 1 + r, textIds_.get() + at);
        copyRow(grid.cellStyle_, block.row1 - 1 + r, styleIds_.get() + at);
    }
    texts_ = grid.texts_;
    styles_ = grid.styles_;
}

void CopiedBlock::writeTsv(const Room& room) const
{
    if (rows_ == 0) {
        room(0);
        return;
    }
    std::vector<std::string> shown(texts_.size());
    std::transform(texts_.begin(), texts_.end(), shown.begin(), flat);
    const int cells = columns_ * rows_;
    std::size_t size = static_cast<std::size_t>(cells);  // a tab or LF after each cell
    for (int i = 0; i < cells; ++i) {
        const std::uint32_t id = textId(i);
        size += id & ResultGrid::kNumberText ? digitsOf(id & ~ResultGrid::kNumberText) : shown[id].size();
    }
    Writer out{room(size)};
    for (int i = 0; i < cells; ++i) {
        const std::uint32_t id = textId(i);
        if (id & ResultGrid::kNumberText)
            out.number(id & ~ResultGrid::kNumberText);
        else
            out.put(shown[id]);
        out.put((i + 1) % columns_ == 0 ? '\n' : '\t');
    }
}

void CopiedBlock::writeHtml(const Room& room) const
{
    const int cells = columns_ * rows_;
    // The classes in the order the block first uses them.
    std::vector<HtmlLook> looks;
    std::vector<std::uint32_t> classOfStyle(styles_.size(), UINT32_MAX);
    for (int i = 0; i < cells; ++i) {
        std::uint32_t& c = classOfStyle[styleIds_[static_cast<std::size_t>(i)]];
        if (c != UINT32_MAX)
            continue;
        const CellStyle& s = styles_[styleIds_[static_cast<std::size_t>(i)]];
        const HtmlLook look{s.hAlign, s.back, s.text};
        c = static_cast<std::uint32_t>(std::find(looks.begin(), looks.end(), look) - looks.begin());
        if (c == looks.size())
            looks.push_back(look);
    }
    std::vector<HtmlClass> classes;
    for (std::size_t i = 0; i < looks.size(); ++i)
        classes.push_back(htmlClass(looks[i], i));
    std::vector<std::string> shown(texts_.size());
    std::transform(texts_.begin(), texts_.end(), shown.begin(), htmlEscaped);

    std::string head = "<html><head><meta charset=\"utf-8\"><style>\n";
    for (const HtmlClass& c : classes)
        head += c.rule;
    head += "</style></head><body>\n<table border=\"1\" cellspacing=\"0\" style=\"border-collapse:collapse\">\n";
    const std::string rowOpen = "<tr>", rowClose = "</tr>\n", tail = "</table>\n</body></html>\n";

    std::size_t size = head.size() + tail.size() + static_cast<std::size_t>(rows_) * (rowOpen.size() + rowClose.size());
    for (int i = 0; i < cells; ++i) {
        const std::uint32_t id = textId(i);
        const HtmlClass& c = classes[classOfStyle[styleIds_[static_cast<std::size_t>(i)]]];
        size += c.open.size() + c.close.size() +
                (id & ResultGrid::kNumberText ? digitsOf(id & ~ResultGrid::kNumberText) : shown[id].size());
    }
    Writer out{room(size)};
    out.put(head);
    for (int i = 0; i < cells; ++i) {
        if (i % columns_ == 0)
            out.put(rowOpen);
        const std::uint32_t id = textId(i);
        const HtmlClass& c = classes[classOfStyle[styleIds_[static_cast<std::size_t>(i)]]];
        out.put(c.open);
        if (id & ResultGrid::kNumberText)
            out.number(id & ~ResultGrid::kNumberText);
        else
            out.put(shown[id]);
        out.put(c.close);
        if ((i + 1) % columns_ == 0)
            out.put(rowClose);
    }
    out.put(tail);
}

std::string CopiedBlock::tsv() const
{
    std::string out;
    writeTsv([&out](std::size_t size) {
        out.resize(size);
        return out.data();
    });
    return out;
}

std::string CopiedBlock::html() const
{
    std::string out;
    writeHtml([&out](std::size_t size) {
        out.resize(size);
        return out.data();
    });
    return out;
}

std::string blockTsv(const ResultGrid& grid, CellRange block)
{
    return CopiedBlock(grid, block).tsv();
}

std::string blockHtml(const ResultGrid& grid, CellRange block)
{
    return CopiedBlock(grid, block).html();
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
