#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "common/sqlite/sqlite_db.h"
#include "platform/text/utf.h"

using namespace common;
namespace fs = std::filesystem;

namespace {

std::wstring wide(const fs::path& p) {
    return platform::text::fromUtf8(p.string());
}

class SqliteTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/sqlite-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::wstring path(const std::string& name) const { return wide(dir_ / name); }

    fs::path dir_;
};

// Runs `call` and returns the SqliteException it throws; fails the test when none comes.
template <typename Call>
SqliteException thrownBy(Call call) {
    try {
        call();
    } catch (const SqliteException& e) {
        return e;
    }
    ADD_FAILURE() << "no SqliteException";
    return SqliteException(0, L"");
}

std::vector<std::wstring> column(SqliteDB& db, const std::wstring& sql) {
    std::vector<std::wstring> values;
    SqliteQuery query = db.prepareStatement(sql).query();
    for (; !query.eof(); query.next())
        values.push_back(query.columnText(0));
    return values;
}

}  // namespace

TEST_F(SqliteTest, TypedBindsRoundTripAndNullReadsAsEmpty) {
    SqliteDB db(path("t.db"), false);
    db.exec(L"create table t (s text, i integer, d real, n text);");
    SqliteStatement insert = db.prepareStatement(L"insert into t values (?,?,?,?);");
    insert.bind(1, std::wstring(L"caf\u00e9 \u65e5\u672c \U0001F600"));
    insert.bind(2, -2147483647 - 1);
    insert.bind(3, 2.5);
    EXPECT_EQ(insert.exec(), 1);
    insert.bind(1, L"second");
    EXPECT_EQ(insert.exec(), 1);
    EXPECT_EQ(db.totalChanges(), 2);

    SqliteQuery query = db.prepareStatement(L"select s, i, d, n, typeof(i) from t;").query();
    ASSERT_EQ(query.columnCount(), 5);
    EXPECT_EQ(query.columnName(1), L"i");
    EXPECT_EQ(query.columnText(0), L"caf\u00e9 \u65e5\u672c \U0001F600");
    EXPECT_EQ(query.columnText(1), L"-2147483648");
    EXPECT_EQ(query.columnText(2), L"2.5");
    EXPECT_EQ(query.columnText(3), L"");
    EXPECT_EQ(query.columnText(4), L"integer");
    query.next();
    ASSERT_FALSE(query.eof());
    EXPECT_EQ(query.columnText(0), L"second");
    query.next();
    EXPECT_TRUE(query.eof());
    query.next();  // stays at the end instead of running the statement again
    EXPECT_TRUE(query.eof());
}

TEST_F(SqliteTest, ExceptionTextsNameTheCode) {
    SqliteDB missing(path("absent.db"), true);
    EXPECT_FALSE(missing.isOpen());
    EXPECT_FALSE(fs::exists(dir_ / "absent.db"));
    SqliteException closed = thrownBy([&] { missing.exec(L"select 1;"); });
    EXPECT_EQ(closed.code(), 1000);
    EXPECT_EQ(closed.message(), L"SQLITE_WRAPPER_ERROR[1000]: Database not open");
    EXPECT_STREQ(closed.what(), "SQLITE_WRAPPER_ERROR[1000]: Database not open");

    SqliteDB db(path("t.db"), false);
    db.exec(L"create table t (k text primary key);");
    db.exec(L"insert into t values ('a');");
    SqliteException duplicate = thrownBy([&] { db.exec(L"insert into t values ('a');"); });
    EXPECT_EQ(duplicate.code(), 19);
    EXPECT_EQ(duplicate.message(), L"SQLITE_CONSTRAINT[19]: UNIQUE constraint failed: t.k");

    SqliteException syntax = thrownBy([&] { db.prepareStatement(L"selec 1;"); });
    EXPECT_EQ(syntax.message(), L"SQLITE_ERROR[1]: near \"selec\": syntax error");

    SqliteQuery query = db.prepareStatement(L"select k from t;").query();
    for (int bad : {-1, 1})
        EXPECT_EQ(thrownBy([&] { query.columnText(bad); }).message(),
                  L"SQLITE_WRAPPER_ERROR[1000]: Invalid field index requested");

    SqliteStatement empty;
    EXPECT_EQ(thrownBy([&] { empty.bind(1, 3); }).message(),
              L"SQLITE_WRAPPER_ERROR[1000]: Null Virtual Machine pointer");
    SqliteStatement twoParams = db.prepareStatement(L"select ?;");
    SqliteException range = thrownBy([&] { twoParams.bind(2, 1.0); });
    EXPECT_EQ(range.message(), L"SQLITE_RANGE[25]: Error binding double param");

    EXPECT_STREQ(SqliteException::errorCodeName(26), L"UNKNOWN_ERROR");
    EXPECT_STREQ(SqliteException::errorCodeName(101), L"SQLITE_DONE");
}

TEST_F(SqliteTest, ExecRunsEveryStatementAndDiscardsRows) {
    SqliteDB db(path("t.db"), false);
    db.exec(L"create table t (v integer); insert into t values (1);\n insert into t values (2); ");
    db.exec(L"select v from t;");
    EXPECT_EQ(column(db, L"select v from t order by v;"), (std::vector<std::wstring>{L"1", L"2"}));
    SqliteStatement update = db.prepareStatement(L"update t set v = v + 10;");
    EXPECT_EQ(update.exec(), 2);
    EXPECT_EQ(update.exec(), 2);  // reset after each run
    EXPECT_EQ(column(db, L"select v from t order by v;"),
              (std::vector<std::wstring>{L"21", L"22"}));
}

TEST_F(SqliteTest, ReadOnlyOpenTakesLongUtf8PathsAndRefusesWrites) {
    fs::path deep = dir_;
    for (int i = 0; i < 12; ++i)
        deep /= std::string(30, 'a' + i) + "\u00e9";
    fs::create_directories(deep);
    const std::wstring file = wide(deep / "r\u00e9po.db");
    ASSERT_GT(file.size(), 300u);
    {
        SqliteDB writer(file, false);
        writer.exec(L"create table t (v); insert into t values ('x');");
    }
    SqliteDB reader(file, true);
    ASSERT_TRUE(reader.isOpen());
    EXPECT_TRUE(reader.isReadOnly());
    EXPECT_EQ(column(reader, L"select v from t;"), std::vector<std::wstring>{L"x"});
    EXPECT_EQ(thrownBy([&] { reader.exec(L"insert into t values ('y');"); }).code(), 8);
}

TEST_F(SqliteTest, BusyIsAnErrorOnStatementsAndOnCommit) {
    SqliteDB first(path("shared.db"), false);
    first.exec(L"create table t (v text);");
    SqliteDB second(path("shared.db"), false);
    second.setBusyTimeout(100);

    first.exec(L"begin immediate; insert into t values ('first');");
    SqliteException busy = thrownBy([&] { second.exec(L"insert into t values ('second');"); });
    EXPECT_EQ(busy.code(), 5);
    EXPECT_EQ(busy.message(), L"SQLITE_BUSY[5]: database is locked");
    SqliteStatement insert = second.prepareStatement(L"insert into t values ('second');");
    EXPECT_EQ(thrownBy([&] { insert.exec(); }).code(), 5);
    first.exec(L"commit;");

    // A reader that holds its shared lock keeps the writer's commit from finishing: the
    // commit must report it, and the data must still be there to commit afterwards.
    second.exec(L"begin; insert into t values ('second');");
    SqliteQuery reading = first.prepareStatement(L"select v from t;").query();
    EXPECT_EQ(thrownBy([&] { second.exec(L"commit;"); }).code(), 5);
    reading.finalize();
    second.exec(L"commit;");
    EXPECT_EQ(column(first, L"select v from t order by v;"),
              (std::vector<std::wstring>{L"first", L"second"}));
}

TEST_F(SqliteTest, StatementsAndCursorsOutliveTheirConnection) {
    std::optional<SqliteQuery> query;
    {
        SqliteDB db(path("t.db"), false);
        db.exec(L"create table t (v); insert into t values (1), (2);");
        query.emplace(db.prepareStatement(L"select v from t order by v;").query());
    }
    EXPECT_EQ(query->columnText(0), L"1");
    query->next();
    EXPECT_EQ(query->columnText(0), L"2");
}

TEST_F(SqliteTest, ADatabaseItCreatesIsPrivateAndAnExistingOneKeepsItsMode) {
    const auto others = fs::perms::group_all | fs::perms::others_all;
    {
        SqliteDB db(path("new.db"), false);
        db.exec(L"create table t (x); begin; insert into t values (1);");
        // The rollback journal of an open transaction takes the database's mode.
        ASSERT_TRUE(fs::exists(dir_ / "new.db-journal"));
        EXPECT_EQ(fs::status(dir_ / "new.db-journal").permissions() & others, fs::perms::none);
        db.exec(L"commit;");
    }
    EXPECT_EQ(fs::status(dir_ / "new.db").permissions() & others, fs::perms::none);

    { SqliteDB db(path("shared.db"), false); }
    fs::permissions(dir_ / "shared.db", fs::perms::group_read | fs::perms::others_read,
                    fs::perm_options::add);
    SqliteDB reopened(path("shared.db"), false);
    EXPECT_NE(fs::status(dir_ / "shared.db").permissions() & fs::perms::others_read,
              fs::perms::none);
}
