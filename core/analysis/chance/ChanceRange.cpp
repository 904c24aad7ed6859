#include "core/analysis/chance/ChanceRange.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace rumone {

namespace {

// Terms smaller than this share of the largest one are left out: their sum
// lies far below any tail a range is asked for.
constexpr double kNegligibleShare = 1e-22;
// Tail sums are compared with a relative allowance for rounding.
constexpr double kRounding = 1e-9;

struct Terms {
    long first = 0;             // k of probability.front()
    std::vector<double> terms;  // P(X = first + i)
};

// The binomial probabilities around the mode, out to where they vanish.
Terms binomialTerms(long n, double p)
{
    const double q = 1.0 - p;
    const long mode = std::min(n, static_cast<long>(std::floor((n + 1) * p)));
    const double logMode = std::lgamma(n + 1.0) - std::lgamma(mode + 1.0) - std::lgamma(n - mode + 1.0) +
                           mode * std::log(p) + (n - mode) * std::log(q);
    const double top = std::exp(logMode);
    std::vector<double> below;
    double t = top;
    for (long k = mode; k > 0; --k) {
        t *= static_cast<double>(k) / static_cast<double>(n - k + 1) * q / p;
        if (t < top * kNegligibleShare)
            break;
        below.push_back(t);
    }
    Terms out;
    out.first = mode - static_cast<long>(below.size());
    out.terms.assign(below.rbegin(), below.rend());
    out.terms.push_back(top);
    t = top;
    for (long k = mode; k < n; ++k) {
        t *= static_cast<double>(n - k) / static_cast<double>(k + 1) * p / q;
        if (t < top * kNegligibleShare)
            break;
        out.terms.push_back(t);
    }
    return out;
}

}  // namespace

ChanceRange binomialRange(long trials, double p, double level)
{
    if (trials <= 0)
        return {};
    p = std::clamp(p, 0.0, 1.0);
    if (p == 0.0)
        return {0, 0, 0.0};
    if (p == 1.0)
        return {trials, trials, 0.0};
    const double tail = level / 2.0 * (1.0 + kRounding);
    const Terms t = binomialTerms(trials, p);
    const long size = static_cast<long>(t.terms.size());

    // low: P(X < k) grows with k; keep the last k where it stays in the tail.
    long i = 0;
    double lowTail = 0.0;
    while (i < size && lowTail + t.terms[i] <= tail)
        lowTail += t.terms[i++];
    ChanceRange r;
    r.low = t.first + i;

    // high: P(X > k) shrinks with k; the first k where it is in the tail.
    long j = size - 1;
    double highTail = 0.0;
    while (j >= 0 && highTail + t.terms[j] <= tail)
        highTail += t.terms[j--];
    r.high = t.first + j;
    r.outsideChance = lowTail + highTail;
    return r;
}

}  // namespace rumone
