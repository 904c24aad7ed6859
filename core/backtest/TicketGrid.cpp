#include "core/backtest/TicketGrid.h"

#include <array>

#include "core/backtest/BacktestGrid.h"
#include "core/grid/GridSteps.h"
#include "core/predict/Prediction.h"

namespace rumone {

namespace {

constexpr std::array<const char*, kTicketGridColumns> kHeaders = {
    "予想手法",   "券種", "枚数",           "購入額", "当せん",       "偶然の期待",
    "偶然の範囲", "判定", "理論配当の合計", "回収率", "偶然の回収率",
};
constexpr std::array<int, kTicketGridColumns> kWidths = {8, 10, 10, 15, 6, 10, 12, 32, 15, 8, 12};

struct Line {
    int predictor;
    std::size_t type;
};

// A row for every type a predictor buys.
std::vector<Line> linesOf()
{
    std::vector<Line> lines;
    for (int i = 0; i < kPredictorCount; ++i)
        for (const std::size_t type : typesBoughtBy(i))
            lines.push_back({i, type});
    return lines;
}

}  // namespace

std::string yenText(long long yen)
{
    const std::string digits = std::to_string(yen < 0 ? -yen : yen);
    std::string text = yen < 0 ? "−" : "";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text + "円";
}

void fillTicketGrid(ResultGrid& grid, const TicketBoard& board)
{
    const std::vector<Line> lines = linesOf();
    const int rows = static_cast<int>(lines.size()) + 1;
    layOutGrid(grid, kTicketGridColumns, rows, kTicketGridColumns, rows, ScrollBars::None, 1, 1);
    centreAllCells(grid);
    grid.setActiveCell(0, 0);
    grid.setRowHeight(-1, ResultGrid::kDefaultRowHeight);
    for (int c = 0; c < kTicketGridColumns; ++c) {
        grid.setColumnWidth(c + 1, kWidths[static_cast<std::size_t>(c)]);
        grid.setText(c + 1, 1, kHeaders[static_cast<std::size_t>(c)]);
    }
    grid.setBorder(Block::allCells(), BorderSides::All, OptColour{});
    grid.setTextColour(Block::rows(1, 1), kBlue);
    grid.setBackColour(Block::rows(1, 1), kPink);
    grid.setAlignment(Block{8, 2, 8, rows}, HAlign::Left, VAlign::Centre);
    for (int column : {3, 4, 9})
        grid.setAlignment(Block{column, 2, column, rows}, HAlign::Right, VAlign::Centre);
    for (std::size_t l = 0; l < lines.size(); ++l) {
        const int row = static_cast<int>(l) + 2;
        const TicketTally& t = board[static_cast<std::size_t>(lines[l].predictor)][lines[l].type];
        grid.setText(1, row, kPredictorNames[static_cast<std::size_t>(lines[l].predictor)]);
        grid.setText(2, row, kTicketTypes[lines[l].type].name);
        grid.setText(3, row, t.count);
        grid.setText(4, row, yenText(t.cost()));
        if (t.count == 0) {
            grid.setText(8, row, "購入なし");
            continue;
        }
        const CountFigures wins = t.winFigures();
        // One trial per target that bought the type.
        int targets = 0;
        for (const auto& [chance, trials] : t.winTrials.byChance())
            targets += static_cast<int>(trials);
        const Verdict verdict = verdictOf(targets, wins);
        grid.setText(5, row, t.wins);
        grid.setText(6, row, twoDecimals(wins.expected));
        grid.setText(7, row, rangeText(wins));
        grid.setText(8, row, verdictText(verdict, targets));
        grid.setBackColour(Block::cell(8, row), verdictColour(verdict));
        grid.setText(9, row, yenText(t.paid));
        grid.setText(10, row, percentText(t.returnShare()));
        grid.setText(11, row, percentText(kPayoutShare));
    }
}

}  // namespace rumone
