#include "plugin/sync/upload_mark.h"

#include <functional>
#include <optional>

#include "plugin/sync/sync_settings.h"
#include "plugin/util/time_text.h"

namespace plugin {

namespace {

// The mark's own table: the config table belongs to the repository's other readers.
constexpr wchar_t kCreateMarkTable[] =
    L"CREATE TABLE IF NOT EXISTS syncmark (name TEXT PRIMARY KEY, row INTEGER NOT NULL);";
constexpr wchar_t kMarkTableExists[] =
    L"select count(*) from sqlite_master where type='table' and name='syncmark';";
constexpr wchar_t kReadMark[] = L"select row from syncmark where name='SentLogRow';";
// Where an earlier version kept the mark; read until the next acknowledged exchange moves it.
constexpr wchar_t kEarlierMarkName[] = L"Sync\\SentLogRow";
constexpr wchar_t kReadEarlierMark[] =
    L"select max(cast(value as integer)) from config where name=? and value is not null;";

using RowReader = std::function<void(const std::wstring& sql, detail::Values values,
                                     const std::function<void(common::SqliteQuery&)>& onRow)>;

// The first column of the first row as a row number; nullopt when it is empty or absent.
std::optional<std::int64_t> readNumber(const RowReader& read, const std::wstring& sql,
                                       detail::Values values = {}) {
    std::optional<std::int64_t> number;
    read(sql, values, [&](common::SqliteQuery& row) {
        const std::wstring text = row.columnText(0);
        if (!text.empty())
            number = std::stoll(text);
    });
    return number;
}

std::optional<std::int64_t> storedMark(const RowReader& read) {
    if (readNumber(read, kMarkTableExists).value_or(0) > 0)
        if (const auto mark = readNumber(read, kReadMark))
            return mark;
    return readNumber(read, kReadEarlierMark, {std::wstring(kEarlierMarkName)});
}

std::optional<std::int64_t> storedMark() {
    return storedMark([](const std::wstring& sql, detail::Values values,
                         const std::function<void(common::SqliteQuery&)>& onRow) {
        detail::readRows(sql, values, onRow);
    });
}

UnsentRowsCondition afterRow(std::int64_t row) {
    return {L"rowid > cast(? as integer)", std::to_wstring(row)};
}

}  // namespace

UnsentRowsCondition unsentRowsCondition() {
    if (const std::optional<std::int64_t> mark = storedMark())
        return afterRow(*mark);
    const std::wstring serviceTime = readSyncSettings().updateTime;
    if (serviceTime.empty() || serviceTime > nowText(false))
        return afterRow(0);
    return {L"updateTime > ?", serviceTime};
}

std::int64_t newestLogRow() {
    std::int64_t newest = 0;
    detail::readRows(L"select max(rowid) from log;", {}, [&](common::SqliteQuery& row) {
        const std::wstring text = row.columnText(0);
        newest = text.empty() ? 0 : std::stoll(text);
    });
    return newest;
}

void advanceUploadMark(detail::WriteTransaction& transaction, std::int64_t row) {
    const std::optional<std::int64_t> mark =
        storedMark([&](const std::wstring& sql, detail::Values values,
                       const std::function<void(common::SqliteQuery&)>& onRow) {
            transaction.query(sql, values, onRow);
        });
    if (mark && *mark >= row)
        return;
    transaction.run(kCreateMarkTable);
    transaction.run(L"insert or replace into syncmark (name, row) values ('SentLogRow', ?);",
                    {std::to_wstring(row)});
    transaction.run(L"delete from config where name=?;", {std::wstring(kEarlierMarkName)});
}

}  // namespace plugin
