#include <exception>
#include <set>

#include "plugin/repository/repository.h"
#include "plugin/repository/repository_connection.h"
#include "plugin/util/strings.h"

namespace plugin {

namespace {

// Runs a reader; any failure gives `failed`.
template <typename Body>
auto read(decltype(std::declval<Body>()()) failed, const Body& body) {
    try {
        return body();
    } catch (const common::SqliteException&) {
        return failed;
    } catch (const std::exception&) {
        return failed;
    }
}

bool sortsWithLocale(const std::wstring& column) {
    return column == L"folder" || column == L"category" || column == L"tags" || column == L"title";
}

}  // namespace

std::wstring sqlLiteral(const std::wstring& value) {
    std::wstring literal = L"'";
    for (wchar_t c : value) {
        literal += c;
        if (c == L'\'')
            literal += c;
    }
    return literal + L"'";
}

bool readEntry(const std::wstring& idOrGuid, EntryRecord& record) {
    return read(false, [&] {
        bool found = false;
        detail::readRows(
            L"select id, guid, createTime, updateTime, url, site, type, category, folder, tags, "
            L"title, description, text, html, mode from entry where id=?1 or guid=?1 limit 1;",
            {idOrGuid}, [&](common::SqliteQuery& row) {
                EntryRecord entry;
                std::wstring* const fields[] = {
                    &entry.id,     &entry.guid, &entry.createTime, &entry.updateTime,
                    &entry.url,    &entry.site, &entry.type,       &entry.category,
                    &entry.folder, &entry.tags, &entry.title,      &entry.description,
                    &entry.text,   &entry.html};
                int column = 0;
                for (std::wstring* field : fields)
                    *field = row.columnText(column++);
                entry.mode =
                    static_cast<int>(std::wcstol(row.columnText(column).c_str(), nullptr, 10));
                record = std::move(entry);
                found = true;
            });
        return found;
    });
}

int listDistinct(const std::wstring& column, std::vector<std::wstring>& list) {
    list.clear();
    return read(-1, [&] {
        std::wstring sql =
            L"select " + column + L" from entry group by " + column + L" order by " + column;
        if (sortsWithLocale(column))
            sql += L" collate local";
        detail::readRows(sql + L";", {}, [&](common::SqliteQuery& row) {
            std::wstring value = row.columnText(0);
            if (!value.empty())
                list.push_back(std::move(value));
        });
        if (column == L"tags")
            splitTagList(list);
        return static_cast<int>(list.size());
    });
}

void splitTagList(std::vector<std::wstring>& list) {
    std::set<std::wstring> tags;
    for (const std::wstring& untrimmed : list) {
        // The whole list is trimmed, its pieces are kept as written: "a, c" gives " c".
        const std::wstring value = trimmed(untrimmed);
        std::size_t start = 0;
        while (start <= value.size()) {
            auto end = value.find(L',', start);
            if (end == std::wstring::npos)
                end = value.size();
            std::wstring tag = value.substr(start, end - start);
            if (!tag.empty())
                tags.insert(std::move(tag));
            start = end + 1;
        }
    }
    list.assign(tags.begin(), tags.end());
}

int listTitles(std::vector<std::wstring>& titles, std::vector<std::wstring>& guids,
               const std::wstring& where, const std::wstring& order) {
    return read(-1, [&] {
        std::wstring sql = L"select title, guid from entry";
        if (!where.empty())
            sql += L" where " + where;
        sql += order.empty() ? L" order by title collate local" : L" order by " + order;
        int count = 0;
        detail::readRows(sql + L";", {}, [&](common::SqliteQuery& row) {
            titles.push_back(row.columnText(0));
            guids.push_back(row.columnText(1));
            ++count;
        });
        return count;
    });
}

std::wstring newestLogValue(const std::wstring& column) {
    return read(std::wstring(), [&] {
        std::wstring value;
        detail::readRows(L"select max(" + column + L") from log;", {},
                         [&](common::SqliteQuery& row) {
                             if (value.empty())
                                 value = row.columnText(0);
                         });
        return value;
    });
}

}  // namespace plugin
