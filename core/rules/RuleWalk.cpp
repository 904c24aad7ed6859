#include "core/rules/RuleWalk.h"

#include <cstdio>
#include <optional>

#include "core/backtest/BandTargets.h"
#include "core/backtest/Scoring.h"
#include "core/backtest/TicketGrid.h"
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

// The indexes into `draws` of the targets: from the first with the draws
// the rule needs before it, within `range`, with the methods' sets a
// method needs.
std::vector<std::size_t> targetIndexes(const std::vector<Draw>& draws, const Rule& rule, TargetRange range,
                                       const std::vector<std::optional<PositionSets>>& methodSets)
{
    std::vector<std::size_t> targets;
    for (std::size_t i = static_cast<std::size_t>(rule.drawsNeeded()); i < draws.size(); ++i)
        if (draws[i].number >= range.from && draws[i].number <= range.to && (!rule.method || methodSets[i]))
            targets.push_back(i);
    return targets;
}

// What `kind` paid at draw `number` as its stored prizes say, if they do.
std::optional<long long> storedPrize(const StoredDetails* details, int number, PrizeKind kind)
{
    if (!details)
        return std::nullopt;
    const auto d = details->find(number);
    if (d == details->end())
        return std::nullopt;
    const auto& line = d->second.prizes[static_cast<std::size_t>(kind)];
    if (!line || line->notApplicable)
        return std::nullopt;
    return line->yenPerUnit;
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

RuleWalkResult walkRule(const DrawHistory& history, const Rule& rule, TargetRange range, const StoredDetails* details)
{
    RuleWalkResult result;
    const std::vector<Draw>& draws = history.completeDraws();
    const std::vector<std::optional<PositionSets>> methodSets =
        rule.method ? methodSetsByDraw(history, *rule.method, rule.reflectCount(), range)
                    : std::vector<std::optional<PositionSets>>{};
    RuleNumbers numbers(rule);
    const std::size_t types[] = {rule.type};
    const long unit = prizeUnitOf(types);
    const PrizeKind kind = kTicketTypes[rule.type].exact;
    // The prizes' distribution so far, and that of the targets since the
    // last band point, added to it there (far cheaper than term by term).
    UnitSums paidUnits;
    UnitSums sinceBand;
    double expectedPaid = 0;
    const std::vector<std::size_t> targets = targetIndexes(draws, rule, range, methodSets);
    result.bandAt = evenlySpread(targets.size(), kBandPoints);
    for (const std::size_t i : targets) {
        const Draw& target = draws[i];
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
        sinceBand.add(outcomes);
        if (draw.won) {
            ++result.wins;
            result.paid += theoreticalPrize(kind, target.digits);
            if (const auto stored = storedPrize(details, target.number, kind)) {
                result.realPaid += *stored;
                ++result.realWins;
            }
        }
        result.cost = result.tickets * kTicketPrice;
        result.trackTargets.push_back(target.number);
        result.trackNet.push_back(static_cast<float>(result.paid - result.cost));
        result.trackExpected.push_back(static_cast<float>(expectedPaid - double(result.cost)));
        if (result.bandLow.size() < result.bandAt.size() &&
            result.bandAt[result.bandLow.size()] + 1 == result.trackNet.size()) {
            paidUnits.add(sinceBand);
            sinceBand = UnitSums();
            const auto [low, high] = paidUnits.range(0.05);
            result.bandLow.push_back(static_cast<float>(low * unit - result.cost));
            result.bandHigh.push_back(static_cast<float>(high * unit - result.cost));
        }
    }
    paidUnits.add(sinceBand);
    const auto [low, high] = paidUnits.range(0.05);
    result.netRange = {low * unit - result.cost, high * unit - result.cost};
    return result;
}

std::string walkSummaryText(const RuleWalkResult& walk)
{
    if (walk.targets == 0)
        return "この条件で検証できる回がありません（条件が必要とする過去の回が足りません）。";
    const CountFigures wins = walk.winFigures();
    char expected[32];
    std::snprintf(expected, sizeof expected, "%.1f", wins.expected);
    std::string text = "第" + std::to_string(walk.firstTarget) + "回からの" + groupedNumber(walk.targets) +
                       "回（それぞれその前の回だけから選んだ数字）：購入" + groupedNumber(walk.tickets) + "枚、当せん" +
                       groupedNumber(walk.wins) + "回。偶然なら期待" + expected + "回、95%の範囲" +
                       groupedNumber(wins.low) + "〜" + groupedNumber(wins.high) + "回";
    const Verdict verdict = verdictOf(walk.targets, wins);
    text += "（" + verdictText(verdict, walk.targets) + "）。\n";
    text += "費用" + yenText(walk.cost) + "、理論配当" + yenText(walk.paid) + "、損益" + yenText(walk.net()) +
            "。1枚−110円の期待なら" + yenText(static_cast<long long>(walk.expectedNet())) + "、95%の範囲" +
            yenText(walk.netRange.first) + "〜" + yenText(walk.netRange.second) + "。";
    if (walk.realWins > 0)
        text += "\n実際の当せん金が記録された当せん" + groupedNumber(walk.realWins) + "回の当せん金は" +
                yenText(walk.realPaid) + "（理論配当とは別に示します）。";
    return text;
}

std::string nextDrawText(int draw, const RuleDraw& tickets)
{
    return "第" + std::to_string(draw) + "回: " + groupedNumber(tickets.tickets) + "枚 " +
           yenText(static_cast<long long>(tickets.tickets) * kTicketPrice);
}

}  // namespace rumone
