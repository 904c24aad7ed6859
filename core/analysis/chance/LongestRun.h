// The longest run in a random history: the longest absence of a digit, or
// the longest streak of one last digit, against what a history of the same
// length gives by chance alone. That answers "そろそろ出る": a long absence
// is as long as chance makes it.
#pragma once

#include <string>
#include <vector>

namespace rumone {

// The law of the longest run of successes in `trials` independent trials
// of chance `chance`, taken over `sequences` such sequences: atMost[k] is
// P(the longest of them <= k), computed exactly for one sequence; the
// sequences are taken as independent, which for the ten digits' absences
// lies within a few tenths of a percent of a simulation.
std::vector<double> longestRunLaw(long trials, double chance, int sequences);

struct LongestFigure {
    std::string what;  // "不出現", "連続"
    long observed = 0;
    long median = 0;
    long low = 0, high = 0;  // the 95 % range of the longest
    double atLeast = 0;      // P(longest >= observed)
};

// The observed longest beside the law.
LongestFigure longestFigure(std::string what, long observed, const std::vector<double>& atMost);

}  // namespace rumone
