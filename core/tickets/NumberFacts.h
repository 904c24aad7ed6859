// What the typing area of the purchase book says of a number as it is
// typed: its kind, each ticket type's chance and theoretical prize (or
// that it is not sold), and the number's own history beside chance over
// the history's draws. Also the quick pick, which draws a number at random.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/backtest/TicketTypes.h"
#include "core/history/DrawHistory.h"
#include "core/stats/CountChance.h"

namespace rumone {

// "ダブル（並べ方 12 通り）。ストレート 1/10,000・900,000円、ボックス
// 12/10,000・75,000円、セット …"; "ボックスは販売されません" for four equal
// digits.
std::string numberTypesText(const FourDigits& number);

// How often a number came in the history, as written and in any order.
struct NumberHistory {
    int draws = 0;  // complete draws of the history
    std::optional<int> lastInOrder;
    std::optional<int> lastAnyOrder;
    CountFigures inOrder;   // against 1/10,000 a draw
    CountFigures anyOrder;  // against P/10,000 a draw
};

NumberHistory numberHistoryOf(const FourDigits& number, const DrawHistory& history);
// "この数字は全7054回で：そのまま 1回（最後 第6011回）、偶然なら平均 0.7回・95% は 0～2回。…"
std::string numberHistoryText(const NumberHistory& h);

// The quick pick's line: the number is random, and every number has the
// same chance.
extern const char* const kQuickPickNote;
// The number of `index` 0-9999 ("0042" for 42): a quick pick is the number
// of a uniformly drawn index.
FourDigits quickPickNumber(std::uint32_t index);

}  // namespace rumone
