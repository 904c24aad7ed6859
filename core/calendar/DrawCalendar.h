// Which days the draws are held, and so the date of any draw: from the
// last stored date before it, stepped on by the days of the draw rule.
//
// The rule: Fridays from 1994-10-07 (draw 1), Tuesdays and Fridays from
// 1995-01-10, Mondays, Wednesdays and Fridays from 1997-10-03, every
// weekday from 2004-07-01; never from 31 December to 3 January. Results
// are out from 20:00 of the draw's day.
#pragma once

#include <map>
#include <optional>
#include <vector>

#include "core/history/DrawResults.h"

namespace rumone {

inline constexpr int kFirstDrawNumber = 1;
inline constexpr CivilDate kFirstDrawDate{1994, 10, 7};
inline constexpr int kResultsOutHour = 20;

// Whether the rule holds a draw on `date`.
bool isDrawDay(const CivilDate& date);
// The first draw day after `date`.
CivilDate nextDrawDay(const CivilDate& date);

// A draw's date and where it comes from.
struct DrawDate {
    CivilDate date;
    bool fromRule = false;  // no stored date: stepped from the one before
};

// A moment of local time, to the minute.
struct LocalMoment {
    CivilDate date;
    int hour = 0;
    int minute = 0;
};

// A stored date the rule does not give: not a draw day, or not the draw
// day after the dated draw before it when the draws between are counted.
struct DateMismatch {
    int number = 0;
    CivilDate stored;
    std::optional<CivilDate> byRule;  // none when no dated draw stands before
};

class DrawCalendar {
public:
    // Draw number → stored date.
    explicit DrawCalendar(std::map<int, CivilDate> stored = {});

    // The stored date of `number`, or the rule's from the nearest dated
    // draw before it (draw 1's date when none is stored); none before draw 1.
    std::optional<DrawDate> dateOf(int number) const;
    // dateOf for every draw 0..last, in one pass (index = draw number).
    std::vector<std::optional<DrawDate>> datesThrough(int last) const;
    // The last draw whose results are out at `now`, counted from `after`
    // (a draw with a date): `after` itself when none later is.
    int lastHeldBy(const LocalMoment& now, int after) const;
    // Every stored date the rule does not give, in draw order.
    std::vector<DateMismatch> mismatches() const;

private:
    std::map<int, CivilDate> stored_;
};

}  // namespace rumone
