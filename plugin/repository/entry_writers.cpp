#include <exception>
#include <functional>

#include "platform/text/utf.h"
#include "plugin/repository/repository.h"
#include "plugin/repository/repository_connection.h"
#include "plugin/util/strings.h"
#include "plugin/util/time_text.h"

namespace plugin {

namespace {

constexpr wchar_t kLogOne[] = L"insert into log (guid, name, updateTime) values (?,?,?);";
constexpr wchar_t kLogSelectPrefix[] =
    L"insert into log (guid, name, updateTime) select guid, ?, ? from entry where ";
// An entry lies in category ?1 when its category is ?1 or starts with "?1/", compared
// exactly (no wildcards, no case folding).
constexpr wchar_t kInCategory[] = L"(category=?3 or substr(category, 1, length(?3) + 1)=?3 || '/')";

thread_local std::wstring lastFailure;

// Runs `body` in one write transaction and commits it; any failure gives `failed` and
// leaves its reason for lastWriteError.
template <typename Result>
Result inTransaction(Result failed, const std::function<Result(detail::WriteTransaction&)>& body) {
    lastFailure.clear();
    try {
        detail::WriteTransaction transaction;
        Result result = body(transaction);
        transaction.commit();
        return result;
    } catch (const common::SqliteException& failure) {
        lastFailure = detail::messageOf(failure);
    } catch (const std::exception& failure) {
        lastFailure = platform::text::fromUtf8(failure.what());
    }
    return failed;
}

int write(const std::function<int(detail::WriteTransaction&)>& body) {
    return inTransaction<int>(-1, body);
}

}  // namespace

std::wstring lastWriteError() {
    return lastFailure;
}

std::wstring insertEntry(const EntryRecord& record) {
    const std::wstring guid = record.guid.empty() ? newGuidText() : record.guid;
    if (guid.empty())
        return {};
    return inTransaction<std::wstring>({}, [&](detail::WriteTransaction& transaction) {
        const std::wstring now = nowText(false);
        transaction.run(kLogOne, {guid, L"insert", now});
        transaction.run(L"insert into entry values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?);",
                        {guid.substr(0, 8), guid, now, now, record.url, urlHost(record.url),
                         record.type, record.category, record.folder, record.tags, record.title,
                         record.description, record.text, record.html, record.mode});
        return guid;
    });
}

int updateEntry(const EntryRecord& record) {
    if (record.guid.empty())
        return -1;
    return write([&](detail::WriteTransaction& transaction) {
        const std::wstring now = nowText(false);
        transaction.run(kLogOne, {record.guid, L"update", now});
        transaction.run(
            L"update entry set createTime=?, updateTime=?, url=?, site=?, type=?, category=?, "
            L"folder=?, tags=?, title=?, description=?, text=?, html=?, mode=? where guid=?;",
            {record.createTime, now, record.url, record.site, record.type, record.category,
             record.folder, record.tags, record.title, record.description, record.text, record.html,
             record.mode, record.guid});
        return 0;
    });
}

int deleteEntry(const std::wstring& guid) {
    if (guid.empty())
        return -1;
    return write([&](detail::WriteTransaction& transaction) {
        transaction.run(kLogOne, {guid, L"delete", nowText(false)});
        transaction.run(L"delete from entry where guid=?;", {guid});
        return 0;
    });
}

namespace {

int setField(const EntryRecord& record, const std::wstring& column,
             const detail::BoundValue& value) {
    if (record.guid.empty())
        return -1;
    return write([&](detail::WriteTransaction& transaction) {
        const std::wstring now = nowText(false);
        transaction.run(kLogOne, {record.guid, L"update", now});
        transaction.run(L"update entry set " + column + L"=?, updateTime=? where guid=?;",
                        {value, now, record.guid});
        return 0;
    });
}

}  // namespace

int setEntryField(const EntryRecord& record, const std::wstring& column,
                  const std::wstring& value) {
    return setField(record, column, value);
}

int setEntryIntField(const EntryRecord& record, const std::wstring& column, int value) {
    return setField(record, column, value);
}

int renameFieldValue(const std::wstring& column, const std::wstring& oldValue,
                     const std::wstring& newValue) {
    return write([&](detail::WriteTransaction& transaction) {
        const std::wstring now = nowText(false);
        transaction.run(kLogSelectPrefix + column + L"=?;", {L"update", now, oldValue});
        transaction.run(
            L"update entry set " + column + L"=?, updateTime=? where " + column + L"=?;",
            {newValue, now, oldValue});
        return 0;
    });
}

int deleteByFieldValue(const std::wstring& column, const std::wstring& value) {
    return write([&](detail::WriteTransaction& transaction) {
        transaction.run(kLogSelectPrefix + column + L"=?;", {L"delete", nowText(false), value});
        transaction.run(L"delete from entry where " + column + L"=?;", {value});
        return 0;
    });
}

int renameCategory(const std::wstring& oldPath, const std::wstring& newPath) {
    return write([&](detail::WriteTransaction& transaction) {
        const std::wstring now = nowText(false);
        transaction.run(std::wstring(kLogSelectPrefix) + kInCategory + L";",
                        {L"update", now, oldPath});
        // One statement for the category and its sub-paths: each entry is changed once,
        // and only its leading oldPath is replaced.
        return transaction.run(
            std::wstring(L"update entry set category=?1 || substr(category, length(?3) + 1), "
                         L"updateTime=?2 where ") +
                kInCategory + L";",
            {newPath, now, oldPath});
    });
}

int deleteCategory(const std::wstring& path) {
    return write([&](detail::WriteTransaction& transaction) {
        transaction.run(std::wstring(kLogSelectPrefix) + kInCategory + L";",
                        {L"delete", nowText(false), path});
        transaction.run(std::wstring(L"delete from entry where ") + kInCategory + L";",
                        {std::wstring(), std::wstring(), path});
        return 0;
    });
}

}  // namespace plugin
