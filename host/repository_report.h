// What the repository holds after a save: the newest entry of the user's tamrix.db read
// back through SQLite, and its printed summary.
//
// Contract: opens the file read-only for each call; never throws (a missing or unreadable
// repository gives nothing).
#pragma once

#include <optional>
#include <string>

namespace host {

struct StoredEntry {
    std::wstring title;
    std::wstring url;
    std::wstring folder;
    std::wstring category;
    std::wstring text;
    std::wstring html;
};

// The user's repository file: the user data folder + "/tamrix.db".
std::wstring repositoryFile();
std::optional<StoredEntry> newestEntry(const std::wstring& repository);
// Prints title, URL, folder, category, text and markup lengths and the repository path on
// standard output, control characters escaped (output.h); false, with an error, when the
// repository holds no entry.
bool printNewestEntry();

}  // namespace host
