// A cursor over the rows of a statement: positioned on the first row when made, moved on
// with next() until eof().
//
// Contract: move-only; owns the statement handle it was given and finalizes it exactly
// once. Column texts are wide strings; NULL reads as "". Operations throw SqliteException
// by value; the destructor never throws.
#pragma once

#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace common {

class SqliteQuery {
  public:
    SqliteQuery(sqlite3* db, sqlite3_stmt* statement, bool eof);
    ~SqliteQuery();
    SqliteQuery(SqliteQuery&& other) noexcept;
    SqliteQuery& operator=(SqliteQuery&& other) noexcept;
    SqliteQuery(const SqliteQuery&) = delete;
    SqliteQuery& operator=(const SqliteQuery&) = delete;

    int columnCount() const { return columnCount_; }
    // Throw "Invalid field index requested" outside 0 .. columnCount()-1.
    std::wstring columnText(int index) const;
    // The column's text as SQLite holds it (UTF-8, not checked), valid until the cursor
    // moves; NULL reads as "".
    std::string_view columnUtf8(int index) const;
    std::wstring columnName(int index) const;

    bool eof() const;
    void next();
    void finalize();

  private:
    sqlite3_stmt* requireStatement() const;
    void checkIndex(int index) const;

    sqlite3* db_;
    sqlite3_stmt* statement_;
    bool eof_;
    int columnCount_;
};

}  // namespace common
