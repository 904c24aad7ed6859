// The table model that every view draws with.
//
// Cells are addressed by column and row from 1. In a block, -1 as the first
// column (row) stands for all columns (rows); -1 as the last column (row)
// runs to the end of the table. A block that reaches beyond the table is cut
// at its edge. Formatting applies to blocks; where blocks overlap the later
// setting wins.
//
// Storage is two 32-bit ids per cell: a text id into a de-duplicated text
// pool and a style id into a table of interned styles. A block operation
// therefore touches one integer per cell and allocates nothing per cell.
//
// Formatting of blocks that span several rows is kept as a list of pending
// changes and applied in one pass down the table when a style is first
// read: the long column bands of a view then cost one walk over the rows,
// and a run of rows that look alike before the changes is worked out once
// and copied. What a reader sees is the same as if each change had been
// applied at once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/grid/LazyCellTable.h"

namespace rumone {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

constexpr Rgb rgb(int r, int g, int b)
{
    return Rgb{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)};
}

// A colour, or nothing for the widget's default.
using OptColour = std::optional<Rgb>;

enum class CellKind : std::uint8_t { StaticText, EditText };
enum class HAlign : std::uint8_t { Left, Centre, Right };
enum class VAlign : std::uint8_t { Top, Centre, Bottom };
enum class ScrollBars : std::uint8_t { None, Horizontal, Vertical, Both };
enum class EnterAction : std::uint8_t { None, NextCell };

// Which lines setBorder draws (or removes, for None).
enum class BorderSides : std::uint8_t {
    All,        // all four sides of every cell of the block
    Left,       // left side of every cell
    Right,      // right side of every cell
    Bottom,     // bottom side of every cell
    TopBottom,  // top and bottom of every cell
    Outline,    // the outline of the block as a whole
    None,       // removes every line of every cell of the block
};

// One side of a cell: no line, a line in the widget's default line colour,
// or a line in a colour of its own. Every line is solid and single.
struct BorderLine {
    enum class Kind : std::uint8_t { None, Default, Coloured };
    Kind kind = Kind::None;
    Rgb colour{};
    friend bool operator==(const BorderLine&, const BorderLine&) = default;
};

struct CellStyle {
    OptColour text;  // text colour, nullopt for the default
    OptColour back;  // background, nullopt for the default
    HAlign hAlign = HAlign::Left;
    VAlign vAlign = VAlign::Centre;
    BorderLine left, top, right, bottom;
    CellKind kind = CellKind::StaticText;
    bool numericOnly = false;
    friend bool operator==(const CellStyle&, const CellStyle&) = default;
};

// A rectangle of cells (see the header comment for -1 and cutting).
struct Block {
    int col1, row1, col2, row2;
    static constexpr Block cell(int col, int row) { return {col, row, col, row}; }
    static constexpr Block columns(int col1, int col2) { return {col1, -1, col2, -1}; }
    static constexpr Block rows(int row1, int row2) { return {-1, row1, -1, row2}; }
    static constexpr Block allCells() { return {-1, -1, -1, -1}; }
};

// A block after -1 expansion and cutting; empty when nothing is left.
struct CellRange {
    int col1 = 1, row1 = 1, col2 = 0, row2 = 0;
    bool empty() const { return col1 > col2 || row1 > row2; }
};

class ResultGrid {
public:
    static constexpr int kDefaultColumnWidth = 9;  // characters
    static constexpr int kDefaultRowHeight = 10;   // row-height units

    ResultGrid();

    // --- layout
    void setSize(int columns, int rows);
    void setVisibleSize(int columns, int rows);
    void setAutoSize(bool on) { autoSize_ = on; }
    void showBuiltInHeaders(bool columnLetters, bool rowNumbers);
    void setScrollBars(ScrollBars bars, bool onlyWhenNeeded);
    void setFrozen(int columns, int rows);
    void setColumnWidth(int column, int width);  // column or -1
    void setRowHeight(int row, int height);      // row or -1
    void setEnterAction(EnterAction action) { enterAction_ = action; }
    void restrictToDataRows(bool on) { restrictToDataRows_ = on; }
    void setOverflow(bool on) { overflow_ = on; }
    void setActiveCell(int column, int row);  // (0, 0): no data cell current
    // The column whose cells below the frozen rows hold draw numbers,
    // written as numbers, one draw a row in draw order; 0 for none.
    void setDrawColumn(int column) { drawColumn_ = column; }

    // --- formatting of blocks
    void setCellKind(Block block, CellKind kind, bool numericOnly = false);
    void setAlignment(Block block, HAlign h, VAlign v);
    void setTextColour(Block block, OptColour colour);
    void setBackColour(Block block, OptColour colour);
    void setBorder(Block block, BorderSides sides, OptColour colour);  // nullopt: default line colour

    // --- texts
    void setText(int column, int row, std::string_view text);
    void setText(int column, int row, long number);  // plain decimal form
    const std::string& getText(int column, int row) const;
    void clearText(Block block);
    // A text kept once and then written to many cells by reference: a view
    // that writes the same texts over and over shares each one first.
    struct SharedText {
        std::uint32_t id = 0;
    };
    SharedText shareText(std::string_view text) { return SharedText{internText(text)}; }
    void setText(int column, int row, SharedText text);

    // --- reading back (widget, dump, tests)
    int columns() const { return columns_; }
    int rows() const { return rows_; }
    int visibleColumns() const { return visibleColumns_; }
    int visibleRows() const { return visibleRows_; }
    int frozenColumns() const { return frozenColumns_; }
    int frozenRows() const { return frozenRows_; }
    bool autoSize() const { return autoSize_; }
    bool columnLettersShown() const { return columnLetters_; }
    bool rowNumbersShown() const { return rowNumbers_; }
    ScrollBars scrollBarsShown() const { return scrollBars_; }
    bool scrollBarsOnlyWhenNeeded() const { return scrollBarsWhenNeeded_; }
    EnterAction enterKeyAction() const { return enterAction_; }
    bool restrictedToDataRows() const { return restrictToDataRows_; }
    bool overflow() const { return overflow_; }
    int activeColumn() const { return activeColumn_; }
    int activeRow() const { return activeRow_; }
    int drawColumn() const { return drawColumn_ >= 1 && drawColumn_ <= columns_ ? drawColumn_ : 0; }
    // The number a cell was written with by setText(column, row, number);
    // nullopt for a cell written with a text (or a number kept as one).
    std::optional<long> numberAt(int column, int row) const;
    int columnWidth(int column) const;
    int rowHeight(int row) const;
    const CellStyle& style(int column, int row) const;
    bool hasText(int column, int row) const;
    // The last row that holds any text (0 when none): the limit of the
    // current cell when movement is restricted to rows with data.
    int lastDataRow() const;

    // -1 expansion and cutting, as every block operation applies it.
    CellRange resolve(Block block) const;

    // Memory held by the cell storage, for the benchmarks.
    std::size_t cellStorageBytes() const;
    std::size_t distinctStyles() const
    {
        applyPendingStyles();
        return styles_.size();
    }

private:
    friend class CopiedBlock;  // reads the cell ids and pools as they stand

    bool inTable(int column, int row) const { return column >= 1 && column <= columns_ && row >= 1 && row <= rows_; }

    // One formatting operation as data: what it changes and to what.
    struct StyleChange {
        enum class What : std::uint8_t { Kind, Alignment, TextColour, BackColour, Border };
        What what = What::Kind;
        CellKind kind = CellKind::StaticText;
        bool numericOnly = false;
        HAlign hAlign = HAlign::Left;
        VAlign vAlign = VAlign::Centre;
        OptColour colour;
        BorderSides sides = BorderSides::All;
        // An outline changes a cell by where it lies in the block.
        bool byPosition() const { return what == What::Border && sides == BorderSides::Outline; }
        // The change in one number, for the cache of style changes.
        std::uint64_t key() const;
        void applyTo(CellStyle& style, int position) const;
    };
    struct PendingChange {
        CellRange range;
        StyleChange change;
    };
    // Where a cell lies in a block, as an outline needs it: bit 0 first
    // column, 1 last column, 2 first row, 3 last row.
    static int positionIn(const CellRange& range, int column, int row);
    static constexpr std::size_t kPositions = 16;
    static constexpr int kWholeBlock = 15;  // a block of one cell: every edge
    static constexpr std::size_t kMostPending = 64;

    void changeStyle(Block block, const StyleChange& change);
    void restyleNow(const CellRange& range, const StyleChange& change);
    void applyPendingStyles() const;
    std::uint32_t internStyle(const CellStyle& style) const;
    std::uint32_t internText(std::string_view text);
    std::uint32_t findOrAddText(std::string_view text);

    struct StyleHash {
        std::size_t operator()(const CellStyle& s) const;
    };
    static std::size_t hashText(std::string_view text);
    void growTextIndex();

    int columns_ = 0, rows_ = 0;
    int visibleColumns_ = 0, visibleRows_ = 0;
    int frozenColumns_ = 0, frozenRows_ = 0;
    bool autoSize_ = false;
    bool columnLetters_ = true, rowNumbers_ = true;
    ScrollBars scrollBars_ = ScrollBars::Both;
    bool scrollBarsWhenNeeded_ = false;
    EnterAction enterAction_ = EnterAction::None;
    bool restrictToDataRows_ = false;
    bool overflow_ = false;
    int activeColumn_ = 1, activeRow_ = 1;
    int drawColumn_ = 0;

    std::vector<int> columnWidths_;  // index 0 = column 1
    std::vector<int> rowHeights_;
    LazyCellTable cellText_;  // 0 = empty
    // The style members change on reading too, when pending changes are
    // applied; what they describe does not.
    mutable LazyCellTable cellStyle_;  // index into styles_
    mutable std::vector<PendingChange> pending_;
    std::vector<std::string> texts_;  // texts_[0] is ""
    // Open-addressing index of texts_ by content, at most half full: each
    // slot a text id (0 for a free slot) under the upper half of its hash,
    // with a copy of the text where it is short, so that finding a short
    // text again reads the slot alone.
    struct TextSlot {
        static constexpr std::size_t kShort = 22;
        std::uint64_t tagAndId = 0;
        std::uint8_t size = 0;  // kShort + 1: long, compare with texts_
        char bytes[kShort + 1] = {};
    };
    std::vector<TextSlot> textSlots_;
    std::size_t indexedTexts_ = 0;
    std::uint32_t lastTextId_ = 0;  // the text found or added last
    // A cell text id with this bit set is a number kept as itself (up to
    // kLargestKeptNumber); its text is made when read.
    static constexpr std::uint32_t kNumberText = 0x80000000u;
    static constexpr std::uint32_t kLargestKeptNumber = 0xffffff;
    const std::string& numberText(std::uint32_t number) const;
    void setNumberAsText(int column, int row, long number);  // a number too large or negative to keep
    mutable std::unordered_map<std::uint32_t, std::string> numberTexts_;
    mutable std::vector<CellStyle> styles_;  // styles_[0] is the default style
    mutable std::unordered_map<CellStyle, std::uint32_t, StyleHash> styleIds_;
    std::vector<std::uint32_t> restyleMemo_;  // working table of restyleNow
    // Recent style changes: style ids never change their meaning, so an
    // entry stays true for the life of the table.
    struct RestyleEntry {
        std::uint64_t change = 0;
        std::uint32_t from = UINT32_MAX, to = 0;
        int position = -1;
    };
    mutable std::vector<RestyleEntry> restyleCache_ = std::vector<RestyleEntry>(256);
    std::uint32_t restyled(std::uint32_t from, const StyleChange& change, std::uint64_t changeKey, int position) const;
    std::uint32_t restyledAfresh(RestyleEntry& entry, std::uint32_t from, const StyleChange& change,
                                 std::uint64_t changeKey, int position) const;
};

}  // namespace rumone
