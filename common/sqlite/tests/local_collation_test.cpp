#include <gtest/gtest.h>
#include <locale.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "common/sqlite/local_collation.h"
#include "common/sqlite/sqlite_db.h"

using namespace common;
namespace fs = std::filesystem;

extern char** environ;

// glibc keeps the search list it builds from LOCPATH for the life of the process; the
// leak checker of the sanitizer build is told so.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:__argz_add_sep\n";
}

namespace {

std::vector<std::wstring> sortedLocally(SqliteDB& db) {
    std::vector<std::wstring> values;
    SqliteQuery query = db.prepareStatement(L"select v from t order by v collate local;").query();
    for (; !query.eof(); query.next())
        values.push_back(query.columnText(0));
    return values;
}

// Makes a German collation available: the installed one, or one compiled with localedef
// into `dir` (LOCPATH then points there). False when neither is possible.
bool provideGermanLocale(const fs::path& dir) {
    if (locale_t installed = newlocale(LC_COLLATE_MASK, "de_DE.UTF-8", nullptr)) {
        freelocale(installed);
        return true;
    }
    const std::string target = (dir / "de_DE.UTF-8").string();
    const char* argv[] = {"localedef", "-i", "de_DE", "-f", "UTF-8", target.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "localedef", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
        return false;
    int status = 0;
    waitpid(pid, &status, 0);
    setenv("LOCPATH", dir.c_str(), 1);
    return fs::exists(target);
}

}  // namespace

TEST(LocalCollation, OrdersByLocaleWithEmptyTextsFirst) {
    char pattern[] = "/tmp/collation-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const fs::path dir = pattern;
    SqliteDB db((dir / "t.db").wstring(), false);
    db.exec(L"create table t (v text);");
    for (const wchar_t* v : {L"f", L"\u00e9t\u00e9", L"", L"Zebra", L"ete", L"apple"}) {
        SqliteStatement insert = db.prepareStatement(L"insert into t values (?);");
        insert.bind(1, v);
        insert.exec();
    }

    EXPECT_FALSE(setCollationLocale("xx_NOWHERE.UTF-8"));  // falls back to C.UTF-8
    EXPECT_EQ(sortedLocally(db),
              (std::vector<std::wstring>{L"", L"Zebra", L"apple", L"ete", L"f", L"\u00e9t\u00e9"}));

    if (!provideGermanLocale(dir)) {
        fs::remove_all(dir);
        GTEST_SKIP() << "no German locale and no localedef";
    }
    EXPECT_TRUE(setCollationLocale("de_DE.UTF-8"));
    EXPECT_EQ(sortedLocally(db),
              (std::vector<std::wstring>{L"", L"apple", L"ete", L"\u00e9t\u00e9", L"f", L"Zebra"}));
    setCollationLocale("");
    fs::remove_all(dir);
}
