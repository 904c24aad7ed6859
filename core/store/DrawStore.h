// The draw database Rumone.mdb: an encrypted SQLite (SQLCipher) file in the
// program's folder. The saved query 全データ選択クエリ is a view over the draw
// table with the columns 回数, 第1数字, 第2数字, 第3数字, 第4数字.
//
// The connection text (buildConnectionString) is parsed once into a
// DrawDatabaseRef; openDrawSnapshot, openDrawEditSet and, for the other
// tables of the file, openKeyedDatabase (DrawDatabase.h) open it with that
// value and are the only ways in. Every handle is owned by an object and
// closed by its destructor.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/history/DbValue.h"
#include "core/history/DrawHistory.h"
#include "core/history/DrawResults.h"

namespace rumone {

inline constexpr const char* kDatabaseFileName = "Rumone.mdb";
inline constexpr const char* kDrawQuery = "select * from 全データ選択クエリ order by 回数";

// A failure of the store. what() is a plain Japanese sentence for the user;
// the cause is classified from SQLite's result code, never from its text.
class StoreError : public std::runtime_error {
public:
    enum class Cause {
        FileMissing,       // no file at the path
        EmptyFile,         // a file of 0 bytes
        NotADatabase,      // wrong key, or not a database at all
        Unencrypted,       // a plain SQLite file without the program's key
        Damaged,           // truncated or corrupt
        QueryMissing,      // no saved query 全データ選択クエリ
        QueryNotWritable,  // the saved query is a view without its write triggers
        BadDrawNumber,     // a stored draw number that cannot be read as a number
        ReadOnly,          // the file or its folder cannot be written
        Locked,            // another process holds the database
        DiskFull,
        Constraint,  // the write breaks a rule of the table (duplicate 回数 ...)
        Other,
    };
    StoreError(Cause cause, std::string path, const std::string& message, int sqliteCode = 0)
        : std::runtime_error(message), cause_(cause), path_(std::move(path)), sqliteCode_(sqliteCode)
    {
    }
    Cause cause() const { return cause_; }
    const std::string& path() const { return path_; }
    int sqliteCode() const { return sqliteCode_; }

private:
    Cause cause_;
    std::string path_;
    int sqliteCode_;
};

// "Provider=Microsoft.Jet.OLEDB.4.0;Jet OLEDB:Database Password=NNNNNN;
//  Data Source=<programFolder>/Rumone.mdb". Cannot fail.
std::string buildConnectionString(const std::string& programFolder);

// The same connection text for a database file at any path and of any
// name (the tools and the tests keep databases elsewhere). Cannot fail.
std::string connectionStringForFile(const std::string& databasePath);

class DatabaseKeyCache;

// Which database to open, and with what password: the connection text
// parsed once, then passed on as it is. Copies share the keys derived for
// the file (DatabaseKey.h), so that only the first open of a file derives
// its key.
struct DrawDatabaseRef {
    std::string path;      // the Data Source
    std::string password;  // six numeric characters
    std::shared_ptr<DatabaseKeyCache> keys;
};
DrawDatabaseRef parseConnectionString(const std::string& connectionString);
// The database at `databasePath`: connectionStringForFile, parsed.
DrawDatabaseRef drawDatabaseAt(const std::string& databasePath);

// The whole ordered result of the query, read into memory at open.
// Later writes to the file do not change it.
class DrawSnapshot {
public:
    explicit DrawSnapshot(std::vector<DrawRecord> rows) : rows_(std::move(rows)) {}
    const std::vector<DrawRecord>& rows() const { return rows_; }
    std::size_t recordCount() const { return rows_.size(); }

private:
    std::vector<DrawRecord> rows_;
};

// Throws StoreError; never creates, rewrites or asks for anything.
DrawSnapshot openDrawSnapshot(const DrawDatabaseRef& database);

// Opens the snapshot, reads every row and computes the history's figures.
// Throws StoreError when the database cannot be read or holds a draw
// number that is no number at all.
DrawHistory loadDrawHistory(const DrawDatabaseRef& database);
// loadDrawHistory on a thread of its own: the key derivation and the read
// can go on while the program starts its windows. get() returns the
// history or throws what loadDrawHistory throws.
std::future<DrawHistory> startLoadingDrawHistory(DrawDatabaseRef database);

struct ImportPreview;

// One row of the edit set as the entry view shows it: the stored values
// as the draw query delivers them.
using EditRow = DrawRecord;

// Told the draws written so far and the draws to write, every few hundred.
using WriteProgress = std::function<void(std::size_t done, std::size_t total)>;

// What a bulk entry did, counted inside its write transaction.
struct ImportCounts {
    std::size_t replaced = 0;  // rows whose draw number was stored
    std::size_t added = 0;
};

// The editable result set of the entry view. Every change is committed to
// the file, durably, before the call returns; a failure throws StoreError
// and leaves both the file and rows() as they were. A row index or digit
// position outside the set is a programming error: std::logic_error.
class DrawEditSet {
public:
    class Impl;
    explicit DrawEditSet(std::unique_ptr<Impl> impl);
    DrawEditSet(DrawEditSet&&) noexcept;
    DrawEditSet& operator=(DrawEditSet&&) noexcept;
    ~DrawEditSet();

    // The rows read so far: all of them, or only the last ones of a set
    // opened reading those first (until readAllRows).
    const std::vector<EditRow>& rows() const;
    std::size_t recordCount() const { return rows().size(); }
    bool complete() const;
    // Every row of the file, read now (the rows in hand stay as they are).
    std::vector<EditRow> readAllRows() const;
    // Takes the rows readAllRows gave as rows(): the set is complete. Any
    // write made before it completes the set itself first.
    void adoptAllRows(std::vector<EditRow> all);

    // Sets digit `position` (1-4) of row `index` (0-based) to a digit 0-9
    // or to no value.
    void setDigit(std::size_t index, int position, std::optional<int> digit);
    // Adds a blank row asked for at `index` (0-based, after row index - 1;
    // rows().size() appends) and returns where it stands. When the draw
    // after row index - 1 is missing (a gap in the numbers), the row takes
    // that number and stands at `index`; otherwise it takes one more than
    // the highest stored number and stands at the end. Either way rows()
    // keeps the draw order in which the file gives the rows back.
    std::size_t insertRow(std::size_t index);
    void deleteRow(std::size_t index);

    // Bulk entry: writes the draws in one transaction, replacing rows whose
    // draw number exists and adding the others; all or nothing. rows() is
    // read again afterwards. The counts are those of the rows as stored
    // when the write began, whoever else wrote since this set was opened.
    ImportCounts importDraws(const std::vector<EditRow>& draws);
    // How many of `draws` already have a stored row, as this set last read
    // the file (for a question before the import; importDraws counts anew).
    std::size_t countExisting(const std::vector<EditRow>& draws) const;
    // Writes the new and changed draws of a preview made against rows()
    // (DrawImport.h) in one transaction; refused with nothing written when
    // the file no longer holds what the preview was made from.
    // The preview's new and changed dates and prizes are written in the
    // same transaction.
    ImportCounts importPreviewed(const ImportPreview& preview, const WriteProgress& progress = {});
    // Draw number → its stored date and prize lines, read now.
    std::map<int, DrawDetails> readDetails() const;
    // Draw number → its stored date alone, read now.
    std::map<int, CivilDate> readDates() const;

private:
    std::unique_ptr<Impl> impl_;
};

// Opens the set with every row read, or with only the last `onlyLast`
// rows read (for a view opened at the end; readAllRows brings the rest).
// Whoever writes the file after the open, the set's writes are refused.
DrawEditSet openDrawEditSet(const DrawDatabaseRef& database, std::optional<std::size_t> onlyLast = std::nullopt);
// openDrawEditSet begun on a thread of its own, for a view that builds its
// window meanwhile. take() returns the set, from then on used by the thread
// that took it, or throws what openDrawEditSet throws. When that thread has
// not begun yet (a busy machine), take() opens the set itself: taking never
// waits for a thread that has not run.
class DrawEditSetOpening {
public:
    DrawEditSetOpening(DrawDatabaseRef database, std::optional<std::size_t> onlyLast = std::nullopt);
    DrawEditSetOpening(const DrawEditSetOpening&) = delete;
    DrawEditSetOpening& operator=(const DrawEditSetOpening&) = delete;
    // Waits for its thread; one that has not begun by then opens nothing.
    ~DrawEditSetOpening();
    // Once only.
    DrawEditSet take();

private:
    DrawDatabaseRef database_;
    std::optional<std::size_t> onlyLast_;
    std::shared_ptr<std::atomic<bool>> claimed_;
    std::future<std::optional<DrawEditSet>> opened_;
    bool taken_ = false;
};

// How many rows of `all` stand before `last` when `all` ends with `last`;
// nothing when it does not (then `last` was not the end of `all`).
std::optional<std::size_t> rowsBefore(const std::vector<EditRow>& all, const std::vector<EditRow>& last);

// The missed draw number right after row `row` of `rows` (in draw order):
// that row's number plus one, when no row holds it and the next row's
// number is higher still; nullopt otherwise (also after the last row).
std::optional<long long> missedDrawAfter(const std::vector<EditRow>& rows, std::size_t row);

// Creates an empty draw database at `path` (the draw table, its key and the
// saved query), keyed like every database of the program. Fails if the
// file exists. The database is built under a temporary name beside it and
// appears under `path` only when whole; a symbolic link at `path` that
// points nowhere is followed to where it points.
void createDrawDatabase(const std::string& path);

}  // namespace rumone
