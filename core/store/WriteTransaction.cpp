#include "core/store/WriteTransaction.h"

#include "core/store/StoreFailure.h"

namespace rumone {

WriteTransaction::WriteTransaction(sqlite3* db, std::string path) : db_(db), path_(std::move(path))
{
    exec("BEGIN IMMEDIATE");
}

WriteTransaction::~WriteTransaction()
{
    if (!committed_ && !sqlite3_get_autocommit(db_))
        sqlite::exec(db_, "ROLLBACK");
}

void WriteTransaction::commit()
{
    exec("COMMIT");
    committed_ = true;
}

void WriteTransaction::check(int rc) const
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw storeErrorFor(rc, path_, true);
}

sqlite::Statement WriteTransaction::prepare(const std::string& sql) const
{
    sqlite::Statement st(db_, sql);
    check(st.prepareCode());
    return st;
}

void WriteTransaction::run(sqlite::Statement& st) const
{
    check(st.step());
    st.reset();
}

long long WriteTransaction::count(const std::string& sql, long long number) const
{
    sqlite::Statement st = prepare(sql);
    st.bindInt(1, number);
    const int rc = st.step();
    check(rc);
    return rc == SQLITE_ROW ? st.columnInt(0) : 0;
}

}  // namespace rumone
