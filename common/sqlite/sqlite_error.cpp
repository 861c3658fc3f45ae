#include "common/sqlite/sqlite_error.h"

#include <utility>

#include "platform/text/utf.h"

namespace common::sqlite_detail {

std::wstring connectionError(sqlite3* db) {
    if (db == nullptr)
        return {};
    const char* text = sqlite3_errmsg(db);
    return text ? platform::text::fromUtf8(text) : std::wstring();
}

void throwSqliteError(int code, sqlite3* db) {
    throw SqliteException(code, connectionError(db));
}

void throwWrapperError(std::wstring_view text) {
    throw SqliteException(SqliteException::kWrapperError, text);
}

void finalizeStatement(sqlite3_stmt*& statement, sqlite3* db) {
    if (statement == nullptr)
        return;
    const int rc = sqlite3_finalize(std::exchange(statement, nullptr));
    if (rc != SQLITE_OK)
        throwSqliteError(rc, db);
}

}  // namespace common::sqlite_detail
