// The table model: blocks, formatting, texts and the text dump.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/grid/GridDump.h"
#include "core/grid/ResultGrid.h"

namespace rumone {
namespace {

constexpr Rgb kRed = rgb(255, 0, 0);
constexpr Rgb kBlue = rgb(0, 0, 255);
constexpr Rgb kYellow = rgb(255, 255, 200);

bool coloured(const ResultGrid& g, int c, int r, Rgb colour)
{
    return g.style(c, r).back == OptColour(colour);
}

TEST(ResultGridBlocks, MinusOneMeansAllAndBlocksAreCutAtTheEdge)
{
    ResultGrid g;
    g.setSize(4, 6);
    const CellRange all = g.resolve(Block::allCells());
    EXPECT_EQ(all.col1, 1);
    EXPECT_EQ(all.col2, 4);
    EXPECT_EQ(all.row1, 1);
    EXPECT_EQ(all.row2, 6);
    // -1 as the last row runs to the end; a last row past the end is cut.
    const CellRange toEnd = g.resolve({2, 3, 3, -1});
    EXPECT_EQ(toEnd.row2, 6);
    const CellRange cut = g.resolve({2, 5, 9, 100});
    EXPECT_EQ(cut.col2, 4);
    EXPECT_EQ(cut.row2, 6);
    EXPECT_TRUE(g.resolve({1, 7, 4, 9}).empty()) << "wholly outside";

    g.setBackColour({3, 5, 3, 40}, kYellow);
    EXPECT_FALSE(coloured(g, 3, 4, kYellow));
    EXPECT_TRUE(coloured(g, 3, 5, kYellow));
    EXPECT_TRUE(coloured(g, 3, 6, kYellow));
    EXPECT_FALSE(coloured(g, 4, 6, kYellow));

    g.setTextColour(Block::columns(2, 2), kRed);
    for (int r = 1; r <= 6; ++r)
        EXPECT_EQ(g.style(2, r).text, OptColour(kRed));
    EXPECT_EQ(g.style(1, 1).text, std::nullopt);

    g.setBackColour(Block::rows(2, 2), kBlue);
    for (int c = 1; c <= 4; ++c)
        EXPECT_TRUE(coloured(g, c, 2, kBlue));
    EXPECT_FALSE(coloured(g, 1, 3, kBlue));
}

TEST(ResultGridBlocks, LaterSettingWinsWhereBlocksOverlap)
{
    ResultGrid g;
    g.setSize(5, 5);
    g.setBackColour(Block::allCells(), kYellow);
    g.setBackColour({2, 2, 4, 4}, kRed);
    g.setBackColour({4, 4, 5, 5}, kBlue);
    g.setAlignment({1, 1, 3, 3}, HAlign::Left, VAlign::Top);
    EXPECT_TRUE(coloured(g, 1, 1, kYellow));
    EXPECT_TRUE(coloured(g, 3, 3, kRed));
    EXPECT_TRUE(coloured(g, 4, 4, kBlue));
    EXPECT_TRUE(coloured(g, 5, 5, kBlue));
    EXPECT_TRUE(coloured(g, 4, 2, kRed));
    // Other properties of the overlapped cells are untouched.
    EXPECT_EQ(g.style(3, 3).hAlign, HAlign::Left);
    EXPECT_EQ(g.style(4, 4).hAlign, HAlign::Left) << "default alignment";
    g.setBackColour({3, 3, 3, 3}, std::nullopt);
    EXPECT_EQ(g.style(3, 3).back, std::nullopt);
}

// The sides setBorder gives cell (c, r) of `range`, read from a grid of at
// most 3 x 3 cells whose block has the same corners, edges and middle: a side
// the change leaves alone keeps a marker colour no test change uses.
constexpr Rgb kUntouched = rgb(1, 2, 3);
CellStyle drawnSides(const CellRange& range, int c, int r, BorderSides sides, OptColour colour)
{
    const int width = std::min(range.col2 - range.col1 + 1, 3), height = std::min(range.row2 - range.row1 + 1, 3);
    ResultGrid small;
    small.setSize(width, height);
    small.setBorder(Block::allCells(), BorderSides::All, kUntouched);
    small.setBorder(Block::allCells(), sides, colour);
    const int smallColumn = c == range.col1 ? 1 : c == range.col2 ? width : 2;
    const int smallRow = r == range.row1 ? 1 : r == range.row2 ? height : 2;
    return small.style(smallColumn, smallRow);
}

void takeDrawnSides(CellStyle& s, const CellStyle& drawn)
{
    const BorderLine untouched{BorderLine::Kind::Coloured, kUntouched};
    for (auto side : {&CellStyle::left, &CellStyle::top, &CellStyle::right, &CellStyle::bottom})
        if (drawn.*side != untouched)
            s.*side = drawn.*side;
}

// Formatting that waits for a pass down the table must read back as if
// each change had been made at once: random blocks of every shape and
// every kind of change, with reads and resizes between them, against a
// plain table of styles changed cell by cell.
TEST(ResultGridBlocks, FormattingReadsBackAsIfAppliedAtOnce)
{
    struct Model {
        int columns = 0, rows = 0;
        std::vector<CellStyle> cells;
        CellStyle& at(int c, int r) { return cells[static_cast<std::size_t>((r - 1) * columns + (c - 1))]; }
        void resize(int newColumns, int newRows)
        {
            std::vector<CellStyle> next(static_cast<std::size_t>(newColumns * newRows));
            for (int r = 1; r <= std::min(rows, newRows); ++r)
                for (int c = 1; c <= std::min(columns, newColumns); ++c)
                    next[static_cast<std::size_t>((r - 1) * newColumns + (c - 1))] = at(c, r);
            cells = std::move(next);
            columns = newColumns;
            rows = newRows;
        }
    };
    const std::vector<OptColour> colours = {std::nullopt, kRed, kBlue, kYellow};
    std::mt19937 random(20261208);
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };

    for (int round = 0; round < 40; ++round) {
        ResultGrid g;
        Model m;
        g.setSize(6, 30);
        m.resize(6, 30);
        for (int step = 0; step < 120; ++step) {
            // Mostly long column runs and single cells, as the views use them.
            const int shape = pick(4);
            int c1 = 1 + pick(m.columns), r1 = 1 + pick(m.rows);
            int c2 = shape == 0 ? c1 : c1 + pick(3), r2 = shape == 1 ? r1 : r1 + pick(m.rows);
            if (shape == 3)
                c2 = c1, r2 = r1;
            Block block{c1, r1, c2, r2};
            if (pick(8) == 0)
                block = {c1, r1, -1, -1};  // to the ends
            const CellRange range = g.resolve(block);
            const OptColour colour = colours[static_cast<std::size_t>(pick(4))];
            const int what = pick(6);
            const auto sides = static_cast<BorderSides>(pick(7));
            const HAlign h = static_cast<HAlign>(pick(3));
            switch (what) {
                case 0:
                    g.setBackColour(block, colour);
                    break;
                case 1:
                    g.setTextColour(block, colour);
                    break;
                case 2:
                    g.setAlignment(block, h, VAlign::Top);
                    break;
                case 3:
                    g.setCellKind(block, CellKind::EditText, true);
                    break;
                default:
                    g.setBorder(block, sides, colour);
            }
            // The same change on the plain table; a border as a small grid
            // draws it at the same place in a block of the same shape.
            for (int r = range.row1; r <= range.row2; ++r)
                for (int c = range.col1; c <= range.col2; ++c) {
                    CellStyle& s = m.at(c, r);
                    switch (what) {
                        case 0:
                            s.back = colour;
                            break;
                        case 1:
                            s.text = colour;
                            break;
                        case 2:
                            s.hAlign = h;
                            s.vAlign = VAlign::Top;
                            break;
                        case 3:
                            s.kind = CellKind::EditText;
                            s.numericOnly = true;
                            break;
                        default:
                            takeDrawnSides(s, drawnSides(range, c, r, sides, colour));
                    }
                }
            if (pick(30) == 0) {
                const int columns = 3 + pick(6), rows = 10 + pick(30);
                g.setSize(columns, rows);
                m.resize(columns, rows);
            }
            if (pick(20) != 0 && step != 119)
                continue;
            for (int r = 1; r <= m.rows; ++r)
                for (int c = 1; c <= m.columns; ++c) {
                    ASSERT_EQ(g.style(c, r), m.at(c, r))
                        << "round " << round << " step " << step << " cell " << c << "," << r;
                }
        }
    }
}

// The four sides of cell (c, r) as dump words, left top right bottom.
std::string sides(const ResultGrid& g, int c, int r)
{
    const CellStyle& s = g.style(c, r);
    return dumpBorder(s.left) + " " + dumpBorder(s.top) + " " + dumpBorder(s.right) + " " + dumpBorder(s.bottom);
}

TEST(ResultGridBorders, EachKindOnAThreeByThreeBlock)
{
    const Block block{2, 2, 4, 4};
    auto fresh = [] {
        ResultGrid g;
        g.setSize(5, 5);
        return g;
    };
    {
        ResultGrid g = fresh();
        g.setBorder(block, BorderSides::All, kRed);
        EXPECT_EQ(sides(g, 3, 3), "#ff0000 #ff0000 #ff0000 #ff0000");
        EXPECT_EQ(sides(g, 1, 1), "- - - -");
        EXPECT_EQ(sides(g, 5, 3), "- - - -") << "the neighbour keeps its own sides";
    }
    {
        ResultGrid g = fresh();
        g.setBorder(block, BorderSides::Left, std::nullopt);
        g.setBorder(block, BorderSides::Right, kBlue);
        EXPECT_EQ(sides(g, 2, 2), "default - #0000ff -");
        EXPECT_EQ(sides(g, 4, 4), "default - #0000ff -");
    }
    {
        ResultGrid g = fresh();
        g.setBorder(block, BorderSides::Bottom, kRed);
        EXPECT_EQ(sides(g, 3, 2), "- - - #ff0000");
        g.setBorder(block, BorderSides::TopBottom, kBlue);
        EXPECT_EQ(sides(g, 3, 3), "- #0000ff - #0000ff");
    }
    {
        ResultGrid g = fresh();
        g.setBorder(block, BorderSides::Outline, kRed);
        EXPECT_EQ(sides(g, 2, 2), "#ff0000 #ff0000 - -");
        EXPECT_EQ(sides(g, 3, 2), "- #ff0000 - -");
        EXPECT_EQ(sides(g, 4, 2), "- #ff0000 #ff0000 -");
        EXPECT_EQ(sides(g, 2, 3), "#ff0000 - - -");
        EXPECT_EQ(sides(g, 3, 3), "- - - -");
        EXPECT_EQ(sides(g, 4, 3), "- - #ff0000 -");
        EXPECT_EQ(sides(g, 2, 4), "#ff0000 - - #ff0000");
        EXPECT_EQ(sides(g, 3, 4), "- - - #ff0000");
        EXPECT_EQ(sides(g, 4, 4), "- - #ff0000 #ff0000");
    }
    {
        // Clearing a row of cells and drawing one outline round it, as the
        // title rows do.
        ResultGrid g = fresh();
        g.setBorder(Block::allCells(), BorderSides::All, std::nullopt);
        g.setBorder(block, BorderSides::None, std::nullopt);
        EXPECT_EQ(sides(g, 3, 3), "- - - -");
        EXPECT_EQ(sides(g, 2, 2), "- - - -");
        EXPECT_EQ(sides(g, 1, 1), "default default default default");
        g.setBorder({2, 2, 4, 2}, BorderSides::Outline, kBlue);
        EXPECT_EQ(sides(g, 3, 2), "- #0000ff - #0000ff");
    }
}

TEST(ResultGridTexts, ClearTextKeepsFormatting)
{
    ResultGrid g;
    g.setSize(3, 3);
    g.setBackColour(Block::allCells(), kYellow);
    g.setText(1, 1, "a");
    g.setText(2, 2, 42L);
    g.setText(3, 3, "c");
    EXPECT_EQ(g.getText(2, 2), "42");
    EXPECT_EQ(g.lastDataRow(), 3);
    g.clearText({2, 2, 3, -1});
    EXPECT_EQ(g.getText(1, 1), "a");
    EXPECT_FALSE(g.hasText(2, 2));
    EXPECT_EQ(g.getText(3, 3), "");
    EXPECT_TRUE(coloured(g, 3, 3, kYellow));
    EXPECT_EQ(g.lastDataRow(), 1);
    // Writing outside the table changes nothing and reads back empty.
    g.setText(4, 1, "x");
    EXPECT_EQ(g.getText(4, 1), "");
}

// The cells are cleared only as writing reaches their rows: whatever order
// rows are written, cleared and resized in, every cell reads back as a
// plain table of strings would.
TEST(ResultGridTexts, WritesInAnyRowOrderReadBackAsAPlainTable)
{
    std::mt19937 random(20261209);
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    for (int round = 0; round < 30; ++round) {
        ResultGrid g;
        int columns = 2 + pick(5), rows = 5 + pick(60);
        std::vector<std::vector<std::string>> m(static_cast<std::size_t>(rows),
                                                std::vector<std::string>(static_cast<std::size_t>(columns)));
        g.setSize(columns, rows);
        const ResultGrid::SharedText shared = g.shareText("●");
        for (int step = 0; step < 80; ++step) {
            const int c = 1 + pick(columns), r = 1 + pick(rows);
            std::string& cell = m[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(c - 1)];
            switch (pick(6)) {
                case 0: {
                    const long n = pick(3) == 0 ? -pick(50) : pick(100000);
                    g.setText(c, r, n);
                    cell = std::to_string(n);
                    break;
                }
                case 1:
                    g.setText(c, r, shared);
                    cell = "●";
                    break;
                case 2: {
                    const int r2 = r + pick(rows);
                    g.clearText({c, r, -1, r2});
                    for (int rr = r; rr <= std::min(r2, rows); ++rr)
                        for (int cc = c; cc <= columns; ++cc)
                            m[static_cast<std::size_t>(rr - 1)][static_cast<std::size_t>(cc - 1)].clear();
                    break;
                }
                case 3:
                    if (pick(4) == 0) {
                        columns = 1 + pick(7);
                        rows = 1 + pick(80);
                        g.setSize(columns, rows);
                        m.resize(static_cast<std::size_t>(rows));
                        for (auto& row : m)
                            row.resize(static_cast<std::size_t>(columns));
                        break;
                    }
                    [[fallthrough]];
                default:
                    cell = "w" + std::to_string(pick(5));
                    g.setText(c, r, cell);
            }
            int lastDataRow = 0;
            for (int rr = 1; rr <= rows; ++rr)
                for (int cc = 1; cc <= columns; ++cc) {
                    const std::string& want = m[static_cast<std::size_t>(rr - 1)][static_cast<std::size_t>(cc - 1)];
                    ASSERT_EQ(g.getText(cc, rr), want) << "round " << round << " step " << step;
                    ASSERT_EQ(g.hasText(cc, rr), !want.empty());
                    if (!want.empty())
                        lastDataRow = rr;
                }
            ASSERT_EQ(g.lastDataRow(), lastDataRow) << "round " << round << " step " << step;
        }
    }
}

// Texts are pooled (numbers by value, words by content); every cell still
// reads back exactly what was written into it.
TEST(ResultGridTexts, ManyTextsReadBackExactly)
{
    ResultGrid g;
    g.setSize(4, 3000);
    for (int r = 1; r <= 3000; ++r) {
        g.setText(1, r, static_cast<long>(r));
        g.setText(2, r, std::to_string(r % 700) + "回前");
        g.setText(3, r, std::to_string(r));
        g.setText(4, r, static_cast<long>(-r));
    }
    g.setText(1, 1, 123456789L);
    for (int r = 2; r <= 3000; ++r) {
        ASSERT_EQ(g.getText(1, r), std::to_string(r));
        ASSERT_EQ(g.getText(2, r), std::to_string(r % 700) + "回前");
        ASSERT_EQ(g.getText(3, r), g.getText(1, r));
        ASSERT_EQ(g.getText(4, r), "-" + std::to_string(r));
    }
    EXPECT_EQ(g.getText(1, 1), "123456789");
    // Either side of the largest number a cell keeps as itself.
    g.setText(3, 1, 16777215L);
    g.setText(3, 2, 16777216L);
    g.setText(3, 3, 0L);
    EXPECT_EQ(g.getText(3, 1), "16777215");
    EXPECT_EQ(g.getText(3, 2), "16777216");
    EXPECT_EQ(g.getText(3, 3), "0");
    EXPECT_TRUE(g.hasText(3, 3));
    EXPECT_EQ(&g.getText(3, 1), &g.getText(3, 1)) << "a number's text stays where it was made";
    EXPECT_EQ(g.getText(2, 700), "0回前");
    g.setText(2, 5, "");
    EXPECT_FALSE(g.hasText(2, 5));
}

// Texts that differ only in their last byte, around the length up to which
// the text index keeps a copy of its own, and texts equal but for length.
TEST(ResultGridTexts, NearlyEqualTextsOfEveryLengthStayApart)
{
    std::vector<std::string> texts;
    for (std::size_t length = 1; length <= 40; ++length)
        for (char last : {'a', 'b', '\0'}) {
            std::string t(length - 1, 'x');
            t.push_back(last);
            texts.push_back(t);
        }
    ResultGrid g;
    g.setSize(2, static_cast<int>(texts.size()));
    for (std::size_t i = 0; i < texts.size(); ++i)
        g.setText(1, static_cast<int>(i) + 1, texts[i]);
    // Written again, in reverse, each finds its own text.
    for (std::size_t i = 0; i < texts.size(); ++i)
        g.setText(2, static_cast<int>(texts.size() - i), texts[i]);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        ASSERT_EQ(g.getText(1, static_cast<int>(i) + 1), texts[i]) << i;
        ASSERT_EQ(g.getText(2, static_cast<int>(texts.size() - i)), texts[i]) << i;
    }
}

TEST(ResultGridDump, SmallGridLineByLine)
{
    ResultGrid g;
    g.setSize(2, 1);
    g.setVisibleSize(2, 1);
    g.setFrozen(1, 0);
    g.setColumnWidth(2, 4);
    g.setRowHeight(1, 15);
    g.setText(1, 1, "a\tb\nc\\d");
    g.setTextColour(Block::cell(1, 1), kRed);
    g.setAlignment(Block::cell(2, 1), HAlign::Right, VAlign::Bottom);
    g.setBorder(Block::cell(2, 1), BorderSides::Right, kBlue);
    g.setBorder(Block::cell(2, 1), BorderSides::Left, std::nullopt);
    g.setOverflow(true);
    EXPECT_EQ(dumpGrid(g),
              "size\t2\t1\n"
              "visible\t2\t1\n"
              "frozen\t1\t0\n"
              "colwidth\t1\t9\n"
              "colwidth\t2\t4\n"
              "rowheight\t1\t15\n"
              "cell\t1\t1\ta\\tb\\nc\\\\d\t#ff0000\t-\tleft\tcentre\t-\t-\t-\t-\t1\n"
              "cell\t2\t1\t\t-\t-\tright\tbottom\tdefault\t-\t#0000ff\t-\t1\n");
}

}  // namespace
}  // namespace rumone
