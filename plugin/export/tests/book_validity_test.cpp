// Books that reading systems accept (epubcheck finds no error and no warning), with the
// clip's pictures inside them, and HTML exports that carry no script.
#include <fstream>
#include <regex>

#include "plugin/export/exports.h"
#include "plugin/export/tests/export_fixture.h"
#include "testing/http/loopback_server.h"

namespace {

using namespace plugin;

const std::filesystem::path kTower =
    std::filesystem::path(TAMRIX_STAGE_DIR) / "data" / "examples" / "images" / "tower.jpg";
// The smallest GIF picture, one transparent pixel.
constexpr const char* kGifData =
    "data:image/gif;base64,R0lGODlhAQABAIAAAAAAAP///yH5BAEAAAAALAAAAAABAAEAAAIBRAA7";

std::vector<std::string> matches(const std::string& text, const std::string& pattern) {
    std::vector<std::string> found;
    const std::regex expression(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), expression);
         it != std::sregex_iterator(); ++it)
        found.push_back((*it)[1]);
    return found;
}

// The values of every `<img src="...">`, read without a regular expression: the standard
// library's matcher recurses once per character and runs out of stack on inlined pictures.
std::vector<std::string> pictureSources(const std::string& page) {
    std::vector<std::string> found;
    const std::string opening = "<img src=\"";
    for (auto start = page.find(opening); start != std::string::npos;
         start = page.find(opening, start)) {
        start += opening.size();
        const auto end = page.find('"', start);
        if (end == std::string::npos)
            break;
        found.push_back(page.substr(start, end - start));
    }
    return found;
}

std::string fileUrl(const std::filesystem::path& path) {
    return "file://" + path.string();
}

TEST_F(ExportTest, OrdinaryClipMarkupBecomesAValidBook) {
    const auto guid = insert(
        L"An ordinary clip", L"2024-01-01 10:00:00",
        L"Bare text first <img src=\"http://127.0.0.1:1/remote.png\"> and "
        L"<img src=\"relative/missing.png\" alt=\"a missing picture\">"
        L"<script>track()</script><p onclick=\"track()\">clicked <font color=red>red</font></p>"
        L"<center>centred</center><ul><li>one<li>two</ul><table><tr><td>cell</table>"
        L"<p><a href=\"javascript:x()\">script link</a> <a href=\"/local\">local link</a> "
        L"<a href=\"https://example.org/a b\">web link</a></p><iframe src=\"x\"></iframe>",
        L"", L"", L"http://127.0.0.1:1/article.html");
    const std::string page = exportedBookPage(guid, "ordinary.epub");
    for (const char* gone : {"<script", "onclick", "<font", "<center", "javascript:", "<iframe",
                             "remote.png", "missing.png"})
        EXPECT_EQ(page.find(gone), std::string::npos) << gone << " in " << page;
    EXPECT_NE(page.find("<p>Bare text first  and a missing picture</p>"), std::string::npos)
        << page;
    EXPECT_NE(page.find("<a href=\"https://example.org/a%20b\">web link</a>"), std::string::npos);
    EXPECT_NE(page.find("<li>two</li>"), std::string::npos);
}

TEST_F(ExportTest, FormulasStayInBooksWithTheirWords) {
    const auto guid =
        insert(L"Formulas", L"2024-01-01 10:00:00",
               L"<p>Energy is <math><mi>E</mi><mo>=</mo><mi>m</mi><msup><mi>c</mi><mn>2</mn></msup>"
               L"</math> at rest.</p><math display=\"block\" alttext=\"a squared plus b squared\">"
               L"<mrow><msup><mi>a</mi><mn>2</mn></msup><mo>+</mo><msup><mi>b</mi><mn>2</mn></msup>"
               L"</mrow></math><ul><li><math><mfrac><mn>1</mn><mn>2</mn></mfrac></math></li></ul>",
               L"", L"", L"http://127.0.0.1:1/formulas.html");
    // The book passes epubcheck.
    const std::string page = exportedBookPage(guid, "formulas.epub");
    EXPECT_NE(page.find("<msup><mi>c</mi><mn>2</mn></msup></math>"), std::string::npos) << page;
    EXPECT_NE(page.find("<span>E=mc2</span>"), std::string::npos) << page;
    EXPECT_NE(page.find("<span>a squared plus b squared</span>"), std::string::npos) << page;
    EXPECT_NE(page.find("<mfrac><mn>1</mn><mn>2</mn></mfrac>"), std::string::npos) << page;
    EXPECT_NE(page.find(" at rest."), std::string::npos) << page;
}

TEST_F(ExportTest, PicturesAreStoredOnceAndListedWithTheirMediaType) {
    testing_http::LoopbackServer server;
    server.reply("/pictures/tower.jpg", {200, zip_test::readFile(kTower), "image/jpeg"});
    server.reply("/pictures/page.html", {200, "<html>not a picture</html>", "image/png"});
    const std::filesystem::path pageFolder = home_.root() / "saved";
    std::filesystem::create_directories(pageFolder / "img");
    std::filesystem::copy_file(kTower, pageFolder / "img" / "Tür 1.jpg");
    const std::wstring html =
        L"<h2>Grüße aus 東京 — «Ünïcödé»</h2><p>Ein Turm: <img src=\"img/T%C3%BCr%201.jpg\" "
        L"alt=\"Turm\"></p><p>Derselbe Turm: <img src=\"" +
        platform::text::fromUtf8(server.url("/pictures/tower.jpg")) +
        L"\" alt=\"Turm im Netz\" width=\"48\"></p><p><img src=\"" +
        platform::text::fromUtf8(kGifData) + L"\" alt=\"Punkt\"> <img src=\"" +
        platform::text::fromUtf8(server.url("/pictures/page.html")) +
        L"\" alt=\"kein Bild\"> <img src=\"img/fehlt.png\" alt=\"fehlt\"></p>";
    const auto first = insert(L"Türme – 東京", L"2024-01-02 10:00:00", html, L"", L"",
                              platform::text::fromUtf8(fileUrl(pageFolder / "page.html")));
    const auto second = insert(L"Noch einmal", L"2024-01-01 10:00:00",
                               L"<img src=\"" + platform::text::fromUtf8(fileUrl(kTower)) + L"\">",
                               L"", L"", platform::text::fromUtf8(fileUrl(pageFolder / "b.html")));
    const auto book = out() / "pictures.epub";
    ExportControl control;
    ASSERT_EQ(exportEntries({first, second}, L"Bücher", wide(book), kExportEpub, &control), 0)
        << narrow(control.error);
    const auto members = readBook(book);

    const std::string& opf = member(members, "OEBPS/package.opf")->data;
    EXPECT_EQ(matches(opf, "<item id=\"picture-[0-9]+\" href=\"([^\"]+)\" media-type=\"image/"),
              (std::vector<std::string>{"images/picture-1.jpg", "images/picture-2.gif"}));
    EXPECT_NE(opf.find("href=\"images/picture-2.gif\" media-type=\"image/gif\""),
              std::string::npos);
    const auto* tower = member(members, "OEBPS/images/picture-1.jpg");
    ASSERT_NE(tower, nullptr);
    EXPECT_EQ(tower->data, zip_test::readFile(kTower));

    const std::string& page = member(members, "OEBPS/item-" + narrow(idOf(first)) + ".html")->data;
    EXPECT_EQ(pictureSources(page),
              (std::vector<std::string>{"images/picture-1.jpg", "images/picture-1.jpg",
                                        "images/picture-2.gif"}));
    EXPECT_NE(page.find("Grüße aus 東京 — «Ünïcödé»"), std::string::npos);
    EXPECT_NE(page.find("kein Bild"), std::string::npos);
    EXPECT_NE(page.find("fehlt"), std::string::npos);
    const std::string& again =
        member(members, "OEBPS/item-" + narrow(idOf(second)) + ".html")->data;
    EXPECT_NE(again.find("<img src=\"images/picture-1.jpg\" alt=\"\"/>"), std::string::npos);
    EXPECT_EQ(server.requests().size(), 2u) << "each address is read once";
}

TEST_F(ExportTest, ManyClipsWithAnIndexMakeAValidBook) {
    std::vector<std::wstring> guids;
    for (int i = 0; i < 40; ++i) {
        const std::wstring n = std::to_wstring(i);
        guids.push_back(
            insert(i % 7 == 0 ? L"" : L"Clip " + n,
                   L"2024-01-01 10:00:" + std::wstring(i < 10 ? L"0" : L"") + n,
                   L"<html><head><title>Other " + n + L"</title></head><body><div><h1>Head " + n +
                       L"</h1>loose <b>bold<p>para<blockquote>quote <pre>pre\n" + n +
                       L"</pre></blockquote><dl><dt>t<dd>d</dl><ol><li><table><thead><tr><th>h"
                       L"</th></tr></thead><tr><td>c</td></tr></table></ol><hr><p id=x>dup</p>"
                       L"<p id=x>dup</p></body></html>"));
    }
    const auto book = out() / "many.epub";
    ExportControl control;
    ASSERT_EQ(
        exportEntries(guids, L"Many", wide(book), kExportEpub | kExportTableOfContents, &control),
        0)
        << narrow(control.error);
    const auto members = readBook(book);
    EXPECT_EQ(members.size(), 2u + guids.size() + 3u);
    const std::string& page = members[2].data;
    EXPECT_EQ(page.find("Other 0"), std::string::npos) << "a whole document gives its body";
    EXPECT_NE(page.find("Head 0"), std::string::npos);
}

TEST_F(ExportTest, HtmlExportsCarryNoScriptAndOnlyTheBodyOfWholeDocuments) {
    const std::vector<std::wstring> guids = {
        insert(L"Whole", L"2024-01-01 10:00:02",
               L"<html><head><title>Second title</title><script>a()</script></head>"
               L"<body onload=\"a()\"><p>whole body</p></body></html>"),
        insert(L"Unclosed", L"2024-01-01 10:00:01",
               L"<div><p>open <b>bold <img src=x onerror=a()><a href=\"javascript:a()\">l</a>", L"",
               L"", L"http://127.0.0.1:1/page"),
    };
    const auto file = out() / "book.html";
    ASSERT_EQ(exportEntries(guids, L"Book", wide(file), kExportHtml), 0);
    const std::string page = zip_test::readFile(file);
    EXPECT_EQ(matches(page, "<title>([^<]*)</title>"), (std::vector<std::string>{"Book"}));
    for (const char* gone : {"<script", "onload", "onerror", "javascript:", "<html><head><title>S"})
        EXPECT_EQ(page.find(gone), std::string::npos) << gone << " in " << page;
    EXPECT_NE(page.find("<p>whole body</p>"), std::string::npos);
    EXPECT_NE(
        page.find(
            "<div><p>open <b>bold <img src=\"http://127.0.0.1:1/x\" /><a>l</a></b></p></div>"),
        std::string::npos)
        << page;
    EXPECT_TRUE(page.ends_with("</body></html>"));

    const auto folder = out() / "pages";
    ASSERT_EQ(exportEntries(guids, L"Book", wide(folder), kExportHtmlPerEntry), 0);
    const std::string whole = zip_test::readFile(folder / "Whole.html");
    EXPECT_EQ(matches(whole, "<title>([^<]*)</title>"), (std::vector<std::string>{"Whole"}));
    EXPECT_EQ(whole.find("<script"), std::string::npos);
}

// A picture drawn as SVG, and one that would run a script where it is shown.
constexpr const char* kSvg =
    "<?xml version=\"1.0\"?><svg xmlns=\"http://www.w3.org/2000/svg\" width=\"20\" "
    "height=\"10\"><rect width=\"20\" height=\"10\" fill=\"teal\"/></svg>";
constexpr const char* kScriptedSvg =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" onload=\"alert(1)\"><circle r=\"4\"/></svg>";

TEST_F(ExportTest, SvgPicturesGoIntoBooksUnlessTheyCouldRunAScript) {
    const std::filesystem::path pageFolder = home_.root() / "saved";
    std::filesystem::create_directories(pageFolder);
    std::ofstream(pageFolder / "chart.svg") << kSvg;
    std::ofstream(pageFolder / "evil.svg") << kScriptedSvg;
    const auto guid = insert(
        L"Charts", L"2024-01-01 10:00:00",
        L"<p><img src=\"chart.svg\" alt=\"chart\"> <img src=\"evil.svg\" alt=\"no chart\"></p>",
        L"", L"", platform::text::fromUtf8(fileUrl(pageFolder / "page.html")));
    const auto book = out() / "charts.epub";
    ExportControl control;
    ASSERT_EQ(exportEntries({guid}, L"Charts", wide(book), kExportEpub, &control), 0)
        << narrow(control.error);
    const auto members = readBook(book);
    const std::string& opf = member(members, "OEBPS/package.opf")->data;
    EXPECT_NE(opf.find("href=\"images/picture-1.svg\" media-type=\"image/svg+xml\""),
              std::string::npos)
        << opf;
    ASSERT_NE(member(members, "OEBPS/images/picture-1.svg"), nullptr);
    EXPECT_EQ(member(members, "OEBPS/images/picture-1.svg")->data, kSvg);
    const std::string& page = member(members, "OEBPS/item-" + narrow(idOf(guid)) + ".html")->data;
    EXPECT_EQ(pictureSources(page), std::vector<std::string>{"images/picture-1.svg"});
    EXPECT_NE(page.find("no chart"), std::string::npos);
}

TEST_F(ExportTest, HtmlExportsCarryTheirPicturesSoTheyShowWhereverTheFileMoves) {
    testing_http::LoopbackServer server;
    server.reply("/tower.jpg", {200, zip_test::readFile(kTower), "image/jpeg"});
    const std::filesystem::path pageFolder = home_.root() / "saved";
    std::filesystem::create_directories(pageFolder / "img");
    std::filesystem::copy_file(kTower, pageFolder / "img" / "tower.jpg");
    std::ofstream(pageFolder / "img" / "chart.svg") << kSvg;
    std::ofstream(pageFolder / "img" / "evil.svg") << kScriptedSvg;
    const std::wstring html =
        L"<p><img src=\"img/tower.jpg\" srcset=\"img/tower.jpg 2x\" alt=\"local\"> <img src=\"" +
        platform::text::fromUtf8(fileUrl(pageFolder / "img" / "chart.svg")) +
        L"\" alt=\"chart\"> <img src=\"" + platform::text::fromUtf8(server.url("/tower.jpg")) +
        L"\" alt=\"web\"> <img src=\"img/evil.svg\" alt=\"evil\"> <img src=\"" +
        platform::text::fromUtf8(server.url("/gone.png")) + L"\" alt=\"gone\"></p>";
    const auto guid = insert(L"Turm", L"2024-01-01 10:00:00", html, L"", L"",
                             platform::text::fromUtf8(fileUrl(pageFolder / "page.html")));
    const auto file = out() / "book.html";
    ASSERT_EQ(exportEntries({guid}, L"Book", wide(file), kExportHtml), 0);
    const auto folder = out() / "pages";
    ASSERT_EQ(exportEntries({guid}, L"Book", wide(folder), kExportHtmlPerEntry), 0);
    EXPECT_NE(zip_test::readFile(folder / "Turm.html").find("src=\"data:image/jpeg;base64,"),
              std::string::npos);
    std::filesystem::rename(file, home_.root() / "moved.html");
    std::filesystem::remove_all(pageFolder);
    const std::string page = zip_test::readFile(home_.root() / "moved.html");

    const std::vector<std::string> sources = pictureSources(page);
    ASSERT_EQ(sources.size(), 5u) << page;
    EXPECT_TRUE(sources[0].starts_with("data:image/jpeg;base64,/9j/")) << sources[0].substr(0, 40);
    EXPECT_TRUE(sources[1].starts_with("data:image/svg+xml;base64,")) << sources[1].substr(0, 40);
    EXPECT_EQ(sources[2], sources[0]) << "the same picture from the web";
    EXPECT_EQ(sources[3], "img/evil.svg") << "a scripted picture is not carried";
    EXPECT_EQ(sources[4], server.url("/gone.png")) << "what cannot be read keeps its web address";
    EXPECT_EQ(page.find("srcset"), std::string::npos);
    EXPECT_EQ(page.find("src=\"file:"), std::string::npos);
}

TEST_F(ExportTest, TextExportOfAnEntryWithoutTextGivesTheTextOfItsBody) {
    plugin::EntryRecord record;
    record.title = L"Markup only";
    record.html =
        L"<html><head><title>No</title></head><body><h1>Head</h1><p>one "
        L"<b>two</b></p><script>x()</script></body></html>";
    const std::wstring guid = plugin::insertEntry(record);
    const auto file = out() / "text.txt";
    ASSERT_EQ(exportEntries({guid}, L"Text", wide(file), kExportText), 0);
    EXPECT_EQ(zip_test::readFile(file).rfind("Head\r\none two\r\n\r\nlink:\t", 0), 0u)
        << zip_test::readFile(file);
}

}  // namespace
