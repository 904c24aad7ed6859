#include "core/tickets/NumberFacts.h"

#include <algorithm>
#include <cstdio>

#include "core/prizes/PrizeTheory.h"
#include "core/text/TextParts.h"

namespace rumone {

const char* const kQuickPickNote =
    "クイックピックは数字を無作為に選びます。どの数字も当せんの確率は同じです（ストレート 1万分の1）。";

namespace {

std::string chanceText(int numbers)
{
    return std::to_string(numbers) + "/10,000";
}

std::string meanText(double mean)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", mean);
    return buf;
}

std::string countText(const char* how, const CountFigures& f, const std::optional<int>& last)
{
    return std::string(how) + " " + std::to_string(f.observed) + "回" +
           (last ? "（最後 第" + std::to_string(*last) + "回）" : std::string()) + "、偶然なら平均 " +
           meanText(f.expected) + "回・95% は " + std::to_string(f.low) + "～" + std::to_string(f.high) + "回";
}

}  // namespace

std::string numberTypesText(const FourDigits& number)
{
    const NumberKind kind = numberKindOf(number);
    const int orderings = orderingsOf(number);
    std::string s = std::string(numberKindName(kind)) + "（並べ方 " + std::to_string(orderings) + " 通り）。";
    for (std::size_t t = 0; t < kTicketTypeCount; ++t) {
        const TicketType& type = kTicketTypes[t];
        s += t == 0 ? "" : "、";
        if (!isSold(Ticket{t, number})) {
            s += std::string(type.name) + "は販売されません";
            continue;
        }
        if (!type.anyOrder) {
            s += std::string(type.name) + " " + chanceText(1) + "・" + groupedYen(theoreticalPrize(type.exact, number));
        } else if (*type.anyOrder == type.exact) {
            s += std::string(type.name) + " " + chanceText(orderings) + "・" +
                 groupedYen(theoreticalPrize(type.exact, number));
        } else {
            s += std::string(type.name) + " そのまま " + chanceText(1) + "・" +
                 groupedYen(theoreticalPrize(type.exact, number)) + "／ほかの並び " + chanceText(orderings - 1) + "・" +
                 groupedYen(theoreticalPrize(*type.anyOrder, number));
        }
    }
    return s + "（理論配当）。";
}

NumberHistory numberHistoryOf(const FourDigits& number, const DrawHistory& history)
{
    NumberHistory h;
    FourDigits sorted = number;
    std::sort(sorted.begin(), sorted.end());
    long inOrder = 0, anyOrder = 0;
    for (const Draw& d : history.completeDraws()) {
        ++h.draws;
        FourDigits s = d.digits;
        std::sort(s.begin(), s.end());
        if (s != sorted)
            continue;
        ++anyOrder;
        h.lastAnyOrder = d.number;
        if (d.digits == number) {
            ++inOrder;
            h.lastInOrder = d.number;
        }
    }
    TrialCounts one, any;
    one.add(1, h.draws);
    any.add(orderingsOf(number), h.draws);
    h.inOrder = chanceFiguresOf(one, inOrder);
    h.anyOrder = chanceFiguresOf(any, anyOrder);
    return h;
}

std::string numberHistoryText(const NumberHistory& h)
{
    if (h.draws == 0)
        return "当選データがまだありません。";
    return "この数字は全" + groupedDigits(h.draws) + "回で：" + countText("そのままの順", h.inOrder, h.lastInOrder) +
           "。並べ替えを含め" + countText("", h.anyOrder, h.lastAnyOrder) + "。";
}

FourDigits quickPickNumber(std::uint32_t index)
{
    const std::uint32_t n = index % static_cast<std::uint32_t>(kNumbers);
    return FourDigits{static_cast<int>(n / 1000), static_cast<int>(n / 100 % 10), static_cast<int>(n / 10 % 10),
                      static_cast<int>(n % 10)};
}

}  // namespace rumone
