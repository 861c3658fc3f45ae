#include <sys/wait.h>
#include <unistd.h>

#include "repository_fixture.h"

using plugin::EntryRecord;

TEST_F(RepositoryTest, InsertMakesGuidIdTimesSiteAndLogRow) {
    const std::wstring guid = insert(L"It's a title", L"", L"https://user@host:8080/path?q");
    ASSERT_FALSE(guid.empty());
    EXPECT_EQ(guid[0], L'A');
    EXPECT_GE(guid.size(), 36u);

    EntryRecord read;
    ASSERT_TRUE(plugin::readEntry(guid.substr(0, 8), read));
    EXPECT_EQ(read.guid, guid);
    EXPECT_EQ(read.id, guid.substr(0, 8));
    EXPECT_EQ(read.title, L"It's a title");
    EXPECT_EQ(read.site, L"user@host:8080");
    EXPECT_EQ(read.type, L"clip");
    EXPECT_EQ(read.createTime, read.updateTime);
    EXPECT_EQ(scalar("select updateTime || '|' || name from log"),
              platform::text::toUtf8(read.createTime) + "|insert");

    EntryRecord withGuid;
    withGuid.guid = L"Bfixed-guid";
    withGuid.mode = 7;
    EXPECT_EQ(plugin::insertEntry(withGuid), L"Bfixed-guid");
    ASSERT_TRUE(plugin::readEntry(L"Bfixed-guid", read));
    EXPECT_EQ(read.id, L"Bfixed-g");
    EXPECT_EQ(read.mode, 7);
    EXPECT_FALSE(plugin::readEntry(L"' or '1'='1", read));
}

TEST_F(RepositoryTest, FailedWriterLeavesNeitherLogRowsNorChange) {
    EntryRecord record;
    record.guid = L"Aduplicate";
    ASSERT_EQ(plugin::insertEntry(record), L"Aduplicate");
    record.title = L"second";
    EXPECT_EQ(plugin::insertEntry(record), L"");
    EXPECT_EQ(scalar("select count(*) from log"), "1");
    EXPECT_EQ(scalar("select count(*) from entry"), "1");

    // A writer naming a column that does not exist fails after its log row was written.
    EXPECT_EQ(plugin::setEntryField(record, L"nosuchcolumn", L"x"), -1);
    EXPECT_EQ(plugin::renameFieldValue(L"nosuchcolumn", L"a", L"b"), -1);
    EXPECT_EQ(scalar("select count(*) from log"), "1");
}

TEST_F(RepositoryTest, WritersRefuseEmptyGuidAndLogEachChange) {
    EntryRecord empty;
    EXPECT_EQ(plugin::updateEntry(empty), -1);
    EXPECT_EQ(plugin::deleteEntry(L""), -1);
    EXPECT_EQ(plugin::setEntryField(empty, L"folder", L"x"), -1);
    EXPECT_EQ(plugin::setEntryIntField(empty, L"mode", 1), -1);
    EXPECT_EQ(scalar("select count(*) from log"), "0");

    EntryRecord record;
    ASSERT_TRUE(plugin::readEntry(insert(L"one"), record));
    record.title = L"renamed";
    record.site = L"kept-as-given";
    EXPECT_EQ(plugin::updateEntry(record), 0);
    EXPECT_EQ(plugin::setEntryField(record, L"folder", L"Inbox"), 0);
    EXPECT_EQ(plugin::setEntryIntField(record, L"mode", 2), 0);
    EntryRecord read;
    ASSERT_TRUE(plugin::readEntry(record.guid, read));
    EXPECT_EQ(read.title, L"renamed");
    EXPECT_EQ(read.site, L"kept-as-given");
    EXPECT_EQ(read.folder, L"Inbox");
    EXPECT_EQ(read.mode, 2);
    EXPECT_EQ(plugin::deleteEntry(record.guid), 0);
    EXPECT_FALSE(plugin::readEntry(record.guid, read));
    EXPECT_EQ(scalar("select group_concat(name, ',') from (select name from log order by rowid)"),
              "insert,update,update,update,delete");
}

TEST_F(RepositoryTest, RenameCategoryTakesExactlyTheSubtree) {
    for (const wchar_t* category : {L"A", L"A/B", L"A/A", L"AB", L"A_B", L"a/x", L"a", L"X/A"})
        insert(category, category);
    EXPECT_EQ(plugin::renameCategory(L"A", L"C"), 3);
    std::vector<std::wstring> categories;
    plugin::listDistinct(L"category", categories);
    std::sort(categories.begin(), categories.end());
    EXPECT_EQ(categories, (std::vector<std::wstring>{L"AB", L"A_B", L"C", L"C/A", L"C/B", L"X/A",
                                                     L"a", L"a/x"}));
    EXPECT_EQ(scalar("select count(*) from log where name='update'"), "3");

    // A new path below the old one is applied once, not again to the moved entries.
    EXPECT_EQ(plugin::renameCategory(L"C", L"C/D"), 3);
    EXPECT_EQ(scalar("select group_concat(category, ',') from (select category from entry "
                     "where title in ('A', 'A/B', 'A/A') order by title)"),
              "C/D,C/D/A,C/D/B");

    EXPECT_EQ(plugin::deleteCategory(L"C/D"), 0);
    EXPECT_EQ(scalar("select count(*) from entry"), "5");
    EXPECT_EQ(scalar("select count(*) from log where name='delete'"), "3");
    EXPECT_EQ(plugin::deleteCategory(L"A_B"), 0);
    EXPECT_EQ(scalar("select count(*) from entry where category like 'A%'"), "3");
}

TEST_F(RepositoryTest, FieldValueRenameAndDeleteMatchExactly) {
    EntryRecord record;
    for (const wchar_t* folder : {L"Inbox", L"Inbox", L"inbox", L"Inbox2"}) {
        ASSERT_TRUE(plugin::readEntry(insert(folder), record));
        plugin::setEntryField(record, L"folder", folder);
    }
    EXPECT_EQ(plugin::renameFieldValue(L"folder", L"Inbox", L"Read"), 0);
    EXPECT_EQ(scalar("select count(*) from entry where folder='Read'"), "2");
    EXPECT_EQ(plugin::deleteByFieldValue(L"folder", L"Read"), 0);
    EXPECT_EQ(scalar("select group_concat(folder, ',') from (select folder from entry order by "
                     "folder)"),
              "Inbox2,inbox");
    EXPECT_EQ(scalar("select count(*) from log where name='delete'"), "2");
}

TEST_F(RepositoryTest, TwoProcessesWritingAtOnceLoseNothing) {
    constexpr int kPerProcess = 60;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int failures = 0;
        for (int i = 0; i < kPerProcess; ++i)
            failures += insert(L"child " + std::to_wstring(i)).empty();
        _exit(failures);
    }
    int failures = 0;
    for (int i = 0; i < kPerProcess; ++i)
        failures += insert(L"parent " + std::to_wstring(i)).empty();
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(scalar("select count(*) from entry"), std::to_string(2 * kPerProcess));
    EXPECT_EQ(scalar("select count(*) from log"), std::to_string(2 * kPerProcess));
}
