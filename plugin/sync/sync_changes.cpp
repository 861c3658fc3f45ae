#include "plugin/sync/sync_changes.h"

#include <exception>
#include <stdexcept>

#include "common/markup/markup_sanitizer.h"
#include "plugin/repository/repository_connection.h"
#include "plugin/sync/upload_mark.h"
#include "plugin/util/strings.h"
#include "plugin/util/time_text.h"

namespace plugin {

namespace {

constexpr wchar_t kSyncLog[] =
    L"insert into log (guid, name, updateTime, syncTime) values (?,?,?,?);";
constexpr wchar_t kDeleteEntry[] = L"delete from entry where guid=?;";
constexpr wchar_t kUpdateEntry[] =
    L"update entry set createTime=?, updateTime=?, url=?, site=?, type=?, category=?, "
    L"folder=?, tags=?, title=?, description=?, text=?, html=?, mode=? where guid=?;";
constexpr wchar_t kInsertEntry[] = L"insert into entry values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?);";

struct StoppedApplying : std::runtime_error {
    StoppedApplying() : std::runtime_error("synchronisation stopped") {}
};

// The local entry's updateTime; nullopt when there is no such entry.
std::optional<std::wstring> localUpdateTime(detail::WriteTransaction& transaction,
                                            const std::wstring& guid) {
    std::optional<std::wstring> local;
    transaction.query(L"select updateTime from entry where guid=?;", {guid},
                      [&](common::SqliteQuery& row) {
                          if (!local)
                              local = row.columnText(0);
                      });
    return local;
}

// The records with their markup made safe to show (synced entries can come from anywhere),
// or nullopt when a stop came first. Cleaning a stranger's markup can take long, so it is
// done before the transaction: no other writer waits on it.
std::optional<std::vector<EntryRecord>> safeRecords(const std::vector<EntryRecord>& records,
                                                    const std::function<bool()>& stopRequested) {
    std::vector<EntryRecord> safe;
    safe.reserve(records.size());
    for (const EntryRecord& record : records) {
        if (stopRequested && stopRequested())
            return std::nullopt;
        if (record.guid.empty())
            continue;
        safe.push_back(record);
        safe.back().html = common::safeMarkup(record.html);
    }
    return safe;
}

// Applies one record; false when it is passed over.
bool applyRecord(detail::WriteTransaction& transaction, const EntryRecord& record,
                 const std::wstring& now) {
    const std::optional<std::wstring> local = localUpdateTime(transaction, record.guid);
    if (!(local.value_or(L"") < record.updateTime))
        return false;
    if (local) {
        if (record.command == L"delete") {
            transaction.run(kSyncLog, {record.guid, L"delete", record.updateTime, now});
            transaction.run(kDeleteEntry, {record.guid});
            return true;
        }
        if (record.command == L"update") {
            transaction.run(kSyncLog, {record.guid, L"update", record.updateTime, now});
            transaction.run(kUpdateEntry, {record.createTime, record.updateTime, record.url,
                                           record.site, record.type, record.category, record.folder,
                                           record.tags, record.title, record.description,
                                           record.text, record.html, record.mode, record.guid});
            return true;
        }
        return false;
    }
    if (record.command == L"delete")
        return false;
    transaction.run(kSyncLog, {record.guid, L"insert", record.updateTime, now});
    const std::wstring id = record.id.empty() ? record.guid.substr(0, 8) : record.id;
    transaction.run(kInsertEntry,
                    {id, record.guid, record.createTime, record.updateTime, record.url,
                     urlHost(record.url), record.type, record.category, record.folder, record.tags,
                     record.title, record.description, record.text, record.html, record.mode});
    return true;
}

}  // namespace

std::optional<PendingChanges> collectChanges() {
    try {
        PendingChanges pending;
        pending.throughRow = newestLogRow();
        const UnsentRowsCondition unsent = unsentRowsCondition();
        detail::readRows(
            L"select guid, name, updateTime, rowid from log where syncTime is null "
            L"and rowid <= cast(? as integer) and " +
                unsent.sql + L" order by updateTime desc, rowid desc;",
            {std::to_wstring(pending.throughRow), unsent.value}, [&](common::SqliteQuery& row) {
                pending.changes.push_back({row.columnText(0),
                                           row.columnText(1),
                                           row.columnText(2),
                                           {},
                                           std::stoll(row.columnText(3))});
            });
        return pending;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

int countUnsentChanges() {
    try {
        const UnsentRowsCondition unsent = unsentRowsCondition();
        int count = -1;
        detail::readRows(
            L"select count(*) from log where syncTime is null and " + unsent.sql + L";",
            {unsent.value},
            [&](common::SqliteQuery& row) { count = std::stoi(row.columnText(0)); });
        return count;
    } catch (const std::exception&) {
        return -1;
    }
}

int ApplySyncChanges(const std::vector<EntryRecord>& records,
                     const std::function<bool()>& stopRequested,
                     std::optional<std::int64_t> acknowledgedThrough) {
    if (records.empty() && !acknowledgedThrough)
        return 0;
    try {
        const std::optional<std::vector<EntryRecord>> safe = safeRecords(records, stopRequested);
        if (!safe)
            return -3;
        detail::WriteTransaction transaction;
        const std::wstring now = nowText(false);
        int applied = 0;
        for (const EntryRecord& record : *safe) {
            if (stopRequested && stopRequested())
                throw StoppedApplying();
            applied += applyRecord(transaction, record, now) ? 1 : 0;
        }
        if (acknowledgedThrough)
            advanceUploadMark(transaction, *acknowledgedThrough);
        transaction.commit();
        return applied;
    } catch (const std::exception&) {
        return -3;
    }
}

}  // namespace plugin
