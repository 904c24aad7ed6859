// The range of counts chance alone gives a binomial count: for
// X ~ Binomial(trials, p) at two-sided level `level`, low is the largest k
// with P(X < k) <= level / 2 and high the smallest k with
// P(X > k) <= level / 2, both from the exact distribution.
#pragma once

namespace rumone {

struct ChanceRange {
    long low = 0;
    long high = 0;
    // P(X < low) + P(X > high): how often chance alone falls outside.
    double outsideChance = 0.0;
};

// trials <= 0 gives the range 0-0; p is clamped to 0-1.
ChanceRange binomialRange(long trials, double p, double level);

}  // namespace rumone
