// The table of 購入シミュレーション: one row per predictor and ticket type
// it buys, with the tickets, their cost, the wins beside their chance
// expectation and exact range, the theoretical prizes and the return beside
// the 45 % that any ticket returns on average.
#pragma once

#include "core/backtest/Tickets.h"
#include "core/grid/ResultGrid.h"

namespace rumone {

inline constexpr int kTicketGridColumns = 11;

void fillTicketGrid(ResultGrid& grid, const TicketBoard& board);

// "1,234,567円", with a minus sign when below 0.
std::string yenText(long long yen);

}  // namespace rumone
