// The numbers a rule picks at one draw, as bit sets over the 10,000
// numbers: the conditions that never change (sum, kinds, even, low) are one
// mask made when the rule is, each position's allowed digits one more, and
// a draw's set is their AND. Box tickets are counted over the 715 sets of
// four digits: a set is bought when one of its orderings is picked, which
// for the orderless mask means the set's digits can be placed so that each
// position allows its digit.
#pragma once

#include <array>
#include <bitset>
#include <memory>
#include <vector>

#include "core/rules/Rule.h"

namespace rumone {

// [position 0-3]: the digits a draw allows there (fixed, recent and method
// conditions together).
using AllowedDigits = std::array<DigitSet, 4>;

inline constexpr int kDigitSets = 715;  // sets of four digits, repeats kept
using NumberSet = std::bitset<kNumbers>;
using DigitSetSet = std::bitset<kDigitSets>;

// What a rule buys at one draw.
struct RuleDraw {
    int tickets = 0;
    int chance = 0;  // numbers (of 10,000) on which a ticket wins
    // Box: tickets per NumberKind (the prize depends on it); straight: all
    // in [0].
    std::array<int, kNumberKindCount> byKind{};
    bool won = false;
};

class RuleNumbers {
public:
    explicit RuleNumbers(const Rule& rule);

    // The draw's tickets; `drawn`, when given, is scored.
    RuleDraw at(const AllowedDigits& allowed, const FourDigits* drawn = nullptr);
    // The tickets themselves, ascending.
    std::vector<Ticket> ticketsAt(const AllowedDigits& allowed);

private:
    const NumberSet& positionMask(std::size_t position, DigitSet digits);
    NumberSet straightSet(const AllowedDigits& allowed);
    DigitSetSet boxSet(const AllowedDigits& allowed);
    // The sets whose digit at `place` (0-3, ascending) is one of `digits`.
    const DigitSetSet& placeMask(std::size_t place, DigitSet digits);

    std::size_t type_;
    NumberSet orderless_;
    std::array<std::array<NumberSet, 10>, 4> numberDigit_;  // [position][digit]
    std::array<std::array<std::unique_ptr<NumberSet>, 1024>, 4> positionCache_;
    std::array<int, kNumbers> setIndex_{};                   // each number's set of digits
    std::vector<FourDigits> sets_;                           // ascending digits, by index
    DigitSetSet orderlessSets_;                              // box: four equal digits left out
    std::array<std::array<DigitSetSet, 10>, 4> setDigit_{};  // [place in the set][digit]
    std::array<std::array<std::unique_ptr<DigitSetSet>, 1024>, 4> placeCache_;
    std::array<DigitSetSet, kNumberKindCount> setKind_{};
};

}  // namespace rumone
