// One SQLite connection. UTF-8 paths and SQL at the library border, a busy timeout of
// 60000 ms and the collation "local" on every connection.
//
// Contract: owns the connection and closes it in the destructor (sqlite3_close_v2, so
// statements and cursors that outlive it stay valid until they finalize). Operations throw
// SqliteException by value; the constructor never throws: a connection that fails to open
// stays closed and its first use throws "Database not open". A connection may be used
// from one thread at a time: it is opened without SQLite's own lock around each call.
#pragma once

#include <string_view>

#include "common/sqlite/sqlite_exception.h"
#include "common/sqlite/sqlite_statement.h"

struct sqlite3;
struct sqlite3_context;
struct sqlite3_value;

namespace common {

class SqliteDB {
  public:
    static constexpr int kDefaultBusyTimeoutMs = 60000;

    SqliteDB() = default;
    SqliteDB(std::wstring_view path, bool readOnly);
    ~SqliteDB();
    SqliteDB(const SqliteDB&) = delete;
    SqliteDB& operator=(const SqliteDB&) = delete;

    // Read-only opens never create the file and refuse every change, but roll back the
    // journal a killed writer left behind; read-write opens create the file when missing.
    void open(std::wstring_view path, bool readOnly);
    void close();
    bool isOpen() const { return db_ != nullptr; }

    void setBusyTimeout(int milliseconds);

    // Runs every statement of `sql` in turn, each stepped once (rows are discarded). Any
    // result but a row or done, SQLITE_BUSY and a failed "commit;" included, throws.
    void exec(std::wstring_view sql);

    SqliteStatement prepareStatement(std::wstring_view sql);

    // An SQL function of this connection: `function` is called with sqlite3's context and
    // arguments (see sqlite3_create_function_v2), as a deterministic UTF-8 function.
    using SqlFunction = void (*)(sqlite3_context* context, int count, sqlite3_value** values);
    void createFunction(const char* name, int argumentCount, SqlFunction function);

    int totalChanges() const;
    bool isReadOnly() const { return readOnly_; }

  private:
    sqlite3* requireOpen() const;

    sqlite3* db_ = nullptr;
    int busyTimeoutMs_ = kDefaultBusyTimeoutMs;
    bool readOnly_ = false;
};

}  // namespace common
