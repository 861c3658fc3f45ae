#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <exception>
#include <mutex>

#include "common/language/language_table.h"
#include "platform/system/atomic_file.h"
#include "platform/text/utf.h"
#include "plugin/repository/repository.h"
#include "plugin/repository/repository_connection.h"
#include "plugin/repository/repository_health.h"
#include "plugin/util/message_boxes.h"

namespace plugin {

namespace {

struct RepositoryState {
    std::mutex mutex;
    std::wstring path;
    std::wstring error;
};

RepositoryState& state() {
    static RepositoryState instance;
    return instance;
}

void setPath(const std::wstring& path) {
    std::lock_guard lock(state().mutex);
    state().path = path;
}

void setError(const std::wstring& error) {
    std::lock_guard lock(state().mutex);
    state().error = error;
}

constexpr const wchar_t* kSchema[] = {
    L"CREATE TABLE IF NOT EXISTS entry (id TEXT, guid TEXT primary key, createTime DATETIME "
    L"default CURRENT_TIMESTAMP, updateTime DATETIME default CURRENT_TIMESTAMP, url TEXT, site "
    L"TEXT, type TEXT, category TEXT, folder TEXT, tags TEXT, title TEXT, description TEXT, "
    L"text TEXT, html TEXT, mode INTEGER);",
    L"CREATE TABLE IF NOT EXISTS log (guid TEXT NOT NULL, name TEXT NOT NULL, updateTime "
    L"DATETIME NOT NULL DEFAULT CURRENT_TIMESTAMP, syncTime DATETIME);",
    L"CREATE TABLE IF NOT EXISTS config (name TEXT NOT NULL, value TEXT);",
    // Entries are looked up by their short id as often as by guid (readEntry, the pages'
    // "item?" addresses): without an index each lookup reads the whole table, and an
    // export of n entries takes time in n squared.
    L"CREATE INDEX IF NOT EXISTS entry_id ON entry (id);",
};

constexpr std::time_t kBackupInterval = 86400;
constexpr int kBusyTimeoutMs = 60000;

bool fileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

bool isZeroLengthFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size == 0;
}

// True when `path` exists and was written less than a day ago (or is dated ahead).
bool isRecent(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return false;
    return std::time(nullptr) - info.st_mtime <= kBackupInterval;
}

// Copies the database `source` page by page into `target` through SQLite's online backup,
// which reads a consistent snapshot even while other connections write.
bool copyDatabase(const std::string& source, const std::string& target) {
    sqlite3* from = nullptr;
    sqlite3* to = nullptr;
    bool copied = false;
    if (sqlite3_open_v2(source.c_str(), &from, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_open_v2(target.c_str(), &to, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) ==
            SQLITE_OK) {
        sqlite3_busy_timeout(from, kBusyTimeoutMs);
        if (sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main")) {
            const int stepped = sqlite3_backup_step(backup, -1);
            copied = sqlite3_backup_finish(backup) == SQLITE_OK && stepped == SQLITE_DONE;
        }
    }
    sqlite3_close(from);
    copied = sqlite3_close(to) == SQLITE_OK && copied;
    return copied;
}

// Tells the person that the repository file is damaged and where its last good backup
// is, so that nothing more is lost before they act on it.
void reportDamage(const std::wstring& repository, const std::wstring& backup) {
    std::wstring text =
        common::languageTable().translate(L"Message", L"The repository is damaged:") + L"\n" +
        repository + L"\n";
    if (fileExists(platform::text::toUtf8(backup)))
        text += common::languageTable().translate(L"Message",
                                                  L"Its last good backup is kept unchanged at:") +
                L"\n" + backup;
    else
        text += common::languageTable().translate(L"Message", L"No backup of it exists yet.");
    errorBox(text);
}

// Tells the person that the repository file was found empty (cut to nothing by a crash or
// a full disk) and that its backup, which still holds the entries, was kept.
void reportEmptied(const std::wstring& repository, const std::wstring& backup) {
    errorBox(common::languageTable().translate(L"Message", L"The repository file was empty:") +
             L"\n" + repository + L"\n" +
             common::languageTable().translate(L"Message",
                                               L"Its last good backup is kept unchanged at:") +
             L"\n" + backup);
}

// True when the repository holds at least one entry; false when it holds none or cannot
// be read.
bool holdsEntries() {
    try {
        bool found = false;
        detail::readRows(L"select 1 from entry limit 1;", {},
                         [&](common::SqliteQuery&) { found = true; });
        return found;
    } catch (const std::exception&) {
        return false;
    }
}

// Creates the missing tables in one transaction; the SQLite result code of a failure, or
// SQLITE_OK.
int createTables(const std::wstring& path) {
    if (path.empty()) {
        setError(L"No repository file was given.");
        return SQLITE_MISUSE;
    }
    try {
        detail::WriteTransaction transaction(path);
        for (const wchar_t* statement : kSchema)
            transaction.run(statement);
        transaction.commit();
    } catch (const common::SqliteException& failure) {
        setError(L"The repository " + path + L" cannot be used: " + detail::messageOf(failure));
        return failure.code();
    }
    setError({});
    setPath(path);
    return SQLITE_OK;
}

}  // namespace

std::wstring repositoryPath() {
    std::lock_guard lock(state().mutex);
    return state().path;
}

std::wstring repositoryError() {
    std::lock_guard lock(state().mutex);
    return state().error;
}

void closeRepository() {
    setPath({});
}

int CreateSchema(const std::wstring& path) {
    return createTables(path) == SQLITE_OK ? 0 : -1;
}

int OpenRepository(const std::wstring& path) {
    const bool existed = fileExists(platform::text::toUtf8(path));
    const bool wasZeroLength = isZeroLengthFile(platform::text::toUtf8(path));
    if (const int failure = createTables(path); failure != SQLITE_OK) {
        closeRepository();
        // The callers show the error; a damaged file's error says where its backup is.
        const std::wstring backup = path + L".bak";
        if (existed && detail::isDamageCode(failure) && fileExists(platform::text::toUtf8(backup)))
            setError(repositoryError() + L"\n" +
                     common::languageTable().translate(
                         L"Message", L"Its last good backup is kept unchanged at:") +
                     L"\n" + backup);
        return -1;
    }
    const std::wstring backup = path + L".bak";
    if (wasZeroLength && fileExists(platform::text::toUtf8(backup)))
        reportEmptied(path, backup);
    if (existed)
        backupRepository({});
    return 0;
}

bool backupRepository(const std::wstring& target) {
    const std::wstring source = repositoryPath();
    if (source.empty())
        return false;
    const std::wstring targetName = target.empty() ? source + L".bak" : target;
    const std::string targetPath = platform::text::toUtf8(targetName);
    if (isRecent(targetPath))
        return false;
    // A copy of a damaged file must never take the place of the last good backup.
    switch (detail::checkDatabase(platform::text::toUtf8(source))) {
        case detail::DatabaseHealth::sound:
            break;
        case detail::DatabaseHealth::damaged:
            reportDamage(source, targetName);
            return false;
        case detail::DatabaseHealth::unknown:
            return false;
    }
    // An empty repository is a backup of nothing: the earlier backup may be all that is
    // left of the entries.
    if (fileExists(targetPath) && !holdsEntries())
        return false;
    const std::string temporary = targetPath + ".tmp" + std::to_string(::getpid());
    std::remove(temporary.c_str());
    if (!platform::system::createEmptyFile(temporary, 0600) ||
        !copyDatabase(platform::text::toUtf8(source), temporary) ||
        std::rename(temporary.c_str(), targetPath.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace plugin
