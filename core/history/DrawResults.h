// What a published result adds to a draw's number: the day it was drawn
// and, per prize kind, how many units won and what each unit paid. Plain
// data shared by the sources that read results, the store that keeps them
// beside the draws and the views that show them.
#pragma once

#include <array>
#include <compare>
#include <optional>

namespace rumone {

// A day of the Gregorian calendar (year, month 1-12, day 1-31).
struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;

    friend auto operator<=>(const CivilDate&, const CivilDate&) = default;
};

// The prizes a draw of the four-digit game pays, in the order the results
// list them.
enum class PrizeKind { Straight, Box, SetStraight, SetBox };
inline constexpr int kPrizeKindCount = 4;
inline constexpr std::array<const char*, kPrizeKindCount> kPrizeKindNames = {
    "ストレート", "ボックス", "セット（ストレート）", "セット（ボックス）"};

// One prize line of a result: the winning units and the yen each unit
// paid, or 該当なし (a number of four equal digits is sold only as a
// straight, so its box and set lines have no winners by rule).
struct PrizeLine {
    long long units = 0;
    long long yenPerUnit = 0;
    bool notApplicable = false;  // 該当なし

    friend bool operator==(const PrizeLine&, const PrizeLine&) = default;
};

// The prize lines a source gave, by PrizeKind; empty where it gave none.
using DrawPrizes = std::array<std::optional<PrizeLine>, kPrizeKindCount>;

// What a source says of one draw beyond its number and digits.
struct DrawDetails {
    std::optional<CivilDate> date;
    DrawPrizes prizes;

    bool empty() const
    {
        if (date)
            return false;
        for (const auto& p : prizes)
            if (p)
                return false;
        return true;
    }
    friend bool operator==(const DrawDetails&, const DrawDetails&) = default;
};

}  // namespace rumone
