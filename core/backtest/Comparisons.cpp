#include "core/backtest/Comparisons.h"

#include <algorithm>
#include <cstdio>

#include "core/predict/Prediction.h"

namespace rumone {

namespace {

Comparison comparisonOf(const Tally& tally, int predictor, int reflect)
{
    Comparison c;
    c.predictor = predictor;
    c.reflect = reflect;
    c.targets = tally.targets;
    c.figures = tally.hitFigures();
    return c;
}

// Counts `c` into the summary's totals.
void addTo(ComparisonSummary& s, const Comparison& c)
{
    s.targets = std::max(s.targets, c.targets);
    s.different += c.different ? 1 : 0;
    s.comparisons.push_back(c);
    if (c.repeats)
        return;
    ++s.distinct;
    s.outside += c.figures.within() ? 0 : 1;
    s.expectedOutside += c.figures.outsideChance;
}

ComparisonSummary summarise(std::vector<Comparison> comparisons)
{
    std::vector<double> ps;
    for (const Comparison& c : comparisons)
        ps.push_back(c.figures.p);
    const std::vector<bool> different = holmDifferent(ps);
    ComparisonSummary s;
    for (std::size_t i = 0; i < comparisons.size(); ++i) {
        comparisons[i].different = different[i];
        addTo(s, comparisons[i]);
    }
    return s;
}

// "反映数0～10の37通りを補正して比較": what the correction was taken over.
std::string correctionNote(const ComparisonSummary& all)
{
    return "反映数0～" + std::to_string(kReflectCounts - 1) + "の" + std::to_string(all.comparisons.size()) +
           "通りを補正して比較";
}

std::string oneDecimal(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

// "一発（反映数5、偶然より少ない的中）" for each comparison that differs;
// the reflect count is left out where the line names it already.
std::string differingText(const ComparisonSummary& s, bool nameReflect)
{
    std::string text;
    for (const Comparison& c : s.comparisons) {
        if (!c.different)
            continue;
        if (!text.empty())
            text += "、";
        text += kPredictorNames[static_cast<std::size_t>(c.predictor)];
        text += "（";
        if (nameReflect && c.reflect >= 0)
            text += "反映数" + std::to_string(c.reflect) + "、";
        text += double(c.figures.observed) > c.figures.expected ? "偶然より多い的中）" : "偶然より少ない的中）";
    }
    return text;
}

// "37通りの比較" or, where rows repeat, "37通りの比較（同じ予想が続いた行を
// 1つと数えて12通り）".
std::string comparisonsText(const ComparisonSummary& s)
{
    std::string text = std::to_string(s.comparisons.size()) + "通りの比較";
    if (s.distinct < static_cast<int>(s.comparisons.size()))
        text += "（どの回も同じ予想だった行を1つと数えて" + std::to_string(s.distinct) + "通り）";
    return text;
}

ComparisonSummary compareRows(const ReflectBoards& boards, const SameRows* same)
{
    std::vector<Comparison> comparisons;
    for (int i = 0; i < kCycleMethodCount; ++i)
        comparisons.push_back(comparisonOf(boards[0][static_cast<std::size_t>(i)], i, -1));
    for (int i = kCycleMethodCount; i < kPredictorCount; ++i)
        for (int k = 0; k < kReflectCounts; ++k) {
            comparisons.push_back(comparisonOf(boards[static_cast<std::size_t>(k)][static_cast<std::size_t>(i)], i, k));
            comparisons.back().repeats = same && same->firstEqual(i, k) != k;
        }
    return summarise(std::move(comparisons));
}

}  // namespace

ComparisonSummary compareAll(const ReflectBoards& boards)
{
    return compareRows(boards, nullptr);
}

ComparisonSummary compareAll(const ReflectBoards& boards, const SameRows& same)
{
    return compareRows(boards, &same);
}

ComparisonSummary comparisonsAt(const ComparisonSummary& all, int reflect)
{
    ComparisonSummary s;
    for (const Comparison& c : all.comparisons)
        if (c.reflect == -1 || c.reflect == reflect)
            addTo(s, c);
    return s;
}

ColouredChance colouredChance(const Scoreboard& board, const TicketBoard& tickets)
{
    ColouredChance out;
    double none = 1;
    const auto addCell = [&](long targets, const CountFigures& f) {
        if (targets < kMinVerdictTargets)
            return;
        ++out.cells;
        none *= 1 - f.outsideChance;
    };
    for (std::size_t i = 0; i < kPredictorCount; ++i) {
        addCell(board[i].targets, board[i].hitFigures());
        addCell(board[i].targets, board[i].allFourFigures());
        for (std::size_t type = 0; type < kTicketTypeCount; ++type) {
            const TicketTally& t = tickets[i][type];
            // A cycle row's straight ticket wins exactly when all four
            // positions hit: the all-four cell again.
            if (t.count == 0 || (i < kCycleMethodCount && type == kStraightTicket))
                continue;
            long targets = 0;  // one trial per target that bought the type
            for (const auto& [chance, trials] : t.winTrials.byChance())
                targets += trials;
            addCell(targets, t.winFigures());
        }
    }
    out.any = 1 - none;
    return out;
}

std::string colouredChanceText(const ColouredChance& chance)
{
    if (chance.cells == 0)
        return "";
    char percent[32];
    std::snprintf(percent, sizeof percent, "%.0f", 100 * chance.any);
    return "判定した" + std::to_string(chance.cells) +
           "マスのどれかが偶然だけで色付きになる確率は、マスを互いに無関係とみなした概算で約" + percent +
           "%です（マス同士は関係しあうため、実際の値とは少し違います）。";
}

std::string conclusionText(const ComparisonSummary& s)
{
    if (s.targets == 0)
        return "検証できる回がありません。";
    if (s.targets < kMinVerdictTargets)
        return verdictText(Verdict::TooFew, s.targets) + "。";
    std::string text = comparisonsText(s) + "のうち偶然の範囲外は" + std::to_string(s.outside) +
                       "通り（偶然だけでも平均" + oneDecimal(s.expectedOutside) + "通り）。";
    if (s.different == 0)
        return text + "偶然と区別できる予想手法はありません。";
    return text + "比較の数で補正しても偶然と区別できるのは、" + differingText(s, true) + "です。";
}

std::string resultConclusionText(const BacktestResult& r)
{
    return conclusionText(compareAll(r.boards, r.sameRows)) + colouredChanceText(colouredChance(r.board, r.tickets));
}

std::string predictionCheckText(const ComparisonSummary& all, int reflect)
{
    const ComparisonSummary s = comparisonsAt(all, reflect);
    std::string text = "これまでの検証";
    if (s.targets > 0)
        text += "（反映数" + std::to_string(reflect) + "、" + std::to_string(s.targets) + "回、" + correctionNote(all) +
                "）";
    text += "：";
    if (s.targets == 0)
        text += "検証できる回がありません";
    else if (s.targets < kMinVerdictTargets)
        text += verdictText(Verdict::TooFew, s.targets);
    else if (s.different == 0)
        text += "どの予想も偶然と区別できません";
    else
        text += differingText(s, false) + "は偶然と区別できます";
    return text + "（予想の検証）";
}

}  // namespace rumone
