// The repository side of a synchronisation: reading the local changes to send from the
// change log, and applying the service's changes in one transaction.
//
// Contract: each call opens its own connection on the repository path and closes it
// before returning; no function throws. Callable from any thread; the repository's file
// locking serialises writers of all processes.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "plugin/repository/entry_record.h"

namespace plugin {

// The log rows newer than `lastUpdateTime` (all of them when it is empty), newest first.
// nullopt when the log cannot be read completely: a partial list would let the unread
// changes pass as sent.
std::optional<std::vector<ChangeRecord>> collectChanges(const std::wstring& lastUpdateTime);

// Applies the service's records in order, in one transaction: a record not newer than the
// local entry is passed over; "delete" and "update" act on an existing entry, and any
// command but "delete" inserts a missing one (its site taken from its url). Each applied
// record gets a log row stamped with the record's time and the sync time. Records without
// a guid are passed over. Returns 0, or -3 when the database fails or `stopRequested`
// answers true between records; then nothing at all is applied.
int ApplySyncChanges(const std::vector<EntryRecord>& records,
                     const std::function<bool()>& stopRequested = {});

}  // namespace plugin
