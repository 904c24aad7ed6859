#include "core/prizes/PrizeTable.h"

#include <algorithm>
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

// The texts every row repeats (the theoretical prizes, the kinds' names,
// 該当なし), each kept in the grid once, when first written.
class RepeatedTexts {
public:
    explicit RepeatedTexts(ResultGrid& grid) : grid_(grid) {}

    ResultGrid::SharedText theory(int prize, NumberKind kind, long long yen)
    {
        return shared(theories_[static_cast<std::size_t>(prize)][static_cast<std::size_t>(kind)],
                      GroupedDigits(yen).text());
    }
    ResultGrid::SharedText kindName(NumberKind kind)
    {
        return shared(kindNames_[static_cast<std::size_t>(kind)], numberKindName(kind));
    }
    ResultGrid::SharedText notApplicable() { return shared(notApplicable_, "該当なし"); }

private:
    static constexpr std::size_t kNumberKinds = 5;
    ResultGrid::SharedText shared(std::optional<ResultGrid::SharedText>& kept, std::string_view text)
    {
        if (!kept)
            kept = grid_.shareText(text);
        return *kept;
    }

    ResultGrid& grid_;
    std::array<std::array<std::optional<ResultGrid::SharedText>, kNumberKinds>, kPrizeKindCount> theories_{};
    std::array<std::optional<ResultGrid::SharedText>, kNumberKinds> kindNames_{};
    std::optional<ResultGrid::SharedText> notApplicable_;
};

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

void writePrize(ResultGrid& grid, RepeatedTexts& repeated, int prize, int row, const std::optional<PrizeLine>& line,
                NumberKind kind)
{
    const int column = kFixedColumns + prize * kColumnsPerPrize + 1;
    const std::optional<long long> theory = theoreticalPrize(static_cast<PrizeKind>(prize), kind);
    if (theory)
        grid.setText(column + 2, row, repeated.theory(prize, kind, *theory));
    if (!line)
        return;
    if (line->notApplicable) {
        grid.setText(column, row, repeated.notApplicable());
        return;
    }
    grid.setText(column, row, GroupedDigits(line->units).text());
    grid.setText(column + 1, row, GroupedDigits(line->yenPerUnit).text());
    if (theory && *theory > 0) {
        char ratio[32];
        const int size = std::snprintf(ratio, sizeof ratio, "%.2f",
                                       static_cast<double>(line->yenPerUnit) / static_cast<double>(*theory));
        grid.setText(column + 3, row, std::string_view(ratio, static_cast<std::size_t>(size)));
    }
}

}  // namespace

std::vector<PrizedDraw> prizedDraws(const DrawHistory& history, const std::map<int, DrawDetails>& details)
{
    return prizedDraws(std::span<const Draw>(history.completeDraws()), details);
}

std::vector<PrizedDraw> prizedDraws(std::span<const Draw> draws, const std::map<int, DrawDetails>& details)
{
    std::vector<PrizedDraw> out;
    for (const Draw& d : draws) {
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
    RepeatedTexts repeated(grid);
    for (std::size_t i = 0; i < draws.size(); ++i) {
        const PrizedDraw& d = draws[i];
        const int row = static_cast<int>(i) + kHeaderRows + 1;
        const NumberKind kind = numberKindOf(d.digits);
        grid.setText(1, row, d.number);
        grid.setText(2, row, d.date ? isoDateText(*d.date) : std::string());
        std::string digits;
        for (const int digit : d.digits)
            digits += std::to_string(digit);
        grid.setText(3, row, digits);
        grid.setText(4, row, repeated.kindName(kind));
        for (int k = 0; k < kPrizeKindCount; ++k)
            writePrize(grid, repeated, k, row, d.prizes[static_cast<std::size_t>(k)], kind);
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

std::vector<RatioColumn> ratioColumns(const std::vector<RatioPoint>& points, int width)
{
    std::vector<RatioColumn> out;
    if (points.empty())
        return out;
    const int first = points.front().number, last = points.back().number;
    const auto offsetOf = [&](int number) {
        return last == first ? (width - 1) / 2
                             : static_cast<int>(static_cast<double>(number - first) / (last - first) * width);
    };
    for (const RatioPoint& pt : points) {
        const int offset = offsetOf(pt.number);
        if (!out.empty() && out.back().offset == offset)
            out.back().ratio = std::max(out.back().ratio, pt.ratio);
        else
            out.push_back({offset, pt.ratio});
    }
    return out;
}

}  // namespace rumone
