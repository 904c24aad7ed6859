#include "core/tickets/BookLines.h"

#include <algorithm>

#include "core/calendar/CivilDays.h"
#include "core/calendar/HistoryDates.h"
#include "core/store/DrawDatabase.h"
#include "core/store/FirstEntries.h"
#include "core/text/TextParts.h"

namespace rumone {

namespace {

// A win's prize kind by its name.
const char* prizeNameOf(TicketResult won)
{
    return kPrizeKindNames[static_cast<std::size_t>(prizeKindOf(won))];
}

}  // namespace

CivilDate claimDeadlineOf(const CivilDate& drawDate)
{
    const CivilDate first = nextDay(drawDate);
    CivilDate anniversary{first.year + 1, first.month, first.day};
    if (!isValidDate(anniversary))  // 29 February: the year runs to 28 February
        anniversary = CivilDate{first.year + 1, 3, 1};
    return dateOfDayNumber(dayNumberOf(anniversary) - 1);
}

std::vector<BookLine> bookLinesOf(const std::vector<TicketCheck>& checks, const std::map<int, StoredTime>& firstEntries,
                                  const ClaimedPrizes& claimed, const DrawCalendar& calendar)
{
    std::vector<BookLine> lines;
    lines.reserve(checks.size());
    for (const TicketCheck& c : checks) {
        BookLine line;
        line.check = c;
        if (c.decided()) {
            const auto first = firstEntries.find(c.draw);
            line.afterTheFact = first == firstEntries.end() || c.purchase.recorded >= first->second;
        }
        line.claimed = claimed.contains({c.purchase.id, c.draw});
        line.drawDate = calendar.dateOf(c.draw);
        if (line.won() && line.drawDate)
            line.deadline = claimDeadlineOf(line.drawDate->date);
        lines.push_back(line);
    }
    return lines;
}

std::vector<BookLine> readBookLines(const DrawDatabaseRef& database, const DrawHistory& history)
{
    const std::vector<Purchase> book = readPurchases(database);
    if (book.empty())
        return {};
    const StoredDetails details = readStoredDetails(database);
    std::map<int, StoredTime> firstEntries;
    {
        const sqlite::Connection db = openKeyedDatabase(database, OpenAccess::ReadOnly);
        firstEntries = readFirstEntries(db.get(), database.path);
    }
    return bookLinesOf(checkBook(book, drawnOf(history), details), firstEntries, readClaimedPrizes(database),
                       DrawCalendar(storedDatesOf(details)));
}

std::vector<int> drawsCameIn(const DrawHistory& before, const DrawHistory& after)
{
    const std::map<int, FourDigits> old = drawnOf(before);
    std::vector<int> came;
    for (const Draw& d : after.completeDraws()) {
        const auto it = old.find(d.number);
        if (it == old.end() || it->second != d.digits)
            came.push_back(d.number);
    }
    return came;
}

std::string drawsCheckedText(const std::vector<BookLine>& lines, std::span<const int> draws)
{
    std::string text;
    for (const int draw : draws) {
        long long units = 0, yen = 0;
        bool theory = false, any = false;
        std::map<TicketResult, long long> wonUnits;
        for (const BookLine& l : lines) {
            if (l.check.draw != draw || !l.check.decided())
                continue;
            any = true;
            units += l.check.purchase.units;
            if (!l.won())
                continue;
            wonUnits[l.check.result] += l.check.purchase.units;
            yen += l.check.prize;
            theory = theory || l.check.source == PrizeSource::Theory;
        }
        if (!any)
            continue;
        if (!text.empty())
            text += "　";
        text += "第" + std::to_string(draw) + "回：";
        if (wonUnits.empty()) {
            text += std::to_string(units) + "口とも当せんなし";
            continue;
        }
        std::string kinds;
        for (const auto& [result, n] : wonUnits)
            kinds += (kinds.empty() ? "" : "・") + std::string(prizeNameOf(result)) + std::to_string(n) + "口";
        text += std::to_string(units) + "口のうち" + kinds + "が当せん（" + groupedYen(yen) +
                (theory ? "・理論配当）" : "）");
    }
    return text;
}

std::string nearDeadlineText(const std::vector<BookLine>& lines, const CivilDate& today)
{
    const long long from = dayNumberOf(today);
    std::string parts;
    int count = 0;
    for (const BookLine& l : lines) {
        if (!l.won() || l.claimed || !l.deadline)
            continue;
        const long long left = dayNumberOf(*l.deadline) - from;
        if (left < 0 || left > kDeadlineWarningDays)
            continue;
        ++count;
        parts += (parts.empty() ? "" : "、") + std::string("第") + std::to_string(l.check.draw) + "回 " +
                 numberText(l.check.purchase.ticket.digits) + " " + groupedYen(l.check.prize) + "（" +
                 japaneseDateText(*l.deadline) + "まで）";
    }
    if (count == 0)
        return {};
    return "受け取りの期限が" + std::to_string(kDeadlineWarningDays) + "日以内の当せんが" + std::to_string(count) +
           "件あります：" + parts;
}

}  // namespace rumone
