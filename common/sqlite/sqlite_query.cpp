#include "common/sqlite/sqlite_query.h"

#include <sqlite3.h>

#include <utility>

#include "common/sqlite/sqlite_error.h"
#include "platform/text/utf.h"

namespace common {

using sqlite_detail::connectionError;
using sqlite_detail::throwSqliteError;
using sqlite_detail::throwWrapperError;

SqliteQuery::SqliteQuery(sqlite3* db, sqlite3_stmt* statement, bool eof)
    : db_(db),
      statement_(statement),
      eof_(eof),
      columnCount_(statement ? sqlite3_column_count(statement) : 0) {}

SqliteQuery::~SqliteQuery() {
    try {
        finalize();
    } catch (const SqliteException&) {
        // Destructors never throw; the handle is released either way.
    }
}

SqliteQuery::SqliteQuery(SqliteQuery&& other) noexcept
    : db_(other.db_),
      statement_(std::exchange(other.statement_, nullptr)),
      eof_(other.eof_),
      columnCount_(other.columnCount_) {}

SqliteQuery& SqliteQuery::operator=(SqliteQuery&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(statement_);
        db_ = other.db_;
        statement_ = std::exchange(other.statement_, nullptr);
        eof_ = other.eof_;
        columnCount_ = other.columnCount_;
    }
    return *this;
}

sqlite3_stmt* SqliteQuery::requireStatement() const {
    if (statement_ == nullptr)
        throwWrapperError(L"Null Virtual Machine pointer");
    return statement_;
}

void SqliteQuery::checkIndex(int index) const {
    if (index < 0 || index >= columnCount_)
        throwWrapperError(L"Invalid field index requested");
}

std::wstring SqliteQuery::columnText(int index) const {
    return platform::text::fromUtf8(columnUtf8(index));
}

std::string_view SqliteQuery::columnUtf8(int index) const {
    sqlite3_stmt* statement = requireStatement();
    checkIndex(index);
    if (eof_)
        throwWrapperError(L"No current row");
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, index));
    if (text == nullptr)
        return {};
    return std::string_view(text, static_cast<size_t>(sqlite3_column_bytes(statement, index)));
}

std::wstring SqliteQuery::columnName(int index) const {
    sqlite3_stmt* statement = requireStatement();
    checkIndex(index);
    const char* name = sqlite3_column_name(statement, index);
    return name ? platform::text::fromUtf8(name) : std::wstring();
}

bool SqliteQuery::eof() const {
    requireStatement();
    return eof_;
}

void SqliteQuery::next() {
    sqlite3_stmt* statement = requireStatement();
    if (eof_)
        return;  // stepping past the end would run the statement again
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_DONE) {
        eof_ = true;
    } else if (rc != SQLITE_ROW) {
        SqliteException error(rc, connectionError(db_));
        sqlite3_finalize(std::exchange(statement_, nullptr));
        throw error;
    }
}

void SqliteQuery::finalize() {
    sqlite_detail::finalizeStatement(statement_, db_);
}

}  // namespace common
