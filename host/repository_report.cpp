#include "host/repository_report.h"

#include <iostream>

#include "addon/shell/data_folders.h"
#include "common/sqlite/sqlite_db.h"
#include "common/sqlite/sqlite_exception.h"
#include "common/util/file_tools.h"
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
        std::cerr << "cannot read " << platform::text::toUtf8(repository) << ": " << failure.what()
                  << std::endl;
        return std::nullopt;
    }
}

bool printNewestEntry() {
    using platform::text::toUtf8;
    const std::wstring repository = repositoryFile();
    const std::optional<StoredEntry> entry = newestEntry(repository);
    if (!entry) {
        std::cout << "repository " << toUtf8(repository) << " holds no entry" << std::endl;
        return false;
    }
    std::cout << "stored title: " << toUtf8(entry->title) << "\n"
              << "stored url: " << toUtf8(entry->url) << "\n"
              << "stored folder: " << toUtf8(entry->folder) << "\n"
              << "stored category: " << toUtf8(entry->category) << "\n"
              << "stored text length: " << entry->text.size() << "\n"
              << "stored html length: " << entry->html.size() << "\n"
              << "repository: " << toUtf8(repository) << std::endl;
    return true;
}

}  // namespace host
