// The table of 当せん金: each draw with stored prizes, its number and kind,
// and per prize type the units, the prize per unit, the theoretical prize
// (PrizeTheory.h) and their ratio; with the straight's ratio by draw for
// the picture beside it.
#pragma once

#include <map>
#include <span>
#include <vector>

#include "core/grid/ResultGrid.h"
#include "core/history/DrawHistory.h"
#include "core/history/DrawResults.h"

namespace rumone {

// What the view says of its figures.
extern const char* const kPrizeTableNote;

// A drawn number with the prizes stored for it.
struct PrizedDraw {
    int number = 0;
    std::array<int, 4> digits{};
    std::optional<CivilDate> date;
    DrawPrizes prizes;
};

// The complete draws of `history` that have at least one stored prize
// line, in draw order.
std::vector<PrizedDraw> prizedDraws(const DrawHistory& history, const std::map<int, DrawDetails>& details);
// The same of `draws` (complete draws in draw order).
std::vector<PrizedDraw> prizedDraws(std::span<const Draw> draws, const std::map<int, DrawDetails>& details);

void fillPrizeTable(ResultGrid& grid, const std::vector<PrizedDraw>& draws);

// The straight's prize ÷ its theoretical prize, by draw (draws without a
// straight line left out).
struct RatioPoint {
    int number = 0;
    double ratio = 0;
};
std::vector<RatioPoint> straightRatios(const std::vector<PrizedDraw>& draws);

// The points of a picture `width` pixels wide, by column: the first draw at
// offset 0, the last at `width` (a lone draw in the middle column, offset
// (width - 1) / 2), the others in proportion, cut to whole pixels; each
// column with the largest ratio of its draws, in column order. A bar from
// the axis to that ratio covers every bar its column's draws would draw.
struct RatioColumn {
    int offset = 0;
    double ratio = 0;
};
std::vector<RatioColumn> ratioColumns(const std::vector<RatioPoint>& points, int width);

}  // namespace rumone
