// The result cache of the pages: one file per page and URL in the engine's "UserCache"
// folder. Each file holds the URL it answers, the page's database, the page file and
// the stamp of both as they were when the page began to run, the content's check (its
// length and hash), then the content:
//
//   url \0 database \0 page file \0 stamp \0 check \0 content
//
// A stamp names the state of the database (time, size and change counter of its file
// and of its write-ahead log) and of the page file, so a commit that lands while a page
// runs makes its entry stale, and an entry is served only while the stamp still holds.
// Stale entries are removed by the next sweep, so the content of deleted rows does not
// stay on disk; each page keeps at most kMaxEntriesPerPage entries, the oldest go first.
// The sweep also removes the temporary files of writes that a crash cut short.
//
// Contract: thread-safe; nothing throws. Files are written whole (temporary file and
// rename) but not flushed to disk, since an entry can always be made again: a file that
// cannot be read, or whose content does not match its check, is never served.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tarn {

inline constexpr std::size_t kMaxEntriesPerPage = 32;

struct CacheEntry {
    std::wstring url;
    std::wstring database;
    std::wstring page;
    std::string stamp;
};

// The stamp of `database` and `page` now; "" when the database has no file (":memory:",
// missing), whose pages are never cached.
std::string cacheStamp(const std::wstring& database, const std::wstring& page);

// The content of the entry at `path` when it answers `entry.url` with `entry.stamp`.
std::optional<std::string> readCacheEntry(const std::wstring& path, const CacheEntry& entry);

// Writes the entry, then removes the oldest entries of the same page (the files that
// share `pagePrefix`, the path up to the URL's part) beyond kMaxEntriesPerPage.
bool writeCacheEntry(const std::wstring& path, const std::wstring& pagePrefix,
                     const CacheEntry& entry, const std::string& content);

// Removes from `folder` every entry whose stamp no longer holds, or that cannot be read
// (files named as entries are: a name that ends in "." and sixteen hexadecimal digits).
// Cheap when no database that the last sweep saw has changed since.
void sweepCache(const std::wstring& folder);

}  // namespace tarn
