#include "core/rules/RuleWalk.h"

#include <optional>

#include "core/predict/PredictionRules.h"
#include "core/prizes/PrizeTheory.h"
#include "core/stats/UnitSums.h"

namespace rumone {

namespace {

// The methods' sets for every complete draw the walk-forward takes as a
// target, by index into the complete draws.
std::vector<std::optional<PositionSets>> methodSetsByDraw(const DrawHistory& history, int method, int reflect,
                                                          TargetRange range)
{
    const std::vector<Draw>& draws = history.completeDraws();
    std::vector<std::optional<PositionSets>> sets(draws.size());
    std::size_t i = 0;
    walkForward(history, {reflect}, range, [&](const WalkStep& step) {
        while (i < draws.size() && draws[i].number < step.target)
            ++i;
        if (i < draws.size())
            sets[i] = step.sets.front().sets[static_cast<std::size_t>(method)];
    });
    return sets;
}

// What the draw's tickets may pay, in units of `unit` yen.
std::vector<UnitOutcome> prizeOutcomes(std::size_t type, const RuleDraw& draw, long unit)
{
    std::vector<UnitOutcome> outcomes;
    if (type == kStraightTicket) {
        if (draw.chance > 0)
            outcomes.push_back({static_cast<int>(kStraightPrize / unit), double(draw.chance) / kNumbers});
        return outcomes;
    }
    for (std::size_t k = 0; k < kNumberKindCount; ++k) {
        const auto kind = static_cast<NumberKind>(k);
        if (draw.byKind[k] == 0)
            continue;
        const long long prize = theoreticalPrize(PrizeKind::Box, kind).value_or(0);
        outcomes.push_back({static_cast<int>(prize / unit), double(draw.byKind[k]) * orderingsOf(kind) / kNumbers});
    }
    return outcomes;
}

}  // namespace

AllowedDigits allowedDigitsAfter(const Rule& rule, std::span<const Draw> before, const PositionSets* methodSets)
{
    AllowedDigits allowed = rule.positions;
    const std::size_t recent = std::min(before.size(), static_cast<std::size_t>(rule.recent));
    for (std::size_t back = 1; back <= recent; ++back)
        for (std::size_t p = 0; p < 4; ++p)
            allowed[p] &= static_cast<DigitSet>(~digitBit(before[before.size() - back].digits[p]));
    if (rule.method)
        for (std::size_t p = 0; p < 4; ++p)
            allowed[p] &= methodSets ? (*methodSets)[p] : DigitSet{0};
    return allowed;
}

PredictorSets nextMethodSets(const DrawHistory& history, int reflect)
{
    return predictorSetsOf(predictDigits(methodStateOf(history), reflect));
}

double RuleWalkResult::expectedNet() const
{
    return double(tickets) * (double(kTicketPrice) * kPayoutShare - double(kTicketPrice));
}

RuleWalkResult walkRule(const DrawHistory& history, const Rule& rule, int reflect, TargetRange range,
                        const StoredDetails* details)
{
    RuleWalkResult result;
    const std::vector<Draw>& draws = history.completeDraws();
    const std::vector<std::optional<PositionSets>> methodSets =
        rule.method ? methodSetsByDraw(history, *rule.method, reflect, range)
                    : std::vector<std::optional<PositionSets>>{};
    RuleNumbers numbers(rule);
    const std::size_t types[] = {rule.type};
    const long unit = prizeUnitOf(types);
    const PrizeKind kind = kTicketTypes[rule.type].exact;
    UnitSums paidUnits;
    double expectedPaid = 0;
    for (std::size_t i = static_cast<std::size_t>(rule.drawsNeeded()); i < draws.size(); ++i) {
        const Draw& target = draws[i];
        if (target.number < range.from || target.number > range.to || (rule.method && !methodSets[i]))
            continue;
        const std::span<const Draw> before(draws.data(), i);
        const AllowedDigits allowed = allowedDigitsAfter(rule, before, rule.method ? &*methodSets[i] : nullptr);
        const RuleDraw draw = numbers.at(allowed, &target.digits);
        if (result.targets++ == 0)
            result.firstTarget = target.number;
        result.tickets += draw.tickets;
        result.winTrials.add(draw.chance);
        const std::vector<UnitOutcome> outcomes = prizeOutcomes(rule.type, draw, unit);
        for (const UnitOutcome& o : outcomes)
            expectedPaid += double(o.units) * double(unit) * o.chance;
        paidUnits.add(outcomes);
        if (draw.won) {
            ++result.wins;
            result.paid += theoreticalPrize(kind, target.digits);
            if (details)
                if (const auto d = details->find(target.number); d != details->end()) {
                    const auto& line = d->second.prizes[static_cast<std::size_t>(kind)];
                    if (line && !line->notApplicable) {
                        result.realPaid += line->yenPerUnit;
                        ++result.realWins;
                    }
                }
        }
        result.cost = result.tickets * kTicketPrice;
        result.trackTargets.push_back(target.number);
        result.trackNet.push_back(static_cast<float>(result.paid - result.cost));
        result.trackExpected.push_back(static_cast<float>(expectedPaid - double(result.cost)));
    }
    const auto [low, high] = paidUnits.range(0.05);
    result.netRange = {low * unit - result.cost, high * unit - result.cost};
    return result;
}

}  // namespace rumone
