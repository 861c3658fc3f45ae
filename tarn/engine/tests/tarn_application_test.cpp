#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "common/util/engine_folder.h"
#include "common/util/file_tools.h"
#include "engine_fixture.h"
#include "tarn/engine/request_parameters.h"
#include "tarn/engine/result_cache.h"
#include "testing/http/loopback_server.h"

namespace {

using tarn::TarnApplication;
using tarn::TarnResponse;
using tarn_test::EngineTest;
using tarn_test::xmlPage;

constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

// A page that shows the entry whose id is the URL's "id" parameter.
std::string itemPage(bool cached) {
    return xmlPage(
        R"(<Tarn database="test.db"><request name="*" method="SQL" value="select title from entry where id=?"><bind type="int" value="{$id}"/></request></Tarn>)",
        cached ? R"(<xsl:define name="support_cache" value="True"/>)" : "");
}

std::string expectedItem(const std::string& title) {
    return std::string(kDeclaration) + "<storage><item><title>" + title +
           "</title></item></storage>\n";
}

std::string request(const std::wstring& url) {
    TarnResponse response;
    return TarnApplication::request(url, response) == 0 ? response.content : "NO PAGE";
}

void setTime(const std::wstring& path, std::filesystem::file_time_type time) {
    std::filesystem::last_write_time(std::filesystem::path(path), time);
}

TEST(RequestParameters, SplitQueryAndPathIntoNamedParameters) {
    const tarn::Parameters expected{{L"id", L"5"},
                                    {L"sort", L""},
                                    {L"request_name", L"folder"},
                                    {L"request_value", L"list"},
                                    {L"request_params", L"id=5&sort="},
                                    {L"request_value2", L"list?id=5&sort="}};
    EXPECT_EQ(tarn::requestParameters(L"folder/list?id=5&sort="), expected);
    const tarn::Parameters latest{{L"request_name", L"latest"},
                                  {L"request_value", L""},
                                  {L"request_params", L""},
                                  {L"request_value2", L""}};
    EXPECT_EQ(tarn::requestParameters(L"latest"), latest);
}

TEST_F(EngineTest, RegistrationKeepsOrderAndMatchesWholeUrls) {
    const std::wstring first = writePage("first.xsl", xmlPage("<Tarn name=\"first\"/>"));
    const std::wstring second = writePage("second.xsl", xmlPage("<Tarn name=\"second\"/>"));
    EXPECT_TRUE(TarnApplication::reg(first, L"//t/item", 0));
    EXPECT_FALSE(TarnApplication::reg(second, L"//t/item", 0));
    EXPECT_TRUE(TarnApplication::reg(second, L"//t/item", 1));
    EXPECT_TRUE(TarnApplication::reg(second, L"//t/li.t", 1));

    EXPECT_EQ(request(L"//t/item?x=1"), std::string(kDeclaration) + "<first/>\n");
    EXPECT_EQ(request(L"//t/list"), std::string(kDeclaration) + "<second/>\n");
    EXPECT_EQ(request(L"//t/lists"), "NO PAGE");
    EXPECT_EQ(request(L"x//t/list"), "NO PAGE");
    EXPECT_EQ(request(L"//t/ITEM"), "NO PAGE");

    EXPECT_TRUE(TarnApplication::reg(first, L"?query", 0));
    EXPECT_EQ(request(L"?query"), std::string(kDeclaration) + "<first/>\n");

    EXPECT_TRUE(TarnApplication::unreg(L"//t/item", 0));
    EXPECT_FALSE(TarnApplication::unreg(L"//t/item", 0));
    EXPECT_EQ(request(L"//t/item"), std::string(kDeclaration) + "<second/>\n");

    EXPECT_TRUE(TarnApplication::reg(writePage("bad.xsl", "<broken"), L"//t/bad", 0));
    EXPECT_EQ(TarnApplication::request(L"//t/bad", false), nullptr);
    EXPECT_EQ(request(L"//t/bad"), "NO PAGE");
    EXPECT_NE(TarnApplication::request(L"//t/list", false), nullptr);
}

TEST_F(EngineTest, CacheServesEachUrlItsOwnContentWhileDatabaseAndPageStayAsTheyWere) {
    const std::wstring page = writePage("item.xsl", itemPage(true));
    const auto now = std::filesystem::file_time_type::clock::now();
    setTime(page, now - std::chrono::hours(3));
    ASSERT_TRUE(TarnApplication::reg(page, L"//t/item", 0));
    ASSERT_EQ(request(L"//t/item?id=1"), expectedItem("First"));
    ASSERT_EQ(request(L"//t/item?id=3"), expectedItem("Third"));

    const std::wstring cacheFolder = common::engineFolder(L"UserCache");
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(cacheFolder)) {
        files.push_back(entry.path());
    }
    ASSERT_EQ(files.size(), 2u);
    const std::string prefix = plugins_.path().filename().string() + "-item.xsl.";
    EXPECT_EQ(files[0].filename().string().rfind(prefix, 0), 0u) << files[0];

    // Entries are served while the database and the page stay as they were: content put
    // into an entry (its stamp kept) is what the next request gets.
    const std::wstring database = databasePath();
    const tarn::CacheEntry first{L"//t/item?id=1", database, page,
                                 tarn::cacheStamp(database, page)};
    const auto firstFile = std::find_if(files.begin(), files.end(), [&](const auto& file) {
        return tarn::readCacheEntry(file.wstring(), first).has_value();
    });
    ASSERT_NE(firstFile, files.end());
    const std::string prefixPath = firstFile->string().substr(0, firstFile->string().size() - 16);
    ASSERT_TRUE(tarn::writeCacheEntry(firstFile->wstring(),
                                      std::wstring(prefixPath.begin(), prefixPath.end()), first,
                                      expectedItem("Kept!")));
    TarnApplication::request(L"//t/item?id=1", false)->clearCache(false);
    EXPECT_EQ(request(L"//t/item?id=1"), expectedItem("Kept!"));
    EXPECT_EQ(request(L"//t/item?id=3"), expectedItem("Third"));

    // An entry torn by a crash (content cut short, or a block of it changed) fails its
    // check: the page runs again.
    std::string bytes;
    ASSERT_NE(common::readFile(firstFile->wstring(), bytes, 1 << 20), common::kFileError);
    const std::string whole = bytes;
    for (const bool cut : {true, false}) {
        bytes = whole;
        if (cut) {
            bytes.resize(bytes.size() - 3);
        } else {
            bytes.replace(bytes.find("Kept!"), 5, "Torn!");
        }
        tarn_test::writeText(*firstFile, bytes);
        TarnApplication::request(L"//t/item?id=1", false)->clearCache(false);
        EXPECT_EQ(request(L"//t/item?id=1"), expectedItem("First")) << (cut ? "cut" : "changed");
    }
    {
        common::SqliteDB db(databasePath(), false);
        db.exec(L"update entry set title='Changed'");
    }
    EXPECT_EQ(request(L"//t/item?id=1"), expectedItem("Changed"));
    EXPECT_EQ(request(L"//t/item?id=2"), expectedItem("Changed"));

    // A cache file that cannot be read as this URL's runs the page.
    for (const auto& file : files) {
        tarn_test::writeText(file, "garbage");
        setTime(file.wstring(), now - std::chrono::hours(1));
    }
    EXPECT_EQ(request(L"//t/item?id=1"), expectedItem("Changed"));

    // A database newer than the cache runs the page again.
    {
        common::SqliteDB db(databasePath(), false);
        db.exec(L"update entry set title='Again' where id=3");
    }
    setTime(databasePath(), now);
    EXPECT_EQ(request(L"//t/item?id=3"), expectedItem("Again"));

    // A database written in the same clock tick as the entry may hold newer rows.
    {
        common::SqliteDB db(databasePath(), false);
        db.exec(L"update entry set title='Same tick' where id=3");
    }
    const auto tick = now + std::chrono::minutes(1);
    setTime(databasePath(), tick);
    for (const auto& entry : std::filesystem::directory_iterator(cacheFolder)) {
        setTime(entry.path().wstring(), tick);
    }
    EXPECT_EQ(request(L"//t/item?id=3"), expectedItem("Same tick"));
}

TEST_F(EngineTest, ACommitWhileThePageRunsIsNotMaskedByItsEntry) {
    testing_http::LoopbackServer server;
    server.reply("/wait", testing_http::Reply{.body = "<ok/>",
                                              .contentType = "text/xml",
                                              .delay = std::chrono::milliseconds(1500)});
    const std::wstring page = writePage(
        "slow.xsl",
        xmlPage(
            R"(<Tarn database="test.db"><request name="*" method="SQL" value="select title from entry where id=1"/>)"
            R"(<request name="wait" value="{$u}"/></Tarn>)",
            R"(<xsl:define name="support_cache" value="true"/>)"));
    ASSERT_TRUE(TarnApplication::reg(page, L"//t/slow", 0));
    const std::string wait = server.url("/wait");
    const std::wstring url = L"//t/slow?u=" + std::wstring(wait.begin(), wait.end());
    std::string first;
    std::thread running([&] { first = request(url); });
    for (int i = 0; i < 500 && server.requests().empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(server.requests().size(), 1u);
    {
        common::SqliteDB db(databasePath(), false);
        db.exec(L"update entry set title='Committed meanwhile' where id=1");
    }
    running.join();
    EXPECT_NE(first.find("<title>First</title>"), std::string::npos) << first;
    const std::string next = request(url);
    EXPECT_NE(next.find("<title>Committed meanwhile</title>"), std::string::npos) << next;
}

std::vector<std::string> cacheFileTexts() {
    std::vector<std::string> texts;
    for (const std::wstring& file :
         common::listFiles(common::engineFolder(L"UserCache"), L"*", false)) {
        std::string bytes;
        common::readFile(file, bytes, 1 << 20);
        texts.push_back(bytes);
    }
    return texts;
}

TEST_F(EngineTest, TheCacheIsBoundedAndForgetsDeletedRowsAtTheNextRequest) {
    ASSERT_TRUE(TarnApplication::reg(writePage("live.xsl", itemPage(false)), L"//t/live", 0));
    ASSERT_TRUE(TarnApplication::reg(writePage("item.xsl", itemPage(true)), L"//t/item", 0));
    EXPECT_EQ(request(L"//t/live?id=1"), expectedItem("First"));
    EXPECT_TRUE(cacheFileTexts().empty()) << "a page without support_cache keeps no entries";

    for (int i = 0; i < 40; ++i) {
        request(L"//t/item?id=2&n=" + std::to_wstring(i));
    }
    const auto texts = cacheFileTexts();
    EXPECT_EQ(texts.size(), tarn::kMaxEntriesPerPage);
    const auto holds = [&](const std::string& url) {
        return std::any_of(texts.begin(), texts.end(),
                           [&](const std::string& text) { return text.rfind(url + '\0', 0) == 0; });
    };
    EXPECT_TRUE(holds("//t/item?id=2&n=39"));
    EXPECT_FALSE(holds("//t/item?id=2&n=0"));

    // Files that are not entries are left alone, but what a crashed writer left goes.
    const std::filesystem::path cache(common::engineFolder(L"UserCache"));
    const std::filesystem::path foreign = cache / "notes.txt";
    tarn_test::writeText(foreign, "mine");
    const std::filesystem::path crashed = cache / "item.0123456789abcdef.tmp-99999-3";
    tarn_test::writeText(crashed, "//t/item?id=9");
    std::filesystem::last_write_time(
        crashed, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    const std::filesystem::path underWay = cache / "item.0123456789abcdef.tmp-99999-4";
    tarn_test::writeText(underWay, "being written");
    {
        common::SqliteDB db(databasePath(), false);
        db.exec(L"delete from entry where id=2");
    }
    EXPECT_EQ(request(L"//t/live?id=1"), expectedItem("First"));
    auto left = cacheFileTexts();
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"being written", "mine"}));
}

TEST_F(EngineTest, PagesWithoutCacheSupportRunEveryTime) {
    const std::wstring page = writePage("live.xsl", itemPage(false));
    ASSERT_TRUE(TarnApplication::reg(page, L"//t/live", 0));
    EXPECT_EQ(request(L"//t/live?id=1"), expectedItem("First"));
    {
        common::SqliteDB db(databasePath(), false);
        db.exec(L"update entry set title='Changed' where id=1");
    }
    setTime(databasePath(), std::filesystem::file_time_type::clock::now() - std::chrono::hours(5));
    EXPECT_EQ(request(L"//t/live?id=1"), expectedItem("Changed"));
    tarn::TarnPage* loaded = TarnApplication::request(L"//t/live?id=1", false);
    ASSERT_NE(loaded, nullptr);
    EXPECT_FALSE(loaded->dataReady());
}

TEST_F(EngineTest, TwoThreadsRequestingOnePageGetTheirOwnContent) {
    for (const bool cached : {false, true}) {
        const std::wstring page = writePage(cached ? "c.xsl" : "n.xsl", itemPage(cached));
        const std::wstring url = cached ? L"//t/c" : L"//t/n";
        ASSERT_TRUE(TarnApplication::reg(page, url, 0));
        std::atomic<int> wrong{0};
        const auto worker = [&](const std::wstring& id, const std::string& expected) {
            for (int i = 0; i < 40; ++i) {
                if (request(url + L"?id=" + id) != expected) {
                    ++wrong;
                }
            }
        };
        std::thread one(worker, L"1", expectedItem("First"));
        std::thread three(worker, L"3", expectedItem("Third"));
        one.join();
        three.join();
        EXPECT_EQ(wrong.load(), 0) << (cached ? "cached" : "uncached");
    }
}

TEST_F(EngineTest, TermForgetsPagesRegistrationsAndTheRepository) {
    ASSERT_TRUE(TarnApplication::reg(writePage("a.xsl", itemPage(false)), L"//t/a", 0));
    ASSERT_EQ(request(L"//t/a?id=1"), expectedItem("First"));
    TarnApplication::term();
    EXPECT_EQ(TarnApplication::getRepositoryFilePath(), L"");
    EXPECT_EQ(request(L"//t/a?id=1"), "NO PAGE");
    EXPECT_TRUE(TarnApplication::reg(writePage("a.xsl", itemPage(false)), L"//t/a", 0));
}

}  // namespace
