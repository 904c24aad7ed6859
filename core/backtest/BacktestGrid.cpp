#include "core/backtest/BacktestGrid.h"

#include <array>
#include <cstdio>

#include "core/grid/GridSteps.h"

namespace rumone {

namespace {

constexpr std::array<const char*, kScoreGridColumns> kHeaders = {
    "予想手法", "検証回数", "的中数", "的中率", "偶然の率", "偶然の範囲（的中数）", "4桁的中", "4桁の偶然期待", "判定",
};
constexpr std::array<int, kScoreGridColumns> kWidths = {8, 8, 7, 8, 8, 18, 7, 12, 26};

Rgb verdictColour(Verdict verdict)
{
    switch (verdict) {
        case Verdict::Above:
            return kLightGreen;
        case Verdict::Below:
            return kLightMagenta;
        default:
            return kWhite;
    }
}

}  // namespace

std::string twoDecimals(double value)
{
    char text[48];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

std::string percentText(double share)
{
    return twoDecimals(share * 100) + "%";
}

void fillScoreGrid(ResultGrid& grid, const Scoreboard& board)
{
    const int rows = kPredictorCount + 1;
    layOutGrid(grid, kScoreGridColumns, rows, kScoreGridColumns, rows, ScrollBars::None, 1, 1);
    centreAllCells(grid);
    grid.setActiveCell(0, 0);
    grid.setRowHeight(-1, ResultGrid::kDefaultRowHeight);
    for (int c = 0; c < kScoreGridColumns; ++c) {
        grid.setColumnWidth(c + 1, kWidths[static_cast<std::size_t>(c)]);
        grid.setText(c + 1, 1, kHeaders[static_cast<std::size_t>(c)]);
    }
    grid.setBorder(Block::allCells(), BorderSides::All, OptColour{});
    grid.setTextColour(Block::rows(1, 1), kBlue);
    grid.setBackColour(Block::rows(1, 1), kPink);
    grid.setAlignment(Block{kScoreGridColumns, 2, kScoreGridColumns, rows}, HAlign::Left, VAlign::Centre);
    for (int i = 0; i < kPredictorCount; ++i) {
        const Tally& t = board[static_cast<std::size_t>(i)];
        const int row = i + 2;
        const Verdict verdict = verdictOf(t);
        grid.setText(1, row, kPredictorNames[static_cast<std::size_t>(i)]);
        grid.setText(2, row, static_cast<long>(t.targets));
        grid.setText(3, row, static_cast<long>(t.hits));
        grid.setText(4, row, percentText(t.hitRate()));
        grid.setText(5, row, percentText(t.chanceRate()));
        grid.setText(6, row, twoDecimals(t.low()) + " 〜 " + twoDecimals(t.high()));
        grid.setText(7, row, static_cast<long>(t.allFourHits));
        grid.setText(8, row, twoDecimals(t.allFourExpected));
        grid.setText(9, row, verdictText(verdict));
        grid.setBackColour(Block::cell(9, row), verdictColour(verdict));
    }
}

}  // namespace rumone
