// The repository side of a synchronisation: reading the local changes to send from the
// change log, and applying the service's changes in one transaction.
//
// Contract: each call opens its own connection on the repository path and closes it
// before returning; no function throws. Callable from any thread; the repository's file
// locking serialises writers of all processes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "plugin/repository/entry_record.h"

namespace plugin {

// The local changes to send, newest first: the log's own rows (no sync time) after the
// upload mark (upload_mark.h), up to `throughRow`, the newest row of the log when they were
// read. Every row up to `throughRow` is then either in `changes`, acknowledged before, or
// written by a download; so once the service acknowledges an exchange built from them,
// the mark may move to `throughRow`, and a change logged meanwhile stays unsent.
struct PendingChanges {
    std::vector<ChangeRecord> changes;
    std::int64_t throughRow = 0;
};
// nullopt when the log cannot be read completely: a partial list would let the unread
// changes pass as sent.
std::optional<PendingChanges> collectChanges();
// The number of local changes still to send; -1 when the log cannot be read.
int countUnsentChanges();

// Applies the service's records in order, in one transaction: a record not newer than the
// local entry is passed over; "delete" and "update" act on an existing entry, and any
// command but "delete" inserts a missing one (its site taken from its url). Each applied
// record gets a log row stamped with the record's time and the sync time. Records without
// a guid are passed over. With `acknowledgedThrough` the upload mark moves to that row in
// the same transaction. Returns the number of records applied, or -3 when the database
// fails or `stopRequested` answers true; then nothing at all is applied and the mark stays.
// The records' markup is made safe before the transaction begins, so no other writer waits
// while a stranger's markup is cleaned.
int ApplySyncChanges(const std::vector<EntryRecord>& records,
                     const std::function<bool()>& stopRequested = {},
                     std::optional<std::int64_t> acknowledgedThrough = std::nullopt);

}  // namespace plugin
