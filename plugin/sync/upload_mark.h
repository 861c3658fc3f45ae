// The upload mark: the newest change-log row that an exchange acknowledged by the service
// accounted for. The local changes to send are the log rows after it; the service's clock
// plays no part in choosing them, so a change made while a request is in flight, or a
// service clock ahead of or behind this machine's, neither loses nor repeats a change.
//
// The mark lives in the repository file, in a table of its own ("syncmark", made by the
// first acknowledged exchange), beside the log it counts, so a repository restored from its
// backup brings its own mark along. A mark an earlier version kept in the config table is
// read until the next acknowledged exchange moves it into that table. A
// repository synchronised before marks were kept has none until its next acknowledged
// exchange; until then the earlier rule picks the changes: log rows newer than the stored
// service time (Sync\UpdateTime). When that time lies ahead of this machine's clock the
// earlier rule had stopped sending anything, so every local change goes out once more.
//
// Contract: throws common::SqliteException on database failures; the sync functions that
// call these catch it. Callable from any thread.
#pragma once

#include <cstdint>
#include <string>

#include "plugin/repository/repository_connection.h"

namespace plugin {

// The condition that selects the unsent local rows of the log (always together with
// "syncTime is null"), with the one value it binds.
struct UnsentRowsCondition {
    std::wstring sql;
    std::wstring value;
};
UnsentRowsCondition unsentRowsCondition();

// The newest row of the log; 0 when the log is empty.
std::int64_t newestLogRow();

// Moves the mark forward to `row` inside `transaction`; a mark already at or after it stays.
void advanceUploadMark(detail::WriteTransaction& transaction, std::int64_t row);

}  // namespace plugin
