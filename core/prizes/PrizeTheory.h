// What each prize would pay if the players' choices were spread evenly:
// 45 % of the sales go back, so a straight (1 chance in 10,000, 200 yen a
// unit) would pay 900,000 yen and a box of a number with P orderings
// 900,000 / P. A set unit is half straight, half box: セット（ストレート）
// (straight + box) / 2 and セット（ボックス） box / 2. Every prize is cut down
// to whole 100 yen. The pari-mutuel prize of a draw differs from it only by
// how many players chose the number drawn.
#pragma once

#include <array>
#include <optional>

#include "core/history/DrawResults.h"

namespace rumone {

inline constexpr long long kTheoreticalStraightPrize = 900000;

// The digit pattern of a number, by how its digits repeat.
enum class NumberKind { Single, Double, DoubleDouble, Triple, FourOfAKind };
const char* numberKindName(NumberKind kind);  // シングル, ダブル, ...
NumberKind numberKindOf(const std::array<int, 4>& digits);
// The orderings of the digits: 24, 12, 6, 4 or 1.
int orderingsOf(NumberKind kind);

// The theoretical prize per unit of `prize` for a number of `kind`; none
// for a box or set of four equal digits (sold only as a straight).
std::optional<long long> theoreticalPrize(PrizeKind prize, NumberKind kind);

}  // namespace rumone
