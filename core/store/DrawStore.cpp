#include "core/store/DrawStore.h"

#include "core/store/DrawDatabase.h"

namespace rumone {

namespace {
const std::string kPasswordKey = "Jet OLEDB:Database Password=";
const std::string kSourceKey = ";Data Source=";
const std::string kRawKeyKey = ";Rumone Key=";

// Where the Data Source begins (the path runs to the end of the text).
std::size_t sourceAt(const std::string& cs)
{
    const auto s = cs.find(kSourceKey);
    return s == std::string::npos ? cs.size() : s;
}

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
    const auto k = cs.find(kRawKeyKey);
    if (k != std::string::npos && k < sourceAt(cs)) {
        const auto start = k + kRawKeyKey.size();
        info.rawKey = cs.substr(start, sourceAt(cs) - start);
    }
    return info;
}

std::string connectionStringWithKey(const std::string& cs, const std::string& rawKey)
{
    if (rawKey.empty())
        return cs;
    std::string plain = cs;
    const auto k = plain.find(kRawKeyKey);
    if (k != std::string::npos && k < sourceAt(plain))
        plain.erase(k, sourceAt(plain) - k);
    const std::size_t at = sourceAt(plain);
    return plain.substr(0, at) + kRawKeyKey + rawKey + plain.substr(at);
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
    return loadDrawHistoryKeyed(connectionString).history;
}

LoadedHistory loadDrawHistoryKeyed(const std::string& connectionString)
{
    const ConnectionInfo info = parseConnectionString(connectionString);
    std::string rawKey;
    sqlite::Connection db = openKeyedDatabase(info, OpenAccess::ReadOnly, &rawKey);
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
    return LoadedHistory{builder.finish(), connectionStringWithKey(connectionString, rawKey)};
}

std::future<LoadedHistory> startLoadingDrawHistory(const std::string& connectionString)
{
    return std::async(std::launch::async, [connectionString] { return loadDrawHistoryKeyed(connectionString); });
}

}  // namespace rumone
