// A player's own rule: before each draw t it picks, from the draws before t
// only, a set S_t of four-digit numbers (0000-9999) that meet every one of
// its conditions, and buys them as straight tickets (one per number) or as
// box tickets (one per distinct set of digits, four equal digits left out).
//
// The text of a rule is conditions apart by spaces, in any order:
//   sum=A-B        the digit sum lies in A-B (0-36)
//   kinds=K,...    single, double, doubledouble, triple, quad
//   even=A-B       how many of the four digits are even (0-4)
//   low=A-B        how many of the four digits are 0-4 (0-4)
//   posN=D,...     the digit at position N (1-4) is one of these; "0-4"
//                  stands for 0,1,2,3,4
//   recent=K       at each position no digit drawn there in the last K
//                  draws before t (1-20)
//   method=NAME    at each position only the digits the fixed method NAME
//                  (周期7 ... 一発) offers for t
//   reflect=K      with K (0-10) of the prediction's switches on; only with
//                  a method (0 when left out)
//   type=straight  or type=box (straight when left out)
// ruleText prints a rule in one canonical form: the conditions in the order
// above, each once, digits ascending with runs of three or more as ranges,
// and the type always.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/backtest/PredictorSets.h"
#include "core/backtest/TicketTypes.h"

namespace rumone {

struct CountRange {
    int low = 0;
    int high = 0;
    bool contains(int value) const { return low <= value && value <= high; }
    bool operator==(const CountRange&) const = default;
};

inline constexpr DigitSet kAnyDigit = 0x3FF;
inline constexpr int kMaxRecentDraws = 20;
inline constexpr int kNumberKindCount = 5;
// The kinds by NumberKind, as the rule's text names them.
inline constexpr std::array<const char*, kNumberKindCount> kKindWords = {"single", "double", "doubledouble", "triple",
                                                                         "quad"};

struct Rule {
    std::optional<CountRange> sum;
    std::uint8_t kinds = 0;  // a bit per NumberKind; 0: any kind
    std::optional<CountRange> even;
    std::optional<CountRange> low;
    std::array<DigitSet, 4> positions{kAnyDigit, kAnyDigit, kAnyDigit, kAnyDigit};
    int recent = 0;                      // 0: no such condition
    std::optional<int> method;           // index into kPredictorNames
    std::optional<int> reflect;          // the method's switches on; printed as 0 when left out
    std::size_t type = kStraightTicket;  // kStraightTicket or kBoxTicket

    bool operator==(const Rule&) const = default;
    int reflectCount() const { return reflect.value_or(0); }
    // How many draws before a target the rule needs: recent, and one for a
    // method (the walk-forward's first target has a draw before it).
    int drawsNeeded() const;
};

struct RuleParse {
    std::optional<Rule> rule;
    std::string problem;  // in Japanese, empty when the rule was read
};

RuleParse parseRule(std::string_view text);
std::string ruleText(const Rule& rule);

// Whether a number's digits meet the conditions that do not depend on
// their order (sum, kinds, even, low).
bool meetsOrderlessConditions(const Rule& rule, const FourDigits& digits);

}  // namespace rumone
