#include "core/backtest/TicketGrid.h"

#include <algorithm>
#include <array>

#include "core/backtest/BacktestGrid.h"
#include "core/predict/Prediction.h"

namespace rumone {

namespace {

constexpr std::array<const char*, kTicketGridColumns> kHeaders = {
    "予想手法",       "券種", "枚数",           "購入額", "当せん",       "偶然の期待",
    "偶然の範囲",     "判定", "理論配当の合計", "回収率", "偶然の回収率", "回収率の偶然の範囲",
    "偶然で100%以上",
};
constexpr std::array<int, kTicketGridColumns> kWidths = {8, 10, 8, 14, 6, 10, 10, 28, 14, 8, 12, 18, 14};

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

std::string groupedNumber(long long value)
{
    const std::string digits = std::to_string(value < 0 ? -value : value);
    std::string text = value < 0 ? "−" : "";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text;
}

std::string yenText(long long yen)
{
    return groupedNumber(yen) + "円";
}

void fillTicketGrid(ResultGrid& grid, const TicketBoard& board)
{
    const std::vector<Line> lines = linesOf();
    const int rows = static_cast<int>(lines.size()) + 1;
    layOutTable(grid, kHeaders, kWidths, rows);
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
        const ReturnFigures chance = t.returnFigures();
        grid.setText(12, row, percentText(chance.low) + " 〜 " + percentText(chance.high));
        grid.setText(13, row, percentText(chance.ahead));
    }
}

std::string straightWinNote(const TicketBoard& board)
{
    double most = 0, least = 0;
    for (const auto& types : board) {
        const TicketTally& t = types[kStraightTicket];
        if (t.count == 0)
            continue;
        const double move = double(kStraightPrize) / double(t.cost());
        most = std::max(most, move);
        least = least == 0 ? move : std::min(least, move);
    }
    if (most == 0)
        return {};
    const std::string span = twoDecimals(least * 100) == twoDecimals(most * 100)
                                 ? twoDecimals(most * 100)
                                 : twoDecimals(least * 100) + "〜" + twoDecimals(most * 100);
    return "ストレートは1回の当せんで回収率が" + span +
           "ポイント動きます。回収率が偶然の回収率を上回っても、数回の当せんの差なら偶然の範囲に入ります（右の2列）。";
}

}  // namespace rumone
