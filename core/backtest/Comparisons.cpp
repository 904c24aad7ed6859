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

ComparisonSummary summarise(std::vector<Comparison> comparisons)
{
    ComparisonSummary s;
    std::vector<double> ps;
    for (const Comparison& c : comparisons) {
        s.targets = std::max(s.targets, c.targets);
        s.outside += c.figures.within() ? 0 : 1;
        s.expectedOutside += c.figures.outsideChance;
        ps.push_back(c.figures.p);
    }
    const std::vector<bool> different = holmDifferent(ps);
    for (std::size_t i = 0; i < comparisons.size(); ++i) {
        comparisons[i].different = different[i];
        s.different += different[i] ? 1 : 0;
    }
    s.comparisons = std::move(comparisons);
    return s;
}

std::string oneDecimal(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

// "一発（反映数5）は偶然より少ない的中" for each comparison that differs.
std::string differingText(const ComparisonSummary& s)
{
    std::string text;
    for (const Comparison& c : s.comparisons) {
        if (!c.different)
            continue;
        if (!text.empty())
            text += "、";
        text += kPredictorNames[static_cast<std::size_t>(c.predictor)];
        if (c.reflect >= 0)
            text += "（反映数" + std::to_string(c.reflect) + "）";
        text += double(c.figures.observed) > c.figures.expected ? "は偶然より多い的中" : "は偶然より少ない的中";
    }
    return text;
}

}  // namespace

ComparisonSummary compareAll(const ReflectBoards& boards)
{
    std::vector<Comparison> comparisons;
    for (int i = 0; i < kCycleMethodCount; ++i)
        comparisons.push_back(comparisonOf(boards[0][static_cast<std::size_t>(i)], i, -1));
    for (int i = kCycleMethodCount; i < kPredictorCount; ++i)
        for (int k = 0; k < kReflectCounts; ++k)
            comparisons.push_back(comparisonOf(boards[static_cast<std::size_t>(k)][static_cast<std::size_t>(i)], i, k));
    return summarise(std::move(comparisons));
}

ComparisonSummary compareOne(const Scoreboard& board)
{
    std::vector<Comparison> comparisons;
    for (int i = 0; i < kPredictorCount; ++i)
        comparisons.push_back(comparisonOf(board[static_cast<std::size_t>(i)], i, -1));
    return summarise(std::move(comparisons));
}

std::string conclusionText(const ComparisonSummary& s)
{
    if (s.targets == 0)
        return "検証できる回がありません。";
    if (s.targets < kMinVerdictTargets)
        return verdictText(Verdict::TooFew, s.targets) + "。";
    std::string text = std::to_string(s.comparisons.size()) + "通りの比較のうち偶然の範囲外は" +
                       std::to_string(s.outside) + "通り（偶然だけでも平均" + oneDecimal(s.expectedOutside) +
                       "通り）。";
    if (s.different == 0)
        return text + "偶然と区別できる予想手法はありません。";
    return text + "比較の数で補正しても偶然と区別できるのは、" + differingText(s) + "です。";
}

std::string predictionCheckText(const ComparisonSummary& s, int reflect)
{
    std::string text = "これまでの検証";
    if (s.targets > 0)
        text += "（反映数" + std::to_string(reflect) + "、" + std::to_string(s.targets) + "回）";
    text += "：";
    if (s.targets == 0)
        text += "検証できる回がありません";
    else if (s.targets < kMinVerdictTargets)
        text += verdictText(Verdict::TooFew, s.targets);
    else if (s.different == 0)
        text += "どの予想も偶然と同程度の的中です";
    else
        text += differingText(s) + "で、偶然と区別できます";
    return text + "（予想の検証）";
}

}  // namespace rumone
