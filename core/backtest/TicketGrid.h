// The table of 購入シミュレーション: one row per predictor and ticket type
// it buys, with the tickets, their cost, the wins beside their chance
// expectation and exact range, the theoretical prizes and the return beside
// the 45 % that any ticket returns on average, its exact 95 % chance range
// and the chance of reaching 100 % by luck.
#pragma once

#include "core/backtest/Tickets.h"
#include "core/grid/ResultGrid.h"

namespace rumone {

inline constexpr int kTicketGridColumns = 13;

void fillTicketGrid(ResultGrid& grid, const TicketBoard& board);

// How far one straight win moves the return of the board's straight rows;
// empty without straight tickets.
std::string straightWinNote(const TicketBoard& board);

// "1,234,567", with a minus sign when below 0.
std::string groupedNumber(long long value);
// "1,234,567円".
std::string yenText(long long yen);

}  // namespace rumone
