// A writer killed in the middle of its transaction leaves a hot journal beside the database;
// readers that come after it must roll it back (or wait it out) and read, never fail.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "common/sqlite/sqlite_db.h"
#include "platform/text/utf.h"

namespace fs = std::filesystem;

namespace {

class HotJournalTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/hot-journal-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        file_ = dir_ / "repository.db";
        common::SqliteDB db(wide(file_), false);
        db.exec(L"create table t (v text); insert into t values ('committed');");
    }
    void TearDown() override {
        fs::permissions(dir_, fs::perms::owner_all);
        fs::remove_all(dir_);
    }

    static std::wstring wide(const fs::path& p) { return platform::text::fromUtf8(p.string()); }

    // A child process writes far more than its page cache holds, so SQLite spills changed
    // pages into the database file before the commit, and is killed before committing.
    void killWriterMidTransaction() const {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            sqlite3* db = nullptr;
            sqlite3_open_v2(file_.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
            sqlite3_exec(db,
                         "PRAGMA cache_size=2; begin; "
                         "with recursive n(i) as (select 1 union all select i+1 from n "
                         "where i < 400) insert into t select hex(randomblob(2000)) from n; "
                         "update t set v = 'changed' where v = 'committed';",
                         nullptr, nullptr, nullptr);
            ::kill(::getpid(), SIGKILL);
            _exit(1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        ASSERT_TRUE(fs::exists(dir_ / "repository.db-journal")) << "the journal is hot";
    }

    std::wstring readFirst(common::SqliteDB& db) const {
        common::SqliteQuery rows = db.prepareStatement(L"select v from t order by rowid;").query();
        return rows.eof() ? L"<none>" : rows.columnText(0);
    }

    fs::path dir_;
    fs::path file_;
};

TEST_F(HotJournalTest, AReaderRollsBackTheJournalOfAKilledWriter) {
    killWriterMidTransaction();
    common::SqliteDB reader(wide(file_), true);
    ASSERT_TRUE(reader.isOpen());
    EXPECT_EQ(readFirst(reader), L"committed");
    common::SqliteQuery count = reader.prepareStatement(L"select count(*) from t;").query();
    EXPECT_EQ(count.columnText(0), L"1") << "nothing of the killed transaction is seen";
    EXPECT_FALSE(fs::exists(dir_ / "repository.db-journal"));
    EXPECT_EQ(common::SqliteDB(wide(file_), true)
                  .prepareStatement(L"pragma quick_check;")
                  .query()
                  .columnText(0),
              std::wstring(L"ok"));
}

TEST_F(HotJournalTest, AReaderStillRefusesChangesAndNeverCreatesTheFile) {
    common::SqliteDB reader(wide(file_), true);
    EXPECT_EQ(reader.isReadOnly(), true);
    try {
        reader.exec(L"insert into t values ('written by a reader');");
        ADD_FAILURE() << "a reader wrote";
    } catch (const common::SqliteException& refused) {
        EXPECT_EQ(refused.code() & 0xFF, SQLITE_READONLY);
    }
    EXPECT_EQ(readFirst(reader), L"committed");

    common::SqliteDB missing(wide(dir_ / "absent.db"), true);
    EXPECT_FALSE(missing.isOpen());
    EXPECT_FALSE(fs::exists(dir_ / "absent.db"));
}

TEST_F(HotJournalTest, AFileTheUserMayNotWriteStillOpensForReading) {
    fs::permissions(file_, fs::perms::owner_read);
    common::SqliteDB reader(wide(file_), true);
    ASSERT_TRUE(reader.isOpen());
    EXPECT_EQ(readFirst(reader), L"committed");
}

}  // namespace
