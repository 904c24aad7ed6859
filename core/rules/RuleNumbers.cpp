#include "core/rules/RuleNumbers.h"

#include <algorithm>

#include "core/prizes/PrizeTheory.h"

namespace rumone {

namespace {

FourDigits digitsOf(int number)
{
    return {number / 1000, number / 100 % 10, number / 10 % 10, number % 10};
}

int numberOf(const FourDigits& d)
{
    return d[0] * 1000 + d[1] * 100 + d[2] * 10 + d[3];
}

// The 24 ways to place four things in four places.
std::vector<std::array<std::size_t, 4>> placements()
{
    std::array<std::size_t, 4> p{0, 1, 2, 3};
    std::vector<std::array<std::size_t, 4>> all;
    do
        all.push_back(p);
    while (std::next_permutation(p.begin(), p.end()));
    return all;
}

}  // namespace

RuleNumbers::RuleNumbers(const Rule& rule) : type_(rule.type)
{
    std::array<int, kNumbers> firstOfSet{};
    for (int n = 0; n < kNumbers; ++n) {
        const FourDigits d = digitsOf(n);
        for (std::size_t p = 0; p < 4; ++p)
            numberDigit_[p][static_cast<std::size_t>(d[p])].set(static_cast<std::size_t>(n));
        orderless_[static_cast<std::size_t>(n)] = meetsOrderlessConditions(rule, d);
        FourDigits s = d;
        std::sort(s.begin(), s.end());
        const int sortedNumber = numberOf(s);
        if (sortedNumber == n) {
            firstOfSet[static_cast<std::size_t>(n)] = static_cast<int>(sets_.size());
            sets_.push_back(s);
        }
        setIndex_[static_cast<std::size_t>(n)] = firstOfSet[static_cast<std::size_t>(sortedNumber)];
    }
    for (std::size_t i = 0; i < sets_.size(); ++i) {
        const FourDigits& s = sets_[i];
        const NumberKind kind = numberKindOf(s);
        setKind_[static_cast<std::size_t>(kind)].set(i);
        for (std::size_t q = 0; q < 4; ++q)
            setDigit_[q][static_cast<std::size_t>(s[q])].set(i);
        orderlessSets_[i] = kind != NumberKind::FourOfAKind && orderless_[static_cast<std::size_t>(numberOf(s))];
    }
}

const NumberSet& RuleNumbers::positionMask(std::size_t position, DigitSet digits)
{
    std::unique_ptr<NumberSet>& cached = positionCache_[position][digits];
    if (!cached) {
        cached = std::make_unique<NumberSet>();
        for (std::size_t d = 0; d < 10; ++d)
            if (digits & digitBit(static_cast<int>(d)))
                *cached |= numberDigit_[position][d];
    }
    return *cached;
}

NumberSet RuleNumbers::straightSet(const AllowedDigits& allowed)
{
    NumberSet set = orderless_;
    for (std::size_t p = 0; p < 4; ++p)
        if (allowed[p] != kAnyDigit)
            set &= positionMask(p, allowed[p]);
    return set;
}

const DigitSetSet& RuleNumbers::placeMask(std::size_t place, DigitSet digits)
{
    std::unique_ptr<DigitSetSet>& cached = placeCache_[place][digits];
    if (!cached) {
        cached = std::make_unique<DigitSetSet>();
        for (std::size_t d = 0; d < 10; ++d)
            if (digits & digitBit(static_cast<int>(d)))
                *cached |= setDigit_[place][d];
    }
    return *cached;
}

DigitSetSet RuleNumbers::boxSet(const AllowedDigits& allowed)
{
    // [place in the set][position]: the sets whose digit at that place the
    // position allows.
    std::array<std::array<const DigitSetSet*, 4>, 4> fits{};
    for (std::size_t q = 0; q < 4; ++q)
        for (std::size_t p = 0; p < 4; ++p)
            fits[q][p] = &placeMask(q, allowed[p]);
    static const std::vector<std::array<std::size_t, 4>> kPlacements = placements();
    DigitSetSet bought;
    for (const auto& place : kPlacements)
        bought |= orderlessSets_ & *fits[0][place[0]] & *fits[1][place[1]] & *fits[2][place[2]] & *fits[3][place[3]];
    return bought;
}

RuleDraw RuleNumbers::at(const AllowedDigits& allowed, const FourDigits* drawn)
{
    RuleDraw draw;
    if (type_ == kBoxTicket) {
        const DigitSetSet bought = boxSet(allowed);
        for (std::size_t k = 0; k < kNumberKindCount; ++k) {
            draw.byKind[k] = static_cast<int>((bought & setKind_[k]).count());
            draw.tickets += draw.byKind[k];
            draw.chance += draw.byKind[k] * orderingsOf(static_cast<NumberKind>(k));
        }
        if (drawn)
            draw.won = bought[static_cast<std::size_t>(setIndex_[static_cast<std::size_t>(numberOf(*drawn))])];
        return draw;
    }
    const NumberSet set = straightSet(allowed);
    draw.tickets = static_cast<int>(set.count());
    draw.chance = draw.tickets;
    draw.byKind[0] = draw.tickets;
    if (drawn)
        draw.won = set[static_cast<std::size_t>(numberOf(*drawn))];
    return draw;
}

std::vector<Ticket> RuleNumbers::ticketsAt(const AllowedDigits& allowed)
{
    std::vector<Ticket> tickets;
    if (type_ == kBoxTicket) {
        const DigitSetSet bought = boxSet(allowed);
        for (std::size_t i = 0; i < sets_.size(); ++i)
            if (bought[i])
                tickets.push_back({kBoxTicket, sets_[i]});
        return tickets;
    }
    const NumberSet set = straightSet(allowed);
    for (int n = 0; n < kNumbers; ++n)
        if (set[static_cast<std::size_t>(n)])
            tickets.push_back({kStraightTicket, digitsOf(n)});
    return tickets;
}

}  // namespace rumone
