// How strong a test of a count against chance is: the chance it calls the
// count different when every trial's chance is a share higher than chance
// alone, and how many draws it takes to reach a power.
#pragma once

#include <span>

#include "core/stats/CountChance.h"

namespace rumone {

// The chance a two-sided test at `level` (the range of rangeOf) finds the
// count outside its range when each part's chance is `better` times its own.
double powerOf(std::span<const BinomialPart> parts, double better, double level);

// The fewest draws at which that chance reaches `power`, for draws that
// hold the trials of `history` (made over `draws` draws) in the same mix;
// 0 when none up to a bound far past any history does.
long drawsToTell(const TrialCounts& history, long draws, double better, double level, double power);

}  // namespace rumone
