// Files written whole or not at all: the bytes go to a temporary file beside the target,
// are flushed to disk, and the temporary file is renamed over the target. Readers see the
// old file or the new one, never a part; a crash leaves the old file in place, and the
// temporary file beside it (the target's name, ".tmp-", the writer's process id, "-" and
// a count), which isAbandonedTemporary tells from a write under way. A file that
// may be lost in a crash (a cache that checks its own entries) can skip the flushes: readers
// still never see a part of it, but after a crash it may be empty or short.
//
// Contract: thread-safe (each call uses its own temporary name); returns false and leaves
// the target untouched on any failure, with errno describing it.
#pragma once

#include <chrono>
#include <initializer_list>
#include <string>
#include <string_view>

namespace platform::system {

enum class Durability { flushed, unflushed };

// The new file gets `mode` (before the umask).
bool writeFileAtomically(const std::string& path, std::string_view bytes, unsigned mode = 0644);
// The pieces one after the other, as one file.
bool writeFileAtomically(const std::string& path, std::initializer_list<std::string_view> pieces,
                         Durability durability, unsigned mode = 0644);

// `path` names a temporary file of a write that ended without renaming it: last written
// more than `age` ago, far longer than any write takes.
bool isAbandonedTemporary(const std::string& path, std::chrono::seconds age);

// The whole file, or false when it cannot be read (a missing file sets errno to ENOENT).
bool readWholeFile(const std::string& path, std::string& bytes);

// Creates `path` as an empty file with `mode` (before the umask) unless it exists, so that
// a library that then opens it by name keeps that mode; true when the file exists afterwards.
bool createEmptyFile(const std::string& path, unsigned mode);

// Creates `folder` and its missing parents with `mode`; true when it exists afterwards.
bool createFolders(const std::string& folder, unsigned mode = 0755);

}  // namespace platform::system
