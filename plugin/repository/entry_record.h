// The in-memory forms of one repository entry and of one change-log row. Plain values;
// copy freely, no synchronisation.
#pragma once

#include <cstdint>
#include <string>

namespace plugin {

// One row of the `entry` table. `command` is no column: it names the kind of change
// ("insert", "update", "delete") when a record travels in synchronisation messages.
struct EntryRecord {
    std::wstring id;
    std::wstring guid;
    std::wstring createTime;
    std::wstring updateTime;
    std::wstring url;
    std::wstring site;
    std::wstring type = L"clip";
    std::wstring category;
    std::wstring folder;
    std::wstring tags;
    std::wstring title;
    std::wstring description;
    std::wstring text;
    std::wstring html;
    int mode = 0;
    std::wstring command;

    friend bool operator==(const EntryRecord&, const EntryRecord&) = default;
};

// One row of the `log` table as the synchronisation client reads it.
struct ChangeRecord {
    std::wstring guid;
    std::wstring name;
    std::wstring updateTime;
    std::wstring spare;
    std::int64_t logRow = 0;  // the row's rowid, which grows with every row appended
};

}  // namespace plugin
