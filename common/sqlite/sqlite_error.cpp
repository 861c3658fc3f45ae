#include "common/sqlite/sqlite_error.h"

#include <utility>

#include "platform/system/write_failure.h"
#include "platform/text/utf.h"

namespace common::sqlite_detail {

std::wstring connectionError(sqlite3* db) {
    if (db == nullptr)
        return {};
    const char* text = sqlite3_errmsg(db);
    std::wstring error = text ? platform::text::fromUtf8(text) : std::wstring();
    // SQLite says SQLITE_FULL when the disk is full, and an I/O error with the system's
    // error number when the user's quota is used up; both are named for the person.
    if ((sqlite3_extended_errcode(db) & 0xFF) == SQLITE_FULL ||
        platform::system::isDiskFull(sqlite3_system_errno(db)))
        error = std::wstring(platform::system::kDiskFullText) + L" (" + error + L")";
    return error;
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
