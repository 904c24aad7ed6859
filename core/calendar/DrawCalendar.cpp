#include "core/calendar/DrawCalendar.h"

#include <algorithm>

#include "core/calendar/CivilDays.h"

namespace rumone {

namespace {

constexpr CivilDate kTuesdaysFrom{1995, 1, 10};
constexpr CivilDate kThreeDaysFrom{1997, 10, 3};
constexpr CivilDate kWeekdaysFrom{2004, 7, 1};

bool isYearEndBreak(const CivilDate& d)
{
    return (d.month == 12 && d.day == 31) || (d.month == 1 && d.day <= 3);
}

// Whether the five draws after one held on `from` fall on the five
// weekdays of the next seven days, the fifth on the same weekday a week
// later: a weekday of the weekday rule with no year-end break in the week
// after it.
bool aWeekHoldsFiveDraws(const CivilDate& from)
{
    const bool breakAhead = (from.month == 12 && from.day >= 24) || (from.month == 1 && from.day <= 2);
    return from >= kWeekdaysFrom && !breakAhead && isDrawDay(from);
}

// The day `steps` draws after the draw held on `from`, whole weeks at a
// time up to the next year-end break where each holds five (the history's
// dates at start are stepped over tens of thousands of draws).
CivilDate stepDrawDays(CivilDate from, long long steps)
{
    constexpr long long kDrawsAWeek = 5;
    while (steps > 0) {
        if (steps >= kDrawsAWeek && aWeekHoldsFiveDraws(from)) {
            // Every week started on or before 23 December holds five.
            const long long day = dayNumberOf(from);
            const long long weeksBeforeBreak = (dayNumberOf({from.year, 12, 23}) - day) / 7 + 1;
            const long long weeks = std::min(steps / kDrawsAWeek, weeksBeforeBreak);
            from = dateOfDayNumber(day + 7 * weeks);
            steps -= kDrawsAWeek * weeks;
        } else {
            from = nextDrawDay(from);
            --steps;
        }
    }
    return from;
}

}  // namespace

bool isDrawDay(const CivilDate& date)
{
    if (date < kFirstDrawDate || isYearEndBreak(date))
        return false;
    const int weekday = weekdayOf(date);
    if (date >= kWeekdaysFrom)
        return weekday >= 1 && weekday <= 5;
    if (date >= kThreeDaysFrom)
        return weekday == 1 || weekday == 3 || weekday == 5;
    if (date >= kTuesdaysFrom)
        return weekday == 2 || weekday == 5;
    return weekday == 5;
}

CivilDate nextDrawDay(const CivilDate& date)
{
    if (date < kFirstDrawDate)
        return kFirstDrawDate;
    CivilDate day = nextDay(date);
    while (!isDrawDay(day))
        day = nextDay(day);
    return day;
}

DrawCalendar::DrawCalendar(std::map<int, CivilDate> stored) : stored_(std::move(stored)) {}

std::optional<DrawDate> DrawCalendar::dateOf(int number) const
{
    if (number < kFirstDrawNumber)
        return std::nullopt;
    auto it = stored_.upper_bound(number);
    if (it != stored_.begin()) {
        --it;
        if (it->first == number)
            return DrawDate{it->second, false};
        return DrawDate{stepDrawDays(it->second, number - it->first), true};
    }
    return DrawDate{stepDrawDays(kFirstDrawDate, number - kFirstDrawNumber), true};
}

std::vector<std::optional<DrawDate>> DrawCalendar::datesThrough(int last) const
{
    std::vector<std::optional<DrawDate>> dates(static_cast<std::size_t>(last < 0 ? 0 : last + 1));
    CivilDate day = kFirstDrawDate;
    for (int number = kFirstDrawNumber; number <= last; ++number) {
        if (const auto it = stored_.find(number); it != stored_.end())
            day = it->second;
        else if (number > kFirstDrawNumber)
            day = nextDrawDay(day);
        dates[static_cast<std::size_t>(number)] = DrawDate{day, !stored_.count(number)};
    }
    return dates;
}

int DrawCalendar::lastHeldBy(const LocalMoment& now, int after) const
{
    const std::optional<DrawDate> start = dateOf(after);
    if (!start)
        return after;
    const bool outToday = now.hour >= kResultsOutHour;
    int held = after;
    CivilDate day = start->date;
    while (true) {
        const CivilDate next = nextDrawDay(day);
        if (next > now.date || (next == now.date && !outToday))
            return held;
        day = next;
        ++held;
    }
}

std::vector<DateMismatch> DrawCalendar::mismatches() const
{
    std::vector<DateMismatch> found;
    const std::map<int, CivilDate>::const_iterator none = stored_.end();
    auto before = none;
    for (auto it = stored_.begin(); it != stored_.end(); ++it) {
        std::optional<CivilDate> byRule;
        if (before != none)
            byRule = stepDrawDays(before->second, it->first - before->first);
        else if (it->first >= kFirstDrawNumber)
            byRule = stepDrawDays(kFirstDrawDate, it->first - kFirstDrawNumber);
        // A date that breaks the rule is not stepped from: the next one is
        // judged from the last date that kept it.
        if (!isDrawDay(it->second) || (byRule && *byRule != it->second))
            found.push_back({it->first, it->second, byRule});
        else
            before = it;
    }
    return found;
}

}  // namespace rumone
