// A sum of independent amounts on a grid of whole units (each term one of
// a few amounts, with their chances, or nothing): its exact distribution,
// cut where it has no weight left, and its range, tail and quantiles.
#pragma once

#include <span>
#include <utility>
#include <vector>

namespace rumone {

// One amount a term may take, in units, with its chance.
struct UnitOutcome {
    int units = 0;
    double chance = 0;
};

// Chances lighter than this are cut off the distributions carried.
inline constexpr double kNegligibleChance = 1e-24;

// One sum a group of alike terms may come to, in units, with its chance.
struct UnitSum {
    long long units = 0;
    double chance = 0;
};

// The distribution of the sum of `copies` independent terms alike (each one
// of `outcomes` or nothing): every sum with its chance, 0 included, in
// ascending order; sums lighter than the cut of UnitSums are left out. As
// sparse as the amounts: a multinomial over the outcomes.
std::vector<UnitSum> sumOfCopies(std::span<const UnitOutcome> outcomes, long copies);

// `sums` in ascending order, the chances of equal sums added together.
std::vector<UnitSum> mergedSums(std::vector<UnitSum> sums);

class UnitSums {
public:
    // One more term: each outcome with its chance, 0 with what is left.
    void add(std::span<const UnitOutcome> outcomes);
    // Every term of `other` at once: a long run of terms added to a sum of
    // their own and then here costs far less than each added here.
    void add(const UnitSums& other);
    // One more term given as its whole distribution (sumOfCopies' for a
    // group of alike terms), 0 included.
    void addSums(std::span<const UnitSum> sums);
    // The range at two-sided level `level`, as for counts: the largest k
    // with P(X < k) <= level / 2 and the smallest k with P(X > k) <= level / 2.
    std::pair<long, long> range(double level = 0.05) const;
    // P(X >= k).
    double atLeast(long k) const;
    // The smallest k with P(X <= k) >= share.
    long quantile(double share) const;
    // The distribution as carried: the chance of lowest() + i at chances()[i].
    long lowest() const { return offset_; }
    std::span<const double> chances() const { return pmf_; }

private:
    // Cuts the weightless entries off both ends.
    void cutNegligible();
    // One term given as its whole distribution: `nothing` at 0 and
    // `outcomes` (units > 0) beside it.
    void convolve(double nothing, std::span<const UnitOutcome> outcomes);

    long offset_ = 0;
    std::vector<double> pmf_{1.0};
    std::vector<double> next_;  // the next pmf, kept to spare an allocation a term
};

}  // namespace rumone
