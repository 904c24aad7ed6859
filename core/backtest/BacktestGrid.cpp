#include "core/backtest/BacktestGrid.h"

#include <array>
#include <cstdio>

#include "core/grid/GridSteps.h"

namespace rumone {

namespace {

constexpr std::array<const char*, kScoreGridColumns> kHeaders = {
    "予想手法", "検証回数", "的中数",        "的中率",          "偶然の率",  "偶然の範囲（的中数）",
    "判定",     "4桁的中",  "4桁の偶然期待", "4桁の偶然の範囲", "4桁の判定",
};
constexpr std::array<int, kScoreGridColumns> kWidths = {8, 8, 7, 8, 8, 18, 32, 7, 12, 14, 32};

}  // namespace

Rgb verdictColour(Verdict verdict)
{
    switch (verdict) {
        case Verdict::Above:
            return kLightYellow;
        case Verdict::Below:
            return kLavender;
        default:
            return kWhite;
    }
}

std::string rangeText(const CountFigures& figures)
{
    return std::to_string(figures.low) + " 〜 " + std::to_string(figures.high);
}

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

void layOutTable(ResultGrid& grid, std::span<const char* const> headers, std::span<const int> widths, int rows)
{
    const int columns = static_cast<int>(headers.size());
    layOutGrid(grid, columns, rows, columns, rows, ScrollBars::None, 1, 1);
    centreAllCells(grid);
    grid.setActiveCell(0, 0);
    grid.setRowHeight(-1, ResultGrid::kDefaultRowHeight);
    for (int c = 0; c < columns; ++c) {
        grid.setColumnWidth(c + 1, widths[static_cast<std::size_t>(c)]);
        grid.setText(c + 1, 1, headers[static_cast<std::size_t>(c)]);
    }
    grid.setBorder(Block::allCells(), BorderSides::All, OptColour{});
    grid.setTextColour(Block::rows(1, 1), kBlue);
    grid.setBackColour(Block::rows(1, 1), kPink);
}

void fillScoreGrid(ResultGrid& grid, const Scoreboard& board)
{
    const int rows = kPredictorCount + 1;
    layOutTable(grid, kHeaders, kWidths, rows);
    for (const int column : {7, 11})
        grid.setAlignment(Block{column, 2, column, rows}, HAlign::Left, VAlign::Centre);
    for (int i = 0; i < kPredictorCount; ++i) {
        const Tally& t = board[static_cast<std::size_t>(i)];
        const int row = i + 2;
        const CountFigures hits = t.hitFigures();
        const CountFigures allFour = t.allFourFigures();
        const Verdict verdict = verdictOf(t.targets, hits);
        const Verdict allFourVerdict = verdictOf(t.targets, allFour);
        grid.setText(1, row, kPredictorNames[static_cast<std::size_t>(i)]);
        grid.setText(2, row, static_cast<long>(t.targets));
        grid.setText(3, row, static_cast<long>(t.hits));
        grid.setText(4, row, percentText(t.hitRate()));
        grid.setText(5, row, percentText(t.chanceRate()));
        grid.setText(6, row, rangeText(hits));
        grid.setText(7, row, verdictText(verdict, t.targets));
        grid.setBackColour(Block::cell(7, row), verdictColour(verdict));
        grid.setText(8, row, static_cast<long>(t.allFourHits));
        grid.setText(9, row, twoDecimals(t.allFourExpected));
        grid.setText(10, row, rangeText(allFour));
        grid.setText(11, row, verdictText(allFourVerdict, t.targets));
        grid.setBackColour(Block::cell(11, row), verdictColour(allFourVerdict));
    }
}

}  // namespace rumone
