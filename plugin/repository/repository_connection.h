// Connections of the repository operations: a write transaction on a read-write
// connection and row reading on a read-only one, both on the repository path.
//
// Contract: everything here throws common::SqliteException (by value) on any failure,
// including an empty repository path; the public repository functions catch it. A
// WriteTransaction that is destroyed without a successful `commit` rolls back.
// One object per thread; nothing is shared.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <variant>

#include "common/sqlite/sqlite_db.h"

namespace plugin::detail {

using BoundValue = std::variant<std::wstring, int>;
using Values = std::initializer_list<BoundValue>;

// Runs one statement with its values bound in order; returns the rows it changed.
int execute(common::SqliteDB& db, const std::wstring& sql, Values values = {});

class WriteTransaction {
  public:
    // Opens the repository (or the database at `path`) read-write and takes the write lock
    // at once ("begin immediate"), so two writers never deadlock upgrading a read lock.
    WriteTransaction();
    explicit WriteTransaction(const std::wstring& path);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;

    int run(const std::wstring& sql, Values values = {}) { return execute(db_, sql, values); }
    // Reads rows inside the transaction, so they show its own uncommitted writes.
    void query(const std::wstring& sql, Values values,
               const std::function<void(common::SqliteQuery&)>& onRow);
    // Commits; throws when the commit does not complete.
    void commit();

  private:
    common::SqliteDB db_;
    bool committed_ = false;
};

// Runs a query on a read-only connection to the repository and hands each row to `onRow`.
void readRows(const std::wstring& sql, Values values,
              const std::function<void(common::SqliteQuery&)>& onRow);

// The repository path, or a thrown exception when no repository is open.
std::wstring openRepositoryPath();

// The readable text of a failure.
std::wstring messageOf(const common::SqliteException& failure);

}  // namespace plugin::detail
