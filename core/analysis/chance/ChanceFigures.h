// What chance alone predicts for the figures of an analysis view: per item
// the observed count, the number of trials and the chance of one success,
// and the range chance gives all the items of the picture at once (each
// item's exact binomial range at level 0.05 / items), so that a random
// history puts any item outside with a chance of at most 5 %.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/analysis/chance/LongestRun.h"
#include "core/history/DrawHistory.h"
#include "core/stats/CountChance.h"

namespace rumone {

enum class ChanceVerdict { Within, Above, Below };

struct ChanceItem {
    std::string label;  // "9", "12", "20以上", "1桁目 Ａ"
    long observed = 0;
    long trials = 0;
    double p = 0.0;  // chance of one success
    ChanceRange range;
    ChanceVerdict verdict = ChanceVerdict::Within;

    double expected() const { return static_cast<double>(trials) * p; }
};

// How a picture reads its items: counts of one trial count each (a bar per
// item) or rates where the items' trials differ.
enum class ChanceScale { Count, Rate };

struct ChanceFigures {
    std::string itemNoun;   // "数字": the verdict names an item "数字9"
    std::string quantity;   // "出現数": what is counted
    std::string axisTitle;  // the items' axis
    ChanceScale scale = ChanceScale::Count;
    int draws = 0;  // complete draws the figures come from
    std::vector<ChanceItem> items;
    // False below kMinVerdictDraws draws: ranges shown, no item judged.
    bool judged = true;
    // Where the view shows a streak or an absence: the longest one beside
    // what a random history of this length gives.
    std::optional<LongestFigure> longest;

    bool allWithin() const;
};

// Below this many draws a picture gives no verdict.
inline constexpr int kMinVerdictDraws = 30;

// The level every item of a picture of `items` items is judged at.
double simultaneousLevel(std::size_t items);
// Sets every item's range and verdict at the simultaneous level; below
// kMinVerdictDraws draws every item stays within and `judged` is false.
void judgeSimultaneously(ChanceFigures& figures);

// The `lastN` latest complete draws, or all of them for lastN <= 0.
std::span<const Draw> latestDraws(const DrawHistory& history, int lastN);

// The machine word of an item's verdict: within, above or below, or none
// where the figures are not judged.
const char* verdictWord(const ChanceFigures& figures, ChanceVerdict verdict);

}  // namespace rumone
