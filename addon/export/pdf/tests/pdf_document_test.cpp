#include <gtest/gtest.h>
#include <unistd.h>

#include <regex>

#include "addon/export/pdf/pdf_document.h"
#include "addon/export/pdf/tests/pdf_tools.h"
#include "testing/environment/temporary_home.h"

using addon::PDFWriter::PDF;
using addon::PDFWriter::PdfLine;

TEST(PdfDocument, StructureHasEveryObjectWhereTheTableSays) {
    PDF pdf;
    pdf.setTitle(L"A");
    auto& page = pdf.addPage(200, 300);
    PdfLine line;
    line.x2 = 100;
    line.y1 = line.y2 = 10;
    line.dash = "--  ";
    page.drawLine(line);
    page.drawLine(line);  // the same state again writes no state operators
    const std::string content = page.content().bytes();
    EXPECT_EQ(content,
              "0.300000 w\n[1 1] 0 d\n0.000000 290.000000 m\n100.000000 290.000000 l\nS\n"
              "0.000000 290.000000 m\n100.000000 290.000000 l\nS\n");

    const std::string bytes = pdf.finishedBytes();
    EXPECT_EQ(bytes.substr(0, 16), "%PDF-1.4\n%\xF2\xF3\xF4\xF5\xF6\n");
    // No pictures: the resources still have an empty picture dictionary and no fonts.
    EXPECT_NE(bytes.find("/Font\n<<\n>>\n/XObject\n<<\n>>\n>>\n"), std::string::npos);
    EXPECT_NE(bytes.find("/Title <FEFF0041>\n"), std::string::npos);
    EXPECT_NE(bytes.find("/MediaBox [0 0 200.000000 300.000000]"), std::string::npos);

    // Every cross-reference entry points at the start of its object.
    const auto xref = bytes.find("xref\n0 ");
    ASSERT_NE(xref, std::string::npos);
    EXPECT_NE(bytes.find("startxref\n" + std::to_string(xref) + "\n%%EOF\n"), std::string::npos);
    const std::regex entry("(\\d{10}) 00000 n \n");
    int number = 0;
    for (auto it =
             std::sregex_iterator(bytes.begin() + static_cast<long>(xref), bytes.end(), entry);
         it != std::sregex_iterator(); ++it) {
        ++number;
        const auto offset = std::stoul((*it)[1]);
        EXPECT_EQ(bytes.substr(offset, std::to_string(number).size() + 7),
                  std::to_string(number) + " 0 obj\n");
    }
    EXPECT_EQ(number, 7);  // resources, info, pages, page, content, length, catalog
    EXPECT_NE(bytes.find("/Size 8\n/Root 7 0 R\n/Info 2 0 R\n"), std::string::npos);
    // Finishing twice adds nothing.
    EXPECT_EQ(pdf.finishedBytes(), bytes);
}

TEST(PdfDocument, ValidatorsAcceptItAndReadTheInfoBack) {
    REQUIRE_TOOLS();
    testing_environment::TemporaryHome home;
    PDF pdf;
    const std::wstring title = L"Notes (draft) \\ caf\u00e9 \u65e5\u672c \U0001F600";
    pdf.setTitle(title);
    pdf.setAuthor(L"O'Brien ) (");
    pdf.setSubject(L"");
    auto& image = pdf.addImage(export_test::filled(50, 40, 0xFF336699), {0, 0, 50, 40}, L"PNG");
    auto& page = pdf.addPage(120, 90);
    page.drawImage(image, 10, 20);
    const auto path = home.root() / "notes.pdf";
    ASSERT_TRUE(pdf.save(path.wstring()));

    const auto out = home.root() / "tool.txt";
    EXPECT_TRUE(export_test::runTool({"qpdf", "--check", path.string()}, out));
    const auto info = export_test::runTool({"pdfinfo", "-enc", "UTF-8", path.string()}, out);
    ASSERT_TRUE(info);
    EXPECT_NE(info->find("Title:           " + platform::text::toUtf8(title) + "\n"),
              std::string::npos)
        << *info;
    EXPECT_NE(info->find("Author:          O'Brien ) (\n"), std::string::npos) << *info;
    EXPECT_NE(info->find("PDF version:     1.4"), std::string::npos);
    EXPECT_NE(info->find("Page size:       120 x 90 pts"), std::string::npos);

    // The picture lands 10 points from the left and 20 from the top.
    ASSERT_TRUE(export_test::runTool({"pdftoppm", "-png", "-r", "72", "-singlefile", path.string(),
                                      (home.root() / "page").string()},
                                     out));
    platform::imaging::Bitmap rendered;
    ASSERT_EQ(platform::imaging::loadBitmap((home.root() / "page.png").string(), rendered),
              platform::imaging::Status::Ok);
    ASSERT_EQ(rendered.width(), 120);
    ASSERT_EQ(rendered.height(), 90);
    EXPECT_EQ(rendered.pixel(35, 40) & 0xFFFFFF, 0x336699u);
    EXPECT_EQ(rendered.pixel(5, 40) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(rendered.pixel(35, 15) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(rendered.pixel(35, 65) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(PdfDocument, FailedSaveIsReportedAndKeepsTheOldFile) {
    testing_environment::TemporaryHome home;
    const auto path = home.root() / "kept.pdf";
    ASSERT_TRUE(platform::system::writeFileAtomically(path.string(), "old"));
    const auto folder = home.root() / "locked";
    std::filesystem::create_directory(folder);
    std::filesystem::permissions(
        folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    PDF pdf;
    pdf.addPage(10, 10);
    EXPECT_FALSE(pdf.save((home.root() / "missing" / "x.pdf").wstring()));
    if (access(folder.c_str(), W_OK) != 0) {  // root may write anywhere
        EXPECT_FALSE(pdf.save((folder / "x.pdf").wstring()));
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder));
    std::string kept;
    ASSERT_TRUE(platform::system::readWholeFile(path.string(), kept));
    EXPECT_EQ(kept, "old");
    ASSERT_TRUE(pdf.save(path.wstring()));
    ASSERT_TRUE(platform::system::readWholeFile(path.string(), kept));
    EXPECT_EQ(kept.substr(0, 8), "%PDF-1.4");
}

TEST(PdfDocument, LinksBecomeAnnotationsOfTheirPagesCutToThePage) {
    REQUIRE_TOOLS();
    testing_environment::TemporaryHome home;
    PDF pdf;
    auto& first = pdf.addPage(200, 300);
    first.addLink("https://example.org/a?b=(c)", 10, 20, 110, 40);
    first.addLink("mailto:someone@example.org", -5, 280, 250, 320);
    first.addLink("https://example.org/off", 10, 310, 50, 330);  // below the page: no link
    pdf.addPage(200, 300);
    auto& third = pdf.addPage(100, 100);
    third.addLink("http://example.org/", 0, 0, 100, 100);
    const auto path = home.root() / "links.pdf";
    ASSERT_TRUE(pdf.save(path.wstring()));

    const auto out = home.root() / "tool.txt";
    EXPECT_TRUE(export_test::runTool({"qpdf", "--check", path.string()}, out));
    std::string bytes;
    platform::system::readWholeFile(path.string(), bytes);
    // Pages after resources, info and the page tree: the first takes two more objects for
    // its links, so the others follow at 9 and 12.
    EXPECT_NE(bytes.find("/Kids [ 4 0 R 9 0 R 12 0 R ]"), std::string::npos);
    const auto links = export_test::linksByPage(bytes);
    ASSERT_EQ(links.size(), 3u);
    ASSERT_EQ(links[0].size(), 2u);
    EXPECT_EQ(links[0][0].uri, "https://example.org/a?b=(c)");
    export_test::expectRect(links[0][0], 10, 260, 110, 280);
    EXPECT_EQ(links[0][1].uri, "mailto:someone@example.org");
    export_test::expectRect(links[0][1], 0, 0, 200, 20);
    EXPECT_TRUE(links[1].empty());
    ASSERT_EQ(links[2].size(), 1u);
    EXPECT_EQ(links[2][0].uri, "http://example.org/");

    // A reader of its own finds the addresses on their pages.
    const auto urls = export_test::runTool({"pdfinfo", "-url", path.string()}, out);
    ASSERT_TRUE(urls);
    EXPECT_NE(urls->find("https://example.org/a?b=(c)"), std::string::npos) << *urls;
    EXPECT_NE(urls->find("mailto:someone@example.org"), std::string::npos) << *urls;
    EXPECT_EQ(urls->find("example.org/off"), std::string::npos) << *urls;
}
