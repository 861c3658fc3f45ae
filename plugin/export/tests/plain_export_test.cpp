#include "plugin/export/exports.h"
#include "plugin/export/tests/export_fixture.h"

namespace {

using namespace plugin;
using zip_test::readFile;

std::size_t countOf(const std::string& text, const std::string& piece) {
    std::size_t count = 0;
    for (auto at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++count;
    return count;
}

TEST_F(ExportTest, LatestTextExportTakesNewestFirstUpToTheCount) {
    for (int day = 1; day <= 5; ++day)
        insert(L"Entry " + std::to_wstring(day) + L" – ß",
               L"2024-01-0" + std::to_wstring(day) + L" 08:00:00");
    const auto all = out() / "all.txt";
    ASSERT_EQ(exportLatest(L"", wide(all), 20, kExportText), 0);
    const std::string text = readFile(all);
    EXPECT_NE(text.substr(0, 3), "\xEF\xBB\xBF");  // no byte-order mark
    EXPECT_EQ(text.rfind("text of Entry 5 – ß\r\n\r\nlink:\thttp://example.org/page\r\ntime:\t", 0),
              0u);
    EXPECT_EQ(countOf(text, "\r\n\r\n\r\n=======================================\r\n"), 4u);
    EXPECT_LT(text.find("Entry 5"), text.find("Entry 4"));
    EXPECT_LT(text.find("Entry 2"), text.find("Entry 1"));

    const auto two = out() / "two.txt";
    ASSERT_EQ(exportLatest(L"", wide(two), 2, kExportText), 0);
    const std::string newest = readFile(two);
    EXPECT_NE(newest.find("Entry 4"), std::string::npos);
    EXPECT_EQ(newest.find("Entry 3"), std::string::npos);
}

TEST_F(ExportTest, ScopesSelectTheirEntriesWithQuotesInValues) {
    insert(L"In folder", L"2024-01-01 08:00:00", L"<p>f</p>", L"O'Neil");
    insert(L"Other folder", L"2024-01-02 08:00:00", L"<p>g</p>", L"Neil");
    insert(L"Exact category", L"2024-01-03 08:00:00", L"<p>c</p>", L"", L"A'B");
    insert(L"Sub category", L"2024-01-04 08:00:00", L"<p>s</p>", L"", L"A'B/C");
    insert(L"On site", L"2024-01-05 08:00:00", L"<p>s</p>", L"", L"",
           L"https://o'site.example/page");

    const auto folderFile = out() / "folder.html";
    ASSERT_EQ(exportFolder(L"", L"O'Neil", wide(folderFile), 0, kExportHtml), 0);
    const std::string folder = readFile(folderFile);
    EXPECT_NE(folder.find("<title>Tamrix-Folder-O'Neil</title>"), std::string::npos);
    EXPECT_NE(folder.find(">In folder</a>"), std::string::npos);
    EXPECT_EQ(folder.find("Other folder"), std::string::npos);

    const auto categoryFile = out() / "category.txt";
    ASSERT_EQ(exportCategory(L"", L"A'B", wide(categoryFile), 0, kExportText), 0);
    const std::string category = readFile(categoryFile);
    EXPECT_NE(category.find("Exact category"), std::string::npos);
    EXPECT_EQ(category.find("Sub category"), std::string::npos);

    const auto siteFile = out() / "site.txt";
    ASSERT_EQ(exportSite(L"", L"o'site.example", wide(siteFile), 0, kExportText), 0);
    EXPECT_NE(readFile(siteFile).find("On site"), std::string::npos);
    EXPECT_EQ(readFile(siteFile).find("In folder"), std::string::npos);
}

TEST_F(ExportTest, HtmlFileEscapesTitlesAndLinks) {
    plugin::EntryRecord record;
    record.title = L"<script>alert(1)</script>";
    record.url = L"http://example.org/?a=1&b=\"2\"";
    record.html = L"<p>kept as it is</p>";
    const std::wstring guid = plugin::insertEntry(record);
    const auto file = out() / "page.html";
    ASSERT_EQ(exportItem(L"", guid, wide(file), kExportHtml), 0);
    const std::string page = readFile(file);
    EXPECT_EQ(page.rfind("<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01//EN\"><html><head>", 0),
              0u);
    EXPECT_NE(page.find("<title>Tamrix-Item-&lt;script&gt;alert(1)&lt;/script&gt;</title>"),
              std::string::npos);
    EXPECT_NE(page.find("<a href=\"http://example.org/?a=1&amp;b=%222%22\">&lt;script&gt;"),
              std::string::npos);
    EXPECT_EQ(page.find("<script>"), std::string::npos);
    EXPECT_NE(page.find("<p>kept as it is</p>"), std::string::npos);
}

TEST_F(ExportTest, PerEntryFilesStayInsideTheOutputFolder) {
    const std::vector<std::wstring> guids = {
        insert(L"../../escape", L"2024-01-01 08:00:00"),
        insert(L"/etc/passwd", L"2024-01-01 08:00:01"),
        insert(L"Same", L"2024-01-01 08:00:02"),
        insert(L"same", L"2024-01-01 08:00:03"),
        insert(L"...", L"2024-01-01 08:00:04"),
        insert(L"a:b?", L"2024-01-01 08:00:05"),
    };
    const auto folder = out() / "texts";
    ASSERT_EQ(exportEntries(guids, L"Book", wide(folder), kExportTextPerEntry), 0);
    EXPECT_EQ(filesBelow(out()),
              (std::vector<std::string>{"texts/Same.txt", "texts/_.txt", "texts/a b.txt",
                                        "texts/escape.txt", "texts/etc passwd.txt",
                                        "texts/same (2).txt"}));
    EXPECT_EQ(readFile(folder / "same (2).txt").rfind("text of same\r\n", 0), 0u);

    const auto pages = out() / "pages";
    ASSERT_EQ(exportEntries(guids, L"Book", wide(pages) + L"/", kExportHtmlPerEntry), 0);
    EXPECT_EQ(filesBelow(pages).size(), guids.size());
    EXPECT_NE(readFile(pages / "escape.html").find("<title>../../escape</title>"),
              std::string::npos);
}

TEST_F(ExportTest, RefusedExportsWriteNothingAndSaySo) {
    const auto guid = insert(L"A", L"2024-01-01 08:00:00");
    ExportControl control;
    EXPECT_EQ(exportEntries({guid}, L"Book", wide(out() / "x.bin"), 5, &control), -1);
    EXPECT_NE(control.error.find(L"Unknown export format 5"), std::wstring::npos);
    EXPECT_EQ(exportItem(L"", L"missing", wide(out() / "x.txt"), kExportText, &control), -1);
    EXPECT_NE(control.error.find(L"does not exist"), std::wstring::npos);
    control.cancelled = true;
    EXPECT_EQ(exportLatest(L"", wide(out() / "x.txt"), 0, kExportText, &control), -1);
    EXPECT_EQ(control.error, L"The export was cancelled.");
    EXPECT_EQ(exportEntries({guid}, L"Book", wide(out() / "folder"), kExportTextPerEntry, &control),
              -1);
    EXPECT_TRUE(filesBelow(out()).empty());
    EXPECT_FALSE(std::filesystem::exists(out() / "folder" / "A.txt"));
    // A repository that cannot be read fails the export instead of giving an empty file.
    plugin::closeRepository();
    control.cancelled = false;
    EXPECT_EQ(exportLatest(L"", wide(out() / "x.txt"), 0, kExportText, &control), -1);
    EXPECT_FALSE(std::filesystem::exists(out() / "x.txt"));
}

TEST_F(ExportTest, ClipContentAsTextAndHtml) {
    const auto text = out() / "clip.txt";
    ASSERT_EQ(exportContent(L"http://example.org/c", L"Clip", L"clip text", L"<p>c</p>", wide(text),
                            kExportText),
              0);
    EXPECT_EQ(readFile(text), "clip text\r\n\r\nlink:\thttp://example.org/c\r\n");
    const auto html = out() / "clip.html";
    ASSERT_EQ(exportContent(L"http://example.org/c", L"Clip & co", L"clip text", L"<p>c</p>",
                            wide(html), kExportHtml),
              0);
    EXPECT_NE(readFile(html).find("<title>Clip &amp; co</title></head><body><p>c</p></body>"),
              std::string::npos);
}

}  // namespace
