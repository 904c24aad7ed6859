// The purchase book as the player reads it: each purchase at each draw it
// covers, checked, marked when it was recorded only after its draw was
// first entered (事後記録, no evidence of anything), with the prize's claim
// deadline and whether it was received. Also what the frame says when
// draws come in and, once at the start, of wins whose deadline is near.
#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/calendar/DrawCalendar.h"
#include "core/history/DrawHistory.h"
#include "core/tickets/TicketCheck.h"

namespace rumone {

// Days before its deadline a win not yet received is told at the start.
inline constexpr int kDeadlineWarningDays = 30;

struct BookLine {
    TicketCheck check;
    // Recorded at or after its draw was first entered (or the draw's first
    // entry is unknown): left out of every chance figure.
    bool afterTheFact = false;
    bool claimed = false;               // 受取済み
    std::optional<DrawDate> drawDate;   // none before draw 1
    std::optional<CivilDate> deadline;  // a win's last day to claim it

    bool won() const { return check.decided() && check.result != TicketResult::None; }
};

// The last day a prize of a draw held on `drawDate` can be claimed: one
// year from the day after the draw, that day included (a draw of
// 2026-08-21 is claimed from 2026-08-22 through 2027-08-21).
CivilDate claimDeadlineOf(const CivilDate& drawDate);

// `checks` (checkBook's order) with their marks. `firstEntries`: draw
// number → the time its digits were first in the database.
std::vector<BookLine> bookLinesOf(const std::vector<TicketCheck>& checks, const std::map<int, StoredTime>& firstEntries,
                                  const ClaimedPrizes& claimed, const DrawCalendar& calendar);

// The stored book against `history` (the draws the window shows), with
// the stored prizes, dates, first entries and ticks. Throws StoreError.
std::vector<BookLine> readBookLines(const DrawDatabaseRef& database, const DrawHistory& history);

// The draws of `after` that are new or changed against `before`, in order.
std::vector<int> drawsCameIn(const DrawHistory& before, const DrawHistory& after);

// The status line for draws that came in: "第7055回：3口のうちボックス1口が
// 当せん（37,500円・理論配当）", one part a draw with tickets, joined; empty
// when none of `draws` has a ticket.
std::string drawsCheckedText(const std::vector<BookLine>& lines, std::span<const int> draws);

// Wins not received whose deadline is `today` or within
// kDeadlineWarningDays after it; the start says them once. Empty for none.
std::string nearDeadlineText(const std::vector<BookLine>& lines, const CivilDate& today);

}  // namespace rumone
