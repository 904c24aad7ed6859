#include "ui/ResultGrid.h"

#include <algorithm>
#include <stdexcept>

namespace rumone {

namespace {

const std::string kEmpty;

BorderLine LineOf(const OptColour& colour)
{
    if (!colour)
        return BorderLine{BorderLine::Kind::Default, Rgb{}};
    return BorderLine{BorderLine::Kind::Coloured, *colour};
}

std::size_t Mix(std::size_t seed, std::size_t value)
{
    return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

std::size_t HashColour(const OptColour& c)
{
    return c ? (std::size_t{1} << 24 | std::size_t{c->r} << 16 | std::size_t{c->g} << 8 | c->b) : 0;
}

std::size_t HashLine(const BorderLine& l)
{
    return static_cast<std::size_t>(l.kind) << 24 | std::size_t{l.colour.r} << 16 | std::size_t{l.colour.g} << 8 | l.colour.b;
}

}  // namespace

std::size_t ResultGrid::StyleHash::operator()(const CellStyle& s) const
{
    std::size_t h = HashColour(s.text);
    h = Mix(h, HashColour(s.back));
    h = Mix(h, static_cast<std::size_t>(s.hAlign) | static_cast<std::size_t>(s.vAlign) << 2 |
                   static_cast<std::size_t>(s.kind) << 4 | static_cast<std::size_t>(s.numericOnly) << 5);
    h = Mix(h, HashLine(s.left));
    h = Mix(h, HashLine(s.top));
    h = Mix(h, HashLine(s.right));
    h = Mix(h, HashLine(s.bottom));
    return h;
}

ResultGrid::ResultGrid()
{
    texts_.emplace_back();
    textIds_.emplace(std::string(), 0);
    styles_.emplace_back();
    styleIds_.emplace(CellStyle{}, 0);
}

void ResultGrid::SetSize(int columns, int rows)
{
    columns = std::max(columns, 0);
    rows = std::max(rows, 0);
    if (static_cast<long long>(columns) * rows > 64LL * 1024 * 1024)
        throw std::length_error("ResultGrid: table too large");
    std::vector<std::uint32_t> text(static_cast<std::size_t>(columns) * rows, 0);
    std::vector<std::uint32_t> style(text.size(), 0);
    for (int r = 1; r <= std::min(rows, rows_); ++r)
        for (int c = 1; c <= std::min(columns, columns_); ++c) {
            const std::size_t to = static_cast<std::size_t>(r - 1) * columns + (c - 1);
            text[to] = cellText_[Index(c, r)];
            style[to] = cellStyle_[Index(c, r)];
        }
    cellText_ = std::move(text);
    cellStyle_ = std::move(style);
    columnWidths_.resize(columns, kDefaultColumnWidth);
    rowHeights_.resize(rows, kDefaultRowHeight);
    columns_ = columns;
    rows_ = rows;
}

void ResultGrid::SetVisibleSize(int columns, int rows)
{
    visibleColumns_ = std::max(columns, 0);
    visibleRows_ = std::max(rows, 0);
}

void ResultGrid::ShowBuiltInHeaders(bool columnLetters, bool rowNumbers)
{
    columnLetters_ = columnLetters;
    rowNumbers_ = rowNumbers;
}

void ResultGrid::SetScrollBars(ScrollBars bars, bool onlyWhenNeeded)
{
    scrollBars_ = bars;
    scrollBarsWhenNeeded_ = onlyWhenNeeded;
}

void ResultGrid::SetFrozen(int columns, int rows)
{
    frozenColumns_ = std::max(columns, 0);
    frozenRows_ = std::max(rows, 0);
}

void ResultGrid::SetColumnWidth(int column, int width)
{
    if (column == -1)
        std::fill(columnWidths_.begin(), columnWidths_.end(), width);
    else if (column >= 1 && column <= columns_)
        columnWidths_[column - 1] = width;
}

void ResultGrid::SetRowHeight(int row, int height)
{
    if (row == -1)
        std::fill(rowHeights_.begin(), rowHeights_.end(), height);
    else if (row >= 1 && row <= rows_)
        rowHeights_[row - 1] = height;
}

void ResultGrid::SetActiveCell(int column, int row)
{
    activeColumn_ = column;
    activeRow_ = row;
}

int ResultGrid::ColumnWidth(int column) const
{
    return column >= 1 && column <= columns_ ? columnWidths_[column - 1] : 0;
}

int ResultGrid::RowHeight(int row) const
{
    return row >= 1 && row <= rows_ ? rowHeights_[row - 1] : 0;
}

CellRange ResultGrid::Resolve(Block b) const
{
    CellRange r;
    r.col1 = b.col1 == -1 ? 1 : std::max(b.col1, 1);
    r.col2 = (b.col1 == -1 || b.col2 == -1) ? columns_ : std::min(b.col2, columns_);
    r.row1 = b.row1 == -1 ? 1 : std::max(b.row1, 1);
    r.row2 = (b.row1 == -1 || b.row2 == -1) ? rows_ : std::min(b.row2, rows_);
    return r;
}

std::uint32_t ResultGrid::InternStyle(const CellStyle& style)
{
    auto it = styleIds_.find(style);
    if (it != styleIds_.end())
        return it->second;
    const auto id = static_cast<std::uint32_t>(styles_.size());
    styles_.push_back(style);
    styleIds_.emplace(style, id);
    return id;
}

std::uint32_t ResultGrid::InternText(std::string_view text)
{
    if (text.empty())
        return 0;
    std::string key(text);
    auto it = textIds_.find(key);
    if (it != textIds_.end())
        return it->second;
    const auto id = static_cast<std::uint32_t>(texts_.size());
    texts_.push_back(key);
    textIds_.emplace(std::move(key), id);
    return id;
}

// Applies `change` (CellStyle&, column, row) to every cell of the range.
// Cells that share a style and get the same change share the result, so the
// work per cell is one comparison in the common case.
template <typename Change>
void ResultGrid::Restyle(const CellRange& range, Change change)
{
    if (range.empty())
        return;
    std::uint32_t lastFrom = UINT32_MAX, lastTo = 0;
    int lastKey = -1;
    for (int r = range.row1; r <= range.row2; ++r) {
        for (int c = range.col1; c <= range.col2; ++c) {
            std::uint32_t& id = cellStyle_[Index(c, r)];
            // The change may depend on where the cell lies in the range
            // (an outline); the key tells the positions apart.
            const int key = (c == range.col1 ? 1 : 0) | (c == range.col2 ? 2 : 0) | (r == range.row1 ? 4 : 0) |
                            (r == range.row2 ? 8 : 0);
            if (id == lastFrom && key == lastKey) {
                id = lastTo;
                continue;
            }
            CellStyle s = styles_[id];
            change(s, key);
            lastFrom = id;
            lastKey = key;
            lastTo = InternStyle(s);
            id = lastTo;
        }
    }
}

void ResultGrid::SetCellKind(Block block, CellKind kind, bool numericOnly)
{
    Restyle(Resolve(block), [&](CellStyle& s, int) {
        s.kind = kind;
        s.numericOnly = numericOnly;
    });
}

void ResultGrid::SetAlignment(Block block, HAlign h, VAlign v)
{
    Restyle(Resolve(block), [&](CellStyle& s, int) {
        s.hAlign = h;
        s.vAlign = v;
    });
}

void ResultGrid::SetTextColour(Block block, OptColour colour)
{
    Restyle(Resolve(block), [&](CellStyle& s, int) { s.text = colour; });
}

void ResultGrid::SetBackColour(Block block, OptColour colour)
{
    Restyle(Resolve(block), [&](CellStyle& s, int) { s.back = colour; });
}

void ResultGrid::SetBorder(Block block, BorderSides sides, OptColour colour)
{
    const BorderLine line = LineOf(colour);
    const BorderLine none{};
    Restyle(Resolve(block), [&](CellStyle& s, int key) {
        switch (sides) {
        case BorderSides::All:
            s.left = s.top = s.right = s.bottom = line;
            break;
        case BorderSides::Left:
            s.left = line;
            break;
        case BorderSides::Right:
            s.right = line;
            break;
        case BorderSides::Bottom:
            s.bottom = line;
            break;
        case BorderSides::TopBottom:
            s.top = s.bottom = line;
            break;
        case BorderSides::Outline:
            if (key & 1) s.left = line;
            if (key & 2) s.right = line;
            if (key & 4) s.top = line;
            if (key & 8) s.bottom = line;
            break;
        case BorderSides::None:
            s.left = s.top = s.right = s.bottom = none;
            break;
        }
    });
}

void ResultGrid::SetText(int column, int row, std::string_view text)
{
    if (!InTable(column, row))
        return;
    cellText_[Index(column, row)] = InternText(text);
}

void ResultGrid::SetText(int column, int row, long number)
{
    SetText(column, row, std::to_string(number));
}

const std::string& ResultGrid::GetText(int column, int row) const
{
    if (!InTable(column, row))
        return kEmpty;
    return texts_[cellText_[Index(column, row)]];
}

bool ResultGrid::HasText(int column, int row) const
{
    return InTable(column, row) && cellText_[Index(column, row)] != 0;
}

void ResultGrid::ClearText(Block block)
{
    const CellRange range = Resolve(block);
    if (range.empty())
        return;
    for (int r = range.row1; r <= range.row2; ++r)
        for (int c = range.col1; c <= range.col2; ++c)
            cellText_[Index(c, r)] = 0;
}

const CellStyle& ResultGrid::Style(int column, int row) const
{
    if (!InTable(column, row))
        return styles_[0];
    return styles_[cellStyle_[Index(column, row)]];
}

int ResultGrid::LastDataRow() const
{
    for (int r = rows_; r >= 1; --r)
        for (int c = 1; c <= columns_; ++c)
            if (cellText_[Index(c, r)] != 0)
                return r;
    return 0;
}

std::size_t ResultGrid::CellStorageBytes() const
{
    std::size_t bytes = cellText_.capacity() * sizeof(std::uint32_t) + cellStyle_.capacity() * sizeof(std::uint32_t);
    for (const auto& t : texts_)
        bytes += sizeof(std::string) + (t.capacity() > 15 ? t.capacity() : 0);
    bytes += textIds_.size() * (sizeof(std::string) + sizeof(std::uint32_t) + 2 * sizeof(void*));
    bytes += styles_.capacity() * sizeof(CellStyle);
    bytes += styleIds_.size() * (sizeof(CellStyle) + sizeof(std::uint32_t) + 2 * sizeof(void*));
    bytes += (columnWidths_.capacity() + rowHeights_.capacity()) * sizeof(int);
    return bytes;
}

}  // namespace rumone
