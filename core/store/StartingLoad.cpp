#include "core/store/StartingLoad.h"

#include <chrono>
#include <exception>
#include <memory>
#include <utility>
#include <vector>

#include "core/store/DrawDatabase.h"

namespace rumone {

namespace {

// The rows judged as a history judges them; a draw number that is no
// number at all is the store's error, as in a whole load.
DrawHistory historyOfRows(const std::vector<DrawRecord>& rows, const std::string& path)
{
    try {
        return DrawHistory::fromRecords(rows);
    } catch (const std::runtime_error& e) {
        throw StoreError(StoreError::Cause::BadDrawNumber, path, e.what());
    }
}

// The latest rows, more of them while they are not enough; sets `latest`
// and returns the whole history when the rows read were every row.
std::optional<DrawHistory> readLatest(sqlite3* db, const std::string& path, const StartingLoad::Enough& enough,
                                      std::promise<LatestDraws>& latest)
{
    for (std::size_t count = kLatestRowsReadFirst;; count *= 4) {
        const std::vector<DrawRecord> rows = readDrawQueryLast(db, path, count);
        DrawHistory tail = historyOfRows(rows, path);
        if (rows.size() < count) {
            latest.set_value(LatestDraws(tail, true));
            return tail;
        }
        LatestDraws read(std::move(tail), false);
        if (!enough || enough(read)) {
            latest.set_value(std::move(read));
            return std::nullopt;
        }
    }
}

}  // namespace

StartingLoad StartingLoad::begin(DrawDatabaseRef database, Enough enough)
{
    StartingLoad load;
    std::promise<LatestDraws> latest;
    load.latest_ = latest.get_future();
    std::future<void> goOn = load.goOn_.get_future();
    load.whole_ = std::async(std::launch::async, [database = std::move(database), enough = std::move(enough),
                                                  latest = std::move(latest), goOn = std::move(goOn)]() mutable {
        std::optional<sqlite::Connection> db;
        std::optional<DrawHistory> whole;
        try {
            db.emplace(openKeyedDatabase(database, OpenAccess::ReadOnly));
            requireDrawQuery(db->get(), database.path);
            whole = readLatest(db->get(), database.path, enough, latest);
        } catch (...) {
            latest.set_exception(std::current_exception());
            throw;
        }
        if (whole)
            return std::move(*whole);
        goOn.wait();
        return readDrawHistory(db->get(), database.path);
    });
    return load;
}

StartingLoad& StartingLoad::operator=(StartingLoad&& other) noexcept
{
    if (this != &other) {
        goOn_ = std::move(other.goOn_);
        whole_ = std::move(other.whole_);
        latest_ = std::move(other.latest_);
        goingOn_ = other.goingOn_;
    }
    return *this;
}

LatestDraws StartingLoad::takeLatest()
{
    return latest_.get();
}

void StartingLoad::readTheRest()
{
    if (goingOn_ || !whole_.valid())
        return;
    goingOn_ = true;
    goOn_.set_value();
}

bool StartingLoad::wholeReady() const
{
    return whole_.valid() && whole_.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

DrawHistory StartingLoad::takeWhole()
{
    readTheRest();
    return whole_.get();
}

}  // namespace rumone
