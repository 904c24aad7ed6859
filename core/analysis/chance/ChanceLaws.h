// Each analysis view's figures beside the chance law of a random history:
// four independent uniform digits per draw, draws independent of each
// other. Every function takes the complete draws to count, oldest first,
// and returns the figures judged at the simultaneous level.
#pragma once

#include <span>

#include "core/analysis/chance/ChanceFigures.h"

namespace rumone {

// Digits 0-9 over every position: 4n trials of chance 0.1 each.
ChanceFigures digitFrequencyChance(std::span<const Draw> draws);
// The same counts, most frequent digit first.
ChanceFigures digitsByCountChance(std::span<const Draw> draws);
// Draws per sum 0-36 of the four digits.
ChanceFigures digitSumChance(std::span<const Draw> draws);
// Draws per number of low digits (0-4), and per number of even digits.
ChanceFigures lowHighChance(std::span<const Draw> draws);
ChanceFigures oddEvenChance(std::span<const Draw> draws);
// Draws per number of distinct digits, 4 down to 1.
ChanceFigures dispersionChance(std::span<const Draw> draws);
// Draws per number of digits also in the draw before (0-4).
ChanceFigures carryOverChance(std::span<const Draw> draws);
// Draws per number of neighbouring positions one apart, and two apart.
ChanceFigures consecutiveSteppingChance(std::span<const Draw> draws);
// Each group's share per position: three, five or ten groups of digits.
ChanceFigures groupDivision3Chance(std::span<const Draw> draws);
ChanceFigures groupDivision5Chance(std::span<const Draw> draws);
ChanceFigures groupDivision10Chance(std::span<const Draw> draws);
// The five two-digit groups' share of every position.
ChanceFigures fiveGroupTrendChance(std::span<const Draw> draws);

// Per rank 1-10 of the digits by their count in the draws before (most
// drawn first, a tie to the smaller digit): how often a drawn digit held
// that rank. Whatever came before, the drawn digit is uniform, so each
// rank has chance 0.1.
ChanceFigures earlierCountRankChance(std::span<const Draw> draws);

// Per draws of absence g (0 = drawn in the draw before): how often a digit
// then appears in the next draw, chance 1 - 0.9^4 whatever g is; and the
// longest absence of any digit, before its first draw and after its last
// included.
ChanceFigures appearanceIntervalChance(std::span<const Draw> draws);
// Per position, the step s from the digit of the draw before: chance
// (10 - |s|) / 100.
ChanceFigures digitStepChance(std::span<const Draw> draws);
// The last digit's run: after a run of r equal last digits, how often the
// next draw continues it, chance 0.1 whatever r is; and the longest run.
ChanceFigures lastDigitRunChance(std::span<const Draw> draws);

// The absence buckets: g = 0 .. kAbsenceBuckets - 2, then "or more".
inline constexpr int kAbsenceBuckets = 21;

}  // namespace rumone
