// Helpers shared by the draw store tests.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/store/DrawDatabase.h"
#include "core/store/DrawStore.h"
#include "support/TestSupport.h"

namespace rumone::test {

// A keyed draw database holding `rows`.
inline std::string makeDatabase(const std::string& path, const std::vector<Row>& rows)
{
    createDrawDatabase(path);
    if (!rows.empty())
        openDrawEditSet(drawDatabaseAt(path)).importDraws(editRowsOf(rows));
    return path;
}

// Runs SQL on the keyed database behind the store's back (another tool).
inline void rawExec(const std::string& path, const std::string& sql)
{
    const DrawDatabaseRef info = drawDatabaseAt(path);
    sqlite::Connection db = openKeyedDatabase(info, OpenAccess::ReadWrite);
    ASSERT_EQ(sqlite::exec(db.get(), sql), SQLITE_OK) << sqlite3_errmsg(db.get());
}

// The cause of the StoreError that `action` throws; Other with a note when
// it throws nothing.
inline StoreError::Cause causeOf(const std::function<void()>& action, std::string* message = nullptr)
{
    try {
        action();
    } catch (const StoreError& e) {
        if (message)
            *message = e.what();
        return e.cause();
    }
    ADD_FAILURE() << "no StoreError thrown";
    return StoreError::Cause::Other;
}

inline std::vector<std::string> numbersOf(const std::vector<DrawRecord>& rows)
{
    std::vector<std::string> out;
    for (const DrawRecord& r : rows)
        out.push_back(r.number.type == DbValue::Type::Integer ? std::to_string(r.number.integer) : "?");
    return out;
}

}  // namespace rumone::test
