#include "core/analysis/chance/LongestRun.h"

#include <cmath>

namespace rumone {

namespace {

// Where the law is taken as whole.
constexpr double kWhole = 1.0 - 1e-12;

// P(no run of `length` or more successes) in `trials` trials: the chance
// of every current run length 0 .. length-1, carried trial by trial.
double noRunAsLong(long trials, double chance, long length)
{
    if (length <= 0)
        return trials <= 0 ? 1.0 : 0.0;
    std::vector<double> run(static_cast<std::size_t>(length), 0.0);
    run[0] = 1.0;
    for (long t = 0; t < trials; ++t) {
        double total = 0;
        for (std::size_t k = run.size(); k-- > 0;) {
            total += run[k];
            run[k] = k > 0 ? run[k - 1] * chance : 0.0;
        }
        run[0] = total * (1.0 - chance);
    }
    double sum = 0;
    for (const double p : run)
        sum += p;
    return sum;
}

}  // namespace

std::vector<double> longestRunLaw(long trials, double chance, int sequences)
{
    std::vector<double> atMost;
    for (long k = 0; k <= trials; ++k) {
        atMost.push_back(std::pow(noRunAsLong(trials, chance, k + 1), sequences));
        if (atMost.back() >= kWhole)
            break;
    }
    return atMost;
}

LongestFigure longestFigure(std::string what, long observed, const std::vector<double>& atMost)
{
    LongestFigure f;
    f.what = std::move(what);
    f.observed = observed;
    const auto at = [&atMost](long k) {  // P(longest <= k)
        return k < 0 ? 0.0 : static_cast<std::size_t>(k) < atMost.size() ? atMost[static_cast<std::size_t>(k)] : 1.0;
    };
    const long last = static_cast<long>(atMost.size());
    while (f.median < last && at(f.median) < 0.5)
        ++f.median;
    // low: the largest k with P(< k) <= 2.5 %; high: the smallest k with
    // P(> k) <= 2.5 %.
    while (f.low < last && at(f.low) <= 0.025)
        ++f.low;
    while (f.high < last && 1.0 - at(f.high) > 0.025)
        ++f.high;
    f.atLeast = 1.0 - at(observed - 1);
    return f;
}

}  // namespace rumone
