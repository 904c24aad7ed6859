#include "core/store/SqliteHandle.h"

#include "core/store/StoreFailure.h"

namespace rumone::sqlite {

Statement::Statement(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* raw = nullptr;
    prepareCode_ = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr);
    handle_.reset(raw);
    if (prepareCode_ == SQLITE_OK && !raw)
        prepareCode_ = SQLITE_MISUSE;  // empty SQL
}

int Statement::bind(int index, const DbValue& value)
{
    sqlite3_stmt* st = handle_.get();
    switch (value.type) {
        case DbValue::Type::Null:
            return sqlite3_bind_null(st, index);
        case DbValue::Type::Integer:
            return sqlite3_bind_int64(st, index, value.integer);
        case DbValue::Type::Real:
            return sqlite3_bind_double(st, index, value.real);
        case DbValue::Type::Text:
            return sqlite3_bind_text(st, index, value.text.data(), static_cast<int>(value.text.size()),
                                     SQLITE_TRANSIENT);
        case DbValue::Type::Blob:
            return sqlite3_bind_blob(st, index, value.text.data(), static_cast<int>(value.text.size()),
                                     SQLITE_TRANSIENT);
    }
    return SQLITE_MISUSE;
}

int Statement::bindInt(int index, long long value)
{
    return sqlite3_bind_int64(handle_.get(), index, value);
}

int Statement::step()
{
    return ok() ? sqlite3_step(handle_.get()) : prepareCode_;
}

void Statement::reset()
{
    if (ok()) {
        sqlite3_reset(handle_.get());
        sqlite3_clear_bindings(handle_.get());
    }
}

int Statement::columnCount() const
{
    return ok() ? sqlite3_column_count(handle_.get()) : 0;
}

std::string Statement::columnName(int column) const
{
    const char* name = sqlite3_column_name(handle_.get(), column);
    return name ? name : "";
}

DbValue Statement::column(int column) const
{
    sqlite3_stmt* st = handle_.get();
    switch (sqlite3_column_type(st, column)) {
        case SQLITE_INTEGER:
            return DbValue::fromInt(sqlite3_column_int64(st, column));
        case SQLITE_FLOAT:
            return DbValue::fromReal(sqlite3_column_double(st, column));
        case SQLITE_TEXT:
            return DbValue::fromText(columnText(column));
        case SQLITE_BLOB: {
            const void* data = sqlite3_column_blob(st, column);
            const int size = sqlite3_column_bytes(st, column);
            DbValue v;
            v.type = DbValue::Type::Blob;
            if (data)
                v.text.assign(static_cast<const char*>(data), static_cast<std::size_t>(size));
            return v;
        }
        default:
            return DbValue::null();
    }
}

long long Statement::columnInt(int column) const
{
    return sqlite3_column_int64(handle_.get(), column);
}

std::string Statement::columnText(int column) const
{
    const unsigned char* text = sqlite3_column_text(handle_.get(), column);
    const int size = sqlite3_column_bytes(handle_.get(), column);
    return text ? std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(size)) : std::string();
}

int exec(sqlite3* db, const std::string& sql)
{
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
}

bool hasTable(sqlite3* db, const std::string& path, const char* name)
{
    Statement st(db, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ?1");
    st.bind(1, DbValue::fromText(name));
    const int rc = st.step();
    if (rc != SQLITE_ROW)
        throw storeErrorFor(rc, path, false);
    return st.columnInt(0) > 0;
}

}  // namespace rumone::sqlite
