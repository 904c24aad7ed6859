#include "core/store/DrawDetailsStore.h"

#include "core/calendar/CivilDays.h"
#include "core/store/DrawDatabase.h"
#include "core/store/StoreFailure.h"
#include "core/text/TextParts.h"

namespace rumone {

const char* const kDrawDetailsSchema =
    "CREATE TABLE IF NOT EXISTS 抽せん日 (回数 INTEGER PRIMARY KEY, 抽せん日 TEXT NOT NULL);"
    "CREATE TABLE IF NOT EXISTS 当せん金 (回数 INTEGER NOT NULL, 種類 INTEGER NOT NULL,"
    " 口数 INTEGER NOT NULL, 当せん金 INTEGER NOT NULL, 該当なし INTEGER NOT NULL,"
    " PRIMARY KEY (回数, 種類));";

namespace {

// The rows of `select`, or with `fromNumber` those whose 回数 is at least it.
template <typename Take>
void readRows(sqlite3* db, const std::string& path, std::string select, std::optional<int> fromNumber, Take take)
{
    if (fromNumber)
        select += " WHERE 回数 >= ?1";
    sqlite::Statement st(db, select);
    if (!st.ok())
        throw storeErrorFor(st.prepareCode(), path, false);
    if (fromNumber && st.bindInt(1, *fromNumber) != SQLITE_OK)
        throw storeErrorFor(SQLITE_MISUSE, path, false);
    int rc = SQLITE_OK;
    while ((rc = st.step()) == SQLITE_ROW)
        take(st);
    if (rc != SQLITE_DONE)
        throw storeErrorFor(rc, path, false);
}

std::string numbered(int number)
{
    return "第" + std::to_string(number) + "回 ";
}

// The entry of `number`: rows come in draw order, so the last one touched
// or the end is where it is found or goes, without a search.
DrawDetails& detailsOf(StoredDetails& details, StoredDetails::iterator& last, int number)
{
    if (last != details.end() && last->first == number)
        return last->second;
    if (details.empty() || details.rbegin()->first < number)
        last = details.emplace_hint(details.end(), number, DrawDetails{});
    else
        last = details.try_emplace(number).first;
    return last->second;
}

}  // namespace

std::map<int, CivilDate> readDrawDates(sqlite3* db, const std::string& path, std::optional<int> fromNumber)
{
    std::map<int, CivilDate> dates;
    if (sqlite::hasTable(db, path, "抽せん日"))
        readRows(db, path, "SELECT 回数, 抽せん日 FROM 抽せん日", fromNumber, [&](sqlite::Statement& st) {
            if (const auto date = parseDateText(st.columnText(1)))
                dates.emplace_hint(dates.end(), static_cast<int>(st.columnInt(0)), *date);
        });
    return dates;
}

StoredDetails readDrawDetails(sqlite3* db, const std::string& path, std::optional<int> fromNumber)
{
    StoredDetails details;
    for (const auto& [number, date] : readDrawDates(db, path, fromNumber))
        details.emplace_hint(details.end(), number, DrawDetails{date, {}});
    auto last = details.end();
    if (sqlite::hasTable(db, path, "当せん金"))
        readRows(
            db, path, "SELECT 回数, 種類, 口数, 当せん金, 該当なし FROM 当せん金", fromNumber,
            [&](sqlite::Statement& st) {
                const long long kind = st.columnInt(1);
                if (kind < 0 || kind >= kPrizeKindCount)
                    return;
                detailsOf(details, last, static_cast<int>(st.columnInt(0))).prizes[static_cast<std::size_t>(kind)] =
                    PrizeLine{st.columnInt(2), st.columnInt(3), st.columnInt(4) != 0};
            });
    return details;
}

StoredDetails readStoredDetails(const DrawDatabaseRef& database, std::optional<int> fromNumber)
{
    const sqlite::Connection db = openKeyedDatabase(database, OpenAccess::ReadOnly);
    return readDrawDetails(db.get(), database.path, fromNumber);
}

std::map<int, CivilDate> readStoredDates(const DrawDatabaseRef& database)
{
    const sqlite::Connection db = openKeyedDatabase(database, OpenAccess::ReadOnly);
    return readDrawDates(db.get(), database.path);
}

bool DetailChange::changesPrizes() const
{
    for (const auto& p : written.prizes)
        if (p)
            return true;
    return false;
}

std::size_t DetailsPreview::dateCount() const
{
    std::size_t n = 0;
    for (const DetailChange& c : changes)
        n += c.changesDate() ? 1 : 0;
    return n;
}

std::size_t DetailsPreview::prizeCount() const
{
    std::size_t n = 0;
    for (const DetailChange& c : changes)
        n += c.changesPrizes() ? 1 : 0;
    return n;
}

DrawDetailsList DetailsPreview::incoming() const
{
    DrawDetailsList list;
    for (const DetailChange& c : changes)
        list.emplace_back(c.number, c.written);
    return list;
}

DetailsPreview previewDetails(const DrawDetailsList& incoming, const StoredDetails& stored)
{
    StoredDetails given;
    for (const auto& [number, details] : incoming) {
        DrawDetails& into = given[number];
        if (details.date)
            into.date = details.date;
        for (int k = 0; k < kPrizeKindCount; ++k)
            if (details.prizes[k])
                into.prizes[k] = details.prizes[k];
    }
    DetailsPreview preview;
    for (const auto& [number, details] : given) {
        const auto it = stored.find(number);
        DetailChange change{number, it == stored.end() ? DrawDetails{} : it->second, {}};
        if (details.date && details.date != change.stored.date)
            change.written.date = details.date;
        for (int k = 0; k < kPrizeKindCount; ++k)
            if (details.prizes[k] && details.prizes[k] != change.stored.prizes[k])
                change.written.prizes[k] = details.prizes[k];
        if (!change.written.empty())
            preview.changes.push_back(std::move(change));
    }
    return preview;
}

std::string detailCountsLine(const DetailsPreview& preview)
{
    return "dates " + std::to_string(preview.dateCount()) + " prizes " + std::to_string(preview.prizeCount());
}

std::string prizeLineText(const PrizeLine& line)
{
    return line.notApplicable ? "該当なし" : std::to_string(line.units) + "口 " + groupedDigits(line.yenPerUnit) + "円";
}

std::vector<std::string> detailLines(const DetailsPreview& preview)
{
    std::vector<std::string> lines;
    for (const DetailChange& c : preview.changes) {
        if (c.written.date)
            lines.push_back(numbered(c.number) + "抽せん日 " +
                            (c.stored.date ? japaneseDateText(*c.stored.date) + " → " : "") +
                            japaneseDateText(*c.written.date));
        for (int k = 0; k < kPrizeKindCount; ++k)
            if (const auto& p = c.written.prizes[k])
                lines.push_back(numbered(c.number) + kPrizeKindNames[k] + " " +
                                (c.stored.prizes[k] ? prizeLineText(*c.stored.prizes[k]) + " → " : "") +
                                prizeLineText(*p));
    }
    return lines;
}

void writeDrawDetails(const WriteTransaction& tx, const DetailsPreview& preview)
{
    if (preview.empty())
        return;
    tx.exec(kDrawDetailsSchema);
    auto date = tx.prepare("INSERT OR REPLACE INTO 抽せん日 (回数, 抽せん日) VALUES (?1, ?2)");
    auto prize = tx.prepare(
        "INSERT OR REPLACE INTO 当せん金 (回数, 種類, 口数, 当せん金, 該当なし) VALUES (?1, ?2, ?3, ?4, ?5)");
    for (const DetailChange& c : preview.changes) {
        if (c.written.date) {
            date.bindInt(1, c.number);
            date.bind(2, DbValue::fromText(isoDateText(*c.written.date)));
            tx.run(date);
        }
        for (int k = 0; k < kPrizeKindCount; ++k)
            if (const auto& p = c.written.prizes[k]) {
                prize.bindInt(1, c.number);
                prize.bindInt(2, k);
                prize.bindInt(3, p->units);
                prize.bindInt(4, p->yenPerUnit);
                prize.bindInt(5, p->notApplicable ? 1 : 0);
                tx.run(prize);
            }
    }
}

}  // namespace rumone
