// What chance alone gives a count: the count is a sum of independent
// yes/no trials, each with its own chance (a Poisson-binomial; one chance
// makes it a binomial). Its distribution is computed exactly, and from it
// the range chance gives at a two-sided level and the two-sided p of an
// observed count.
#pragma once

#include <span>
#include <utility>
#include <vector>

namespace rumone {

// Chances of the verification's trials are whole numbers over 10,000: a
// digit set of s digits is s * 1,000, a box ticket of P orderings P.
inline constexpr int kChanceScale = 10000;

// `trials` trials of chance `chance` (0-1) each.
struct BinomialPart {
    double chance = 0;
    long trials = 0;
};

// How many trials there are of each chance, over kChanceScale.
class TrialCounts {
public:
    void add(int chance, long count = 1);
    void add(const TrialCounts& other);
    const std::vector<std::pair<int, long>>& byChance() const { return counts_; }
    std::vector<BinomialPart> parts() const;
    double mean() const;
    double variance() const;

private:
    std::vector<std::pair<int, long>> counts_;  // (chance, trials), few distinct chances
};

// The exact distribution of the count, kept where it has any weight
// (twelve standard deviations either side of the mean, and a little more).
class CountDistribution {
public:
    explicit CountDistribution(std::span<const BinomialPart> parts);
    explicit CountDistribution(const TrialCounts& trials) : CountDistribution(trials.parts()) {}
    // `before` with the trials of `more` added: convolved with those alone,
    // not made again from every trial.
    CountDistribution(const CountDistribution& before, std::span<const BinomialPart> more);
    // P(X < k) and P(X > k).
    double below(long k) const;
    double above(long k) const;
    double mean() const { return mean_; }

private:
    // Cuts the pmf to the window of the mean and variance so far.
    void cutToWindow();
    // Cuts the pmf to its window and sums both tails.
    void finish();

    long offset_ = 0;  // the count of pmf_[0]
    double mean_ = 0;
    double variance_ = 0;
    std::vector<double> pmf_;      // P(X = offset_ + i)
    std::vector<double> atMost_;   // P(X <= offset_ + i)
    std::vector<double> atLeast_;  // P(X >= offset_ + i)
};

// The range of counts chance alone gives at two-sided level `level`: low is
// the largest k with P(X < k) <= level / 2 and high the smallest k with
// P(X > k) <= level / 2.
struct ChanceRange {
    long low = 0;
    long high = 0;
    // P(X < low) + P(X > high): how often chance alone falls outside.
    double outsideChance = 0.0;
};

ChanceRange rangeOf(const CountDistribution& d, double level);
// X ~ Binomial(trials, p): trials <= 0 gives the range 0-0; p is clamped to 0-1.
ChanceRange binomialRange(long trials, double p, double level);

// The count against chance, with its 95 % range.
struct CountFigures : ChanceRange {
    double expected = 0;
    long observed = 0;
    // min(1, 2 min(P(X <= observed), P(X >= observed))).
    double p = 1;

    bool within() const { return low <= observed && observed <= high; }
};

CountFigures chanceFiguresOf(const TrialCounts& trials, long observed);

// Holm's step-down correction: for each p, whether it stands out after
// correcting for all of them.
std::vector<bool> holmDifferent(const std::vector<double>& ps, double alpha = 0.05);

}  // namespace rumone
