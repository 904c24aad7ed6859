#include "core/predict/PredictionRules.h"

#include <algorithm>

namespace rumone {

namespace {

// One elimination formula: digit at `position` (1-4) of the draw `lookBack`
// draws before the latest, plus `addend`.
struct EliminationRow {
    int position;
    int addend;
    int lookBack;
};

constexpr std::array<EliminationRow, kEliminationRowCount> kEliminationTable = {{
    {1, +1, 0},
    {2, +8, 0},
    {1, 0, 1},
    {4, -7, 1},
    {4, +8, 2},
    {2, -5, 2},
    {1, +3, 3},
    {4, +1, 3},
    {4, +4, 4},
    {1, +7, 4},
    {4, +6, 5},
    {4, -9, 5},
    {1, +4, 6},
    {2, +1, 7},
    {4, +9, 9},
}};

// The farthest any formula looks back, and the most switches that move it
// further (reflect is 0-10).
constexpr int kLongestLookBack = [] {
    int longest = 0;
    for (const EliminationRow& row : kEliminationTable)
        longest = std::max(longest, row.lookBack);
    return longest;
}();
constexpr int kMaxReflect = 10;
// The longest gap a cycle method names.
constexpr int kLongestCycleGap = 12;

}  // namespace

int cycleMethodOf(int gap)
{
    switch (gap) {
        case 7:
            return 0;
        case 9:
            return 1;
        case 11:
            return 2;
        case 12:
            return 3;
        default:
            return -1;
    }
}

bool PlacedDigits::contains(int digit) const
{
    for (const std::int8_t d : *this)
        if (d == digit)
            return true;
    return false;
}

void PlacedDigits::place(int digit)
{
    if (!contains(digit) && count < static_cast<int>(digits.size()))
        digits[static_cast<std::size_t>(count++)] = static_cast<std::int8_t>(digit);
}

MethodState::MethodState() : digitsByDraw_(static_cast<std::size_t>(kMaxDrawNumber) + 1, std::array<std::int8_t, 4>{})
{
    for (auto& method : cycle_)
        method.fill(kNoDigit);
}

int MethodState::digitAt(int drawNumber, int position) const
{
    if (drawNumber < 0 || drawNumber > kMaxDrawNumber || position < 1 || position > 4)
        return 0;
    return digitsByDraw_[static_cast<std::size_t>(drawNumber)][static_cast<std::size_t>(position - 1)];
}

// Each digit looks back from the draw before for the nearest draw (down to
// draw 1; draw 0 is never searched) that holds it in any position. A draw
// number with no complete draw reads as four 0 digits, so the search for a 0
// stops there.
int MethodState::gapToPrevious(int n, std::int8_t digit) const
{
    for (int k = n - 1; k >= 1; --k) {
        const auto& d = digitsByDraw_[static_cast<std::size_t>(k)];
        if (d[0] == digit || d[1] == digit || d[2] == digit || d[3] == digit)
            return n - k;
    }
    return 0;
}

void MethodState::advance(const Draw& draw)
{
    const int n = draw.number;
    if (n < 0 || n > kMaxDrawNumber)
        return;
    auto& stored = digitsByDraw_[static_cast<std::size_t>(n)];
    for (std::size_t i = 0; i < 4; ++i)
        stored[i] = static_cast<std::int8_t>(draw.digits[i]);
    for (std::size_t p = 0; p < 4; ++p) {
        const auto wanted = static_cast<std::int8_t>(draw.digits[p]);
        if (const int m = cycleMethodOf(gapToPrevious(n, wanted)); m >= 0)
            cycle_[static_cast<std::size_t>(m)][p] = wanted;
    }
    latest_ = n;
    started_ = true;
}

// Taken in one by one, each draw overwrites the cycle digits its gaps
// name, so every cycle digit ends as the one of the latest draw that names
// it. With every draw's digits stored first, the draws are read from the
// latest back and each cycle digit is taken from the first draw that names
// it: a few hundred draws, where the walk forward reads them all. The
// search back sees the same digits as the walk forward did, because every
// smaller draw number came before.
bool MethodState::takeInLatestFirst(const std::vector<Draw>& draws, std::optional<int> firstKnown)
{
    if (draws.empty())
        return !firstKnown;
    for (const Draw& draw : draws)
        for (std::size_t i = 0; i < 4; ++i)
            digitsByDraw_[static_cast<std::size_t>(draw.number)][i] = static_cast<std::int8_t>(draw.digits[i]);
    std::array<std::array<bool, 4>, kCycleMethodCount> named{};
    int unnamed = kCycleMethodCount * 4;
    for (auto it = draws.rbegin(); it != draws.rend() && unnamed > 0; ++it) {
        // Below this the search back would leave the draws known.
        if (firstKnown && it->number - kLongestCycleGap < *firstKnown)
            return false;
        for (std::size_t p = 0; p < 4; ++p) {
            const auto wanted = static_cast<std::int8_t>(it->digits[p]);
            const int m = cycleMethodOf(gapToPrevious(it->number, wanted));
            if (m < 0 || named[static_cast<std::size_t>(m)][p])
                continue;
            named[static_cast<std::size_t>(m)][p] = true;
            cycle_[static_cast<std::size_t>(m)][p] = wanted;
            --unnamed;
        }
    }
    latest_ = draws.back().number;
    started_ = true;
    return !firstKnown || unnamed == 0;
}

MethodState MethodState::ofDraws(const std::vector<Draw>& draws)
{
    MethodState state;
    const bool ascending = std::adjacent_find(draws.begin(), draws.end(), [](const Draw& a, const Draw& b) {
                               return a.number >= b.number;
                           }) == draws.end();
    if (ascending) {
        state.takeInLatestFirst(draws);
    } else {
        for (const Draw& draw : draws)
            state.advance(draw);
    }
    return state;
}

MethodState methodStateOf(const DrawHistory& history)
{
    return MethodState::ofDraws(history.completeDraws());
}

std::optional<MethodState> methodStateOf(const LatestDraws& latest)
{
    const std::vector<Draw>& draws = latest.completeDraws();
    if (latest.whole())
        return MethodState::ofDraws(draws);
    MethodState state;
    if (draws.empty() || !latest.ascending() ||
        draws.back().number - kLongestLookBack - kMaxReflect < latest.firstRowNumber() ||
        !state.takeInLatestFirst(draws, latest.firstRowNumber()))
        return std::nullopt;
    return state;
}

int wrapDigit(int value)
{
    if (value > 9)
        return value - 9;
    if (value <= 0)
        return value + 9;
    return value;
}

namespace {

// The fifteen formulas, read `reflect` draws further back than the latest.
// Before draw 0 there is nothing to read: four 0 digits, as for a missing
// draw number.
EliminationCandidates eliminationCandidatesOf(const MethodState& state, int reflect)
{
    EliminationCandidates out{};
    for (std::size_t i = 0; i < out.size(); ++i) {
        const EliminationRow& row = kEliminationTable[i];
        const int n = state.latestDrawNumber() - row.lookBack - reflect;
        out[i] = static_cast<std::int8_t>(wrapDigit(state.digitAt(n, row.position) + row.addend));
    }
    return out;
}

}  // namespace

PlacedDigits matchingCycleDigits(const CycleDigits& cycle, const EliminationCandidates& candidates, int tolerance,
                                 int cells)
{
    PlacedDigits placed;
    for (const int e : candidates)
        for (const auto& method : cycle)
            for (const int s : method) {
                if (s == kNoDigit)
                    break;
                if (e < s - tolerance || e > s + tolerance || placed.contains(s))
                    continue;
                placed.place(s);
                if (placed.count >= cells)
                    return placed;
            }
    return placed;
}

PredictedDigits predictDigits(const MethodState& state, int reflect)
{
    PredictedDigits out;
    out.cycle = state.cycleDigits();
    out.candidates = eliminationCandidatesOf(state, reflect);
    for (const int e : out.candidates)
        out.elimination.place(e);
    out.rapidFire = matchingCycleDigits(out.cycle, out.candidates, 3, 8);
    out.oneShot = matchingCycleDigits(out.cycle, out.candidates, 2, 4);
    return out;
}

}  // namespace rumone
