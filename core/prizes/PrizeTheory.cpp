#include "core/prizes/PrizeTheory.h"

#include <algorithm>

namespace rumone {

namespace {

long long cutTo100(long long yen)
{
    return yen / 100 * 100;
}

}  // namespace

const char* numberKindName(NumberKind kind)
{
    switch (kind) {
        case NumberKind::Single:
            return "シングル";
        case NumberKind::Double:
            return "ダブル";
        case NumberKind::DoubleDouble:
            return "ダブルダブル";
        case NumberKind::Triple:
            return "トリプル";
        case NumberKind::FourOfAKind:
            return "フォーカード";
    }
    return "";
}

NumberKind numberKindOf(const std::array<int, 4>& digits)
{
    std::array<int, 10> count{};
    for (int d : digits)
        ++count[static_cast<std::size_t>(d)];
    int pairs = 0, most = 0;
    for (int c : count) {
        most = std::max(most, c);
        pairs += c == 2 ? 1 : 0;
    }
    if (most == 4)
        return NumberKind::FourOfAKind;
    if (most == 3)
        return NumberKind::Triple;
    if (pairs == 2)
        return NumberKind::DoubleDouble;
    return pairs == 1 ? NumberKind::Double : NumberKind::Single;
}

int orderingsOf(NumberKind kind)
{
    switch (kind) {
        case NumberKind::Single:
            return 24;
        case NumberKind::Double:
            return 12;
        case NumberKind::DoubleDouble:
            return 6;
        case NumberKind::Triple:
            return 4;
        case NumberKind::FourOfAKind:
            return 1;
    }
    return 1;
}

std::optional<long long> theoreticalPrize(PrizeKind prize, NumberKind kind)
{
    if (prize == PrizeKind::Straight)
        return kTheoreticalStraightPrize;
    if (kind == NumberKind::FourOfAKind)
        return std::nullopt;
    const long long box = kTheoreticalStraightPrize / orderingsOf(kind);
    switch (prize) {
        case PrizeKind::Box:
            return cutTo100(box);
        case PrizeKind::SetStraight:
            return cutTo100((kTheoreticalStraightPrize + box) / 2);
        case PrizeKind::SetBox:
            return cutTo100(box / 2);
        case PrizeKind::Straight:
            break;
    }
    return kTheoreticalStraightPrize;
}

}  // namespace rumone
