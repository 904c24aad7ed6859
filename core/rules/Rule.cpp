#include "core/rules/Rule.h"

#include <algorithm>
#include <vector>

#include "core/prizes/PrizeTheory.h"
#include "core/text/TextParts.h"

namespace rumone {

namespace {

std::optional<CountRange> parseRange(std::string_view text, int lo, int hi)
{
    const std::size_t dash = text.find('-');
    const auto low = wholeNumberIn(text.substr(0, dash), lo, hi);
    const auto high = dash == std::string_view::npos ? low : wholeNumberIn(text.substr(dash + 1), lo, hi);
    if (!low || !high || *low > *high)
        return std::nullopt;
    return CountRange{*low, *high};
}

std::optional<DigitSet> parseDigits(std::string_view text)
{
    DigitSet set = 0;
    for (const std::string_view part : splitAt(text, ',')) {
        const auto range = parseRange(part, 0, 9);
        if (!range)
            return std::nullopt;
        for (int d = range->low; d <= range->high; ++d)
            set |= digitBit(d);
    }
    return set;
}

std::optional<std::uint8_t> parseKinds(std::string_view text)
{
    std::uint8_t kinds = 0;
    for (const std::string_view part : splitAt(text, ',')) {
        std::size_t k = 0;
        while (k < kKindWords.size() && part != kKindWords[k])
            ++k;
        if (k == kKindWords.size())
            return std::nullopt;
        kinds |= static_cast<std::uint8_t>(1u << k);
    }
    return kinds;
}

std::string rangeText(const CountRange& range)
{
    return range.low == range.high ? std::to_string(range.low)
                                   : std::to_string(range.low) + "-" + std::to_string(range.high);
}

// "0-4,7": runs of three or more digits as ranges.
std::string digitsText(DigitSet set)
{
    std::string text;
    for (int d = 0; d <= 9;) {
        if (!(set & digitBit(d))) {
            ++d;
            continue;
        }
        int last = d;
        while (last < 9 && (set & digitBit(last + 1)))
            ++last;
        if (!text.empty())
            text += ',';
        if (last - d >= 2) {
            text += std::to_string(d) + "-" + std::to_string(last);
        } else {
            text += std::to_string(d);
            if (last > d)
                text += "," + std::to_string(last);
        }
        d = last + 1;
    }
    return text;
}

std::string problemOf(std::string_view condition, const char* expected)
{
    return "条件「" + std::string(condition) + "」を読めません（" + expected + "）。";
}

// Reads one `name=value` into `rule`; the problem, empty when read.
std::string readCondition(std::string_view condition, Rule& rule)
{
    const std::size_t eq = condition.find('=');
    if (eq == std::string_view::npos)
        return problemOf(condition, "「名前=値」の形で書きます");
    const std::string_view name = condition.substr(0, eq);
    const std::string_view value = condition.substr(eq + 1);
    if (name == "sum") {
        rule.sum = parseRange(value, 0, 36);
        return rule.sum ? "" : problemOf(condition, "数字の和は0-36の範囲で書きます");
    }
    if (name == "even" || name == "low") {
        auto& target = name == "even" ? rule.even : rule.low;
        target = parseRange(value, 0, 4);
        return target ? "" : problemOf(condition, "個数は0-4の範囲で書きます");
    }
    if (name == "kinds") {
        const auto kinds = parseKinds(value);
        if (!kinds)
            return problemOf(condition, "single, double, doubledouble, triple, quad から選びます");
        rule.kinds = *kinds;
        return {};
    }
    if (name.size() == 4 && name.substr(0, 3) == "pos" && name[3] >= '1' && name[3] <= '4') {
        const auto digits = parseDigits(value);
        if (!digits)
            return problemOf(condition, "0-9の数字を「,」で区切るか「0-4」のように書きます");
        rule.positions[static_cast<std::size_t>(name[3] - '1')] = *digits;
        return {};
    }
    if (name == "recent") {
        const auto k = wholeNumberIn(value, 1, kMaxRecentDraws);
        if (!k)
            return problemOf(condition, "直近の回数は1-20で書きます");
        rule.recent = *k;
        return {};
    }
    if (name == "method") {
        for (std::size_t i = 0; i < kPredictorNames.size(); ++i)
            if (value == kPredictorNames[i]) {
                rule.method = static_cast<int>(i);
                return {};
            }
        return problemOf(condition, "周期7, 周期9, 周期11, 周期12, 消去法, 連発, 一発 から選びます");
    }
    if (name == "reflect") {
        rule.reflect = wholeNumberIn(value, 0, 10);
        return rule.reflect ? "" : problemOf(condition, "反映数は0-10で書きます");
    }
    if (name == "type") {
        if (value != "straight" && value != "box")
            return problemOf(condition, "straight か box です");
        rule.type = value == "box" ? kBoxTicket : kStraightTicket;
        return {};
    }
    return problemOf(condition, "sum, kinds, even, low, pos1-pos4, recent, method, reflect, type のどれかです");
}

int evenCount(const FourDigits& digits)
{
    int n = 0;
    for (const int d : digits)
        n += d % 2 == 0 ? 1 : 0;
    return n;
}

int lowCount(const FourDigits& digits)
{
    int n = 0;
    for (const int d : digits)
        n += d <= 4 ? 1 : 0;
    return n;
}

}  // namespace

int Rule::drawsNeeded() const
{
    return std::max(recent, method ? 1 : 0);
}

RuleParse parseRule(std::string_view text)
{
    Rule rule;
    std::vector<std::string> seen;
    for (const std::string_view condition : splitAt(text, ' ')) {
        if (condition.empty())
            continue;
        const std::string name(condition.substr(0, condition.find('=')));
        for (const std::string& s : seen)
            if (s == name)
                return {std::nullopt, "条件「" + name + "」が二度書かれています。"};
        seen.push_back(name);
        if (std::string problem = readCondition(condition, rule); !problem.empty())
            return {std::nullopt, std::move(problem)};
    }
    if (rule.reflect && !rule.method)
        return {std::nullopt, "条件「reflect」は method と一緒に使います。"};
    return {rule, {}};
}

std::string ruleText(const Rule& rule)
{
    std::string text;
    const auto add = [&text](const std::string& part) {
        if (!text.empty())
            text += ' ';
        text += part;
    };
    if (rule.sum)
        add("sum=" + rangeText(*rule.sum));
    if (rule.kinds != 0) {
        std::string kinds;
        for (std::size_t k = 0; k < kKindWords.size(); ++k)
            if (rule.kinds & (1u << k))
                kinds += (kinds.empty() ? "" : ",") + std::string(kKindWords[k]);
        add("kinds=" + kinds);
    }
    if (rule.even)
        add("even=" + rangeText(*rule.even));
    if (rule.low)
        add("low=" + rangeText(*rule.low));
    for (std::size_t p = 0; p < 4; ++p)
        if (rule.positions[p] != kAnyDigit)
            add("pos" + std::to_string(p + 1) + "=" + digitsText(rule.positions[p]));
    if (rule.recent > 0)
        add("recent=" + std::to_string(rule.recent));
    if (rule.method)
        add(std::string("method=") + kPredictorNames[static_cast<std::size_t>(*rule.method)] +
            " reflect=" + std::to_string(rule.reflectCount()));
    add(rule.type == kBoxTicket ? "type=box" : "type=straight");
    return text;
}

bool meetsOrderlessConditions(const Rule& rule, const FourDigits& digits)
{
    const int sum = digits[0] + digits[1] + digits[2] + digits[3];
    if (rule.sum && !rule.sum->contains(sum))
        return false;
    if (rule.kinds != 0 && !(rule.kinds & (1u << static_cast<int>(numberKindOf(digits)))))
        return false;
    if (rule.even && !rule.even->contains(evenCount(digits)))
        return false;
    return !rule.low || rule.low->contains(lowCount(digits));
}

}  // namespace rumone
