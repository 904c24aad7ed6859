#include "core/calendar/HistoryDates.h"

#include <ctime>

#include "core/calendar/CivilDays.h"

namespace rumone {

LocalMoment localMomentNow()
{
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return {{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday}, tm.tm_hour, tm.tm_min};
}

std::map<int, CivilDate> storedDatesOf(const std::map<int, DrawDetails>& details)
{
    std::map<int, CivilDate> dates;
    for (const auto& [number, d] : details)
        if (d.date)
            dates.emplace(number, *d.date);
    return dates;
}

HistoryDates historyDates(int latestNumber, const std::map<int, DrawDetails>& details, const LocalMoment& now)
{
    return historyDatesIn(DrawCalendar(storedDatesOf(details)), latestNumber, now);
}

HistoryDates historyDatesIn(const DrawCalendar& calendar, int latestNumber, const LocalMoment& now)
{
    HistoryDates dates;
    dates.latestNumber = latestNumber;
    dates.mismatches = calendar.mismatches();
    dates.latest = calendar.dateOf(latestNumber);
    if (!dates.latest)
        return dates;
    dates.next = nextDrawDay(dates.latest->date);
    dates.held = calendar.lastHeldBy(now, latestNumber);
    return dates;
}

std::string missingDrawsText(const HistoryDates& dates)
{
    if (!dates.latest || dates.missing() == 0)
        return {};
    return "最新は第" + std::to_string(dates.latestNumber) + "回（" + japaneseDateText(dates.latest->date) +
           "）です。今日までの抽せんは第" + std::to_string(dates.held) + "回まで：" + std::to_string(dates.missing()) +
           "回分が未入力です（データ管理 › 貼り付けて取込）";
}

std::string predictionTitleText(int number, const std::optional<DrawDate>& date)
{
    const std::string draw = "第" + std::to_string(number) + "回";
    if (!date)
        return draw + "の予想";
    return draw + "（" + japaneseDateText(date->date, true) + "）の予想";
}

std::string drawDateCellText(const DrawDate& date)
{
    return isoDateText(date.date) + (date.fromRule ? "（推定）" : "");
}

}  // namespace rumone
