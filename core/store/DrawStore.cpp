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

DrawHistory loadDrawHistory(const std::string& connectionString)
{
    const DrawSnapshot snapshot = openDrawSnapshot(connectionString);
    try {
        return DrawHistory::fromRecords(snapshot.rows());
    } catch (const std::runtime_error& e) {
        throw StoreError(StoreError::Cause::BadDrawNumber, parseConnectionString(connectionString).path, e.what());
    }
}

}  // namespace rumone
