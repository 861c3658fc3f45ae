#include <cstdio>
#include <regex>

#include "plugin/export/exports.h"
#include "plugin/export/tests/export_fixture.h"
#include "testing/environment/small_disk.h"

namespace {

using namespace plugin;

std::vector<std::string> names(const std::vector<zip_test::Member>& members) {
    std::vector<std::string> list;
    for (const auto& m : members)
        list.push_back(m.name);
    return list;
}

// The values of `attribute` in the order they appear in `text`.
std::vector<std::string> attributeValues(const std::string& text, const std::string& attribute) {
    std::vector<std::string> values;
    const std::regex pattern(attribute + "=\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern);
         it != std::sregex_iterator(); ++it)
        values.push_back((*it)[1]);
    return values;
}

TEST_F(ExportTest, EpubOfTwoEntriesHoldsTheirPagesInExportOrder) {
    const auto older = insert(L"First <page> & \"more\"", L"2024-01-01 10:00:00");
    const auto newer = insert(L"Zweite Seite – ü", L"2024-01-02 10:00:00", L"<p>zwei</p>");
    const auto book = out() / "book.epub";
    ExportControl control;
    ASSERT_EQ(exportLatest(L"", wide(book), 20, kExportEpub, &control), 0) << narrow(control.error);

    const auto members = readBook(book);
    const std::string first = "item-" + narrow(idOf(newer)) + ".html";
    const std::string second = "item-" + narrow(idOf(older)) + ".html";
    EXPECT_EQ(names(members),
              (std::vector<std::string>{"mimetype", "META-INF/container.xml", "OEBPS/" + first,
                                        "OEBPS/" + second, "OEBPS/package.opf", "OEBPS/toc.ncx"}));
    EXPECT_EQ(members[0].method, 0);
    EXPECT_EQ(members[0].data, "application/epub+zip");
    EXPECT_NE(members[1].data.find("full-path=\"OEBPS/package.opf\""), std::string::npos);

    const std::string& firstPage = member(members, "OEBPS/" + first)->data;
    EXPECT_NE(firstPage.find("<h3>Zweite Seite – ü</h3><p>zwei</p>"), std::string::npos);
    const std::string& secondPage = member(members, "OEBPS/" + second)->data;
    EXPECT_NE(secondPage.find("<title>First &lt;page&gt; &amp; &quot;more&quot;</title>"),
              std::string::npos);

    const std::string& opf = member(members, "OEBPS/package.opf")->data;
    EXPECT_EQ(attributeValues(opf, "href"), (std::vector<std::string>{"toc.ncx", first, second}));
    EXPECT_EQ(attributeValues(opf, "idref").size(), 2u);
    EXPECT_NE(opf.find("<dc:title>Tamrix-Latest-"), std::string::npos);
    EXPECT_EQ(opf.find("<guide"), std::string::npos);

    const std::string& ncx = member(members, "OEBPS/toc.ncx")->data;
    EXPECT_EQ(attributeValues(ncx, "playOrder"), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(attributeValues(ncx, "src"), (std::vector<std::string>{first, second}));
    // The navigation names the book the package names.
    const std::regex identifier("<dc:identifier[^>]*>([^<]+)</dc:identifier>");
    std::smatch match;
    ASSERT_TRUE(std::regex_search(opf, match, identifier));
    EXPECT_NE(ncx.find("name=\"dtb:uid\" content=\"" + match[1].str() + "\""), std::string::npos);
}

TEST_F(ExportTest, TableOfContentsPageComesFirstOnlyWhenAskedFor) {
    const auto a = insert(L"A", L"2024-01-01 10:00:00");
    const auto b = insert(L"B", L"2024-01-02 10:00:00");
    const auto withIndex = out() / "index.epub";
    ASSERT_EQ(exportEntries({a, b}, L"Book", wide(withIndex), kExportEpub | kExportTableOfContents),
              0);
    auto members = readBook(withIndex);
    const std::string pageA = "item-" + narrow(idOf(a)) + ".html";
    const std::string pageB = "item-" + narrow(idOf(b)) + ".html";
    const std::string& opf = member(members, "OEBPS/package.opf")->data;
    EXPECT_EQ(attributeValues(opf, "href"),
              (std::vector<std::string>{"main.html", "toc.ncx", pageA, pageB}));
    EXPECT_EQ(attributeValues(opf, "idref").front(), "main-index");
    const auto* index = member(members, "OEBPS/main.html");
    ASSERT_NE(index, nullptr);
    EXPECT_EQ(attributeValues(index->data, "href"), (std::vector<std::string>{pageA, pageB}));

    const auto without = out() / "plain.epub";
    ASSERT_EQ(exportEntries({a, b}, L"Book", wide(without), kExportEpub), 0);
    members = readBook(without);
    EXPECT_EQ(member(members, "OEBPS/main.html"), nullptr);
    EXPECT_EQ(attributeValues(member(members, "OEBPS/package.opf")->data, "href").front(),
              "toc.ncx");
}

TEST_F(ExportTest, EmptySelectionStillGivesAValidBook) {
    const auto book = out() / "empty.epub";
    ASSERT_EQ(exportEntries({L"no-such-guid"}, L"Nothing", wide(book), kExportEpub), 0);
    const auto members = readBook(book);
    ASSERT_NE(member(members, "OEBPS/main.html"), nullptr);
    const std::string& ncx = member(members, "OEBPS/toc.ncx")->data;
    EXPECT_EQ(attributeValues(ncx, "src"), (std::vector<std::string>{"main.html"}));
    EXPECT_EQ(attributeValues(member(members, "OEBPS/package.opf")->data, "idref"),
              (std::vector<std::string>{"main-index"}));
}

TEST_F(ExportTest, UntidyContentBecomesWellFormedPages) {
    const std::vector<std::wstring> guids = {
        insert(L"Entities", L"2024-01-01 10:00:01", L"<p>a&nbsp;b<br>c<p>unclosed"),
        insert(L"Whole document", L"2024-01-01 10:00:02",
               L"<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
               L"\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">"
               L"<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>t</title></head>"
               L"<body><p>inside the body</p></body></html>"),
        insert(L"Office", L"2024-01-01 10:00:03",
               L"<o:p>word</o:p><!-- a -- b --><span xlink:href=\"x\">linked</span>"),
        insert(L"Escape\x01 attempt", L"2024-01-01 10:00:04",
               L"</body></html><p>after\x02</p><div/>"),
    };
    const auto book = out() / "untidy.epub";
    ExportControl control;
    ASSERT_EQ(exportEntries(guids, L"Untidy", wide(book), kExportEpub, &control), 0)
        << narrow(control.error);
    const auto members = readBook(book);
    ASSERT_EQ(members.size(), 2u + guids.size() + 2u);
    EXPECT_NE(members[2].data.find("a\u00a0b"), std::string::npos);
    EXPECT_NE(members[2].data.find("unclosed"), std::string::npos);
    EXPECT_NE(members[3].data.find("<p>inside the body</p>"), std::string::npos);
    EXPECT_EQ(members[3].data.find("DOCTYPE"), std::string::npos);
    EXPECT_NE(members[4].data.find("word"), std::string::npos);
    EXPECT_NE(members[4].data.find("linked"), std::string::npos);
    EXPECT_NE(members[5].data.find("Escape attempt"), std::string::npos);
    EXPECT_NE(members[5].data.find("after"), std::string::npos);
}

TEST_F(ExportTest, OddOrRepeatedEntryIdsStayInsideTheBook) {
    const auto good = insert(L"Good", L"2024-01-01 10:00:00");
    plugin::EntryRecord odd;
    odd.guid = L"../../x\"y-synced";
    odd.title = L"Odd";
    ASSERT_FALSE(plugin::insertEntry(odd).empty());
    const auto book = out() / "ids.epub";
    ASSERT_EQ(exportEntries({good, odd.guid, good}, L"Ids", wide(book), kExportEpub), 0);
    const auto members = readBook(book);
    const std::string goodPage = "OEBPS/item-" + narrow(idOf(good)) + ".html";
    EXPECT_EQ(names(members),
              (std::vector<std::string>{"mimetype", "META-INF/container.xml", goodPage,
                                        "OEBPS/item-2.html", "OEBPS/item-3.html",
                                        "OEBPS/package.opf", "OEBPS/toc.ncx"}));
}

TEST_F(ExportTest, ClipContentBecomesABookNamedByItsTitle) {
    const auto book = out() / "clip.epub";
    ASSERT_EQ(exportContent(L"http://example.org/a", L"A clip", L"text",
                            L"<html><head></head><body><p>clipped</p></body></html>", wide(book),
                            kExportEpub),
              0);
    const auto members = readBook(book);
    const auto* page = member(members, "OEBPS/content.html");
    ASSERT_NE(page, nullptr);
    EXPECT_NE(page->data.find("<h3>A clip</h3><p>clipped</p>"), std::string::npos);
    const std::string& opf = member(members, "OEBPS/package.opf")->data;
    EXPECT_NE(opf.find("<dc:title>A clip</dc:title>"), std::string::npos);
    EXPECT_EQ(attributeValues(opf, "idref"), (std::vector<std::string>{"content"}));
}

TEST_F(ExportTest, FailedBookLeavesNothingBehind) {
    const auto guid = insert(L"A", L"2024-01-01 10:00:00");
    ExportControl control;
    EXPECT_EQ(
        exportEntries({guid}, L"Book", wide(out() / "missing" / "b.epub"), kExportEpub, &control),
        -1);
    EXPECT_NE(control.error.find(L"Cannot create"), std::wstring::npos);
    // The target is a folder: the finished book cannot take its place.
    std::filesystem::create_directories(out() / "taken.epub");
    EXPECT_EQ(exportEntries({guid}, L"Book", wide(out() / "taken.epub"), kExportEpub, &control),
              -1);
    EXPECT_TRUE(std::filesystem::is_directory(out() / "taken.epub"));
    EXPECT_TRUE(filesBelow(out()).empty());
}

}  // namespace

TEST_F(ExportTest, AFullDiskIsNamedAndLeavesNoPartOfTheBook) {
    testing_environment::SmallDisk disk(256 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << "no small file system can be mounted here";
    // Room for the start of a book, not for all of it.
    {
        std::FILE* filler = std::fopen((disk.root() / "filler").c_str(), "wb");
        const std::string block(200 * 1024, 'f');
        std::fwrite(block.data(), 1, block.size(), filler);
        std::fclose(filler);
    }
    std::wstring bulk;
    for (int i = 0; bulk.size() < 400000; ++i)
        bulk += L"<p>" + std::to_wstring(i * 7919 % 100003) + L" unlike words " +
                std::to_wstring(i) + L"</p>";
    const auto guid = insert(L"Big", L"2024-01-01 10:00:00", bulk);

    ExportControl book;
    EXPECT_EQ(exportEntries({guid}, L"Book", wide(disk.root() / "b.epub"), kExportEpub, &book), -1);
    EXPECT_NE(book.error.find(L"the disk is full"), std::wstring::npos) << narrow(book.error);
    ExportControl page;
    EXPECT_EQ(exportEntries({guid}, L"Book", wide(disk.root() / "b.html"), kExportHtml, &page), -1);
    EXPECT_NE(page.error.find(L"the disk is full"), std::wstring::npos) << narrow(page.error);
    EXPECT_EQ(filesBelow(disk.root()).size(), 1u) << "only the filler is there";
}
