#include "core/stats/UnitSums.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace rumone {

namespace {

constexpr double kNegligible = kNegligibleChance;
constexpr double kRounding = 1e-9;

// The chances of k = 0, 1, ... successes of `trials` with chance `p`, from
// the first k whose chance reaches `floor` to the last, each passed to
// `take(k, chance)`. Carried in logarithms from k = 0, so that no chance
// underflows on the way to the mode.
template <typename Take>
void binomialTerms(long trials, double p, double floor, Take take)
{
    if (p <= 0) {
        take(0L, 1.0);
        return;
    }
    if (p >= 1) {
        take(trials, 1.0);
        return;
    }
    const double logFloor = std::log(floor);
    const double logOdds = std::log(p) - std::log1p(-p);
    const double mode = double(trials + 1) * p;
    double logChance = double(trials) * std::log1p(-p);
    for (long k = 0; k <= trials; ++k) {
        if (logChance >= logFloor)
            take(k, std::exp(logChance));
        else if (double(k) > mode)
            break;
        logChance += std::log(double(trials - k) / double(k + 1)) + logOdds;
    }
}

// Every way `trials` terms share out among outcomes[i..] (the rest being
// nothing), with its units and chance, those lighter than kNegligible left
// out: outcome i wins a binomial share of the trials the earlier outcomes
// left, at its chance among what they left.
void shareOut(std::span<const UnitOutcome> outcomes, std::size_t i, long trials, double left, long long units,
              double chance, std::vector<UnitSum>& out)
{
    if (i == outcomes.size() || trials == 0) {
        out.push_back({units, chance});
        return;
    }
    const auto& [amount, p] = outcomes[i];
    binomialTerms(trials, left > 0 ? std::min(1.0, p / left) : 0.0, kNegligible / chance, [&](long k, double c) {
        shareOut(outcomes, i + 1, trials - k, left - p, units + k * amount, chance * c, out);
    });
}

}  // namespace

std::vector<UnitSum> sumOfCopies(std::span<const UnitOutcome> outcomes, long copies)
{
    std::vector<UnitSum> ways;
    shareOut(outcomes, 0, copies, 1.0, 0, 1.0, ways);
    return mergedSums(std::move(ways));
}

std::vector<UnitSum> mergedSums(std::vector<UnitSum> sums)
{
    std::sort(sums.begin(), sums.end(), [](const UnitSum& a, const UnitSum& b) { return a.units < b.units; });
    std::vector<UnitSum> merged;
    for (const UnitSum& s : sums)
        if (!merged.empty() && merged.back().units == s.units)
            merged.back().chance += s.chance;
        else
            merged.push_back(s);
    return merged;
}

void UnitSums::add(std::span<const UnitOutcome> outcomes)
{
    double nothing = 1;
    int reach = 0;
    for (const auto& [units, chance] : outcomes) {
        nothing -= chance;
        reach = std::max(reach, units);
    }
    if (reach == 0)
        return;
    convolve(nothing, outcomes);
}

void UnitSums::addSums(std::span<const UnitSum> sums)
{
    double nothing = 0;
    std::vector<UnitOutcome> outcomes;
    for (const UnitSum& s : sums)
        if (s.units <= 0)
            nothing += s.chance;
        else
            outcomes.push_back({static_cast<int>(s.units), s.chance});
    if (!outcomes.empty())
        convolve(nothing, outcomes);
}

void UnitSums::convolve(double nothing, std::span<const UnitOutcome> outcomes)
{
    int reach = 0;
    for (const auto& o : outcomes)
        reach = std::max(reach, o.units);
    // One pass per outcome over the old pmf (in the order the terms of each
    // new value were always summed), which the compiler vectorises: a walk
    // over every target spends most of its time here.
    const std::size_t old = pmf_.size();
    next_.assign(old + static_cast<std::size_t>(reach), 0.0);
    for (std::size_t k = 0; k < old; ++k)
        next_[k] = nothing * pmf_[k];
    for (const auto& [units, chance] : outcomes) {
        if (units <= 0)
            continue;
        double* shifted = next_.data() + units;
        for (std::size_t k = 0; k < old; ++k)
            shifted[k] += chance * pmf_[k];
    }
    pmf_.swap(next_);
    cutNegligible();
}

void UnitSums::add(const UnitSums& other)
{
    std::vector<UnitSum> sums(other.pmf_.size());
    for (std::size_t i = 0; i < sums.size(); ++i)
        sums[i] = {other.offset_ + static_cast<long long>(i), other.pmf_[i]};
    addSums(sums);
}

void UnitSums::cutNegligible()
{
    while (pmf_.size() > 1 && pmf_.back() < kNegligible)
        pmf_.pop_back();
    std::size_t lead = 0;
    while (lead + 1 < pmf_.size() && pmf_[lead] < kNegligible)
        ++lead;
    if (lead > 0) {
        pmf_.erase(pmf_.begin(), pmf_.begin() + static_cast<std::ptrdiff_t>(lead));
        offset_ += static_cast<long>(lead);
    }
}

std::pair<long, long> UnitSums::range(double level) const
{
    const double tail = level / 2 * (1 + kRounding);
    long low = offset_;
    double below = 0;
    for (std::size_t i = 0; i < pmf_.size(); ++i) {
        if (below + pmf_[i] > tail)
            break;
        below += pmf_[i];
        low = offset_ + static_cast<long>(i) + 1;
    }
    long high = offset_ + static_cast<long>(pmf_.size()) - 1;
    double above = 0;
    for (std::size_t i = pmf_.size(); i-- > 0;) {
        above += pmf_[i];
        if (above > tail)
            break;
        high = offset_ + static_cast<long>(i) - 1;
    }
    return {low, high};
}

double UnitSums::atLeast(long k) const
{
    double sum = 0;
    for (std::size_t i = pmf_.size(); i-- > 0 && offset_ + static_cast<long>(i) >= k;)
        sum += pmf_[i];
    return std::min(sum, 1.0);
}

long UnitSums::quantile(double share) const
{
    double sum = 0;
    for (std::size_t i = 0; i < pmf_.size(); ++i) {
        sum += pmf_[i];
        if (sum >= share * (1 - kRounding))
            return offset_ + static_cast<long>(i);
    }
    return offset_ + static_cast<long>(pmf_.size()) - 1;
}

}  // namespace rumone
