// The texts that leave a table: blocks for the clipboard, the CSV of the
// whole table, and the rows that stand for draws.
#include <gtest/gtest.h>

#include "core/grid/GridDrawRows.h"
#include "core/grid/GridExport.h"

namespace rumone {
namespace {

// Two header rows, the draw column first; draws 5..14 below them.
ResultGrid drawTable(int firstDraw = 5, int draws = 10)
{
    ResultGrid g;
    g.setSize(3, 2 + draws + 3);  // three empty rows at the end
    g.setFrozen(1, 2);
    g.setDrawColumn(1);
    g.setText(1, 1, "回数");
    g.setText(2, 2, "数字");
    for (int i = 0; i < draws; ++i) {
        g.setText(1, 3 + i, static_cast<long>(firstDraw + i));
        g.setText(2, 3 + i, i % 2 ? "●" : "");
    }
    return g;
}

TEST(GridExport, BlockTextKeepsItsShapeAsShown)
{
    ResultGrid g = drawTable();
    g.setText(3, 4, "a\tb\nc");
    struct Case {
        CellRange block;
        std::string tsv;
    } cases[] = {
        {{1, 3, 2, 4}, "5\t\n6\t●\n"},
        {{2, 4, 3, 4}, "●\ta b c\n"},  // a tab or line break would break the block
        {{2, 14, 9, 99}, "\t\n\t\n"},  // cut at the table's edge
        {{2, 3, 1, 3}, ""},            // empty
    };
    for (const Case& c : cases)
        EXPECT_EQ(blockTsv(g, c.block), c.tsv) << c.block.col1 << "," << c.block.row1;
}

// Each cell names its class; the class's rule in the style sheet, the
// cell's bgcolor and its <font color> all give the grid's colours.
TEST(GridExport, BlockHtmlStylesCellsByClassWithColoursSpreadsheetsRead)
{
    ResultGrid g = drawTable();
    g.setBackColour(Block{1, 3, 1, 12}, rgb(255, 255, 200));
    g.setTextColour(Block{1, 3, 1, 12}, rgb(255, 0, 0));
    g.setAlignment(Block::columns(2, 2), HAlign::Centre, VAlign::Centre);
    g.setBorder(Block::cell(2, 3), BorderSides::All, OptColour{});  // a style of its own, the same look
    g.setText(2, 3, "<&>");
    const std::string html = blockHtml(g, {1, 3, 3, 12});
    const auto count = [&](const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = html.find(what); at != std::string::npos; at = html.find(what, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("<td"), 30u) << html;
    EXPECT_EQ(count("{text-align:"), 3u) << "one class for each look the block uses";
    struct Case {
        std::string what;
        std::size_t times;
    } cases[] = {
        {"td.c0{text-align:left;background-color:#ffffc8;color:#ff0000}", 1},
        {"td.c1{text-align:center}", 1},
        {"td.c2{text-align:left}", 1},
        {"<td class=\"c0\" bgcolor=\"#ffffc8\"><font color=\"#ff0000\">5</font></td>", 1},
        {"<td class=\"c0\" bgcolor=\"#ffffc8\"><font color=\"#ff0000\">", 10},
        {"<td class=\"c1\">&lt;&amp;&gt;</td>", 1},
        {"<td class=\"c1\">", 10},
        {"<td class=\"c2\"></td>", 10},
    };
    for (const Case& c : cases)
        EXPECT_EQ(count(c.what), c.times) << c.what;
}

// The copy keeps the block as it was taken while the grid changes after it.
TEST(GridExport, CopiedBlockKeepsTheCellsAsTaken)
{
    ResultGrid g = drawTable(5, 2);
    const CopiedBlock copied(g, {1, 3, 3, 4});
    g.setText(1, 3, "changed");
    g.setBackColour(Block::allCells(), rgb(0, 0, 255));
    g = ResultGrid();  // a fresh table in the same object
    EXPECT_EQ(copied.tsv(), "5\t\t\n6\t●\t\n");
    EXPECT_EQ(copied.html().find("bgcolor"), std::string::npos);
}

TEST(GridExport, CsvQuotesWhatWouldChangeItsMeaning)
{
    struct Case {
        std::string text, field;
    } cases[] = {
        {"plain", "plain"},
        {"a,b", "\"a,b\""},
        {"say \"x\"", "\"say \"\"x\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {" lead", "\" lead\""},
        {"\xE3\x80\x80title", "\"\xE3\x80\x80title\""},
    };
    for (const Case& c : cases) {
        ResultGrid g;
        g.setSize(2, 1);
        g.setText(1, 1, c.text);
        EXPECT_EQ(gridCsv(g), c.field + ",\n") << c.text;
    }
}

TEST(GridExport, CsvStopsAtTheLastDataRowWhereTheTableDoes)
{
    ResultGrid g = drawTable(5, 2);
    EXPECT_EQ(gridCsv(g), "回数,,\n,数字,\n5,,\n6,●,\n,,\n,,\n,,\n");
    g.restrictToDataRows(true);
    EXPECT_EQ(gridCsv(g), "回数,,\n,数字,\n5,,\n6,●,\n");
}

// The data alone: the headings once, one row per record; the title above
// them, blank rows and the frozen rows repeated below are left out.
TEST(GridExport, DataCsvHoldsTheHeadingsOnceAndEveryRecord)
{
    ResultGrid g = drawTable(5, 3);
    g.setText(2, 1, "title");
    g.setText(1, 2, "回数");
    for (int f = 1; f <= 2; ++f)  // the frozen rows again after the draws
        for (int c = 1; c <= 3; ++c)
            g.setText(c, 5 + f, g.getText(c, f));
    g.setText(1, 4, "");  // a blank row among the records
    g.setText(2, 4, "");
    EXPECT_EQ(dataCsvRows(g), (std::vector<int>{2, 3, 5}));
    g.setText(3, 3, "x");
    EXPECT_EQ(gridDataCsv(g), "回数,数字,\n5,,x\n7,,\n");
    EXPECT_EQ(gridCsvFile(g, TextEncoding::Utf8, CsvContent::DataOnly), gridDataCsv(g));
}

TEST(GridExport, CsvFileInEachEncoding)
{
    ResultGrid g;
    g.setSize(1, 2);
    g.setText(1, 1, "●");
    EXPECT_EQ(gridCsvFile(g), "\xEF\xBB\xBF●\n\n");
    EXPECT_EQ(gridCsvFile(g, TextEncoding::Cp932), "\x81\x9C\n\n");
    g.setText(1, 2, "\xF0\x9F\x98\x80");  // no CP932 form
    try {
        gridCsvFile(g, TextEncoding::Cp932);
        FAIL() << "an emoji has no CP932 form";
    } catch (const GridCsvError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("2行目", 0), 0u) << e.what();
    }
}

TEST(GridDrawRows, DrawsAreFoundByNumberAndRun)
{
    const ResultGrid g = drawTable();  // draws 5..14 in rows 3..12
    EXPECT_EQ(rowOfDraw(g, 5), 3);
    EXPECT_EQ(rowOfDraw(g, 14), 12);
    EXPECT_EQ(rowOfDraw(g, 4), std::nullopt);
    EXPECT_EQ(rowOfDraw(g, 15), std::nullopt);
    EXPECT_EQ(firstDrawShown(g), 5);
    EXPECT_EQ(lastDrawShown(g), 14);
    struct Case {
        RowRun got, want;
    } cases[] = {
        {latestDrawRows(g, 3), {10, 12}},   {latestDrawRows(g, 1), {12, 12}},       {latestDrawRows(g, 50), {3, 12}},
        {latestDrawRows(g, 0), {}},         {drawRowsBetween(g, 7, 9), {5, 7}},     {drawRowsBetween(g, 9, 7), {5, 7}},
        {drawRowsBetween(g, 1, 6), {3, 4}}, {drawRowsBetween(g, 13, 99), {11, 12}}, {drawRowsBetween(g, 20, 30), {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.want) << c.got.first << "-" << c.got.last;

    ResultGrid noDraws = drawTable();
    noDraws.setDrawColumn(0);
    EXPECT_EQ(rowOfDraw(noDraws, 5), std::nullopt);
    EXPECT_TRUE(latestDrawRows(noDraws, 3).empty());
    ResultGrid asText = drawTable();
    asText.setText(1, 3, "5");  // a text is no draw number
    EXPECT_EQ(rowOfDraw(asText, 5), std::nullopt);
}

}  // namespace
}  // namespace rumone
