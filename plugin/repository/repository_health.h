// Whether a repository file is sound: SQLite's quick_check over every page of it.
//
// Contract: opens its own read-only connection (60-second busy timeout) and closes it
// before returning; never throws; callable from any thread.
#pragma once

#include <string>

namespace plugin::detail {

enum class DatabaseHealth {
    sound,
    damaged,  // quick_check found faults, or SQLite calls the file corrupt or no database
    unknown,  // the check could not run (missing file, locked past the timeout, ...)
};

DatabaseHealth checkDatabase(const std::string& path);

// True for the SQLite result codes that mean a damaged file.
bool isDamageCode(int code);

}  // namespace plugin::detail
