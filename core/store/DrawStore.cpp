#include "core/store/DrawStore.h"

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

ConnectionInfo parseConnectionString(const std::string& cs)
{
    ConnectionInfo info;
    const auto p = cs.find(kPasswordKey);
    if (p != std::string::npos) {
        const auto start = p + kPasswordKey.size();
        info.password = cs.substr(start, cs.find(';', start) - start);
    }
    const auto s = cs.find(kSourceKey);
    if (s != std::string::npos)
        info.path = cs.substr(s + kSourceKey.size());  // the rest: a path may hold ';'
    return info;
}

DrawSnapshot openDrawSnapshot(const std::string& connectionString)
{
    const ConnectionInfo info = parseConnectionString(connectionString);
    sqlite::Connection db = openKeyedDatabase(info, OpenAccess::ReadOnly);
    requireDrawQuery(db.get(), info.path);
    return DrawSnapshot(readDrawQuery(db.get(), info.path));
}  // the connection closes here: the snapshot lives in memory only

// The rows go straight into the history: the records themselves are
// never held, which keeps a load of many draws quick.
DrawHistory loadDrawHistory(const std::string& connectionString)
{
    const ConnectionInfo info = parseConnectionString(connectionString);
    sqlite::Connection db = openKeyedDatabase(info, OpenAccess::ReadOnly);
    requireDrawQuery(db.get(), info.path);
    DrawHistoryBuilder builder;
    builder.reserve(countDrawQueryRows(db.get()));
    try {
        readDrawQuery(db.get(), info.path, [&builder](const DrawRecord& r) { builder.add(r); });
    } catch (const StoreError&) {
        throw;
    } catch (const std::runtime_error& e) {
        throw StoreError(StoreError::Cause::BadDrawNumber, info.path, e.what());
    }
    return builder.finish();
}

std::future<DrawHistory> startLoadingDrawHistory(const std::string& connectionString)
{
    return std::async(std::launch::async, [connectionString] { return loadDrawHistory(connectionString); });
}

}  // namespace rumone
