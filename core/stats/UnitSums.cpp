#include "core/stats/UnitSums.h"

#include <algorithm>

namespace rumone {

namespace {

// Entries of the distribution lighter than this are cut off.
constexpr double kNegligible = 1e-24;
constexpr double kRounding = 1e-9;

}  // namespace

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
    next_.assign(pmf_.size() + other.pmf_.size() - 1, 0.0);
    for (std::size_t j = 0; j < other.pmf_.size(); ++j) {
        const double chance = other.pmf_[j];
        double* shifted = next_.data() + j;
        for (std::size_t k = 0; k < pmf_.size(); ++k)
            shifted[k] += chance * pmf_[k];
    }
    pmf_.swap(next_);
    offset_ += other.offset_;
    cutNegligible();
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
