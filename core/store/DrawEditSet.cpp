// The entry view's editable result set. It writes through the saved query
// 全データ選択クエリ (its INSTEAD OF triggers reach the draw table), one
// durable transaction per change, and keeps its rows in step with the file.
#include <sys/stat.h>

#include <future>
#include <set>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "core/store/DrawDatabase.h"
#include "core/store/DrawDetailsStore.h"
#include "core/store/DrawImport.h"
#include "core/store/DrawStore.h"
#include "core/store/FirstEntries.h"
#include "core/store/StoreFailure.h"
#include "core/store/WriteTransaction.h"

namespace rumone {

namespace {

using Cause = StoreError::Cause;

std::string numberText(const DbValue& v)
{
    return v.isNull() ? "なし" : printableText(valueText(v));
}

// The same draws new, and the same stored values about to change.
bool samePlan(const ImportPreview& now, const ImportPreview& seen)
{
    const auto text = [](const ImportPreview& p) {
        std::vector<std::string> lines = changedLines(p);
        for (const EditRow& r : p.added)
            lines.push_back(drawLineText(r));
        return lines;
    };
    return now.unchanged == 0 && text(now) == text(seen) && detailLines(now.details) == detailLines(seen.details);
}

// The device and inode a path names; zeros when it names nothing.
using FileId = std::pair<unsigned long long, unsigned long long>;
FileId fileIdOf(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {0, 0};
    return {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino)};
}

}  // namespace

std::optional<long long> missedDrawAfter(const std::vector<EditRow>& rows, std::size_t row)
{
    if (row >= rows.size() || rows[row].number.type != DbValue::Type::Integer)
        return std::nullopt;
    const long long wanted = rows[row].number.integer + 1;
    if (wanted > kMaxDrawNumber)
        return std::nullopt;
    // The next row must come after it, or the row would stand elsewhere
    // once the rows are read again in draw order.
    if (row + 1 < rows.size()) {
        const DbValue& next = rows[row + 1].number;
        if (next.type != DbValue::Type::Integer || next.integer <= wanted)
            return std::nullopt;
    } else {
        return std::nullopt;  // after the last row: the usual next draw
    }
    for (const EditRow& r : rows)
        if (r.number.type == DbValue::Type::Integer && r.number.integer == wanted)
            return std::nullopt;
    return wanted;
}

std::optional<std::size_t> rowsBefore(const std::vector<EditRow>& all, const std::vector<EditRow>& last)
{
    if (last.size() > all.size())
        return std::nullopt;
    const std::size_t before = all.size() - last.size();
    const auto same = [](const DbValue& a, const DbValue& b) {
        return a.type == b.type && a.integer == b.integer && a.real == b.real && a.text == b.text;
    };
    for (std::size_t i = 0; i < last.size(); ++i) {
        const EditRow& a = all[before + i];
        const EditRow& b = last[i];
        if (!same(a.number, b.number))
            return std::nullopt;
        for (int p = 0; p < 4; ++p)
            if (!same(a.digits[p], b.digits[p]))
                return std::nullopt;
    }
    return before;
}

class DrawEditSet::Impl {
public:
    Impl(std::string path, sqlite::Connection db, std::vector<EditRow> rows, bool complete)
        : path_(std::move(path)),
          db_(std::move(db)),
          rows_(std::move(rows)),
          complete_(complete),
          file_(fileIdOf(path_)),
          dataVersion_(dataVersion())
    {
    }

    const std::vector<EditRow>& rows() const { return rows_; }
    bool complete() const { return complete_; }

    // A commit by another connection between the first rows and these is
    // caught as any other: data_version stays the one of the open, so the
    // next write is refused and the rows are read again.
    // Room for as many rows as the last one's draw number (a gapless
    // history): the vector is not grown, and copied, along the way.
    std::vector<EditRow> readAllRows() const
    {
        const DbValue* last = rows_.empty() ? nullptr : &rows_.back().number;
        const bool counted =
            last && last->type == DbValue::Type::Integer && last->integer > 0 && last->integer <= kMaxDrawNumber;
        return readDrawQuery(db_.get(), path_, counted ? static_cast<std::size_t>(last->integer) : 0);
    }

    void adoptAllRows(std::vector<EditRow> all)
    {
        rows_ = std::move(all);
        complete_ = true;
    }

    void setDigit(std::size_t index, int position, std::optional<int> digit)
    {
        requireComplete();
        requireRow(index);
        if (position < 1 || position > 4)
            throw misuse("digit position outside 1-4");
        const DbValue value = digit ? DbValue::fromInt(*digit) : DbValue::null();
        WriteTransaction tx(db_.get(), path_);
        requireSameFile();
        requireNoOtherWrites(tx);
        noteFirstEntries(tx);
        requireUnchanged(tx, rows_[index]);
        auto st = tx.prepare(std::string("UPDATE 全データ選択クエリ SET ") + kDrawColumnNames[position] +
                             " = ?1 WHERE 回数 IS ?2");
        st.bind(1, value);
        st.bind(2, rows_[index].number);
        tx.run(st);
        commitStamped(tx);
        rows_[index].digits[position - 1] = value;
    }

    std::size_t insertRow(std::size_t index)
    {
        requireComplete();
        if (index > rows_.size())
            throw misuse("row index outside the set");
        WriteTransaction tx(db_.get(), path_);
        requireSameFile();
        requireNoOtherWrites(tx);
        noteFirstEntries(tx);
        const std::optional<long long> gap = index > 0 ? missedDrawAfter(rows_, index - 1) : std::nullopt;
        const long long number = gap ? *gap : nextDrawNumber(tx);
        if (!gap)
            index = rows_.size();
        auto st = tx.prepare(
            "INSERT INTO 全データ選択クエリ (回数, 第1数字, 第2数字, 第3数字, 第4数字) VALUES (?1, NULL, NULL, NULL, "
            "NULL)");
        st.bindInt(1, number);
        tx.run(st);
        commitStamped(tx);
        rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(index), EditRow{DbValue::fromInt(number), {}});
        return index;
    }

    void deleteRow(std::size_t index)
    {
        requireComplete();
        requireRow(index);
        WriteTransaction tx(db_.get(), path_);
        requireSameFile();
        requireNoOtherWrites(tx);
        noteFirstEntries(tx);
        requireUnchanged(tx, rows_[index]);
        auto st = tx.prepare("DELETE FROM 全データ選択クエリ WHERE 回数 IS ?1");
        st.bind(1, rows_[index].number);
        tx.run(st);
        commitStamped(tx);
        rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index));
    }

    void requireDrawNumbers(const std::vector<EditRow>& draws) const
    {
        for (const EditRow& d : draws)
            if (d.number.type != DbValue::Type::Integer || d.number.integer < 0 || d.number.integer > kMaxDrawNumber)
                throw StoreError(
                    Cause::Constraint, path_,
                    "取り込むデータの回数「" + numberText(d.number) + "」は 0 から 32767 の整数ではありません。");
    }

    ImportCounts importDraws(const std::vector<EditRow>& draws)
    {
        completeRows();
        requireDrawNumbers(draws);
        WriteTransaction tx(db_.get(), path_);
        requireSameFile();
        noteFirstEntries(tx);
        ImportCounts counts = writeDraws(tx, draws);
        // Read back inside the transaction: a failed commit leaves rows() alone.
        std::vector<EditRow> rows = readDrawQuery(db_.get(), path_);
        commitStamped(tx);
        rows_ = std::move(rows);
        return counts;
    }

    // The write of a preview the user has seen: refused, with nothing
    // written, when the stored rows are no longer those it was made from.
    ImportCounts importPreviewed(const ImportPreview& preview, const WriteProgress& progress)
    {
        completeRows();
        const std::vector<EditRow> draws = preview.rowsToWrite();
        // Progress is told between the steps too, a step each, so that a
        // window showing it answers between them.
        const std::size_t steps = draws.size() + 5;
        std::size_t step = 0;
        const auto between = [&progress, &step, steps] {
            if (progress)
                progress(++step, steps);
        };
        requireDrawNumbers(draws);
        WriteTransaction tx(db_.get(), path_);
        requireSameFile();
        requireNoOtherWrites(tx);
        noteFirstEntries(tx);
        between();
        std::vector<EditRow> stored = readDrawQuery(db_.get(), path_);
        between();
        const ImportPreview now =
            previewImport(draws, preview.details.incoming(), stored, readDrawDetails(db_.get(), path_));
        between();
        if (!samePlan(now, preview))
            throw StoreError(Cause::Other, path_,
                             "確認の後に、データベース「" + path_ +
                                 "」が他で変更されました。何も取り込んでいません。もう一度取り込んでください。");
        ImportCounts counts = writeDraws(tx, draws, [&](std::size_t done, std::size_t) {
            if (progress)
                progress(step + done, steps);
        });
        step += draws.size();
        writeDrawDetails(tx, preview.details);
        between();
        std::vector<EditRow> rows = readDrawQuery(db_.get(), path_);
        between();
        commitStamped(tx);
        rows_ = std::move(rows);
        return counts;
    }

    ImportCounts writeDraws(WriteTransaction& tx, const std::vector<EditRow>& draws, const WriteProgress& progress = {})
    {
        constexpr std::size_t kProgressEvery = 256;
        auto exists = tx.prepare("SELECT count(*) FROM 全データ選択クエリ WHERE 回数 = ?1");
        auto update = tx.prepare(
            "UPDATE 全データ選択クエリ SET 第1数字 = ?2, 第2数字 = ?3, 第3数字 = ?4, 第4数字 = ?5 WHERE 回数 = ?1");
        auto insert = tx.prepare(
            "INSERT INTO 全データ選択クエリ (回数, 第1数字, 第2数字, 第3数字, 第4数字) VALUES (?1, ?2, ?3, ?4, ?5)");
        ImportCounts counts;
        for (const EditRow& d : draws) {
            exists.bind(1, d.number);
            const int rc = exists.step();
            tx.check(rc);
            const bool stored = rc == SQLITE_ROW && exists.columnInt(0) > 0;
            exists.reset();
            ++(stored ? counts.replaced : counts.added);
            sqlite::Statement& write = stored ? update : insert;
            write.bind(1, d.number);
            for (int p = 0; p < 4; ++p)
                write.bind(p + 2, d.digits[p]);
            tx.run(write);
            if (const std::size_t done = counts.added + counts.replaced; progress && done % kProgressEvery == 0)
                progress(done, draws.size());
        }
        return counts;
    }

    StoredDetails readDetails() const { return readDrawDetails(db_.get(), path_); }
    std::map<int, CivilDate> readDates() const { return readDrawDates(db_.get(), path_); }

    std::size_t countExisting(const std::vector<EditRow>& draws) const
    {
        std::set<long long> stored;
        std::vector<EditRow> read;
        for (const EditRow& r : complete_ ? rows_ : (read = readAllRows()))
            if (r.number.type == DbValue::Type::Integer)
                stored.insert(r.number.integer);
        std::size_t n = 0;
        for (const EditRow& d : draws)
            if (d.number.type == DbValue::Type::Integer && stored.count(d.number.integer))
                ++n;
        return n;
    }

private:
    // Row indexes count from the first row of the file.
    void requireComplete() const
    {
        if (!complete_)
            throw misuse("a row written before every row was read");
    }

    void completeRows()
    {
        if (!complete_)
            adoptAllRows(readAllRows());
    }

    // Every write notes the draws complete before it (at its start) and
    // those it completes (here), so that no draw becomes complete unstamped
    // (FirstEntries.h).
    static void commitStamped(WriteTransaction& tx)
    {
        noteFirstEntries(tx);
        tx.commit();
    }

    // A caller's mistake, not a failure of the file.
    static std::logic_error misuse(const std::string& what) { return std::logic_error("DrawEditSet: " + what); }

    void requireRow(std::size_t index) const
    {
        if (index >= rows_.size())
            throw misuse("row index outside the set");
    }

    // Optimistic locking: the row must still hold what this set read.
    void requireUnchanged(const WriteTransaction& tx, const EditRow& row) const
    {
        auto st = tx.prepare(
            "SELECT count(*) FROM 全データ選択クエリ WHERE 回数 IS ?1"
            " AND 第1数字 IS ?2 AND 第2数字 IS ?3 AND 第3数字 IS ?4 AND 第4数字 IS ?5");
        st.bind(1, row.number);
        for (int p = 0; p < 4; ++p)
            st.bind(p + 2, row.digits[p]);
        const int rc = st.step();
        tx.check(rc);
        if (rc != SQLITE_ROW || st.columnInt(0) != 1)
            throw StoreError(Cause::Other, path_,
                             "データベース「" + path_ + "」の回数 " + numberText(row.number) +
                                 " の行は、開いた後に他で変更または削除されています。画面を開き直してください。");
    }

    // The path must still name the file this set opened: a file put in its
    // place (renamed over it) would otherwise never see these writes.
    void requireSameFile() const
    {
        if (fileIdOf(path_) != file_)
            throw StoreError(Cause::Other, path_,
                             "データベース「" + path_ +
                                 "」は、開いた後に別のファイルに置き換えられました。書き込んでいません。"
                                 "開き直したデータを確かめて、もう一度操作してください。");
    }

    // Nothing committed by another connection since this set read its rows
    // (SQLite's data_version changes with every such commit).
    void requireNoOtherWrites(const WriteTransaction& tx) const
    {
        (void)tx;  // asked inside the write lock, so that no commit slips in after
        if (dataVersion() != dataVersion_)
            throw StoreError(Cause::Other, path_,
                             "データベース「" + path_ +
                                 "」は、開いた後にほかのプログラムで変更されました。書き込んでいません。"
                                 "読み直したデータを確かめて、もう一度操作してください。");
    }

    long long dataVersion() const
    {
        sqlite::Statement st(db_.get(), "PRAGMA data_version");
        return st.prepareCode() == SQLITE_OK && st.step() == SQLITE_ROW ? st.columnInt(0) : -1;
    }

    // One more than the highest stored draw number; 1 for an empty table.
    long long nextDrawNumber(const WriteTransaction& tx) const
    {
        auto st = tx.prepare("SELECT max(回数) FROM 全データ選択クエリ");
        const int rc = st.step();
        tx.check(rc);
        const DbValue highest = rc == SQLITE_ROW ? st.column(0) : DbValue::null();
        if (highest.isNull())
            return 1;
        if (highest.type != DbValue::Type::Integer)
            throw StoreError(Cause::Constraint, path_,
                             "データベース「" + path_ + "」の最大の回数「" + numberText(highest) +
                                 "」が整数ではないため、行を追加できません。");
        if (highest.integer >= kMaxDrawNumber)
            throw StoreError(
                Cause::Constraint, path_,
                "データベース「" + path_ + "」の回数が上限の 32767 に達しているため、行を追加できません。");
        return highest.integer + 1;
    }

    std::string path_;
    sqlite::Connection db_;
    std::vector<EditRow> rows_;
    bool complete_;
    FileId file_;
    long long dataVersion_;
};

DrawEditSet::DrawEditSet(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
DrawEditSet::DrawEditSet(DrawEditSet&&) noexcept = default;
DrawEditSet& DrawEditSet::operator=(DrawEditSet&&) noexcept = default;
DrawEditSet::~DrawEditSet() = default;

const std::vector<EditRow>& DrawEditSet::rows() const
{
    return impl_->rows();
}
bool DrawEditSet::complete() const
{
    return impl_->complete();
}
std::vector<EditRow> DrawEditSet::readAllRows() const
{
    return impl_->readAllRows();
}
void DrawEditSet::adoptAllRows(std::vector<EditRow> all)
{
    impl_->adoptAllRows(std::move(all));
}
void DrawEditSet::setDigit(std::size_t index, int position, std::optional<int> digit)
{
    impl_->setDigit(index, position, digit);
}
std::size_t DrawEditSet::insertRow(std::size_t index)
{
    return impl_->insertRow(index);
}
void DrawEditSet::deleteRow(std::size_t index)
{
    impl_->deleteRow(index);
}
ImportCounts DrawEditSet::importDraws(const std::vector<EditRow>& draws)
{
    return impl_->importDraws(draws);
}
ImportCounts DrawEditSet::importPreviewed(const ImportPreview& preview, const WriteProgress& progress)
{
    return impl_->importPreviewed(preview, progress);
}
StoredDetails DrawEditSet::readDetails() const
{
    return impl_->readDetails();
}
std::map<int, CivilDate> DrawEditSet::readDates() const
{
    return impl_->readDates();
}

std::size_t DrawEditSet::countExisting(const std::vector<EditRow>& draws) const
{
    return impl_->countExisting(draws);
}

DrawEditSet openDrawEditSet(const DrawDatabaseRef& info, std::optional<std::size_t> onlyLast)
{
    sqlite::Connection db = openDurableDatabase(info, false);
    std::vector<EditRow> rows =
        onlyLast ? readDrawQueryLast(db.get(), info.path, *onlyLast) : readDrawQuery(db.get(), info.path);
    // Fewer than asked for: that is all of them.
    const bool complete = !onlyLast || rows.size() < *onlyLast;
    requireWritableDrawQuery(db.get(), info.path);  // after the columns: the deeper fault first
    return DrawEditSet(std::make_unique<DrawEditSet::Impl>(info.path, std::move(db), std::move(rows), complete));
}

DrawEditSetOpening::DrawEditSetOpening(DrawDatabaseRef database, std::optional<std::size_t> onlyLast)
    : database_(std::move(database)), onlyLast_(onlyLast), claimed_(std::make_shared<std::atomic<bool>>(false))
{
    try {
        opened_ = std::async(std::launch::async,
                             [database = database_, onlyLast, claimed = claimed_]() -> std::optional<DrawEditSet> {
                                 if (claimed->exchange(true))
                                     return std::nullopt;  // taken before this thread ran
                                 return openDrawEditSet(database, onlyLast);
                             });
    } catch (const std::system_error&) {
        // No thread to be had: take() opens the set itself.
    }
}

DrawEditSetOpening::~DrawEditSetOpening()
{
    claimed_->store(true);
}

DrawEditSet DrawEditSetOpening::take()
{
    if (std::exchange(taken_, true))
        throw std::logic_error("DrawEditSetOpening: taken twice");
    if (!claimed_->exchange(true))
        return openDrawEditSet(database_, onlyLast_);
    // The thread claimed it first, so it opens the set (or fails to).
    return std::move(*opened_.get());
}

}  // namespace rumone
