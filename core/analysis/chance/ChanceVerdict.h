// The plain-Japanese verdict under a picture, from its figures and from
// how often chance alone puts some item outside its range among all the
// pictures the program shows.
#pragma once

#include <string>

#include "core/analysis/chance/ChanceFigures.h"

namespace rumone {

struct ChanceOverview {
    // Distinct pictures among the views with figures: views whose items are
    // the same counts (in another order, or the same law) are one picture.
    int pictures = 0;
    long items = 0;  // their items together
    // The chance that a random history puts at least one of those items
    // outside its range, from each item's exact outside chance.
    double anyOutside = 0.0;
};

// Every view's figures over the `lastN` latest draws (0: all).
ChanceOverview chanceOverview(const DrawHistory& history, int lastN);

// "10個の数字の出現数はすべて偶然の範囲内です", or which items fall outside,
// how often chance alone does that, and that it changes nothing about the
// next draw.
std::string chanceVerdictLine(const ChanceFigures& figures, const ChanceOverview& overview);
// Why a shorter period gives a wider range.
std::string periodNote(const ChanceFigures& figures);

// "2,985", "2,821.6", "34.4%": the figures as the lines write them.
std::string groupedCount(long value);
std::string groupedDecimal(double value, int decimals);

}  // namespace rumone
