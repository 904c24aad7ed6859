#include "core/tickets/BookAccount.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <numeric>
#include <set>

#include "core/stats/UnitSums.h"
#include "core/text/TextParts.h"

namespace rumone {

namespace {

std::string percentText(double share)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f%%", 100.0 * share);
    return buf;
}

// The chance, of kNumbers, that a ticket wins anything at a draw.
int winningNumbersOf(const Ticket& ticket)
{
    return kTicketTypes[ticket.type].anyOrder ? orderingsOf(ticket.digits) : 1;
}

// Winning units of each type among `lines` against chance.
std::array<UnitsAgainstChance, kTicketTypeCount> unitsByTypeOf(const std::vector<const BookLine*>& lines)
{
    std::array<UnitsAgainstChance, kTicketTypeCount> out{};
    for (std::size_t type = 0; type < kTicketTypeCount; ++type) {
        UnitsAgainstChance& u = out[type];
        long long unit = 0;
        for (const BookLine* l : lines)
            if (l->check.purchase.ticket.type == type)
                unit = std::gcd(unit, static_cast<long long>(l->check.purchase.units));
        if (unit == 0)
            continue;
        UnitSums sums;
        for (const BookLine* l : lines) {
            const Purchase& p = l->check.purchase;
            if (p.ticket.type != type)
                continue;
            const double chance = double(winningNumbersOf(p.ticket)) / kNumbers;
            u.bought += p.units;
            u.won += l->won() ? p.units : 0;
            u.expected += chance * p.units;
            const UnitOutcome outcome{static_cast<int>(p.units / unit), chance};
            sums.add(std::span(&outcome, 1));
        }
        const auto [low, high] = sums.range(0.05);
        u.low = low * unit;
        u.high = high * unit;
    }
    return out;
}

std::vector<TicketCheck> checksOf(const std::vector<const BookLine*>& lines)
{
    std::vector<TicketCheck> checks;
    checks.reserve(lines.size());
    for (const BookLine* l : lines)
        checks.push_back(l->check);
    return checks;
}

}  // namespace

std::vector<MonthAccount> accountByMonth(const std::vector<BookLine>& lines)
{
    std::map<std::pair<int, int>, MonthAccount> months;
    for (const BookLine& l : lines) {
        if (!l.check.decided() || !l.drawDate)
            continue;
        const CivilDate& d = l.drawDate->date;
        MonthAccount& m = months[{d.year, d.month}];
        m.year = d.year;
        m.month = d.month;
        m.units += l.check.purchase.units;
        m.won += l.check.prize;
    }
    std::vector<MonthAccount> out;
    for (auto& [key, m] : months) {
        m.cost = m.units * kTicketPrice;
        m.net = m.won - m.cost;
        out.push_back(m);
    }
    return out;
}

BookAccount bookAccountOf(const std::vector<BookLine>& lines)
{
    BookAccount a;
    std::vector<TicketCheck> decided;
    std::vector<const BookLine*> evidence;
    std::set<int> evidenceDraws;
    for (const BookLine& l : lines) {
        if (!l.check.decided())
            continue;
        decided.push_back(l.check);
        if (l.won()) {
            a.wonUnits += l.check.purchase.units;
            a.theoryInWon = a.theoryInWon || l.check.source == PrizeSource::Theory;
        }
        if (l.afterTheFact) {
            ++a.afterTheFactLines;
            continue;
        }
        evidence.push_back(&l);
        evidenceDraws.insert(l.check.draw);
        if (l.won())
            a.evidenceTheoryWon += theoreticalPrize(prizeKindOf(l.check.result), l.check.purchase.ticket.digits) *
                                   static_cast<long long>(l.check.purchase.units);
    }
    a.total = accountOf(decided);
    a.evidence = accountOf(checksOf(evidence));
    a.evidenceDraws = static_cast<int>(evidenceDraws.size());
    a.unitsByType = unitsByTypeOf(evidence);
    return a;
}

std::string accountSentence(const BookAccount& a)
{
    const TicketAccount& t = a.total;
    if (t.units == 0)
        return "まだ抽せんの済んだ購入はありません。";
    std::string s = "これまでの購入 " + groupedDigits(t.units) + "口・" + groupedYen(t.cost) + "。当せん " +
                    groupedDigits(a.wonUnits) + "口・" + groupedYen(t.won) + (a.theoryInWon ? "（理論）" : "") +
                    "。回収率 " + percentText(double(t.won) / double(t.cost)) + "（どの買い方でも平均は " +
                    percentText(kPayoutShare) + "）。";
    if (a.afterTheFactLines > 0)
        s += "抽せんの後に記録した " + groupedDigits(a.afterTheFactLines) +
             "件（事後記録）は、偶然との比べから除きます。";
    if (a.evidence.units == 0)
        return s;
    s += "偶然だけでも 95% はこの範囲：" + groupedDigits(a.evidence.winLow) + "～" + groupedYen(a.evidence.winHigh) +
         "（理論配当、平均 " + groupedYen(std::llround(a.evidence.winExpected)) + "）。";
    if (a.evidenceDraws < kMinBookVerdictDraws)
        return s + "抽せん " + std::to_string(a.evidenceDraws) +
               "回分では少なすぎるので、偶然と違うかどうかは言えません（" + std::to_string(kMinBookVerdictDraws) +
               "回分から）。";
    const long long won = a.evidenceTheoryWon;
    s += "当せん（理論配当で " + groupedYen(won) + "）は";
    if (won < a.evidence.winLow)
        s += "偶然の範囲を下回っています。";
    else if (won > a.evidence.winHigh)
        s += "偶然の範囲を上回っています。";
    else
        s += "偶然の範囲内です。";
    return s + "どの数字を選んでも、次の回に当たる確率は変わりません。";
}

BudgetFigures budgetFiguresOf(const std::vector<BookLine>& lines, long long budget, const CivilDate& today)
{
    BudgetFigures f;
    f.year = today.year;
    f.month = today.month;
    f.budget = budget;
    std::vector<TicketCheck> month;
    for (const BookLine& l : lines) {
        if (!l.drawDate || l.drawDate->date.year != today.year || l.drawDate->date.month != today.month)
            continue;
        TicketCheck c = l.check;
        c.result = TicketResult::None;  // every ticket of the month, decided or not, as chance gives it
        month.push_back(c);
        f.spent += static_cast<long long>(c.purchase.units) * kTicketPrice;
    }
    const TicketAccount chance = accountOf(month);
    f.expectedLoss = double(f.spent) - chance.winExpected;
    f.lossLow = f.spent - chance.winHigh;
    f.lossHigh = f.spent - chance.winLow;
    return f;
}

std::string budgetSentence(const BudgetFigures& f)
{
    std::string s = std::to_string(f.year) + "年" + std::to_string(f.month) + "月の予算 " + groupedYen(f.budget) +
                    "・この月の抽せんの購入 " + groupedYen(f.spent);
    if (f.over())
        s += "（" + groupedYen(f.spent - f.budget) + "超えています）";
    else
        s += "（残り " + groupedYen(f.budget - f.spent) + "）";
    s += "。";
    if (f.spent > 0)
        s += "この購入で見込まれる損失 " + groupedYen(std::llround(f.expectedLoss)) + "（偶然だけで 95% は " +
             groupedDigits(f.lossLow) + "～" + groupedYen(f.lossHigh) + "。負の値は勝ち）。";
    return s + "予算を使い切ると、平均で " + groupedYen(std::llround(double(f.budget) * (1.0 - kPayoutShare))) +
           "を失います。";
}

}  // namespace rumone
