#include "core/prizes/PrizeTable.h"

#include <cstdio>
#include <string>

#include "core/calendar/CivilDays.h"
#include "core/grid/GridColours.h"
#include "core/grid/GridSteps.h"
#include "core/prizes/PrizeTheory.h"
#include "core/text/TextParts.h"

namespace rumone {

const char* const kPrizeTableNote =
    "当せん金は、当せんした人で売上の 45 % を分ける決め方（パリミュチュエル方式）です。"
    "理論値は、どの数字も同じ人数が選んだときの当せん金です。理論値より低い当せん金は、その数字を選んだ人が多かった"
    "（当たっても分ける人が多い）ことを示し、高いときは選んだ人が少なかったことを示します。"
    "抽せんで出る確率は、どの数字も同じです（ストレート 1 万分の 1）。";

namespace {

constexpr int kFixedColumns = 4;     // 回数, 抽せん日, 当せん番号, 種類
constexpr int kColumnsPerPrize = 4;  // 口数, 当せん金, 理論値, 比
constexpr int kColumns = kFixedColumns + kColumnsPerPrize * kPrizeKindCount;

std::string ratioText(double ratio)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", ratio);
    return buf;
}

// Two header rows: the prize type above its prize column, the figures'
// names below. Widths in characters.
void writeHeaders(ResultGrid& grid)
{
    const char* const fixed[kFixedColumns] = {"回数", "抽せん日", "当せん番号", "種類"};
    constexpr int kFixedWidths[kFixedColumns] = {7, 11, 10, 12};
    const char* const perPrize[kColumnsPerPrize] = {"口数", "当せん金", "理論値", "比"};
    constexpr int kPrizeWidths[kColumnsPerPrize] = {7, 21, 9, 6};
    for (int c = 0; c < kFixedColumns; ++c) {
        grid.setText(c + 1, 2, fixed[c]);
        grid.setColumnWidth(c + 1, kFixedWidths[c]);
    }
    for (int k = 0; k < kPrizeKindCount; ++k) {
        const int first = kFixedColumns + k * kColumnsPerPrize + 1;
        grid.setText(first + 1, 1, kPrizeKindNames[static_cast<std::size_t>(k)]);
        for (int c = 0; c < kColumnsPerPrize; ++c) {
            grid.setText(first + c, 2, perPrize[c]);
            grid.setColumnWidth(first + c, kPrizeWidths[c]);
        }
    }
}

void writePrize(ResultGrid& grid, int column, int row, const std::optional<PrizeLine>& line,
                std::optional<long long> theory)
{
    if (theory)
        grid.setText(column + 2, row, groupedDigits(*theory));
    if (!line)
        return;
    if (line->notApplicable) {
        grid.setText(column, row, "該当なし");
        return;
    }
    grid.setText(column, row, groupedDigits(line->units));
    grid.setText(column + 1, row, groupedDigits(line->yenPerUnit));
    if (theory && *theory > 0)
        grid.setText(column + 3, row, ratioText(static_cast<double>(line->yenPerUnit) / static_cast<double>(*theory)));
}

}  // namespace

std::vector<PrizedDraw> prizedDraws(const DrawHistory& history, const std::map<int, DrawDetails>& details)
{
    std::vector<PrizedDraw> out;
    for (const Draw& d : history.completeDraws()) {
        const auto it = details.find(d.number);
        if (it == details.end())
            continue;
        bool any = false;
        for (const auto& p : it->second.prizes)
            any = any || p.has_value();
        if (any)
            out.push_back({d.number, d.digits, it->second.date, it->second.prizes});
    }
    return out;
}

void fillPrizeTable(ResultGrid& grid, const std::vector<PrizedDraw>& draws)
{
    constexpr int kHeaderRows = 2;
    const int rows = static_cast<int>(draws.size()) + kHeaderRows;
    constexpr int kVisibleRows = 20;
    layOutGrid(grid, kColumns, rows, kColumns, std::min(rows, kVisibleRows), ScrollBars::Both, kFixedColumns,
               kHeaderRows, false);
    grid.setRowHeight(-1, ResultGrid::kDefaultRowHeight);
    grid.setAlignment(Block::allCells(), HAlign::Right, VAlign::Centre);
    grid.setAlignment(Block::rows(1, kHeaderRows), HAlign::Centre, VAlign::Centre);
    grid.setBorder(Block::allCells(), BorderSides::All, OptColour{});
    grid.setTextColour(Block::rows(1, kHeaderRows), kBlue);
    grid.setBackColour(Block::rows(1, kHeaderRows), kPink);
    writeHeaders(grid);
    for (std::size_t i = 0; i < draws.size(); ++i) {
        const PrizedDraw& d = draws[i];
        const int row = static_cast<int>(i) + kHeaderRows + 1;
        const NumberKind kind = numberKindOf(d.digits);
        grid.setText(1, row, d.number);
        grid.setText(2, row, d.date ? isoDateText(*d.date) : std::string());
        grid.setText(3, row,
                     std::to_string(d.digits[0]) + std::to_string(d.digits[1]) + std::to_string(d.digits[2]) +
                         std::to_string(d.digits[3]));
        grid.setText(4, row, numberKindName(kind));
        for (int k = 0; k < kPrizeKindCount; ++k)
            writePrize(grid, kFixedColumns + k * kColumnsPerPrize + 1, row, d.prizes[static_cast<std::size_t>(k)],
                       theoreticalPrize(static_cast<PrizeKind>(k), kind));
    }
}

std::vector<RatioPoint> straightRatios(const std::vector<PrizedDraw>& draws)
{
    std::vector<RatioPoint> out;
    for (const PrizedDraw& d : draws) {
        const auto& straight = d.prizes[static_cast<std::size_t>(PrizeKind::Straight)];
        if (straight && !straight->notApplicable)
            out.push_back(
                {d.number, static_cast<double>(straight->yenPerUnit) / static_cast<double>(kTheoreticalStraightPrize)});
    }
    return out;
}

}  // namespace rumone
