#include "common/sqlite/sqlite_statement.h"

#include <sqlite3.h>

#include <string>
#include <utility>

#include "common/sqlite/sqlite_error.h"
#include "platform/text/utf.h"

namespace common {

using sqlite_detail::connectionError;
using sqlite_detail::throwSqliteError;
using sqlite_detail::throwWrapperError;

SqliteStatement::~SqliteStatement() {
    try {
        finalize();
    } catch (const SqliteException&) {
        // Destructors never throw; the handle is released either way.
    }
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : db_(other.db_), statement_(std::exchange(other.statement_, nullptr)) {}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(statement_);
        db_ = other.db_;
        statement_ = std::exchange(other.statement_, nullptr);
    }
    return *this;
}

sqlite3_stmt* SqliteStatement::requireStatement() const {
    if (statement_ == nullptr)
        throwWrapperError(L"Null Virtual Machine pointer");
    return statement_;
}

void SqliteStatement::bind(int index, std::wstring_view text) {
    const std::string bytes = platform::text::toUtf8(text);
    const int rc = sqlite3_bind_text(requireStatement(), index, bytes.data(),
                                     static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        throw SqliteException(rc, L"Error binding string param");
}

void SqliteStatement::bind(int index, int value) {
    const int rc = sqlite3_bind_int(requireStatement(), index, value);
    if (rc != SQLITE_OK)
        throw SqliteException(rc, L"Error binding int param");
}

void SqliteStatement::bind(int index, std::int64_t value) {
    const int rc = sqlite3_bind_int64(requireStatement(), index, value);
    if (rc != SQLITE_OK)
        throw SqliteException(rc, L"Error binding int param");
}

void SqliteStatement::bind(int index, double value) {
    const int rc = sqlite3_bind_double(requireStatement(), index, value);
    if (rc != SQLITE_OK)
        throw SqliteException(rc, L"Error binding double param");
}

void SqliteStatement::reset() {
    if (statement_ == nullptr)
        return;
    const int rc = sqlite3_reset(statement_);
    if (rc != SQLITE_OK)
        throwSqliteError(rc, db_);
}

void SqliteStatement::finalize() {
    sqlite_detail::finalizeStatement(statement_, db_);
}

int SqliteStatement::exec() {
    sqlite3_stmt* statement = requireStatement();
    const int stepped = sqlite3_step(statement);
    if (stepped != SQLITE_DONE) {
        SqliteException error(stepped, connectionError(db_));
        sqlite3_reset(statement);
        throw error;
    }
    const int changed = sqlite3_changes(db_);
    reset();
    return changed;
}

SqliteQuery SqliteStatement::query() {
    sqlite3_stmt* statement = requireStatement();
    const int rc = sqlite3_step(statement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        SqliteException error(rc, connectionError(db_));
        sqlite3_reset(statement);
        throw error;
    }
    statement_ = nullptr;
    return SqliteQuery(db_, statement, rc == SQLITE_DONE);
}

}  // namespace common
