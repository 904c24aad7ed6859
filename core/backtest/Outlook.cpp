#include "core/backtest/Outlook.h"

#include <array>

#include "core/backtest/BacktestGrid.h"
#include "core/backtest/Comparisons.h"
#include "core/backtest/TicketGrid.h"
#include "core/predict/Prediction.h"
#include "core/stats/TestPower.h"

namespace rumone {

namespace {

constexpr int kOutlookColumns = 8;
constexpr std::array<const char*, kOutlookColumns> kHeaders = {
    "予想手法",
    "見分けるのに要る回数（的中）",
    "同（ストレート）",
    "1年の購入額",
    "1年の収支（中央値）",
    "収支の5%点",
    "収支の95%点",
    "1年で黒字の確率",
};
constexpr std::array<int, kOutlookColumns> kWidths = {8, 26, 18, 14, 18, 14, 14, 16};

double correctedLevel()
{
    return 0.05 / double(compareAll(ReflectBoards{}).comparisons.size());
}

long drawsToTell(const TrialCounts& trials, long targets)
{
    return targets > 0 ? drawsToTell(trials, targets, kBetterThanChance, correctedLevel(), kPowerWanted) : 0;
}

std::string drawsText(long draws)
{
    if (draws == 0)
        return "－";
    return "約" + groupedNumber(draws) + "回";
}

}  // namespace

OutlookBoard outlookOf(const BacktestResult& result)
{
    OutlookBoard out;
    for (std::size_t i = 0; i < kPredictorCount; ++i) {
        out[i].hitDraws = drawsToTell(result.board[i].hitTrials, result.board[i].targets);
        const TicketTally& straight = result.tickets[i][kStraightTicket];
        out[i].straightDraws = drawsToTell(straight.winTrials, straight.count);
        out[i].year = result.years[i];
    }
    return out;
}

void fillOutlookGrid(ResultGrid& grid, const OutlookBoard& board)
{
    const int rows = kPredictorCount + 1;
    layOutTable(grid, kHeaders, kWidths, rows);
    grid.setAlignment(Block{2, 2, kOutlookColumns, rows}, HAlign::Right, VAlign::Centre);
    for (std::size_t i = 0; i < kPredictorCount; ++i) {
        const int row = static_cast<int>(i) + 2;
        const Outlook& o = board[i];
        grid.setText(1, row, kPredictorNames[i]);
        grid.setText(2, row, drawsText(o.hitDraws));
        grid.setText(3, row, drawsText(o.straightDraws));
        if (o.year.spend == 0)
            continue;
        grid.setText(4, row, yenText(o.year.spend));
        grid.setText(5, row, yenText(o.year.medianNet));
        grid.setText(6, row, yenText(o.year.lowNet));
        grid.setText(7, row, yenText(o.year.highNet));
        grid.setText(8, row, percentText(o.year.ahead));
    }
}

std::string outlookText(int targets)
{
    return "■見通し：偶然より1割多く当たる手法を、" + std::to_string(compareAll(ReflectBoards{}).comparisons.size()) +
           "通りの比較の補正のもとで80%の確率で偶然と見分けるのに要る抽せん回数（検証した回数は" +
           groupedNumber(targets) + "回、1年はおよそ" + std::to_string(kDrawsAYear) +
           "回）と、表の買い方で1年買い続けたときの収支です。収支は無作為な当選数字での正確な分布から求めます。";
}

}  // namespace rumone
