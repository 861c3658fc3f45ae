// One prepared statement of a SqliteDB connection, with typed binds (1-based indexes).
//
// Contract: move-only; owns the statement handle and finalizes it exactly once (in
// finalize, the destructor, or through the cursor that query() hands it to). Operations
// throw SqliteException by value; a statement without a handle throws "Null Virtual
// Machine pointer". The destructor never throws.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/sqlite/sqlite_query.h"

struct sqlite3;
struct sqlite3_stmt;

namespace common {

class SqliteStatement {
  public:
    SqliteStatement() = default;
    SqliteStatement(sqlite3* db, sqlite3_stmt* statement) : db_(db), statement_(statement) {}
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    void bind(int index, std::wstring_view text);
    void bind(int index, int value);
    void bind(int index, std::int64_t value);
    void bind(int index, double value);

    void reset();
    void finalize();

    // Steps once; on completion resets the statement and returns the rows it changed.
    // Any other result resets it and throws.
    int exec();

    // Steps to the first row and hands the statement over to the returned cursor; this
    // object is empty afterwards.
    SqliteQuery query();

  private:
    sqlite3_stmt* requireStatement() const;

    sqlite3* db_ = nullptr;
    sqlite3_stmt* statement_ = nullptr;
};

}  // namespace common
