#include "core/stats/GroupSums.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace rumone {

namespace {

constexpr double kRounding = 1e-9;  // as UnitSums' range

long long stepOf(const std::vector<UnitSum>& sums)
{
    long long step = 0;
    for (const UnitSum& s : sums)
        step = std::gcd(step, s.units);
    return step;
}

// Which groups go on the coarse step, and that step: of the steps the groups
// have, the one with the least work, counting the dense groups' passes over
// their sum and the sparse groups' products.
struct Split {
    long long step = 1;
    std::vector<bool> dense;
};

Split splitOf(const std::vector<std::vector<UnitSum>>& groups)
{
    std::vector<long long> steps;
    for (const auto& g : groups)
        steps.push_back(std::max(1LL, stepOf(g)));
    std::vector<long long> candidates = steps;
    candidates.push_back(1);
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    Split best;
    double bestCost = -1;
    for (const long long step : candidates) {
        double densePoints = 0, denseReach = 0, sparseCost = 0, sparseSize = 1, sparseReach = 0;
        for (std::size_t i = 0; i < groups.size(); ++i) {
            const double points = double(groups[i].size());
            const double reach = double(groups[i].back().units);
            if (steps[i] % step == 0) {
                densePoints += points;
                denseReach += reach / double(step);
            } else {
                sparseCost += sparseSize * points;
                sparseReach += reach;
                sparseSize = std::min(sparseSize * points, sparseReach + 1);
            }
        }
        const double cost = densePoints * (denseReach + 1) + sparseCost + sparseSize * 64;
        if (bestCost < 0 || cost < bestCost) {
            bestCost = cost;
            best.step = step;
            best.dense.clear();
            for (const long long s : steps)
                best.dense.push_back(s % step == 0);
        }
    }
    return best;
}

// The distribution of a + b, both given sum by sum in ascending order.
std::vector<UnitSum> sparseSum(const std::vector<UnitSum>& a, const std::vector<UnitSum>& b)
{
    const long long lowest = a.front().units + b.front().units;
    const long long span = a.back().units + b.back().units - lowest + 1;
    std::vector<UnitSum> out;
    if (span <= (1LL << 22)) {
        // Laid out by sum, the sums met noted as they are first met.
        std::vector<double> chances(static_cast<std::size_t>(span), 0.0);
        std::vector<std::size_t> met;
        for (const UnitSum& x : a)
            for (const UnitSum& y : b) {
                double& c = chances[static_cast<std::size_t>(x.units + y.units - lowest)];
                if (c == 0)
                    met.push_back(static_cast<std::size_t>(x.units + y.units - lowest));
                c += x.chance * y.chance;
            }
        // The sums met in order: sorted when they are few, else read off
        // the whole layout.
        if (double(met.size()) * std::log2(double(met.size()) + 2) < double(span)) {
            std::sort(met.begin(), met.end());
        } else {
            met.clear();
            for (std::size_t i = 0; i < chances.size(); ++i)
                if (chances[i] != 0)
                    met.push_back(i);
        }
        for (const std::size_t i : met)
            if (chances[i] >= kNegligibleChance)
                out.push_back({lowest + static_cast<long long>(i), chances[i]});
        return out;
    }
    for (const UnitSum& x : a)
        for (const UnitSum& y : b)
            out.push_back({x.units + y.units, x.chance * y.chance});
    std::vector<UnitSum> merged = mergedSums(std::move(out));
    std::erase_if(merged, [](const UnitSum& s) { return s.chance < kNegligibleChance; });
    return merged;
}

long long floorDiv(long long a, long long b)
{
    return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

// The dense part D (on `step`) and the sparse part R together: P(D + R <= x)
// and P(D + R >= x), each sparse sum read against D's cumulative chances.
// The sparse sums are kept by their remainder on the step, so that a
// reading divides once a remainder rather than once a sum.
class TwoParts {
public:
    TwoParts(const UnitSums& dense, long long step, const std::vector<UnitSum>& sparse)
        : step_(step), lowest_(dense.lowest()), least_(sparse.front().units), most_(sparse.back().units)
    {
        const auto chances = dense.chances();
        below_.assign(chances.size() + 1, 0.0);
        above_.assign(chances.size() + 1, 0.0);
        for (std::size_t i = 0; i < chances.size(); ++i)
            below_[i + 1] = below_[i] + chances[i];
        for (std::size_t i = chances.size(); i-- > 0;)
            above_[i] = above_[i + 1] + chances[i];
        least_ += lowest_ * step_;
        most_ += (lowest_ + static_cast<long long>(chances.size()) - 1) * step_;
        for (const UnitSum& r : sparse) {
            const long long quotient = floorDiv(r.units, step_);
            sums_.push_back({r.units - quotient * step_, quotient, r.chance});
        }
        std::sort(sums_.begin(), sums_.end(), [](const Sum& a, const Sum& b) { return a.remainder < b.remainder; });
    }

    long long least() const { return least_; }
    long long most() const { return most_; }

    // P(D + R <= x): D <= floor((x - r) / step).
    double atMost(long long x) const
    {
        return read(below_, [&](long long remainder) { return floorDiv(x - remainder, step_) - lowest_ + 1; });
    }
    // P(D + R >= x): D >= ceil((x - r) / step).
    double atLeast(long long x) const
    {
        return read(above_, [&](long long remainder) { return -floorDiv(remainder - x, step_) - lowest_; });
    }

private:
    struct Sum {
        long long remainder;  // on the step
        long long quotient;
        double chance;
    };

    // The sum of chance × cumulative[the remainder's index - quotient], the
    // index held to the table.
    template <typename IndexOf>
    double read(const std::vector<double>& cumulative, IndexOf indexOf) const
    {
        const long long last = static_cast<long long>(cumulative.size()) - 1;
        double sum = 0;
        long long remainder = -1, base = 0;
        for (const Sum& r : sums_) {
            if (r.remainder != remainder) {
                remainder = r.remainder;
                base = indexOf(remainder);
            }
            sum += r.chance * cumulative[static_cast<std::size_t>(std::clamp(base - r.quotient, 0LL, last))];
        }
        return sum;
    }

    long long step_;
    long long lowest_;
    long long least_;
    long long most_;
    std::vector<Sum> sums_;
    std::vector<double> below_;  // below_[i]: P(D < lowest + i)
    std::vector<double> above_;  // above_[i]: P(D >= lowest + i)
};

}  // namespace

void GroupSums::add(std::span<const UnitOutcome> outcomes, long copies)
{
    if (copies > 0)
        groups_.push_back(sumOfCopies(outcomes, copies));
}

std::pair<long long, long long> GroupSums::range(double level) const
{
    if (groups_.empty())
        return {0, 0};
    const Split split = splitOf(groups_);
    UnitSums dense;
    std::vector<UnitSum> sparse{{0, 1.0}};
    std::vector<UnitSum> onStep;
    // The dense groups from the narrowest, so that the sum widens late.
    std::vector<std::size_t> order(groups_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        return groups_[a].back().units < groups_[b].back().units;
    });
    for (const std::size_t i : order) {
        if (split.dense[i]) {
            onStep = groups_[i];
            for (UnitSum& s : onStep)
                s.units /= split.step;
            dense.addSums(onStep);
        } else {
            sparse = sparseSum(sparse, groups_[i]);
        }
    }
    const TwoParts sum(dense, split.step, sparse);
    const double tail = level / 2 * (1 + kRounding);
    // The smallest k with P(X <= k) > tail, then the largest with P(X >= k) > tail.
    long long lo = sum.least(), hi = sum.most();
    while (lo < hi) {
        const long long mid = lo + (hi - lo) / 2;
        if (sum.atMost(mid) > tail)
            hi = mid;
        else
            lo = mid + 1;
    }
    const long long low = lo;
    lo = sum.least();
    hi = sum.most();
    while (lo < hi) {
        const long long mid = hi - (hi - lo) / 2;
        if (sum.atLeast(mid) > tail)
            lo = mid;
        else
            hi = mid - 1;
    }
    return {low, lo};
}

}  // namespace rumone
