#include "core/grid/ResultGrid.h"

#include <cstring>

#include <algorithm>
#include <stdexcept>

namespace rumone {

namespace {

const std::string kEmpty;

BorderLine lineOf(const OptColour& colour)
{
    if (!colour)
        return BorderLine{BorderLine::Kind::Default, Rgb{}};
    return BorderLine{BorderLine::Kind::Coloured, *colour};
}

std::size_t mix(std::size_t seed, std::size_t value)
{
    return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

std::size_t hashColour(const OptColour& c)
{
    return c ? (std::size_t{1} << 24 | std::size_t{c->r} << 16 | std::size_t{c->g} << 8 | c->b) : 0;
}

std::size_t hashLine(const BorderLine& l)
{
    return static_cast<std::size_t>(l.kind) << 24 | std::size_t{l.colour.r} << 16 | std::size_t{l.colour.g} << 8 |
           l.colour.b;
}

}  // namespace

std::size_t ResultGrid::StyleHash::operator()(const CellStyle& s) const
{
    std::size_t h = hashColour(s.text);
    h = mix(h, hashColour(s.back));
    h = mix(h, static_cast<std::size_t>(s.hAlign) | static_cast<std::size_t>(s.vAlign) << 2 |
                   static_cast<std::size_t>(s.kind) << 4 | static_cast<std::size_t>(s.numericOnly) << 5);
    h = mix(h, hashLine(s.left));
    h = mix(h, hashLine(s.top));
    h = mix(h, hashLine(s.right));
    h = mix(h, hashLine(s.bottom));
    return h;
}

ResultGrid::ResultGrid()
{
    texts_.emplace_back();
    styles_.emplace_back();
    styleIds_.emplace(CellStyle{}, 0);
}

void ResultGrid::setSize(int columns, int rows)
{
    columns = std::max(columns, 0);
    rows = std::max(rows, 0);
    if (static_cast<long long>(columns) * rows > 64LL * 1024 * 1024)
        throw std::length_error("ResultGrid: table too large");
    applyPendingStyles();
    LazyCellTable text(columns, rows);
    LazyCellTable style(columns, rows);
    const int keptColumns = std::min(columns, columns_);
    const int keptRows = std::min({rows, rows_, std::max(cellText_.rowsReached(), cellStyle_.rowsReached())});
    for (int r = 0; r < keptRows; ++r) {
        std::uint32_t* textRow = text.row(r);
        std::uint32_t* styleRow = style.row(r);
        for (int c = 0; c < keptColumns; ++c) {
            textRow[c] = cellText_.get(r, c);
            styleRow[c] = cellStyle_.get(r, c);
        }
    }
    cellText_ = std::move(text);
    cellStyle_ = std::move(style);
    columnWidths_.resize(columns, kDefaultColumnWidth);
    rowHeights_.resize(rows, kDefaultRowHeight);
    columns_ = columns;
    rows_ = rows;
}

void ResultGrid::setVisibleSize(int columns, int rows)
{
    visibleColumns_ = std::max(columns, 0);
    visibleRows_ = std::max(rows, 0);
}

void ResultGrid::showBuiltInHeaders(bool columnLetters, bool rowNumbers)
{
    columnLetters_ = columnLetters;
    rowNumbers_ = rowNumbers;
}

void ResultGrid::setScrollBars(ScrollBars bars, bool onlyWhenNeeded)
{
    scrollBars_ = bars;
    scrollBarsWhenNeeded_ = onlyWhenNeeded;
}

void ResultGrid::setFrozen(int columns, int rows)
{
    frozenColumns_ = std::max(columns, 0);
    frozenRows_ = std::max(rows, 0);
}

void ResultGrid::setColumnWidth(int column, int width)
{
    if (column == -1)
        std::fill(columnWidths_.begin(), columnWidths_.end(), width);
    else if (column >= 1 && column <= columns_)
        columnWidths_[column - 1] = width;
}

void ResultGrid::setRowHeight(int row, int height)
{
    if (row == -1)
        std::fill(rowHeights_.begin(), rowHeights_.end(), height);
    else if (row >= 1 && row <= rows_)
        rowHeights_[row - 1] = height;
}

void ResultGrid::setActiveCell(int column, int row)
{
    activeColumn_ = column;
    activeRow_ = row;
}

int ResultGrid::columnWidth(int column) const
{
    return column >= 1 && column <= columns_ ? columnWidths_[column - 1] : 0;
}

int ResultGrid::rowHeight(int row) const
{
    return row >= 1 && row <= rows_ ? rowHeights_[row - 1] : 0;
}

CellRange ResultGrid::resolve(Block b) const
{
    CellRange r;
    r.col1 = b.col1 == -1 ? 1 : std::max(b.col1, 1);
    r.col2 = (b.col1 == -1 || b.col2 == -1) ? columns_ : std::min(b.col2, columns_);
    r.row1 = b.row1 == -1 ? 1 : std::max(b.row1, 1);
    r.row2 = (b.row1 == -1 || b.row2 == -1) ? rows_ : std::min(b.row2, rows_);
    return r;
}

std::uint32_t ResultGrid::internStyle(const CellStyle& style) const
{
    auto it = styleIds_.find(style);
    if (it != styleIds_.end())
        return it->second;
    const auto id = static_cast<std::uint32_t>(styles_.size());
    styles_.push_back(style);
    styleIds_.emplace(style, id);
    return id;
}

std::size_t ResultGrid::hashText(std::string_view text)
{
    std::uint64_t h = 14695981039346656037ULL;  // FNV-1a
    for (unsigned char ch : text) {
        h ^= ch;
        h *= 1099511628211ULL;
    }
    return static_cast<std::size_t>(h ^ (h >> 29));
}

// A slot holds the upper half of the text's hash and its id (0: free), so
// that a probe compares texts only when their hashes agree.
void ResultGrid::growTextIndex()
{
    std::vector<TextSlot> slots(std::max<std::size_t>(64, textSlots_.size() * 2));
    const std::size_t mask = slots.size() - 1;
    for (const TextSlot& slot : textSlots_) {
        const auto id = static_cast<std::uint32_t>(slot.tagAndId);
        if (id == 0)
            continue;
        std::size_t i = hashText(texts_[id]) & mask;
        while (slots[i].tagAndId != 0)
            i = (i + 1) & mask;
        slots[i] = slot;
    }
    textSlots_ = std::move(slots);
}

std::uint32_t ResultGrid::internText(std::string_view text)
{
    if (text.empty())
        return 0;
    // Texts come in runs (the same mark row after row): the last one is
    // checked before the index.
    if (lastTextId_ != 0 && texts_[lastTextId_] == text)
        return lastTextId_;
    lastTextId_ = findOrAddText(text);
    return lastTextId_;
}

std::uint32_t ResultGrid::findOrAddText(std::string_view text)
{
    if ((indexedTexts_ + 1) * 2 > textSlots_.size())
        growTextIndex();
    const std::size_t mask = textSlots_.size() - 1;
    const std::size_t hash = hashText(text);
    const std::uint64_t tag = static_cast<std::uint64_t>(hash) >> 32 << 32;
    const bool isShort = text.size() <= TextSlot::kShort;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        TextSlot& slot = textSlots_[i];
        const auto id = static_cast<std::uint32_t>(slot.tagAndId);
        if (id == 0) {
            const auto added = static_cast<std::uint32_t>(texts_.size());
            texts_.emplace_back(text);
            slot.tagAndId = tag | added;
            slot.size = static_cast<std::uint8_t>(isShort ? text.size() : TextSlot::kShort + 1);
            if (isShort)
                std::memcpy(slot.bytes, text.data(), text.size());
            ++indexedTexts_;
            return added;
        }
        if ((slot.tagAndId & ~std::uint64_t{0xffffffff}) != tag)
            continue;
        if (isShort ? slot.size == text.size() && std::memcmp(slot.bytes, text.data(), text.size()) == 0
                    : slot.size > TextSlot::kShort && texts_[id] == text)
            return id;
    }
}

inline std::uint64_t ResultGrid::StyleChange::key() const
{
    enum : std::uint64_t { kKindChange = 1, kAlignChange, kTextChange, kBackChange, kBorderChange };
    const auto colourKey = [](const OptColour& c) {
        return c ? (std::uint64_t{1} << 24 | std::uint64_t{c->r} << 16 | std::uint64_t{c->g} << 8 | c->b)
                 : std::uint64_t{0};
    };
    switch (what) {
        case What::Kind:
            return kKindChange << 56 | static_cast<std::uint64_t>(kind) << 1 | (numericOnly ? 1 : 0);
        case What::Alignment:
            return kAlignChange << 56 | static_cast<std::uint64_t>(hAlign) << 8 | static_cast<std::uint64_t>(vAlign);
        case What::TextColour:
            return kTextChange << 56 | colourKey(colour);
        case What::BackColour:
            return kBackChange << 56 | colourKey(colour);
        case What::Border:
            return kBorderChange << 56 | static_cast<std::uint64_t>(sides) << 32 | colourKey(colour);
    }
    return 0;
}

void ResultGrid::StyleChange::applyTo(CellStyle& s, int position) const
{
    switch (what) {
        case What::Kind:
            s.kind = kind;
            s.numericOnly = numericOnly;
            return;
        case What::Alignment:
            s.hAlign = hAlign;
            s.vAlign = vAlign;
            return;
        case What::TextColour:
            s.text = colour;
            return;
        case What::BackColour:
            s.back = colour;
            return;
        case What::Border:
            break;
    }
    const BorderLine line = lineOf(colour);
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
            if (position & 1)
                s.left = line;
            if (position & 2)
                s.right = line;
            if (position & 4)
                s.top = line;
            if (position & 8)
                s.bottom = line;
            break;
        case BorderSides::None:
            s.left = s.top = s.right = s.bottom = BorderLine{};
            break;
    }
}

int ResultGrid::positionIn(const CellRange& range, int column, int row)
{
    return (column == range.col1 ? 1 : 0) | (column == range.col2 ? 2 : 0) | (row == range.row1 ? 4 : 0) |
           (row == range.row2 ? 8 : 0);
}

// The style `from` after `change` at `position` in its block, interned.
inline std::uint32_t ResultGrid::restyled(std::uint32_t from, const StyleChange& change, std::uint64_t changeKey,
                                          int position) const
{
    const std::uint64_t mixed =
        (changeKey ^ (std::uint64_t{from} << 32 | static_cast<std::uint64_t>(position))) * 0x9e3779b97f4a7c15ULL;
    RestyleEntry& entry = restyleCache_[mixed >> 56];
    if (entry.change == changeKey && entry.from == from && entry.position == position)
        return entry.to;
    return restyledAfresh(entry, from, change, changeKey, position);
}

std::uint32_t ResultGrid::restyledAfresh(RestyleEntry& entry, std::uint32_t from, const StyleChange& change,
                                         std::uint64_t changeKey, int position) const
{
    CellStyle s = styles_[from];
    change.applyTo(s, position);
    const std::uint32_t to = internStyle(s);
    entry = RestyleEntry{changeKey, from, to, position};
    return to;
}

// A change to one row is made at once while nothing waits before it; a
// change to several rows waits for the pass that applies them all.
void ResultGrid::changeStyle(Block block, const StyleChange& change)
{
    // One cell, the commonest change while a table is filled.
    if (block.col1 == block.col2 && block.row1 == block.row2 && inTable(block.col1, block.row1) && pending_.empty()) {
        std::uint32_t& id = cellStyle_.row(block.row1 - 1)[block.col1 - 1];
        id = restyled(id, change, change.key(), change.byPosition() ? kWholeBlock : 0);
        return;
    }
    const CellRange range = resolve(block);
    if (range.empty())
        return;
    if (range.row1 == range.row2 && pending_.empty()) {
        restyleNow(range, change);
        return;
    }
    pending_.push_back(PendingChange{range, change});
    if (pending_.size() >= kMostPending)
        applyPendingStyles();
}

// Applies `change` to every cell of the range. The result for each source
// style (and position, where it matters) is found once and remembered, so
// the work per cell is one table look-up.
void ResultGrid::restyleNow(const CellRange& range, const StyleChange& change)
{
    const std::uint64_t changeKey = change.key();
    const bool byPosition = change.byPosition();
    if (range.col1 == range.col2 && range.row1 == range.row2) {
        std::uint32_t& id = cellStyle_.row(range.row1 - 1)[range.col1 - 1];
        id = restyled(id, change, changeKey, byPosition ? positionIn(range, range.col1, range.row1) : 0);
        return;
    }
    constexpr std::uint32_t kUnset = UINT32_MAX;
    const std::size_t keys = byPosition ? kPositions : 1;
    // Every source id predates this call: each cell is visited once.
    restyleMemo_.assign(styles_.size() * keys, kUnset);
    for (int r = range.row1; r <= range.row2; ++r) {
        std::uint32_t* cells = cellStyle_.row(r - 1) + (range.col1 - 1);
        for (int c = range.col1; c <= range.col2; ++c) {
            const int key = byPosition ? positionIn(range, c, r) : 0;
            std::uint32_t& id = cells[c - range.col1];
            std::uint32_t& to = restyleMemo_[id * keys + static_cast<std::size_t>(key)];
            if (to == kUnset)
                to = restyled(id, change, changeKey, key);
            id = to;
        }
    }
}

// The pending changes, applied row by row in the order they were made.
// The table is cut into runs of rows that the same changes cover, the
// first and last row of an outline each a run of its own (it treats them
// apart). Within a run a row whose styles equal the row before, as
// they were before the pass, ends as that row ended: it is copied.
void ResultGrid::applyPendingStyles() const
{
    if (pending_.empty())
        return;
    std::vector<PendingChange> changes;
    changes.swap(pending_);

    std::vector<int> cuts;
    cuts.reserve(changes.size() * 4);
    for (const PendingChange& p : changes) {
        cuts.push_back(p.range.row1);
        cuts.push_back(p.range.row2 + 1);
        if (p.change.byPosition()) {
            cuts.push_back(p.range.row1 + 1);
            cuts.push_back(p.range.row2);
        }
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());

    struct Active {
        const PendingChange* pending;
        std::uint64_t key;
        std::vector<std::uint32_t>* memo;
    };
    constexpr std::uint32_t kUnset = UINT32_MAX;
    std::vector<std::vector<std::uint32_t>> memos(changes.size());
    std::vector<Active> active;
    const auto width = static_cast<std::size_t>(columns_);
    std::vector<std::uint32_t> rowBefore(width);
    const int reachedBefore = cellStyle_.rowsReached();

    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        const int first = cuts[i];
        const int last = cuts[i + 1] - 1;
        active.clear();
        for (std::size_t k = 0; k < changes.size(); ++k)
            if (changes[k].range.row1 <= first && changes[k].range.row2 >= last)
                active.push_back(Active{&changes[k], changes[k].change.key(), &memos[k]});
        if (active.empty())
            continue;
        for (int r = first; r <= last; ++r) {
            // Rows not stored before the pass were all of the default style.
            if (r > first && r - 1 > reachedBefore) {
                std::uint32_t* row = cellStyle_.rowToOverwrite(r - 1);
                std::copy(row - width, row, row);
                continue;
            }
            std::uint32_t* row = cellStyle_.row(r - 1);
            if (r > first && std::equal(row, row + width, rowBefore.begin())) {
                std::copy(row - width, row, row);
                continue;
            }
            std::copy(row, row + width, rowBefore.begin());
            for (const Active& a : active) {
                const CellRange& range = a.pending->range;
                const StyleChange& change = a.pending->change;
                const bool byPosition = change.byPosition();
                const std::size_t keys = byPosition ? kPositions : 1;
                std::vector<std::uint32_t>& memo = *a.memo;
                for (int c = range.col1; c <= range.col2; ++c) {
                    std::uint32_t& id = row[c - 1];
                    const int key = byPosition ? positionIn(range, c, r) : 0;
                    const std::size_t slot = id * keys + static_cast<std::size_t>(key);
                    if (slot >= memo.size())
                        memo.resize(std::max(slot + 1, styles_.size() * keys), kUnset);
                    if (memo[slot] == kUnset)
                        memo[slot] = restyled(id, change, a.key, key);
                    id = memo[slot];
                }
            }
        }
    }
}

void ResultGrid::setCellKind(Block block, CellKind kind, bool numericOnly)
{
    StyleChange change;
    change.what = StyleChange::What::Kind;
    change.kind = kind;
    change.numericOnly = numericOnly;
    changeStyle(block, change);
}

void ResultGrid::setAlignment(Block block, HAlign h, VAlign v)
{
    StyleChange change;
    change.what = StyleChange::What::Alignment;
    change.hAlign = h;
    change.vAlign = v;
    changeStyle(block, change);
}

void ResultGrid::setTextColour(Block block, OptColour colour)
{
    StyleChange change;
    change.what = StyleChange::What::TextColour;
    change.colour = colour;
    changeStyle(block, change);
}

void ResultGrid::setBackColour(Block block, OptColour colour)
{
    StyleChange change;
    change.what = StyleChange::What::BackColour;
    change.colour = colour;
    changeStyle(block, change);
}

void ResultGrid::setBorder(Block block, BorderSides sides, OptColour colour)
{
    StyleChange change;
    change.what = StyleChange::What::Border;
    change.sides = sides;
    change.colour = colour;
    changeStyle(block, change);
}

void ResultGrid::setText(int column, int row, std::string_view text)
{
    if (!inTable(column, row))
        return;
    cellText_.row(row - 1)[column - 1] = internText(text);
}

void ResultGrid::setText(int column, int row, SharedText text)
{
    if (inTable(column, row) && text.id < texts_.size())
        cellText_.row(row - 1)[column - 1] = text.id;
}

// Draw numbers, counts and digits are written many times over: a small
// number is kept in its cell as the number itself, and its text is made
// only when it is read (the screen reads the few rows it shows). These
// texts stay out of the text index, which then holds the few distinct
// words and stays small and quick.
void ResultGrid::setText(int column, int row, long number)
{
    if (!inTable(column, row))
        return;
    if (number < 0 || number > static_cast<long>(kLargestKeptNumber)) {
        setNumberAsText(column, row, number);
        return;
    }
    cellText_.row(row - 1)[column - 1] = kNumberText | static_cast<std::uint32_t>(number);
}

void ResultGrid::setNumberAsText(int column, int row, long number)
{
    setText(column, row, std::to_string(number));
}

const std::string& ResultGrid::getText(int column, int row) const
{
    if (!inTable(column, row))
        return kEmpty;
    const std::uint32_t id = cellText_.get(row - 1, column - 1);
    if (id & kNumberText)
        return numberText(id & ~kNumberText);
    return texts_[id];
}

std::optional<long> ResultGrid::numberAt(int column, int row) const
{
    if (!inTable(column, row))
        return std::nullopt;
    const std::uint32_t id = cellText_.get(row - 1, column - 1);
    if (!(id & kNumberText))
        return std::nullopt;
    return static_cast<long>(id & ~kNumberText);
}

// The text of a number kept in its cell, made on first reading; its
// address stays the same for the grid's life.
const std::string& ResultGrid::numberText(std::uint32_t number) const
{
    auto [it, added] = numberTexts_.try_emplace(number);
    if (added)
        it->second = std::to_string(number);
    return it->second;
}

bool ResultGrid::hasText(int column, int row) const
{
    return inTable(column, row) && cellText_.get(row - 1, column - 1) != 0;
}

void ResultGrid::clearText(Block block)
{
    const CellRange range = resolve(block);
    if (range.empty())
        return;
    // Rows not stored yet are empty already.
    const int lastStored = std::min(range.row2, cellText_.rowsReached());
    for (int r = range.row1; r <= lastStored; ++r)
        std::fill_n(cellText_.row(r - 1) + (range.col1 - 1), range.col2 - range.col1 + 1, 0u);
}

const CellStyle& ResultGrid::style(int column, int row) const
{
    if (!inTable(column, row))
        return styles_[0];
    applyPendingStyles();
    return styles_[cellStyle_.get(row - 1, column - 1)];
}

int ResultGrid::lastDataRow() const
{
    for (int r = std::min(rows_, cellText_.rowsReached()); r >= 1; --r)
        for (int c = 0; c < columns_; ++c)
            if (cellText_.get(r - 1, c) != 0)
                return r;
    return 0;
}

std::size_t ResultGrid::cellStorageBytes() const
{
    applyPendingStyles();
    std::size_t bytes = cellText_.bytes() + cellStyle_.bytes();
    for (const auto& t : texts_)
        bytes += sizeof(std::string) + (t.capacity() > 15 ? t.capacity() : 0);
    bytes += textSlots_.capacity() * sizeof(TextSlot);
    bytes += styles_.capacity() * sizeof(CellStyle);
    bytes += styleIds_.size() * (sizeof(CellStyle) + sizeof(std::uint32_t) + 2 * sizeof(void*));
    bytes += (columnWidths_.capacity() + rowHeights_.capacity()) * sizeof(int);
    bytes += numberTexts_.size() * (sizeof(std::uint32_t) + sizeof(std::string) + 2 * sizeof(void*));
    bytes += restyleMemo_.capacity() * sizeof(std::uint32_t);
    return bytes;
}

}  // namespace rumone
