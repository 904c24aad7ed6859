// rumone-db: create, fill, export and check draw databases.
//
//   rumone-db create DB
//   rumone-db import [--dry-run] PATH... DB  (files in UTF-8 or CP932; DB created when missing;
//                                            refused while another process holds DB's lock)
//   rumone-db export [--cp932] [--with-dates] [--with-prizes] DB CSV (UTF-8 with BOM, or CP932)
//   rumone-db dates DB [--now 'YYYY-MM-DD HH:MM']
//   rumone-db check DB
//   rumone-db sample DB [--generated COUNT SEED]
//   rumone-db buy DB FIRSTDRAW NUMBER TYPE UNITS [DRAWS]
//   rumone-db tickets DB
#include <unistd.h>

#include <sys/stat.h>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "core/calendar/CivilDays.h"
#include "core/calendar/DrawCalendar.h"
#include "core/calendar/HistoryDates.h"
#include "core/history/DrawHistory.h"
#include "core/store/CsvFile.h"
#include "core/store/DatabaseLock.h"
#include "core/store/DrawCsv.h"
#include "core/store/DrawDatabase.h"
#include "core/store/DrawImport.h"
#include "core/store/DrawSource.h"
#include "core/store/DrawStore.h"
#include "core/store/SafeFile.h"
#include "core/store/SampleDatabase.h"
#include "core/text/TextParts.h"
#include "core/tickets/TicketBook.h"
#include "core/tickets/TicketCheck.h"

namespace rumone {
// The bytes of data/draws.csv, built into the program.
std::string_view realDrawsCsv();
}  // namespace rumone

using namespace rumone;

namespace {

constexpr int kUsageError = 2;

int usage()
{
    std::cerr << "使い方:\n"
                 "  rumone-db create DB                 空のデータベースを作成する\n"
                 "  rumone-db import [--dry-run] PATH... DB\n"
                 "                                      ファイルの当選データを取り込む（全件か無しか）\n"
                 "                                      CSV・表・結果ページの写し・結果ファイル、いくつでも\n"
                 "                                      UTF-8 か Shift-JIS、DB が無ければ作成する\n"
                 "                                      「new N changed N unchanged N」と\n"
                 "                                      「dates N prizes N」を出力する\n"
                 "                                      --dry-run は数えるだけで何も書かない\n"
                 "  rumone-db export [--cp932] [--with-dates] [--with-prizes] DB CSV\n"
                 "                                      当選データを CSV に書き出す\n"
                 "                                      UTF-8 (BOM 付き)、--cp932 で Shift-JIS\n"
                 "                                      --with-dates で抽せん日、--with-prizes で当せん金も\n"
                 "  rumone-db dates DB [--now 'YYYY-MM-DD HH:MM']\n"
                 "                                      最新の回と日付、次の回と日付、その時刻までに\n"
                 "                                      抽せん済みの回、未入力の回数を出力する\n"
                 "  rumone-db check DB                  行数、不完全な行、範囲外の値、整合性を調べる\n"
                 "  rumone-db sample DB                 DB が無いときだけ、実際の当選番号で作成する\n"
                 "  rumone-db sample DB --generated COUNT SEED\n"
                 "                                      DB が無いときだけ、乱数の見本データ COUNT 回分で作成する\n"
                 "  rumone-db buy DB FIRSTDRAW NUMBER TYPE UNITS [DRAWS]\n"
                 "                                      購入を記録する（TYPE は straight・box・set、\n"
                 "                                      DRAWS は継続回数 1～20、省略時 1）\n"
                 "  rumone-db tickets DB                購入ごと・回ごとの当せんと、決まった分の収支・偶然の範囲\n";
    return kUsageError;
}

// A link that points nowhere counts as no file, as it does for every
// reader of the database.
bool exists(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

bool parseCount(const char* s, long long low, long long high, long long& out)
{
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(s, &end, 10);
    if (errno != 0 || end == s || *end != '\0' || v < low || v > high)
        return false;
    out = v;
    return true;
}

int createCommand(const std::string& db)
{
    createDrawDatabase(db);
    std::cout << db << ": 作成しました（0 行）。\n";
    return 0;
}

// What the import would do, against the stored rows (none for a missing
// database), with nothing written.
int dryRunImport(const DrawsWithDetails& read, const std::string& db)
{
    std::vector<EditRow> stored;
    StoredDetails storedDetails;
    if (exists(db)) {
        const DrawEditSet set = openDrawEditSet(drawDatabaseAt(db));
        stored = set.rows();
        storedDetails = set.readDetails();
    }
    const ImportPreview preview = previewImport(read.rows, read.details, stored, storedDetails);
    std::cout << importCountsLine(preview) << "\n" << detailCountsLine(preview.details) << "\n";
    return 0;
}

int importCommand(const std::vector<std::string>& paths, const std::string& db, bool dryRun)
{
    // The draws as the files give them (detailsFrom(source) holds their
    // dates and prizes by draw number), and as rows of the draw table.
    std::vector<SourceDraw> source;
    try {
        source = readDrawSources(paths);
    } catch (const CsvFileError& e) {
        std::cerr << e.what() << "\n何も取り込んでいません。\n";
        return 1;
    } catch (const DrawSourceError& e) {
        std::cerr << e.path() << ": line " << e.line() << ": " << e.reason() << "\n何も取り込んでいません。\n";
        return 1;
    }
    const DrawsWithDetails read{editRowsFrom(source), detailsFrom(source)};
    if (dryRun)
        return dryRunImport(read, db);
    const std::vector<EditRow>& draws = read.rows;
    // A missing database is made first, with the same table as `create`;
    // when the import into it fails, it is removed again.
    const bool created = !exists(db);
    if (created) {
        createDrawDatabase(db);
        std::cout << db << ": データベースが無いので作成しました。\n";
    }
    // The same lock as the program's: no import while it may write, and no
    // copy of it opens for writing while this one imports.
    const DatabaseLock lock(db);
    if (!lock.held()) {
        std::cerr << db << ": " << lockHolderText(db)
                  << "が書き込みのために開いています。終わってから取り込んでください。何も取り込んでいません。\n";
        return 1;
    }
    ImportCounts counts;
    std::size_t total = 0;
    ImportPreview preview;
    try {
        DrawEditSet set = openDrawEditSet(drawDatabaseAt(db));
        preview = previewImport(draws, read.details, set.rows(), set.readDetails());
        counts = set.importPreviewed(preview);
        total = set.recordCount();
    } catch (...) {
        if (created)
            std::remove(db.c_str());
        throw;
    }
    std::cout << db << ": " << draws.size() << " 行を取り込みました（置き換え " << counts.replaced << "、追加 "
              << counts.added << "）。現在 " << total << " 行。\n"
              << importCountsLine(preview) << "\n"
              << detailCountsLine(preview.details) << "\n";
    return 0;
}

int exportCommand(const std::string& db, const std::string& csv, CsvEncoding encoding, DetailColumns columns)
{
    std::vector<EditRow> rows;
    std::string text;
    if (columns.dates || columns.prizes) {
        const DrawEditSet set = openDrawEditSet(drawDatabaseAt(db));
        rows = set.rows();
        text = writeDrawCsvWithDetails(rows, set.readDetails(), columns);
    } else {
        const DrawSnapshot snapshot = openDrawSnapshot(drawDatabaseAt(db));
        rows.reserve(snapshot.recordCount());
        for (const DrawRecord& r : snapshot.rows())
            rows.push_back(EditRow{r.number, r.digits});
        text = writeDrawCsv(rows);
    }
    // Written to a fresh file beside the target, then moved into place:
    // no half-written CSV, and no file already there is followed or lost.
    try {
        replaceFileWith(csv, encodedCsvFile(text, encoding));
    } catch (const FileWriteError& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    std::cout << csv << ": " << rows.size() << " 行を書き出しました。\n";
    return 0;
}

std::string shownValue(const DbValue& v)
{
    if (v.isNull())
        return "(なし)";
    const bool text = v.type == DbValue::Type::Text || v.type == DbValue::Type::Blob;
    return text ? "\"" + printableText(v.text) + "\"" : valueText(v);
}

// Why a stored row lies outside the model, or "" when it does not.
std::string outsideModel(const DrawRecord& r)
{
    const std::optional<int> n = drawNumberOf(r.number);
    if (!n)
        return "回数 " + shownValue(r.number);
    for (int p = 0; p < 4; ++p) {
        const DbValue& d = r.digits[p];
        if (!isNoValue(d) && !digitOf(d))
            return "回数 " + std::to_string(*n) + " 第" + std::to_string(p + 1) + "数字 " + shownValue(d);
    }
    return {};
}

bool isIncomplete(const DrawRecord& r)
{
    return std::any_of(r.digits.begin(), r.digits.end(), isNoValue);
}

int checkCommand(const std::string& db)
{
    const DrawDatabaseRef database = drawDatabaseAt(db);
    const DrawSnapshot snapshot = openDrawSnapshot(database);
    std::size_t complete = 0, incomplete = 0;
    std::vector<std::string> outside;
    for (const DrawRecord& r : snapshot.rows()) {
        const std::string why = outsideModel(r);
        if (!why.empty())
            outside.push_back(why);
        else if (isIncomplete(r))
            ++incomplete;
        else
            ++complete;
    }
    std::cout << db << "\n  行数: " << snapshot.recordCount() << "\n  完全な行: " << complete
              << "\n  不完全な行（数字が未入力）: " << incomplete << "\n  範囲外の値を持つ行: " << outside.size()
              << "\n";
    for (std::size_t i = 0; i < outside.size() && i < 20; ++i)
        std::cout << "    " << outside[i] << "\n";
    if (outside.size() > 20)
        std::cout << "    ...\n";

    try {
        const DrawHistory history = DrawHistory::fromRecords(snapshot.rows());
        std::cout << "  最新の回数 (latestDrawNumber): " << history.latestDrawNumber() << "\n";
        if (history.latestDrawNumber() != static_cast<int>(history.completeDraws().size()))
            std::cout << "  注意: 完全な行の回数が 1 から連続していません。\n";
    } catch (const std::runtime_error& e) {
        std::cout << "  読み込めません: " << e.what() << "\n";
    }

    const std::vector<std::string> integrity = checkDatabaseIntegrity(database);
    const bool sound = integrity.size() == 1 && integrity[0] == "ok";
    std::cout << "  integrity_check: " << (sound ? "ok" : "問題あり") << "\n";
    if (!sound)
        for (const std::string& line : integrity)
            std::cout << "    " << line << "\n";
    return sound && outside.empty() ? 0 : 1;
}

// The real winning numbers that the program carries (data/draws.csv),
// with their dates.
DrawsWithDetails realDraws()
{
    return parseDrawCsvWithDetails(realDrawsCsv());
}

// "第1回～第7054回、1994-10-07～2026-08-21": the draws and dates of the
// carried history (the date is the second field of a line).
std::string realDrawsSpan(const std::vector<EditRow>& draws)
{
    if (draws.empty())
        return "0回分";
    const auto date = [](std::string_view line) {
        const auto a = line.find(',');
        const auto b = line.find(',', a + 1);
        return std::string(a == std::string_view::npos ? std::string_view() : line.substr(a + 1, b - a - 1));
    };
    std::vector<std::string_view> lines = splitLines(realDrawsCsv());
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    return "第" + std::to_string(draws.front().number.integer) + "回～第" +
           std::to_string(draws.back().number.integer) + "回、" + date(lines.at(1)) + "～" + date(lines.back());
}

int sampleCommand(const std::string& db, const std::vector<EditRow>& draws, const std::string& what,
                  const DrawDetailsList& details = {})
{
    if (createDrawDatabaseWith(db, draws, details) == BuildOutcome::AlreadyThere) {
        std::cout << db << ": 既にあるので、そのまま残します。\n";
        return 0;
    }
    std::cout << db << ": " << what << "で作成しました。\n";
    return 0;
}

// export [--cp932] [--with-dates] [--with-prizes] DB CSV, the switches in
// any order.
int exportArguments(const std::vector<std::string>& a)
{
    CsvEncoding encoding = CsvEncoding::Utf8WithBom;
    DetailColumns columns;
    for (std::size_t i = 1; i + 2 < a.size(); ++i) {
        if (a[i] == "--cp932")
            encoding = CsvEncoding::Cp932;
        else if (a[i] == "--with-dates")
            columns.dates = true;
        else if (a[i] == "--with-prizes")
            columns.prizes = true;
        else
            return usage();
    }
    return exportCommand(a[a.size() - 2], a.back(), encoding, columns);
}

// "YYYY-MM-DD HH:MM".
std::optional<LocalMoment> parseMoment(const std::string& text)
{
    if (text.size() != 16 || text[10] != ' ' || text[13] != ':')
        return std::nullopt;
    const std::optional<CivilDate> date = parseDateText(text.substr(0, 10));
    long long hour = 0, minute = 0;
    if (!date || !parseCount(text.substr(11, 2).c_str(), 0, 23, hour) ||
        !parseCount(text.substr(14, 2).c_str(), 0, 59, minute))
        return std::nullopt;
    return LocalMoment{*date, static_cast<int>(hour), static_cast<int>(minute)};
}

int datesCommand(const std::string& db, const LocalMoment& now)
{
    const DrawEditSet set = openDrawEditSet(drawDatabaseAt(db));
    const DrawHistory history = DrawHistory::fromRecords(set.rows());
    const HistoryDates dates = historyDates(history.latestDrawNumber(), set.readDetails(), now);
    if (!dates.latest) {
        std::cout << "latest - -\n";
        return 0;
    }
    std::cout << "latest " << dates.latestNumber << " " << isoDateText(dates.latest->date) << "\n"
              << "next " << dates.latestNumber + 1 << " " << isoDateText(dates.next) << "\n"
              << "held " << dates.held << "\n"
              << "missing " << dates.missing() << "\n";
    for (const DateMismatch& m : dates.mismatches)
        std::cerr << "第" << m.number << "回の抽せん日 " << isoDateText(m.stored) << " は抽せん日の決まりに合いません"
                  << (m.byRule ? "（決まりでは " + isoDateText(*m.byRule) + "）" : std::string()) << "。\n";
    return 0;
}

int datesArguments(const std::vector<std::string>& a)
{
    if (a.size() == 2)
        return datesCommand(a[1], localMomentNow());
    if (a[2] != "--now")
        return usage();
    const std::optional<LocalMoment> now = parseMoment(a[3]);
    if (!now) {
        std::cerr << "--now は 'YYYY-MM-DD HH:MM' の形で書きます。\n";
        return kUsageError;
    }
    return datesCommand(a[1], *now);
}

constexpr std::array<const char*, kTicketTypeCount> kTicketTypeWords = {"straight", "box", "set"};

std::optional<Purchase> parsePurchase(const std::vector<std::string>& a)
{
    Purchase p;
    long long first = 0, units = 0, draws = 1;
    const auto digits = parseNumberText(a[3]);
    const auto type = std::find(kTicketTypeWords.begin(), kTicketTypeWords.end(), a[4]);
    if (!parseCount(a[2].c_str(), 1, kMaxDrawNumber, first) || !digits || type == kTicketTypeWords.end() ||
        !parseCount(a[5].c_str(), 1, kMaxPurchaseUnits, units) ||
        (a.size() == 7 && !parseCount(a[6].c_str(), 1, kMaxPurchaseDraws, draws)))
        return std::nullopt;
    p.firstDraw = static_cast<int>(first);
    p.draws = static_cast<int>(draws);
    p.ticket = Ticket{static_cast<std::size_t>(type - kTicketTypeWords.begin()), *digits};
    p.units = static_cast<int>(units);
    return p;
}

int buyCommand(const std::vector<std::string>& a)
{
    const std::optional<Purchase> purchase = parsePurchase(a);
    if (!purchase) {
        std::cerr << "FIRSTDRAW は 1～32767、NUMBER は 4 桁の数字、TYPE は straight・box・set、"
                     "UNITS は 1～9999、DRAWS は 1～20 です。何も記録していません。\n";
        return kUsageError;
    }
    if (const auto problem = purchaseProblem(*purchase)) {
        std::cerr << *problem << "何も記録していません。\n";
        return 1;
    }
    const std::string& db = a[1];
    if (!exists(db)) {
        std::cerr << db << ": データベースがありません。何も記録していません。\n";
        return 1;
    }
    const DatabaseLock lock(db);
    if (!lock.held()) {
        std::cerr << db << ": " << lockHolderText(db)
                  << "が書き込みのために開いています。終わってから記録してください。何も記録していません。\n";
        return 1;
    }
    const Purchase stored = recordPurchase(drawDatabaseAt(db), *purchase);
    std::cout << db << ": 購入を記録しました（第" << stored.firstDraw << "回から " << stored.draws << " 回）。\n";
    return 0;
}

int ticketsCommand(const std::string& db)
{
    const std::vector<TicketCheck> checks = checkStoredBook(drawDatabaseAt(db));
    for (const TicketCheck& c : checks) {
        std::cout << "ticket " << c.draw << " " << numberText(c.purchase.ticket.digits) << " "
                  << kTicketTypeWords[c.purchase.ticket.type] << " " << c.purchase.units << " "
                  << ticketResultWord(c.result) << " " << c.prize << " " << prizeSourceWord(c.source) << "\n";
    }
    const TicketAccount account = accountOf(checks);
    std::cout << "account " << account.units << " " << account.cost << " " << account.won << " " << account.net
              << "\nchance " << std::llround(account.winExpected) << " " << account.winLow << " " << account.winHigh
              << "\n";
    return 0;
}

int runCommand(const std::vector<std::string>& a)
{
    if ((a.size() == 6 || a.size() == 7) && a[0] == "buy")
        return buyCommand(a);
    if (a.size() == 2 && a[0] == "tickets")
        return ticketsCommand(a[1]);
    if (a.size() == 2 && a[0] == "create")
        return createCommand(a[1]);
    if (a.size() >= 3 && a[0] == "import") {
        const bool dryRun = a[1] == "--dry-run";
        const std::vector<std::string> paths(a.begin() + (dryRun ? 2 : 1), a.end() - 1);
        if (!paths.empty())
            return importCommand(paths, a.back(), dryRun);
    }
    if (a.size() >= 3 && a[0] == "export")
        return exportArguments(a);
    if ((a.size() == 2 || a.size() == 4) && a[0] == "dates")
        return datesArguments(a);
    if (a.size() == 2 && a[0] == "check")
        return checkCommand(a[1]);
    if (a.size() == 2 && a[0] == "sample") {
        const DrawsWithDetails real = realDraws();
        return sampleCommand(a[1], real.rows, "実際の当選番号（" + realDrawsSpan(real.rows) + "）", real.details);
    }
    if (a.size() == 5 && a[0] == "sample" && a[2] == "--generated") {
        long long count = 0, seed = 0;
        if (!parseCount(a[3].c_str(), 0, kMaxDrawNumber, count)) {
            std::cerr << "count は 0 から 32767 の整数です。\n";
            return kUsageError;
        }
        if (!parseCount(a[4].c_str(), 0, 4294967295LL, seed)) {
            std::cerr << "seed は 0 から 4294967295 の整数です。\n";
            return kUsageError;
        }
        return sampleCommand(
            a[1], sampleDraws(count, static_cast<unsigned>(seed)),
            "乱数の見本データ " + std::to_string(count) + " 回分（seed " + std::to_string(seed) + "）");
    }
    return usage();
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        return runCommand(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const StoreError& e) {
        std::cerr << e.what() << "\n";
    } catch (const FileWriteError& e) {
        std::cerr << e.what() << "\n";
    } catch (const std::exception& e) {
        std::cerr << "rumone-db: " << e.what() << "\n";
    }
    return 1;
}
