// Files and folders by path text ("/" or "\" separators accepted).
//
// Contract: thread-safe; nothing throws. writeFile replaces a file whole or not at all
// (temporary file and rename). Failures are reported by the results listed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace common {

inline constexpr std::uint32_t kFileError = 0xFFFFFFFF;

// Creates `relative` below `base`, level by level; true when the whole tree exists
// afterwards. An empty `base` fails: the tree never lands in the root folder. The folders
// it makes get `mode` (before the umask); those that exist keep theirs.
bool createFolderTree(std::wstring_view base, std::wstring_view relative, unsigned mode = 0755);

// True for an existing file or folder.
bool pathExists(std::wstring_view path);

// Replaces the file with `size` bytes of `data`; the byte count, or kFileError when the
// file cannot be written (the old file is then unchanged).
std::uint32_t writeFile(std::wstring_view path, const void* data, std::size_t size);

// Reads at most `maxSize` bytes of the file into `buffer`; the byte count, or kFileError
// when the file cannot be opened or read.
std::uint32_t readFile(std::wstring_view path, std::string& buffer, std::size_t maxSize);

// The files in `folder` whose names match `pattern` ("*" and "?" wildcards, any case;
// "*.*" matches every name), as full paths in name order; hidden entries (names starting
// with ".") and folders left out. With `recursive`, the files of every sub-folder follow.
std::vector<std::wstring> listFiles(std::wstring_view folder, std::wstring_view pattern,
                                    bool recursive);

// The sub-folders of `folder` (not hidden), as folder + "/" + name in name order; with
// `recursive` each one's own sub-folders follow it. Linked folders are not descended.
std::vector<std::wstring> listFolders(std::wstring_view folder, bool recursive);

// The last-write time as a count of 100 ns since 1601-01-01 UTC; 0 when the file cannot
// be queried.
std::uint64_t fileWriteTime(std::wstring_view path);

}  // namespace common
