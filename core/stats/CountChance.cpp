#include "core/stats/CountChance.h"

#include <math.h>  // lgamma_r

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>

namespace rumone {

namespace {

// A tail sum is compared with its share with this much room for rounding.
constexpr double kRounding = 1e-9;
constexpr double kWindowSigmas = 12;
constexpr long kWindowMargin = 16;

struct Window {
    long from = 0;
    long to = 0;  // inclusive
};

Window windowOf(double mean, double variance, long lo, long hi)
{
    const double reach = kWindowSigmas * std::sqrt(variance) + kWindowMargin;
    return {std::max(lo, static_cast<long>(std::floor(mean - reach))),
            std::min(hi, static_cast<long>(std::ceil(mean + reach)))};
}

// log Γ(x), safe on any thread: std::lgamma writes the sign to the global
// signgam, and the verification view and the prediction's check walk
// count chances on threads of their own at the same time.
double logGamma(double x)
{
    int sign = 0;
    return ::lgamma_r(x, &sign);
}

// Binomial(m, q) over its window, 0 < q < 1: worked outwards from the mode.
std::vector<double> binomialOver(long m, double q, Window w)
{
    std::vector<double> pmf(static_cast<std::size_t>(w.to - w.from + 1), 0.0);
    const long mode = std::clamp(static_cast<long>(std::floor((m + 1) * q)), w.from, w.to);
    const double logAtMode = logGamma(m + 1.0) - logGamma(mode + 1.0) - logGamma(double(m - mode) + 1) +
                             mode * std::log(q) + double(m - mode) * std::log1p(-q);
    const double odds = q / (1 - q);
    double value = std::exp(logAtMode);
    pmf[static_cast<std::size_t>(mode - w.from)] = value;
    for (long k = mode; k < w.to; ++k) {
        value *= double(m - k) / double(k + 1) * odds;
        pmf[static_cast<std::size_t>(k + 1 - w.from)] = value;
    }
    value = std::exp(logAtMode);
    for (long k = mode; k > w.from; --k) {
        value *= double(k) / double(m - k + 1) / odds;
        pmf[static_cast<std::size_t>(k - 1 - w.from)] = value;
    }
    return pmf;
}

// A block of kBlock sums at a time, each held in a register while the
// terms a[i] * b[k - i] are added in ascending i: the same additions in the
// same order as term by term, plus exact zeros where k - i falls outside b
// (b is read with kBlock - 1 zeros on either side).
using Pair = double __attribute__((vector_size(2 * sizeof(double))));

std::vector<double> convolved(const std::vector<double>& a, const std::vector<double>& b)
{
    constexpr std::size_t kBlock = 8;
    const std::size_t n = a.size() + b.size() - 1;
    std::vector<double> padded(b.size() + 2 * (kBlock - 1), 0.0);
    std::copy(b.begin(), b.end(), padded.begin() + (kBlock - 1));
    std::vector<double> sum((n + kBlock - 1) / kBlock * kBlock, 0.0);
    for (std::size_t k = 0; k < n; k += kBlock) {
        const std::size_t first = k + 1 > b.size() ? k + 1 - b.size() : 0;
        const std::size_t last = std::min(a.size() - 1, k + kBlock - 1);
        Pair block[kBlock / 2] = {};
        for (std::size_t i = first; i <= last; ++i) {
            const double* bs = padded.data() + (kBlock - 1 + k - i);
            const Pair ai = {a[i], a[i]};
            for (std::size_t t = 0; t < kBlock / 2; ++t) {
                Pair bt;
                std::memcpy(&bt, bs + 2 * t, sizeof bt);
                block[t] += ai * bt;
            }
        }
        std::memcpy(sum.data() + k, block, sizeof block);
    }
    sum.resize(n);
    return sum;
}

}  // namespace

void TrialCounts::add(int chance, long count)
{
    if (count <= 0)
        return;
    const auto found =
        std::find_if(counts_.begin(), counts_.end(), [chance](const auto& entry) { return entry.first == chance; });
    if (found != counts_.end())
        found->second += count;
    else
        counts_.emplace_back(chance, count);
}

void TrialCounts::add(const TrialCounts& other)
{
    for (const auto& [chance, count] : other.counts_)
        add(chance, count);
}

std::vector<BinomialPart> TrialCounts::parts() const
{
    std::vector<BinomialPart> out;
    for (const auto& [chance, count] : counts_)
        out.push_back({double(chance) / kChanceScale, count});
    return out;
}

double TrialCounts::mean() const
{
    double sum = 0;
    for (const auto& [chance, count] : counts_)
        sum += double(count) * chance / kChanceScale;
    return sum;
}

double TrialCounts::variance() const
{
    double sum = 0;
    for (const auto& [chance, count] : counts_) {
        const double q = double(chance) / kChanceScale;
        sum += double(count) * q * (1 - q);
    }
    return sum;
}

// The binomials of each chance convolved one after another; what is
// convolved so far is cut to its own window, as the rest only adds.
CountDistribution::CountDistribution(std::span<const BinomialPart> parts)
{
    pmf_ = {1.0};
    for (const auto& [q, m] : parts) {
        if (q <= 0 || m <= 0)
            continue;
        if (q >= 1) {
            offset_ += m;
            mean_ += double(m);
            continue;
        }
        const Window w = windowOf(m * q, m * q * (1 - q), 0, m);
        pmf_ = convolved(pmf_, binomialOver(m, q, w));
        offset_ += w.from;
        mean_ += m * q;
        variance_ += m * q * (1 - q);
        cutToWindow();
    }
    finish();
}

// The new trials are convolved among themselves first: one convolution
// of the wide distribution, with a narrow one.
CountDistribution::CountDistribution(const CountDistribution& before, std::span<const BinomialPart> more)
{
    const CountDistribution added(more);
    pmf_ = convolved(before.pmf_, added.pmf_);
    offset_ = before.offset_ + added.offset_;
    mean_ = before.mean_ + added.mean_;
    variance_ = before.variance_ + added.variance_;
    finish();
}

void CountDistribution::cutToWindow()
{
    const long top = offset_ + static_cast<long>(pmf_.size()) - 1;
    const Window keep = windowOf(mean_, variance_, offset_, top);
    pmf_.erase(pmf_.begin() + (keep.to - offset_) + 1, pmf_.end());
    pmf_.erase(pmf_.begin(), pmf_.begin() + (keep.from - offset_));
    offset_ = keep.from;
}

void CountDistribution::finish()
{
    cutToWindow();
    atMost_.resize(pmf_.size());
    std::partial_sum(pmf_.begin(), pmf_.end(), atMost_.begin());
    atLeast_.resize(pmf_.size());
    std::partial_sum(pmf_.rbegin(), pmf_.rend(), atLeast_.rbegin());
}

double CountDistribution::below(long k) const
{
    const long i = k - 1 - offset_;  // P(X <= k - 1)
    if (i < 0)
        return 0;
    return atMost_[static_cast<std::size_t>(std::min<long>(i, static_cast<long>(atMost_.size()) - 1))];
}

double CountDistribution::above(long k) const
{
    const long i = k + 1 - offset_;  // P(X >= k + 1)
    if (i >= static_cast<long>(atLeast_.size()))
        return 0;
    return atLeast_[static_cast<std::size_t>(std::max<long>(i, 0))];
}

// Both tails move one step at a time from the mean outwards.
ChanceRange rangeOf(const CountDistribution& d, double level)
{
    const double tail = level / 2 * (1 + kRounding);
    long low = static_cast<long>(std::floor(d.mean()));
    while (d.below(low) > tail)
        --low;
    while (d.below(low + 1) <= tail)
        ++low;
    long high = static_cast<long>(std::ceil(d.mean()));
    while (d.above(high) > tail)
        ++high;
    while (high > 0 && d.above(high - 1) <= tail)
        --high;
    return {low, high, d.below(low) + d.above(high)};
}

ChanceRange binomialRange(long trials, double p, double level)
{
    const BinomialPart part{std::clamp(p, 0.0, 1.0), trials};
    return rangeOf(CountDistribution(std::span(&part, 1)), level);
}

CountFigures chanceFiguresOf(const TrialCounts& trials, long observed)
{
    const CountDistribution d(trials);
    CountFigures f;
    static_cast<ChanceRange&>(f) = rangeOf(d, 0.05);
    f.expected = trials.mean();
    f.observed = observed;
    f.p = std::min(1.0, 2 * std::min(d.below(observed + 1), d.above(observed - 1)));
    return f;
}

std::vector<bool> holmDifferent(const std::vector<double>& ps, double alpha)
{
    std::vector<std::size_t> order(ps.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&ps](std::size_t a, std::size_t b) { return ps[a] < ps[b]; });
    std::vector<bool> different(ps.size(), false);
    for (std::size_t rank = 0; rank < order.size(); ++rank) {
        if (ps[order[rank]] > alpha / double(order.size() - rank))
            break;
        different[order[rank]] = true;
    }
    return different;
}

}  // namespace rumone
