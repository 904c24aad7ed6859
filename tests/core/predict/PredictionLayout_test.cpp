// Layout of the four prediction grids.
#include <gtest/gtest.h>

#include "PredictionTestHelpers.h"
#include "core/grid/GridSteps.h"
#include "core/predict/PredictionTexts.h"

namespace rumone::test {
namespace {

// "left top right bottom" lines of a cell: "-" none, "d" default colour.
std::string linesOf(const ResultGrid& g, int col, int row)
{
    const CellStyle& s = g.style(col, row);
    auto one = [](const BorderLine& l) {
        return l.kind == BorderLine::Kind::None ? "-" : l.kind == BorderLine::Kind::Default ? "d" : "c";
    };
    return std::string(one(s.left)) + one(s.top) + one(s.right) + one(s.bottom);
}

class PredictionLayout : public ::testing::Test {
protected:
    void SetUp() override { p.layOutGrids(); }
    const ResultGrid& gridAt(int i) const { return *p.grid(i); }
    Prediction p;
};

TEST_F(PredictionLayout, SizesWidthsAndWidgetSettings)
{
    const int rows[] = {5, 4, 3, 2};
    for (int i = 0; i < kPredictionGridCount; ++i) {
        SCOPED_TRACE(i);
        const ResultGrid& g = gridAt(i);
        EXPECT_EQ(g.columns(), 5);
        EXPECT_EQ(g.rows(), rows[i]);
        EXPECT_EQ(g.visibleColumns(), 5);
        EXPECT_EQ(g.visibleRows(), rows[i]);
        EXPECT_TRUE(g.autoSize());
        EXPECT_FALSE(g.columnLettersShown());
        EXPECT_FALSE(g.rowNumbersShown());
        EXPECT_EQ(g.scrollBarsShown(), ScrollBars::None);
        EXPECT_EQ(g.columnWidth(1), 8);
        for (int c = 2; c <= 5; ++c)
            EXPECT_EQ(g.columnWidth(c), 5);
        for (int r = 1; r <= g.rows(); ++r)
            EXPECT_EQ(g.rowHeight(r), 10);
        EXPECT_TRUE(g.overflow());
        EXPECT_EQ(g.activeColumn(), 0);
        EXPECT_EQ(g.activeRow(), 0);
        for (int r = 1; r <= g.rows(); ++r)
            for (int c = 1; c <= 5; ++c) {
                const CellStyle& s = g.style(c, r);
                EXPECT_EQ(s.kind, CellKind::StaticText);
                EXPECT_EQ(s.vAlign, VAlign::Centre);
                EXPECT_EQ(s.hAlign, c == 2 && r == 1 ? HAlign::Left : HAlign::Centre) << c << "," << r;
                EXPECT_EQ(s.text, r == 1 ? OptColour(kBlue) : OptColour()) << c << "," << r;
                EXPECT_EQ(s.back, r == 1 ? OptColour(kPink) : OptColour()) << c << "," << r;
            }
    }
}

TEST_F(PredictionLayout, HeaderAndLabels)
{
    EXPECT_EQ(std::string(kPredictionHeader), std::string(13, ' ') + "予 想 数 字" + std::string(19, ' '));
    for (int i = 0; i < kPredictionGridCount; ++i) {
        EXPECT_EQ(gridAt(i).getText(2, 1), kPredictionHeader);
        EXPECT_EQ(gridAt(i).getText(1, 1), "");
    }
    EXPECT_EQ(gridAt(0).getText(1, 2), " 7回周期法");
    EXPECT_EQ(gridAt(0).getText(1, 3), " 9回周期法");
    EXPECT_EQ(gridAt(0).getText(1, 4), "11回周期法");
    EXPECT_EQ(gridAt(0).getText(1, 5), "12回周期法");
    EXPECT_EQ(gridAt(1).getText(1, 2), "");
    EXPECT_EQ(gridAt(1).getText(1, 3), "消去法");
    EXPECT_EQ(gridAt(1).getText(1, 4), "");
    EXPECT_EQ(gridAt(2).getText(1, 2), "連発予想");
    EXPECT_EQ(gridAt(2).getText(1, 3), "");
    EXPECT_EQ(gridAt(3).getText(1, 2), "１発予想");
    EXPECT_EQ(std::string(kGridLabels[2]), "●連発ルモーネ予想(この予想数字を組む合わせて購入します)");
}

TEST_F(PredictionLayout, CycleGridLines)
{
    const ResultGrid& g = gridAt(0);
    EXPECT_EQ(linesOf(g, 1, 1), "-ddd");
    for (int c = 2; c <= 5; ++c)
        EXPECT_EQ(linesOf(g, c, 1), "----");
    for (int r = 2; r <= 5; ++r) {
        EXPECT_EQ(linesOf(g, 1, r), "-ddd");
        for (int c = 2; c <= 5; ++c)
            EXPECT_EQ(linesOf(g, c, r), "-d-d");
    }
}

TEST_F(PredictionLayout, BoxedGridLinesAndTallLabelCells)
{
    for (int i = 1; i < kPredictionGridCount; ++i) {
        SCOPED_TRACE(i);
        const ResultGrid& g = gridAt(i);
        EXPECT_EQ(linesOf(g, 1, 1), "dddd");
        for (int c = 2; c <= 5; ++c)
            EXPECT_EQ(linesOf(g, c, 1), "----");
        for (int r = 2; r <= g.rows(); ++r)
            for (int c = 2; c <= 5; ++c)
                EXPECT_EQ(linesOf(g, c, r), "dddd");
    }
    // Elimination: rows 2-4 of column 1 outlined as one cell.
    EXPECT_EQ(linesOf(gridAt(1), 1, 2), "ddd-");
    EXPECT_EQ(linesOf(gridAt(1), 1, 3), "d-d-");
    EXPECT_EQ(linesOf(gridAt(1), 1, 4), "d-dd");
    // Rapid-fire: rows 2-3.
    EXPECT_EQ(linesOf(gridAt(2), 1, 2), "ddd-");
    EXPECT_EQ(linesOf(gridAt(2), 1, 3), "d-dd");
    // One-shot keeps its single label cell boxed.
    EXPECT_EQ(linesOf(gridAt(3), 1, 2), "dddd");
}

TEST_F(PredictionLayout, RelayingOutKeepsTheGridObjectsAndClearsOldResults)
{
    const auto before = p.grid(1);
    p.scanDraws(historyOf({{100, {0, 0, 0, 0}}}));
    EXPECT_FALSE(placedTexts(p, 1).empty());
    p.layOutGrids();
    EXPECT_EQ(p.grid(1), before);
    EXPECT_TRUE(placedTexts(p, 1).empty());
    EXPECT_EQ(p.grid(4), nullptr);
}

}  // namespace
}  // namespace rumone::test
