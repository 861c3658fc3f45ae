#include "repository_fixture.h"

using plugin::EntryRecord;

namespace {

void setTags(const std::wstring& guid, const std::wstring& tags) {
    EntryRecord record;
    record.guid = guid;
    ASSERT_EQ(plugin::setEntryField(record, L"tags", tags), 0);
}

}  // namespace

TEST_F(RepositoryTest, ListDistinctSkipsEmptyValuesAndSplitsTagsKeepingTheirBlanks) {
    setTags(insert(L"one"), L"b,a");
    setTags(insert(L"two"), L" a, c ,, ");
    setTags(insert(L"three"), L"");
    std::vector<std::wstring> tags{L"stale"};
    EXPECT_EQ(plugin::listDistinct(L"tags", tags), 3);
    EXPECT_EQ(tags, (std::vector<std::wstring>{L" c ", L"a", L"b"}));

    std::vector<std::wstring> titles;
    EXPECT_EQ(plugin::listDistinct(L"title", titles), 3);
    EXPECT_EQ(plugin::listDistinct(L"nosuchcolumn", titles), -1);
}

TEST_F(RepositoryTest, ListTitlesTakesQuotedConditionsAndOrders) {
    const std::wstring quoted = insert(L"O'Brien's page", L"it's");
    insert(L"Another", L"other");
    insert(L"Zebra", L"it's");
    std::vector<std::wstring> titles;
    std::vector<std::wstring> guids;
    EXPECT_EQ(plugin::listTitles(titles, guids, L"category=" + plugin::sqlLiteral(L"it's"), L""),
              2);
    EXPECT_EQ(titles, (std::vector<std::wstring>{L"O'Brien's page", L"Zebra"}));
    EXPECT_EQ(guids.front(), quoted);

    titles.clear();
    guids.clear();
    EXPECT_EQ(plugin::listTitles(titles, guids, L"", L"title desc"), 3);
    EXPECT_EQ(titles.front(), L"Zebra");
    EXPECT_EQ(plugin::listTitles(titles, guids, L"broken (", L""), -1);
}

TEST_F(RepositoryTest, NewestLogValueIsEmptyOnEmptyLogAndNewestAfterWrites) {
    EXPECT_EQ(plugin::newestLogValue(L"updateTime"), L"");
    EntryRecord record;
    ASSERT_TRUE(plugin::readEntry(insert(L"x"), record));
    EXPECT_EQ(plugin::newestLogValue(L"updateTime"), record.updateTime);
    EXPECT_EQ(plugin::newestLogValue(L"nosuchcolumn"), L"");
}

TEST_F(RepositoryTest, SuggestValuesPrefersLongestSharedPathsOfTheSite) {
    auto insertIn = [&](const std::wstring& category, const std::wstring& url) {
        insert(L"t", category, url);
    };
    insertIn(L"News/World", L"http://news.example/world/europe/item1");
    insertIn(L"News/World", L"http://news.example/world/europe/item2");
    insertIn(L"News/Sport", L"http://news.example/sport/item3");
    insertIn(L"Other", L"http://other.example/world/europe/item4");
    insertIn(L"Quote's", L"http://it's.example/world/europe/x");

    EXPECT_EQ(plugin::suggestValues(L"category", L"http://news.example/world/europe/new", 1),
              std::vector<std::wstring>{L"News/World"});
    EXPECT_EQ(plugin::suggestValues(L"category", L"http://news.example/world/europe/new", 3),
              std::vector<std::wstring>{L"News/World"});
    // The same path prefix on another site proposes nothing from this one.
    EXPECT_TRUE(plugin::suggestValues(L"category", L"http://unknown.example/world/", 3).empty());
    // Scores of four or less propose nothing with several values asked for.
    EXPECT_TRUE(plugin::suggestValues(L"category", L"http://news.example/wo", 3).empty());
    EXPECT_EQ(plugin::suggestValues(L"category", L"http://it's.example/world/europe/y", 3),
              std::vector<std::wstring>{L"Quote's"});

    insertIn(L"Mixed", L"http://news.example/sport/item3x");
    EXPECT_EQ(plugin::suggestValues(L"category", L"http://news.example/sport/item3", 3),
              (std::vector<std::wstring>{L"Mixed", L"News/Sport"}));
}
