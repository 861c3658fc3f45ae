#include "common/sqlite/sqlite_db.h"

#include <sqlite3.h>

#include <string>

#include "common/sqlite/local_collation.h"
#include "common/sqlite/sqlite_error.h"
#include "platform/system/atomic_file.h"
#include "platform/text/utf.h"

namespace common {

using sqlite_detail::connectionError;
using sqlite_detail::throwSqliteError;
using sqlite_detail::throwWrapperError;

SqliteDB::SqliteDB(std::wstring_view path, bool readOnly) {
    try {
        open(path, readOnly);
    } catch (const SqliteException&) {
        // Stays closed: the first use reports "Database not open".
    }
}

SqliteDB::~SqliteDB() {
    try {
        close();
    } catch (const SqliteException&) {
        // Destructors never throw; close_v2 leaves nothing behind to clean up.
    }
}

void SqliteDB::open(std::wstring_view path, bool readOnly) {
    close();
    readOnly_ = readOnly;
    const std::string utf8Path = platform::text::toUtf8(path);
    // Used from one thread at a time, a connection needs no lock of its own around each call.
    // A reader is opened for writing too (never creating the file) and then made query-only:
    // only a connection that may write can roll back the hot journal of a writer that died
    // in its commit, and a reader must recover that journal rather than fail on it. A file
    // the user may not write still opens, read-only.
    const int flags =
        SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_READWRITE | (readOnly ? 0 : SQLITE_OPEN_CREATE);
    // A database this system creates holds the user's own entries: private to the user.
    // SQLite gives its journals the mode of the database file.
    if (!readOnly && utf8Path != ":memory:" && !utf8Path.empty())
        platform::system::createEmptyFile(utf8Path, 0600);
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(utf8Path.c_str(), &db, flags, nullptr);
    if (rc == SQLITE_OK && readOnly)
        rc = sqlite3_exec(db, "PRAGMA query_only=1;", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_collation_v2(db, kLocalCollationName, SQLITE_UTF8, nullptr,
                                         localCollate, nullptr);
    if (rc != SQLITE_OK) {
        SqliteException error(rc, connectionError(db));
        sqlite3_close_v2(db);
        throw error;
    }
    db_ = db;
    sqlite3_busy_timeout(db_, busyTimeoutMs_);
}

void SqliteDB::createFunction(const char* name, int argumentCount, SqlFunction function) {
    const int rc = sqlite3_create_function_v2(requireOpen(), name, argumentCount,
                                              SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, function,
                                              nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throwSqliteError(rc, db_);
}

void SqliteDB::close() {
    if (db_ == nullptr)
        return;
    const int rc = sqlite3_close_v2(db_);
    if (rc != SQLITE_OK)
        throwSqliteError(rc, db_);
    db_ = nullptr;
}

void SqliteDB::setBusyTimeout(int milliseconds) {
    busyTimeoutMs_ = milliseconds;
    if (db_ != nullptr)
        sqlite3_busy_timeout(db_, milliseconds);
}

sqlite3* SqliteDB::requireOpen() const {
    if (db_ == nullptr)
        throwWrapperError(L"Database not open");
    return db_;
}

void SqliteDB::exec(std::wstring_view sql) {
    sqlite3* db = requireOpen();
    const std::string text = platform::text::toUtf8(sql);
    const char* rest = text.c_str();
    const char* const end = rest + text.size();
    while (rest < end) {
        sqlite3_stmt* statement = nullptr;
        const char* next = nullptr;
        const int prepared =
            sqlite3_prepare_v2(db, rest, static_cast<int>(end - rest), &statement, &next);
        if (prepared != SQLITE_OK)
            throwSqliteError(prepared, db);
        rest = next;
        if (statement == nullptr)
            continue;  // only blanks or a comment
        const int stepped = sqlite3_step(statement);
        if (stepped != SQLITE_ROW && stepped != SQLITE_DONE) {
            SqliteException error(stepped, connectionError(db));
            sqlite3_finalize(statement);
            throw error;
        }
        sqlite3_finalize(statement);
    }
}

SqliteStatement SqliteDB::prepareStatement(std::wstring_view sql) {
    sqlite3* db = requireOpen();
    const std::string text = platform::text::toUtf8(sql);
    sqlite3_stmt* statement = nullptr;
    const int rc =
        sqlite3_prepare_v2(db, text.c_str(), static_cast<int>(text.size()), &statement, nullptr);
    if (rc != SQLITE_OK)
        throwSqliteError(rc, db);
    return SqliteStatement(db, statement);
}

int SqliteDB::totalChanges() const {
    return sqlite3_total_changes(requireOpen());
}

}  // namespace common
