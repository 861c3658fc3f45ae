#include <fstream>

#include "file_damage.h"
#include "platform/ui/scripted_presenter.h"
#include "repository_fixture.h"

using repository_testing::ageFile;
using repository_testing::contents;
using repository_testing::overwriteMiddlePage;

TEST_F(RepositoryTest, EmptyExistingFileGetsTheSchema) {
    plugin::closeRepository();
    const auto empty = folder_ / "empty.db";
    std::ofstream(empty).close();
    ASSERT_EQ(plugin::OpenRepository(platform::text::fromUtf8(empty.string())), 0);
    EXPECT_FALSE(insert(L"first").empty());
    EXPECT_EQ(plugin::repositoryPath(), platform::text::fromUtf8(empty.string()));
}

TEST_F(RepositoryTest, AnEarlierRepositoryGetsTheIndexThatLooksEntriesUpById) {
    plugin::closeRepository();
    const auto earlier = folder_ / "earlier.db";
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(earlier.string().c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db,
                               "CREATE TABLE entry (id TEXT, guid TEXT primary key, createTime "
                               "DATETIME, updateTime DATETIME, url TEXT, site TEXT, type TEXT, "
                               "category TEXT, folder TEXT, tags TEXT, title TEXT, description "
                               "TEXT, text TEXT, html TEXT, mode INTEGER);"
                               "INSERT INTO entry (id, guid, title) VALUES "
                               "('A1234567', 'A1234567-0000', 'kept');",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    }
    path_ = platform::text::fromUtf8(earlier.string());
    ASSERT_EQ(plugin::OpenRepository(path_), 0);
    EXPECT_EQ(scalar("select count(*) from sqlite_master where type='index' and name='entry_id';"),
              "1");
    // The lookup by id or guid reads through the indexes, not the whole table.
    std::string plan;
    {
        sqlite3* db = nullptr;
        sqlite3_open_v2(file().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* statement = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(db,
                                     "explain query plan select title from entry where "
                                     "id='A1234567' or guid='A1234567';",
                                     -1, &statement, nullptr),
                  SQLITE_OK);
        while (sqlite3_step(statement) == SQLITE_ROW)
            plan +=
                reinterpret_cast<const char*>(sqlite3_column_text(statement, 3)) + std::string("|");
        sqlite3_finalize(statement);
        sqlite3_close(db);
    }
    EXPECT_EQ(plan.find("SCAN"), std::string::npos) << plan;
    EXPECT_NE(plan.find("entry_id"), std::string::npos) << plan;
    plugin::EntryRecord record;
    ASSERT_TRUE(plugin::readEntry(L"A1234567", record));
    EXPECT_EQ(record.title, L"kept");
}

TEST_F(RepositoryTest, CorruptFileIsRefusedAndKept) {
    plugin::closeRepository();
    const auto corrupt = folder_ / "corrupt.db";
    const std::string garbage(4096, 'x');
    std::ofstream(corrupt, std::ios::binary) << garbage;
    EXPECT_EQ(plugin::OpenRepository(platform::text::fromUtf8(corrupt.string())), -1);
    EXPECT_NE(plugin::repositoryError().find(L"corrupt.db"), std::wstring::npos);
    EXPECT_NE(plugin::repositoryError().find(L"not a database"), std::wstring::npos);
    EXPECT_EQ(plugin::repositoryPath(), L"");
    EXPECT_TRUE(insert(L"lost?").empty());
    EXPECT_EQ(contents(corrupt), garbage);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "corrupt.db.bak"));

    // With a backup beside it, the reason given says where the backup is.
    std::filesystem::copy_file(folder_ / "tamrix.db", folder_ / "corrupt.db.bak");
    EXPECT_EQ(plugin::OpenRepository(platform::text::fromUtf8(corrupt.string())), -1);
    EXPECT_NE(plugin::repositoryError().find(L"not a database"), std::wstring::npos);
    EXPECT_NE(plugin::repositoryError().find(L"corrupt.db.bak"), std::wstring::npos);
}

TEST_F(RepositoryTest, BackupIsADatabaseCopyMadeAtMostOnceADay) {
    const auto backup = folder_ / "tamrix.db.bak";
    EXPECT_FALSE(std::filesystem::exists(backup)) << "a new repository needs no backup";
    insert(L"kept");
    ASSERT_EQ(plugin::OpenRepository(path_), 0);
    ASSERT_TRUE(std::filesystem::exists(backup));
    // The entries are the user's own: neither the repository nor its copy is readable by
    // other users, whatever the umask.
    const auto others = std::filesystem::perms::group_all | std::filesystem::perms::others_all;
    for (const auto& file : {std::filesystem::path(platform::text::toUtf8(path_)), backup})
        EXPECT_EQ(std::filesystem::status(file).permissions() & others,
                  std::filesystem::perms::none)
            << file;

    insert(L"later");
    EXPECT_FALSE(plugin::backupRepository(L""));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(backup.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* statement = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "select count(*) from entry", -1, &statement, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(statement, 0), 1);
    sqlite3_finalize(statement);
    sqlite3_close(db);

    ageFile(backup, 86400 + 60);
    EXPECT_TRUE(plugin::backupRepository(L""));
    ageFile(backup, -3600);
    EXPECT_FALSE(plugin::backupRepository(L"")) << "a backup dated ahead is kept";
    EXPECT_TRUE(
        plugin::backupRepository(platform::text::fromUtf8((folder_ / "other.bak").string())));
    plugin::closeRepository();
    EXPECT_FALSE(plugin::backupRepository(L""));
}

TEST_F(RepositoryTest, ADamagedRepositoryNeverReplacesItsLastGoodBackup) {
    auto person = std::make_shared<platform::ui::ScriptedPresenter>();
    platform::ui::PresenterScope scope(person);
    for (int i = 0; i < 300; ++i) {
        plugin::EntryRecord record;
        record.title = L"Entry " + std::to_wstring(i);
        record.url = L"http://example.org/" + std::to_wstring(i);
        record.html = L"<p>" + std::wstring(600, L'a' + i % 26) + L"</p>";
        ASSERT_FALSE(plugin::insertEntry(record).empty());
    }
    const auto database = folder_ / "tamrix.db";
    const auto backup = folder_ / "tamrix.db.bak";
    ASSERT_EQ(plugin::OpenRepository(path_), 0);
    ASSERT_TRUE(std::filesystem::exists(backup));
    ageFile(backup, 2 * 86400);
    const std::string goodBackup = contents(backup);
    EXPECT_TRUE(person->messageTexts().empty()) << "a sound repository is not reported";

    plugin::closeRepository();
    overwriteMiddlePage(database);
    ASSERT_NE(scalar("PRAGMA quick_check;"), "ok") << "the damage is there to be found";

    EXPECT_EQ(plugin::OpenRepository(path_), 0);
    EXPECT_EQ(contents(backup), goodBackup);
    EXPECT_FALSE(plugin::backupRepository(L"")) << "nor is it replaced later on";
    EXPECT_EQ(contents(backup), goodBackup);
    const auto texts = person->messageTexts();
    ASSERT_EQ(texts.size(), 2u) << "each attempt tells the person";
    EXPECT_NE(texts[0].find(L"damaged"), std::wstring::npos);
    EXPECT_NE(texts[0].find(path_ + L"\n"), std::wstring::npos);
    EXPECT_NE(texts[0].find(path_ + L".bak"), std::wstring::npos);

    // The kept backup is a whole, sound repository of all 300 entries.
    const std::wstring kept = path_ + L".bak";
    plugin::closeRepository();
    ASSERT_EQ(plugin::OpenRepository(kept), 0);
    std::vector<std::wstring> titles, guids;
    EXPECT_EQ(plugin::listTitles(titles, guids, L"", L""), 300);
}

TEST_F(RepositoryTest, ADamagedRepositoryWithoutBackupIsReportedAndNotCopied) {
    auto person = std::make_shared<platform::ui::ScriptedPresenter>();
    platform::ui::PresenterScope scope(person);
    for (int i = 0; i < 300; ++i)
        insert(L"Entry " + std::to_wstring(i) + std::wstring(600, L'b'));
    plugin::closeRepository();
    overwriteMiddlePage(folder_ / "tamrix.db");

    EXPECT_EQ(plugin::OpenRepository(path_), 0);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "tamrix.db.bak"));
    const auto texts = person->messageTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find(L"No backup"), std::wstring::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_),
                            std::filesystem::directory_iterator()),
              1)
        << "no temporary copy is left behind";
}

TEST_F(RepositoryTest, AnEmptiedRepositoryNeverReplacesItsBackup) {
    auto person = std::make_shared<platform::ui::ScriptedPresenter>();
    platform::ui::PresenterScope scope(person);
    const auto database = folder_ / "tamrix.db";
    const auto backup = folder_ / "tamrix.db.bak";
    insert(L"kept in the backup");
    ASSERT_EQ(plugin::OpenRepository(path_), 0);
    ASSERT_TRUE(std::filesystem::exists(backup));
    ageFile(backup, 2 * 86400);
    const std::string goodBackup = contents(backup);

    // A crash or a full disk left the file cut to nothing.
    plugin::closeRepository();
    std::filesystem::resize_file(database, 0);
    EXPECT_EQ(plugin::OpenRepository(path_), 0);
    EXPECT_EQ(contents(backup), goodBackup);
    auto texts = person->messageTexts();
    ASSERT_EQ(texts.size(), 1u) << "the person learns of it";
    EXPECT_NE(texts[0].find(L"empty"), std::wstring::npos);
    EXPECT_NE(texts[0].find(path_ + L".bak"), std::wstring::npos);

    // A sound repository whose every entry is gone does not replace it either, and is not
    // reported; once it holds an entry again, the daily backup resumes.
    insert(L"new");
    std::vector<std::wstring> titles, guids;
    ASSERT_EQ(plugin::listTitles(titles, guids, L"", L""), 1);
    ASSERT_EQ(plugin::deleteEntry(guids[0]), 0);
    EXPECT_FALSE(plugin::backupRepository(L""));
    EXPECT_EQ(contents(backup), goodBackup);
    EXPECT_EQ(person->messageTexts().size(), 1u);
    insert(L"again");
    EXPECT_TRUE(plugin::backupRepository(L""));
    EXPECT_NE(contents(backup), goodBackup);
}
