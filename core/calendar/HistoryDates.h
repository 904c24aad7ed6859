// Where the stored history stands against the calendar at a moment: the
// last stored draw and its date, the next draw's date, the last draw held
// by then and how many draws are not yet entered.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/calendar/DrawCalendar.h"

namespace rumone {

struct HistoryDates {
    int latestNumber = 0;
    std::optional<DrawDate> latest;  // none without a stored draw
    CivilDate next;
    int held = 0;  // the last draw whose results are out at the moment
    std::vector<DateMismatch> mismatches;

    int missing() const { return held > latestNumber ? held - latestNumber : 0; }
};

// The machine's local time now, to the minute.
LocalMoment localMomentNow();

// The stored dates of `details`.
std::map<int, CivilDate> storedDatesOf(const std::map<int, DrawDetails>& details);

// `latestNumber`: the last stored draw (0 for none).
HistoryDates historyDates(int latestNumber, const std::map<int, DrawDetails>& details, const LocalMoment& now);
// The same against a calendar already made from the stored dates.
HistoryDates historyDatesIn(const DrawCalendar& calendar, int latestNumber, const LocalMoment& now);

// "最新は第7054回（2026年8月21日）です。今日までの抽せんは第7131回まで：77回分が
// 未入力です（データ管理 › 貼り付けて取込）"; empty when nothing is missing.
std::string missingDrawsText(const HistoryDates& dates);

// "第7055回（2026年8月24日（月））の予想"; "第7055回の予想" without a date.
std::string predictionTitleText(int number, const std::optional<DrawDate>& date);

// "2026-08-21", with "（推定）" after a date the rule gave (no stored one).
std::string drawDateCellText(const DrawDate& date);

}  // namespace rumone
