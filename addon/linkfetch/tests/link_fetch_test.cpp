#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <thread>

#include "addon/linkfetch/fetch_task.h"
#include "addon/linkfetch/fetched_page.h"
#include "addon/linkfetch/link_fetch_pool.h"
#include "addon/readable/grab_rules.h"
#include "addon/readable/readable_markup.h"
#include "common/util/registry_int.h"
#include "platform/dom/document.h"
#include "platform/registry/store.h"
#include "testing/http/loopback_server.h"

using namespace addon;
using namespace std::chrono_literals;
using testing_http::LoopbackServer;
using testing_http::Reply;

namespace {

const std::string kArticle =
    "<html><head><title>Tom &amp; Jerry &lt;b&gt;</title></head><body>"
    "<div id='menu'><a href='/x'>Home</a> <a href='/y'>About</a></div>"
    "<div id='story'><p>The first paragraph of the story tells how the cat chased the mouse "
    "through the kitchen, past the table and under the old cupboard by the door.</p>"
    "<p>The second paragraph tells how the mouse got away through a hole in the wall, and "
    "how the cat sat there for the rest of the afternoon, waiting in vain.</p></div>"
    "</body></html>";

std::wstring widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

std::shared_ptr<platform::dom::Document> linkPage(const std::vector<std::wstring>& urls) {
    std::vector<common::StringPair> links;
    for (std::size_t i = 0; i < urls.size(); ++i)
        links.push_back({L"Link " + std::to_wstring(i), urls[i]});
    return platform::dom::Document::parse(L"<html><head></head><body>" + grabLinksMarkup(links) +
                                          L"</body></html>");
}

std::wstring contentOf(const platform::dom::Document& page, std::size_t i) {
    return page.getElementById(L"readable_content_" + std::to_wstring(i))->innerHTML();
}

std::wstring headerOf(const platform::dom::Document& page, std::size_t i) {
    return page.getElementById(L"readable_header_" + std::to_wstring(i))->innerHTML();
}

bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

void storeRequestSetting(const wchar_t* name, std::int32_t number) {
    common::registry_int<std::int32_t> value(
        std::wstring(L"Software\\Olvan\\Tamrix\\Request\\") + name,
        platform::registry::HKEY_CURRENT_USER, 0, common::kRegistryAlwaysStore);
    value = number;
    value.save();
}

class LinkFetchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(loadGrabRules(std::filesystem::path(TAMRIX_STAGE_DIR "/data/grab.xml").wstring()),
                  0);
    }

    platform::registry::ScopedMemoryRegistry registry_;
    LoopbackServer server_;
};

}  // namespace

TEST(FetchableLinks, OnlyHttpAndHttpsWithAHost) {
    EXPECT_TRUE(isFetchableLink(L"http://127.0.0.1:8080/a"));
    EXPECT_TRUE(isFetchableLink(L"HTTPS://example.org"));
    EXPECT_FALSE(isFetchableLink(L"http:///etc/passwd"));
    EXPECT_FALSE(isFetchableLink(L"file:///etc/passwd"));
    EXPECT_FALSE(isFetchableLink(L"javascript:alert(1)"));
    EXPECT_FALSE(isFetchableLink(L"ftp://127.0.0.1/x"));
    EXPECT_FALSE(isFetchableLink(L"tarn://tamrix/latest"));
}

namespace {

// The story with relative links and pictures, as a site writes them.
const std::string kRelativeStory =
    "<html><head><title>Relative</title></head><body><div id='story'>"
    "<p>The first paragraph of the story tells how the cat chased the mouse <a "
    "href='next.html'>on and on</a> through the kitchen, past the table and the cupboard.</p>"
    "<p><img src='/img/cat.png' alt='cat'> The second paragraph tells how the mouse got away "
    "through a hole in the wall, <a href='../up.html'>and up</a> while the cat sat waiting.</p>"
    "<p>A third paragraph <a href='https://other.example/x'>elsewhere</a> and <a "
    "href='#note'>a note</a> ends the story of the cat and the mouse for the day.</p>"
    "</div></body></html>";

}  // namespace

TEST_F(LinkFetchTest, RelativeLinksAndPicturesResolveAgainstTheFetchedPage) {
    const auto read = readFetchedPage(widen(kRelativeStory), L"http://news.example/world/a/story");
    ASSERT_TRUE(read);
    ASSERT_EQ(read->blocks.size(), 1u);
    const std::wstring& block = read->blocks[0];
    EXPECT_NE(block.find(L"http://news.example/world/a/next.html"), std::wstring::npos) << block;
    EXPECT_NE(block.find(L"http://news.example/img/cat.png"), std::wstring::npos) << block;
    EXPECT_NE(block.find(L"http://news.example/world/up.html"), std::wstring::npos) << block;
    EXPECT_NE(block.find(L"https://other.example/x"), std::wstring::npos) << block;

    // A base element of the page wins over the page's own address.
    std::string withBase = kRelativeStory;
    withBase.replace(withBase.find("</title>") + 8, 0, "<base href='/archive/'>");
    const auto based = readFetchedPage(widen(withBase), L"http://news.example/world/a/story");
    ASSERT_TRUE(based);
    ASSERT_EQ(based->blocks.size(), 1u);
    EXPECT_NE(based->blocks[0].find(L"http://news.example/archive/next.html"), std::wstring::npos)
        << based->blocks[0];
}

TEST_F(LinkFetchTest, CapitalSchemesAreFetchedAndRedirectsMoveTheBase) {
    server_.reply("/old", testing_http::redirectTo("/new/dir/story"));
    server_.reply("/new/dir/story", Reply{200, kRelativeStory, "text/html; charset=utf-8"});
    const std::wstring address = widen(server_.url("/old"));
    const std::vector<std::wstring> urls = {L"HTTP://" + address.substr(7)};
    const auto page = linkPage(urls);
    GrabLinksThread worker(urls, page, LinkFetchSettings{1, 1, 3s});
    ASSERT_TRUE(worker.waitForEnd(10s));
    page->pumpTasks();
    ASSERT_EQ(server_.requests().size(), 2u);
    const std::wstring content = contentOf(*page, 0);
    EXPECT_NE(content.find(widen(server_.url("/new/dir/next.html"))), std::wstring::npos)
        << content;
    EXPECT_NE(content.find(widen(server_.url("/img/cat.png"))), std::wstring::npos) << content;
}

TEST(FetchedPages, ResultMarkupEscapesAndSeparatesBlocks) {
    const FetchedPage page{L"A <b> & 'c'", {L"<p>one</p>", L"<p>two</p>"}};
    const LinkResultMarkup markup = linkResultMarkup(L"http://h/?a=1&b='2'", true, page);
    EXPECT_EQ(markup.header,
              L"<a href='http://h/?a=1&amp;b=&#39;2&#39;'>A &lt;b&gt; &amp; &#39;c&#39;</a>");
    EXPECT_EQ(markup.content,
              L"<div class='readable_content_item'><p>one</p></div><hr width='100%'/>"
              L"<div class='readable_content_item'><p>two</p></div>");
    EXPECT_EQ(linkResultMarkup(L"http://h/", true, {L"Only a title", {}}).content, L"Can't Grab!");
    EXPECT_EQ(linkResultMarkup(L"http://h/", true, {L"", {L"<p>x</p>"}}).content, L"Can't Grab!");
    const LinkResultMarkup failed = linkResultMarkup(L"http://h/", false, page);
    EXPECT_EQ(failed.content, L"Load Timeout");
    EXPECT_EQ(failed.header, L"");
}

TEST_F(LinkFetchTest, ReadingAPageStopsBetweenItsSteps) {
    const std::optional<FetchedPage> whole = readFetchedPage(widen(kArticle), L"");
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->title, L"Tom & Jerry <b>");
    ASSERT_EQ(whole->blocks.size(), 1u);
    EXPECT_NE(whole->blocks[0].find(L"second paragraph"), std::wstring::npos);
    // A stop that comes after any number of steps gives nothing; the steps are asked in
    // turn, and a read that is never stopped gives the same page.
    int asked = 0;
    for (int stopAfter = 0;; ++stopAfter) {
        asked = 0;
        const auto read =
            readFetchedPage(widen(kArticle), L"", [&] { return asked++ >= stopAfter; });
        if (read) {
            EXPECT_EQ(read->title, whole->title);
            EXPECT_EQ(read->blocks, whole->blocks);
            break;
        }
        EXPECT_EQ(asked, stopAfter + 1);
        ASSERT_LT(stopAfter, 10);
    }
    EXPECT_GE(asked, 3);
}

TEST_F(LinkFetchTest, SettingsComeFromTheRegistryWithSaneBounds) {
    const LinkFetchSettings defaults = LinkFetchSettings::read();
    EXPECT_EQ(defaults.number, 2);
    EXPECT_EQ(defaults.retries, 3);
    EXPECT_EQ(defaults.timeout, 20s);
    storeRequestSetting(L"Number", -3);
    storeRequestSetting(L"Retry", 0);
    storeRequestSetting(L"Timeout", 0);
    const LinkFetchSettings bounded = LinkFetchSettings::read();
    EXPECT_EQ(bounded.number, 0);
    EXPECT_EQ(bounded.retries, 1);
    EXPECT_EQ(bounded.timeout, 1s);
}

TEST_F(LinkFetchTest, EveryPlaceholderGetsItsResultOnThePagesOwnThread) {
    server_.reply("/article", Reply{200, kArticle, "text/html; charset=utf-8"});
    server_.reply(
        "/title-only",
        Reply{200, "<html><head><title>Nothing</title></head><body></body></html>", "text/html"});
    server_.reply("/slow", Reply{200, kArticle, "text/html", {}, 5s});
    const std::vector<std::wstring> urls = {
        widen(server_.url("/article")),
        widen(server_.url("/title-only")),
        widen(server_.url("/missing")),
        widen(server_.url("/slow")),
        L"ftp://127.0.0.1:" + std::to_wstring(server_.port()) + L"/ftp",
        L"javascript:alert(1)",
        widen(server_.url("/article")),
    };
    const auto page = linkPage(urls);
    const std::wstring pageBefore = page->markup();

    const auto started = std::chrono::steady_clock::now();
    GrabLinksThread worker(urls, page, LinkFetchSettings{3, 1, 1s});
    ASSERT_TRUE(worker.waitForEnd(10s));
    EXPECT_LT(std::chrono::steady_clock::now() - started, 4s) << "the slow link has a time limit";
    // Nothing reaches the page until its own thread runs the posted work.
    EXPECT_EQ(page->markup(), pageBefore);
    EXPECT_GT(page->pumpTasks(), 0u);

    for (std::size_t i : {0u, 6u}) {
        EXPECT_NE(contentOf(*page, i).find(L"the cat sat there"), std::wstring::npos) << i;
        EXPECT_EQ(contentOf(*page, i).find(L"About"), std::wstring::npos) << "menu is not content";
        const auto header = page->getElementById(L"readable_header_" + std::to_wstring(i));
        ASSERT_EQ(header->getElementsByTagName(L"A").size(), 1u);
        EXPECT_EQ(header->innerText(), L"Tom & Jerry <b>");
        EXPECT_EQ(header->getElementsByTagName(L"A")[0]->getAttribute(L"href"), urls[i]);
    }
    EXPECT_EQ(contentOf(*page, 1), L"Can't Grab!");
    for (std::size_t i : {2u, 3u, 4u, 5u}) {
        EXPECT_EQ(contentOf(*page, i), L"Load Timeout") << i;
        EXPECT_NE(headerOf(*page, i).find(L"Link " + std::to_wstring(i)), std::wstring::npos)
            << "a failed link keeps its title";
    }
    for (const auto& request : server_.requests())
        EXPECT_NE(request.path, "/ftp");
}

TEST_F(LinkFetchTest, NoMoreFetchesAtOnceThanRequestNumber) {
    storeRequestSetting(L"Number", 2);
    server_.reply("/page", Reply{200, kArticle, "text/html", {}, 600ms});
    std::vector<std::wstring> urls;
    for (int i = 0; i < 5; ++i)
        urls.push_back(widen(server_.url("/page?n=" + std::to_string(i))));
    const auto page = linkPage(urls);

    GrabLinksThread worker(urls, page);
    ASSERT_TRUE(waitUntil([&] { return server_.requests().size() >= 2; }, 3s));
    std::this_thread::sleep_for(250ms);
    EXPECT_EQ(server_.requests().size(), 2u);
    ASSERT_TRUE(worker.waitForEnd(15s));
    ASSERT_EQ(server_.requests().size(), 5u);
    // Started in list order: two at a time, each pair in whichever order it arrived.
    std::vector<std::string> targets;
    for (const auto& request : server_.requests())
        targets.push_back(request.target);
    std::sort(targets.begin(), targets.begin() + 2);
    std::sort(targets.begin() + 2, targets.begin() + 4);
    EXPECT_EQ(targets, (std::vector<std::string>{"/page?n=0", "/page?n=1", "/page?n=2", "/page?n=3",
                                                 "/page?n=4"}));
    EXPECT_LE(worker.peakTasks(), 2);
    page->pumpTasks();
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_NE(contentOf(*page, i).find(L"the cat sat there"), std::wstring::npos) << i;
}

TEST_F(LinkFetchTest, APoolOfSizeZeroEndsAtOnceAndLeavesThePage) {
    storeRequestSetting(L"Number", 0);
    const std::vector<std::wstring> urls = {widen(server_.url("/page"))};
    const auto page = linkPage(urls);
    const std::wstring before = page->markup();
    GrabLinksThread worker(urls, page);
    ASSERT_TRUE(worker.waitForEnd(2s));
    EXPECT_EQ(page->pumpTasks(), 0u);
    EXPECT_EQ(page->markup(), before);
    EXPECT_TRUE(server_.requests().empty());
}

TEST_F(LinkFetchTest, StoppingMidFetchCancelsAndJoinsQuickly) {
    server_.reply("/stall", Reply{200, kArticle, "text/html", {}, 20s});
    const std::vector<std::wstring> urls = {widen(server_.url("/stall?1")),
                                            widen(server_.url("/stall?2")),
                                            widen(server_.url("/stall?3"))};
    const auto page = linkPage(urls);
    auto worker = startGrabLinksWorker(page, {{L"a", urls[0]}, {L"b", urls[1]}, {L"c", urls[2]}});
    ASSERT_TRUE(waitUntil([&] { return server_.requests().size() >= 2; }, 3s));

    const auto stopping = std::chrono::steady_clock::now();
    worker.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - stopping, 1s);
    page->pumpTasks();
    for (std::size_t i = 0; i < urls.size(); ++i)
        EXPECT_NE(contentOf(*page, i).find(L"Loading ..."), std::wstring::npos) << i;
    EXPECT_EQ(server_.requests().size(), 2u);
}

TEST_F(LinkFetchTest, ResultsForAPageThatIsGoneAreDropped) {
    server_.reply("/article", Reply{200, kArticle, "text/html"});
    const std::vector<std::wstring> urls = {widen(server_.url("/article"))};
    auto page = linkPage(urls);
    GrabLinksThread worker(urls, page, LinkFetchSettings{1, 1, 2s});
    page.reset();
    EXPECT_TRUE(worker.waitForEnd(5s));
    EXPECT_EQ(server_.requests().size(), 1u);
}
