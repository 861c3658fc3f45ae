#include "host/repository_report.h"

#include "addon/shell/data_folders.h"
#include "common/sqlite/sqlite_db.h"
#include "common/sqlite/sqlite_exception.h"
#include "common/util/file_tools.h"
#include "host/output.h"
#include "platform/text/utf.h"

namespace host {

std::wstring repositoryFile() {
    const std::wstring folder = addon::resolveDataFolder(L"UserData");
    return folder.empty() ? std::wstring() : folder + L"/tamrix.db";
}

std::optional<StoredEntry> newestEntry(const std::wstring& repository) {
    if (repository.empty() || !common::pathExists(repository)) {
        return std::nullopt;
    }
    try {
        common::SqliteDB db(repository, true);
        db.setBusyTimeout(60000);
        common::SqliteStatement statement = db.prepareStatement(
            L"SELECT title, url, folder, category, text, html FROM entry ORDER BY rowid DESC "
            L"LIMIT 1");
        common::SqliteQuery rows = statement.query();
        if (rows.eof()) {
            return std::nullopt;
        }
        return StoredEntry{rows.columnText(0), rows.columnText(1), rows.columnText(2),
                           rows.columnText(3), rows.columnText(4), rows.columnText(5)};
    } catch (const common::SqliteException& failure) {
        reportError(L"cannot read " + repository + L": " +
                    platform::text::fromUtf8(failure.what()));
        return std::nullopt;
    }
}

bool printNewestEntry() {
    const std::wstring repository = repositoryFile();
    const std::optional<StoredEntry> entry = newestEntry(repository);
    if (!entry) {
        reportError(L"the repository " + printable(repository) + L" holds no entry");
        return false;
    }
    output(L"stored title: " + printable(entry->title));
    output(L"stored url: " + printable(entry->url));
    output(L"stored folder: " + printable(entry->folder));
    output(L"stored category: " + printable(entry->category));
    output(L"stored text length: " + std::to_wstring(entry->text.size()));
    output(L"stored html length: " + std::to_wstring(entry->html.size()));
    output(L"repository: " + printable(repository));
    return true;
}

}  // namespace host
