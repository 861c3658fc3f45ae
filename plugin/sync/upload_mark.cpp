#include "plugin/sync/upload_mark.h"

#include <optional>

#include "plugin/sync/sync_settings.h"
#include "plugin/util/time_text.h"

namespace plugin {

namespace {

constexpr wchar_t kMarkName[] = L"Sync\\SentLogRow";
constexpr wchar_t kReadMark[] =
    L"select max(cast(value as integer)) from config where name=? and value is not null;";

// The stored mark; nullopt when the repository has none.
std::optional<std::int64_t> markOf(common::SqliteQuery& row) {
    const std::wstring text = row.columnText(0);
    if (text.empty())
        return std::nullopt;
    return std::stoll(text);
}

std::optional<std::int64_t> storedMark() {
    std::optional<std::int64_t> mark;
    detail::readRows(kReadMark, {std::wstring(kMarkName)},
                     [&](common::SqliteQuery& row) { mark = markOf(row); });
    return mark;
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
    std::optional<std::int64_t> mark;
    transaction.query(kReadMark, {std::wstring(kMarkName)},
                      [&](common::SqliteQuery& found) { mark = markOf(found); });
    if (mark && *mark >= row)
        return;
    transaction.run(L"delete from config where name=?;", {std::wstring(kMarkName)});
    transaction.run(L"insert into config (name, value) values (?,?);",
                    {std::wstring(kMarkName), std::to_wstring(row)});
}

}  // namespace plugin
