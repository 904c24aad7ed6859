#include "core/store/DrawStore.h"

#include "core/store/DatabaseKey.h"
#include "core/store/DrawDatabase.h"

namespace rumone {

namespace {
const std::string kPasswordKey = "Jet OLEDB:Database Password=";
const std::string kSourceKey = ";Data Source=";

}  // namespace

std::string connectionStringForFile(const std::string& databasePath)
{
    // The password is built at run time from a number held in the program.
    const long number = 271828L + 2 * 100000L;  // six digits
    std::string s = "Provider=Microsoft.Jet.OLEDB.4.0;";
    s += kPasswordKey;
    s += std::to_string(number);
    s += kSourceKey;
    s += databasePath;
    return s;
}

std::string buildConnectionString(const std::string& programFolder)
{
    return connectionStringForFile(programFolder + "/" + kDatabaseFileName);
}

DrawDatabaseRef parseConnectionString(const std::string& cs)
{
    DrawDatabaseRef database;
    const auto p = cs.find(kPasswordKey);
    if (p != std::string::npos) {
        const auto start = p + kPasswordKey.size();
        database.password = cs.substr(start, cs.find(';', start) - start);
    }
    const auto s = cs.find(kSourceKey);
    if (s != std::string::npos)
        database.path = cs.substr(s + kSourceKey.size());  // the rest: a path may hold ';'
    database.keys = std::make_shared<DatabaseKeyCache>();
    return database;
}

DrawDatabaseRef drawDatabaseAt(const std::string& databasePath)
{
    return parseConnectionString(connectionStringForFile(databasePath));
}

DrawSnapshot openDrawSnapshot(const DrawDatabaseRef& database)
{
    sqlite::Connection db = openKeyedDatabase(database, OpenAccess::ReadOnly);
    requireDrawQuery(db.get(), database.path);
    return DrawSnapshot(readDrawQuery(db.get(), database.path));
}  // the connection closes here: the snapshot lives in memory only

// The rows go straight into the history: the records themselves are
// never held, which keeps a load of many draws quick.
DrawHistory loadDrawHistory(const DrawDatabaseRef& database)
{
    sqlite::Connection db = openKeyedDatabase(database, OpenAccess::ReadOnly);
    requireDrawQuery(db.get(), database.path);
    return readDrawHistory(db.get(), database.path);
}

DrawHistory readDrawHistory(sqlite3* db, const std::string& path)
{
    DrawHistoryBuilder builder;
    // Room for as many rows as there are draw numbers: pages reserved and
    // never written cost nothing, where counting the rows first would read
    // the table twice.
    builder.reserve(static_cast<std::size_t>(kMaxDrawNumber) + 1);
    try {
        readDrawQuery(db, path, [&builder](const DrawRecord& r) { builder.add(r); });
    } catch (const StoreError&) {
        throw;
    } catch (const std::runtime_error& e) {
        throw StoreError(StoreError::Cause::BadDrawNumber, path, e.what());
    }
    return builder.finish();
}

std::future<DrawHistory> startLoadingDrawHistory(DrawDatabaseRef database)
{
    return std::async(std::launch::async, [database = std::move(database)] { return loadDrawHistory(database); });
}

}  // namespace rumone
