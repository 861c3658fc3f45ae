// The repository database: the SQLite file that keeps every saved clip (table `entry`),
// the change log that synchronisation uploads (table `log`) and a settings table
// (`config`).
//
// Contract:
// - The repository path is module-wide: `OpenRepository` sets it, `closeRepository`
//   empties it. Every operation opens its own connection on that path and closes it
//   before returning; no connection is kept between operations.
// - No function throws. Writers return 0 (or a count, or the new guid) on success and -1
//   (or "") on failure; readers return a count, a flag or "" as stated.
// - Each writer is one "begin immediate" transaction holding its log rows and its change;
//   it commits only when every statement, the commit included, succeeded, so a failed
//   writer leaves nothing behind. Concurrent writers of several processes are serialised
//   by SQLite's file locking with a 60-second busy timeout.
// - Thread-safe: the path is guarded; connections are per call.
// - Column names passed to writers and readers come from the program's own code and are
//   spliced into the statements; values are always bound.
#pragma once

#include <string>
#include <vector>

#include "plugin/repository/entry_record.h"

namespace plugin {

// Opening, schema and backup.

// Makes `path` the repository. A missing or empty file gets the schema; an existing file
// gets any missing table and then a daily backup beside it (path + ".bak"). A file found
// empty (zero length) beside a backup is reported to the person, and the backup is kept.
// Returns 0, or
// -1 when the file cannot be used as a repository (not a database, unreadable); the file
// is then left as it was and `repositoryError` tells why (and, for a damaged file, where
// its backup is).
int OpenRepository(const std::wstring& path);
// Creates the three tables (when missing) in one transaction; on success `path` becomes
// the repository path. 0 / -1.
int CreateSchema(const std::wstring& path);
// Copies the repository into `target` (repository path + ".bak" when empty) through
// SQLite's online backup, written to a temporary file and renamed into place. Nothing is
// copied (false) when the target is less than a day old or dated in the future, never
// from a repository that fails SQLite's quick_check (the earlier backup stays as it is and
// the person is told that the repository is damaged and where that backup is), and never
// from a repository without entries over an existing backup.
bool backupRepository(const std::wstring& target);
// Empties the repository path; every later operation fails until the next open.
void closeRepository();
std::wstring repositoryPath();
// The reason the last `OpenRepository` or `CreateSchema` failed; "" after a success.
std::wstring repositoryError();

// Writers.

// Why the last writer called on this thread failed ("the disk is full ...", "database is
// locked", ...); "" after a writer that succeeded.
std::wstring lastWriteError();

// Inserts `record` as a new entry (a new guid when its guid is empty; site taken from its
// url). Returns the guid, or "" on failure.
std::wstring insertEntry(const EntryRecord& record);
// Rewrites every column of the entry with `record.guid`; its updateTime becomes now.
int updateEntry(const EntryRecord& record);
int deleteEntry(const std::wstring& guid);
int setEntryField(const EntryRecord& record, const std::wstring& column, const std::wstring& value);
int setEntryIntField(const EntryRecord& record, const std::wstring& column, int value);
// Changes `column` from `oldValue` to `newValue` in every entry holding exactly oldValue.
int renameFieldValue(const std::wstring& column, const std::wstring& oldValue,
                     const std::wstring& newValue);
// Deletes every entry whose `column` is exactly `value`.
int deleteByFieldValue(const std::wstring& column, const std::wstring& value);
// Moves category `oldPath` and its sub-categories ("oldPath/...", compared
// case-sensitively) to `newPath`, replacing only the leading segment. Returns the number
// of entries changed, or -1.
int renameCategory(const std::wstring& oldPath, const std::wstring& newPath);
// Deletes the entries of category `path` and of its sub-categories.
int deleteCategory(const std::wstring& path);

// Readers.

// Fills `record` from the entry whose id or guid is `idOrGuid`; false when none.
bool readEntry(const std::wstring& idOrGuid, EntryRecord& record);
// The distinct non-empty values of `column`, sorted (locale-aware for folder, category,
// tags and title); tags are split into single tags. Returns the count or -1.
int listDistinct(const std::wstring& column, std::vector<std::wstring>& list);
// Replaces a list of tag lists ("a, b") by its distinct single tags in code-unit order: each
// list is trimmed at both ends and cut at every ","; the pieces keep their blanks (" b"),
// empty ones are dropped.
void splitTagList(std::vector<std::wstring>& list);
// Titles and guids of the entries matching `where` (SQL text built by the caller, every
// quoted value passed through `sqlLiteral`), ordered by `order` or by title. Count or -1.
int listTitles(std::vector<std::wstring>& titles, std::vector<std::wstring>& guids,
               const std::wstring& where, const std::wstring& order);
// Proposals for `column` of a new clip from `url`, drawn from the entries of its site:
// the values whose stored addresses share the longest paths with `url`.
std::vector<std::wstring> suggestValues(const std::wstring& column, const std::wstring& url,
                                        int maxCount);
// max(column) of the change log; "" when there is none or on failure.
std::wstring newestLogValue(const std::wstring& column);

// `value` as an SQL string literal: quoted, every single quote doubled.
std::wstring sqlLiteral(const std::wstring& value);

}  // namespace plugin
