// The purchase book's table: a row per purchase and draw, with its result,
// prize, where the prize came from, whether it was recorded before its
// draw, whether it was received and until when it can be claimed.
#pragma once

#include <vector>

#include "core/grid/ResultGrid.h"
#include "core/tickets/BookAccount.h"

namespace rumone {

inline constexpr int kBookHeaderRows = 1;
// The column of 受取済み, which the window keeps current after a tick.
inline constexpr int kBookClaimedColumn = 11;

// Row r of the table (from kBookHeaderRows + 1) shows lines[r - kBookHeaderRows - 1].
void fillBookGrid(ResultGrid& grid, const std::vector<BookLine>& lines, const CivilDate& today);
// The account by month and in total.
void fillMonthGrid(ResultGrid& grid, const std::vector<MonthAccount>& months, const TicketAccount& total);

}  // namespace rumone
