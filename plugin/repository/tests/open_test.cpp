#include <sys/stat.h>
#include <utime.h>

#include <fstream>
#include <iterator>

#include "repository_fixture.h"

namespace {

std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void ageFile(const std::filesystem::path& path, long seconds) {
    struct utimbuf times {};
    times.actime = times.modtime = time(nullptr) - seconds;
    ASSERT_EQ(utime(path.c_str(), &times), 0);
}

}  // namespace

TEST_F(RepositoryTest, EmptyExistingFileGetsTheSchema) {
    plugin::closeRepository();
    const auto empty = folder_ / "empty.db";
    std::ofstream(empty).close();
    ASSERT_EQ(plugin::OpenRepository(platform::text::fromUtf8(empty.string())), 0);
    EXPECT_FALSE(insert(L"first").empty());
    EXPECT_EQ(plugin::repositoryPath(), platform::text::fromUtf8(empty.string()));
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
}

TEST_F(RepositoryTest, BackupIsADatabaseCopyMadeAtMostOnceADay) {
    const auto backup = folder_ / "tamrix.db.bak";
    EXPECT_FALSE(std::filesystem::exists(backup)) << "a new repository needs no backup";
    insert(L"kept");
    ASSERT_EQ(plugin::OpenRepository(path_), 0);
    ASSERT_TRUE(std::filesystem::exists(backup));

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
