#include "core/analysis/chance/ChanceVerdict.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <tuple>
#include <vector>

#include "core/analysis/AnalysisView.h"

namespace rumone {

namespace {

constexpr std::size_t kNamedOutliers = 3;

std::string itemName(const ChanceFigures& f, const ChanceItem& item)
{
    return f.itemNoun + item.label;
}

std::string observedText(const ChanceFigures& f, const ChanceItem& item)
{
    if (f.scale == ChanceScale::Rate)
        return groupedDecimal(100.0 * static_cast<double>(item.observed) / static_cast<double>(item.trials), 1) +
               "%（" + groupedCount(item.trials) + "回中" + groupedCount(item.observed) + "回）、偶然なら" +
               groupedDecimal(100.0 * item.p, 2) + "%";
    return groupedCount(item.observed) + "回、偶然なら" + groupedDecimal(item.expected(), 1) + "回";
}

// What makes two pictures the same: their items' counts and laws, in any
// order.
using ItemKey = std::tuple<long, long, double>;
std::vector<ItemKey> keyOf(const ChanceFigures& f)
{
    std::vector<ItemKey> key;
    for (const ChanceItem& item : f.items)
        key.emplace_back(item.observed, item.trials, item.p);
    std::sort(key.begin(), key.end());
    return key;
}

std::string percentText(double chance)
{
    return groupedDecimal(100.0 * chance, 0) + "%";
}

}  // namespace

std::string groupedCount(long value)
{
    std::string digits = std::to_string(value < 0 ? -value : value);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(static_cast<std::size_t>(i), ",");
    return value < 0 ? "-" + digits : digits;
}

std::string groupedDecimal(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    const long scaled = std::lround(std::fabs(value) * scale);
    const long whole = scaled / static_cast<long>(scale);
    std::string text = (value < 0 && scaled != 0 ? "-" : "") + groupedCount(whole);
    if (decimals > 0) {
        std::string fraction = std::to_string(scaled % static_cast<long>(scale));
        fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
        text += "." + fraction;
    }
    return text;
}

ChanceOverview chanceOverview(const DrawHistory& history, int lastN)
{
    ChanceOverview o;
    double allInside = 1.0;
    const std::span<const Draw> draws = latestDraws(history, lastN);
    std::vector<std::vector<ItemKey>> seen;
    for (const AnalysisViewSpec& view : analysisViews()) {
        if (!view.chance)
            continue;
        const ChanceFigures f = view.chance(draws);
        std::vector<ItemKey> key = keyOf(f);
        if (std::find(seen.begin(), seen.end(), key) != seen.end())
            continue;
        seen.push_back(std::move(key));
        ++o.pictures;
        if (!f.judged)
            continue;
        o.items += static_cast<long>(f.items.size());
        for (const ChanceItem& item : f.items)
            allInside *= 1.0 - item.range.outsideChance;
    }
    o.anyOutside = 1.0 - allInside;
    return o;
}

namespace {

std::string longestText(const LongestFigure& l)
{
    return "最も長い" + l.what + "は" + groupedCount(l.observed) + "回で、同じ回数の無作為な履歴では中央値" +
           groupedCount(l.median) + "回、95%の範囲は" + groupedCount(l.low) + "～" + groupedCount(l.high) + "回、" +
           groupedCount(l.observed) + "回以上になる確率は約" + percentText(l.atLeast) + "です";
}

std::string itemsVerdictLine(const ChanceFigures& f, const ChanceOverview& overview)
{
    if (f.items.empty() || f.draws < 2)
        return "この期間には偶然と比べられるだけの抽せんがありません";
    if (!f.judged)
        return "対象" + groupedCount(f.draws) + "回では回数が少なく判断できません";
    if (f.allWithin())
        return std::to_string(f.items.size()) + "個の" + (f.itemNoun.empty() ? "項目" : f.itemNoun) + "の" +
               f.quantity + "はすべて偶然の範囲内です";
    std::string line;
    std::size_t named = 0, outside = 0;
    for (const ChanceItem& item : f.items) {
        if (item.verdict == ChanceVerdict::Within)
            continue;
        if (++outside > kNamedOutliers)
            continue;
        ++named;
        line += itemName(f, item) + "の" + f.quantity + "は偶然の範囲より" +
                (item.verdict == ChanceVerdict::Above ? "多い" : "少ない") + "（" + observedText(f, item) + "）。";
    }
    if (outside > named)
        line += "ほか" + std::to_string(outside - named) + "項目も範囲外です。";
    line += "偶然だけでも全" + std::to_string(overview.pictures) + "枚のグラフ（" + groupedCount(overview.items) +
            "項目）のどこかに範囲外が出る確率は約" + percentText(overview.anyOutside) +
            "あり、この結果から出やすい数字はわかりません";
    return line;
}

}  // namespace

std::string chanceVerdictLine(const ChanceFigures& f, const ChanceOverview& overview)
{
    std::string line = itemsVerdictLine(f, overview);
    if (f.longest && f.judged)
        line += "。" + longestText(*f.longest);
    return line;
}

std::string periodNote(const ChanceFigures& f)
{
    return "対象" + groupedCount(f.draws) +
           "回。期間が短いほど数える回数が少なく偶然のばらつきが相対的に大きいので、範囲は広がります";
}

}  // namespace rumone
