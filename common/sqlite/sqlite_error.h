// Internal to the SQLite wrapper: builds and throws SqliteException from a result code and
// the connection's current error text.
#pragma once

#include <sqlite3.h>

#include <string>
#include <string_view>

#include "common/sqlite/sqlite_exception.h"

namespace common::sqlite_detail {

// The connection's current error text ("" without a connection), led by "the disk is
// full" when that is why a write failed.
std::wstring connectionError(sqlite3* db);

[[noreturn]] void throwSqliteError(int code, sqlite3* db);
[[noreturn]] void throwWrapperError(std::wstring_view text);

// Finalizes `statement` (when set) and clears it; a failing result throws.
void finalizeStatement(sqlite3_stmt*& statement, sqlite3* db);

}  // namespace common::sqlite_detail
