// What chance alone gives a count of hits or wins: the count is a sum of
// independent yes/no trials, each with its own chance (a Poisson-binomial).
// Its distribution is computed exactly, and from it the 95 % range and
// the two-sided p of an observed count.
#pragma once

#include <utility>
#include <vector>

namespace rumone {

// Chances are whole numbers over 10,000: a digit set of s digits is
// s * 1,000, a box ticket of P orderings P.
inline constexpr int kChanceScale = 10000;

// How many trials there are of each chance.
class TrialCounts {
public:
    void add(int chance, int count = 1);
    void add(const TrialCounts& other);
    const std::vector<std::pair<int, long>>& byChance() const { return counts_; }
    double mean() const;
    double variance() const;

private:
    std::vector<std::pair<int, long>> counts_;  // (chance, trials), few distinct chances
};

// The exact distribution of the count, kept where it has any weight
// (twelve standard deviations either side of the mean, and a little more).
class CountDistribution {
public:
    explicit CountDistribution(const TrialCounts& trials);
    // P(X < k) and P(X > k).
    double below(long k) const;
    double above(long k) const;

private:
    long offset_ = 0;              // the count of pmf_[0]
    std::vector<double> pmf_;      // P(X = offset_ + i)
    std::vector<double> atMost_;   // P(X <= offset_ + i)
    std::vector<double> atLeast_;  // P(X >= offset_ + i)
};

// The count against chance.
struct CountFigures {
    double expected = 0;
    // The 95 % range: low is the largest k with P(X < k) <= 2.5 %, high the
    // smallest k with P(X > k) <= 2.5 %.
    long low = 0;
    long high = 0;
    long observed = 0;
    // min(1, 2 min(P(X <= observed), P(X >= observed))).
    double p = 1;
    // P(X < low) + P(X > high): how often chance alone lands outside.
    double outsideChance = 0;

    bool within() const { return low <= observed && observed <= high; }
};

CountFigures chanceFiguresOf(const TrialCounts& trials, long observed);

// Holm's step-down correction at 5 %: for each p, whether it stands out
// after correcting for all of them.
std::vector<bool> holmDifferent(const std::vector<double>& ps, double alpha = 0.05);

}  // namespace rumone

namespace rumone {

// How many targets of a chart's track carry a chance range.
inline constexpr std::size_t kBandPoints = 48;

// Up to `points` indexes of 0..count-1, evenly spread, first and last
// included.
std::vector<std::size_t> evenlySpread(std::size_t count, std::size_t points);

}  // namespace rumone
