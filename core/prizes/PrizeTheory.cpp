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

// From the digits sorted: how many neighbours are equal, and where.
NumberKind numberKindOf(const std::array<int, 4>& digits)
{
    std::array<int, 4> d = digits;
    const auto order = [&d](std::size_t a, std::size_t b) {
        if (d[b] < d[a])
            std::swap(d[a], d[b]);
    };
    order(0, 1);
    order(2, 3);
    order(0, 2);
    order(1, 3);
    order(1, 2);
    const bool ab = d[0] == d[1], bc = d[1] == d[2], cd = d[2] == d[3];
    const int equal = int(ab) + int(bc) + int(cd);
    if (equal == 3)
        return NumberKind::FourOfAKind;
    if (equal == 2)
        return bc ? NumberKind::Triple : NumberKind::DoubleDouble;
    return equal == 1 ? NumberKind::Double : NumberKind::Single;
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
