#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <thread>

#include "addon/export/paging/tiles_to_pdf.h"
#include "addon/export/pdf/tests/pdf_tools.h"
#include "testing/environment/temporary_home.h"

using namespace platform::imaging;
using addon::buildPdfFromTiles;
using export_test::filled;
using export_test::runTool;
using export_test::writeTile;

namespace {

struct ListedImage {
    int page, width, height;
    std::string encoding;
};

// pdfimages -list: one line per picture after two heading lines.
std::vector<ListedImage> listImages(const std::filesystem::path& pdf,
                                    const std::filesystem::path& out) {
    std::vector<ListedImage> images;
    const auto listing = runTool({"pdfimages", "-list", pdf.string()}, out);
    if (!listing) {
        return images;
    }
    std::istringstream lines(*listing);
    std::string line;
    std::getline(lines, line);
    std::getline(lines, line);
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        ListedImage image;
        std::string number, type;
        fields >> image.page >> number >> type >> image.width >> image.height;
        std::string skip;
        fields >> skip >> skip >> skip >> image.encoding;
        images.push_back(image);
    }
    return images;
}

// A page rendered at one pixel per point.
Bitmap renderPage(const std::filesystem::path& pdf, int page, const std::filesystem::path& folder) {
    const std::string number = std::to_string(page);
    runTool({"pdftoppm", "-png", "-r", "72", "-f", number, "-l", number, "-singlefile",
             pdf.string(), (folder / "render").string()},
            folder / "tool.txt");
    Bitmap bitmap;
    loadBitmap((folder / "render.png").string(), bitmap);
    return bitmap;
}

// Lines of "text" (ink on the left half, two tones a row) with 10 blank rows every 40.
Bitmap textPage(int width, int height, std::uint32_t ink) {
    Bitmap bitmap = filled(width, height, 0xFFFFFFFF);
    for (int y = 0; y < height; ++y) {
        if (y % 40 >= 30) {
            continue;
        }
        for (int x = 0; x < width / 2; ++x) {
            bitmap.setPixel(x, y, ink);
        }
    }
    return bitmap;
}

// Tiles of 120, 500 and 70 rows, the last one narrower.
std::vector<std::wstring> threeTiles(const std::filesystem::path& root) {
    return {
        writeTile(root / "readable001.png", textPage(200, 120, 0xFF000000)),
        writeTile(root / "readable002.png", textPage(200, 500, 0xFF202020)),
        writeTile(root / "readable003.png", textPage(150, 70, 0xFF404040)),
    };
}

}  // namespace

TEST(TilesToPdf, ShortTilesJoinAndTallTilesAreCutIntoDevicePages) {
    REQUIRE_TOOLS();
    testing_environment::TemporaryHome home;
    const auto& root = home.root();
    // 120 + 500 + 70 rows on pages of 200 x 300: the first tile joins the second, the
    // joined 620 rows are cut at blank rows, and the rest joins the last tile.
    const std::vector<std::wstring> tiles = threeTiles(root);
    std::wstring reason;
    auto pdf = buildPdfFromTiles(tiles, 200, 300, 0, -1, L"AUTO", &reason);
    ASSERT_TRUE(pdf) << platform::text::toUtf8(reason);
    const auto path = root / "book.pdf";
    pdf->setTitle(L"Book");
    ASSERT_TRUE(pdf->save(path.wstring()));

    const auto out = root / "tool.txt";
    EXPECT_TRUE(runTool({"qpdf", "--check", path.string()}, out));
    const auto info = runTool({"pdfinfo", "-f", "1", "-l", "9", path.string()}, out);
    ASSERT_TRUE(info);
    EXPECT_NE(info->find("Pages:           3\n"), std::string::npos) << *info;
    EXPECT_NE(info->find("Page    1 size:  200 x 300 pts"), std::string::npos) << *info;
    EXPECT_NE(info->find("Page    3 size:  200 x 300 pts"), std::string::npos) << *info;

    // Breaks at the last blank row above rows 300 and 590 (blank rows are 30..39 of 40).
    const auto images = listImages(path, out);
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[0].page, 1);
    EXPECT_EQ(images[0].width, 200);
    EXPECT_EQ(images[0].height, 279);
    EXPECT_EQ(images[1].height, 280);
    EXPECT_EQ(images[2].width, 200);  // the joined bitmap is as wide as its wider part
    EXPECT_EQ(images[2].height, 620 - 559 + 70);
    for (const auto& image : images) {
        EXPECT_EQ(image.encoding, "image");  // flat pictures deflate well: Flate, not JPEG
    }

    // The last page shows the end of the second tile, then the third tile, white beside
    // the narrower third tile and below the picture, and the hairlines at the edges.
    const Bitmap page = renderPage(path, 3, root);
    ASSERT_EQ(page.width(), 200);
    ASSERT_EQ(page.height(), 300);
    // Page rows 0..60 are rows 559..619 of the joined first two tiles.
    EXPECT_EQ(page.pixel(0, 10) & 0xFFFFFF, 0x202020u);
    EXPECT_EQ(page.pixel(0, 61 + 10) & 0xFFFFFF, 0x404040u);
    EXPECT_EQ(page.pixel(0, 61 + 35) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(page.pixel(70, 61 + 20) & 0xFFFFFF, 0x404040u);
    EXPECT_EQ(page.pixel(180, 61 + 20) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(page.pixel(100, 200) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_GE(page.pixel(100, 299) & 0xFF, 0xFCu);
}

TEST(TilesToPdf, WhatFollowsTheLastRowThatShowsAnythingMakesNoPage) {
    REQUIRE_TOOLS();
    testing_environment::TemporaryHome home;
    const auto& root = home.root();
    // Text down to row 109 of the first tile, then blank rows and two blank tiles: a page
    // laid out taller than its content.
    const std::vector<std::wstring> tiles = {
        writeTile(root / "readable001.png", textPage(200, 120, 0xFF000000)),
        writeTile(root / "readable002.png", filled(200, 500, 0xFFFFFFFF)),
        writeTile(root / "readable003.png", filled(150, 900, 0xFFFFFFFF)),
    };
    std::wstring reason;
    auto pdf = buildPdfFromTiles(tiles, 200, 300, 0, -1, L"AUTO", &reason);
    ASSERT_TRUE(pdf) << platform::text::toUtf8(reason);
    const auto path = root / "short.pdf";
    ASSERT_TRUE(pdf->save(path.wstring()));
    auto images = listImages(path, root / "tool.txt");
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].height, 110);

    // Blank rows in the middle stay; a page with nothing at all still gives its page.
    const std::vector<std::wstring> middle = {
        writeTile(root / "m001.png", textPage(200, 120, 0xFF000000)),
        writeTile(root / "m002.png", filled(200, 500, 0xFFFFFFFF)),
        writeTile(root / "m003.png", textPage(200, 20, 0xFF000000)),
    };
    pdf = buildPdfFromTiles(middle, 200, 300, 0, -1, L"AUTO", &reason);
    ASSERT_TRUE(pdf && pdf->save(path.wstring()));
    images = listImages(path, root / "tool.txt");
    int rows = 0;
    for (const auto& image : images)
        rows += image.height;
    EXPECT_EQ(rows, 120 + 500 + 20);
    pdf = buildPdfFromTiles({writeTile(root / "b001.png", filled(200, 100, 0xFFFFFFFF))}, 200, 300,
                            0, -1, L"AUTO", &reason);
    ASSERT_TRUE(pdf) << platform::text::toUtf8(reason);
    EXPECT_EQ(pdf->pages().size(), 1u);
}

TEST(TilesToPdf, LinksLandOnThePagesThatShowThemCutAtTheBreaks) {
    REQUIRE_TOOLS();
    testing_environment::TemporaryHome home;
    const auto& root = home.root();
    // The tiles of the test above: pages show rows 0..279, 279..559 and 559..690 of the
    // tiles placed one under the other.
    const std::vector<std::wstring> tiles = threeTiles(root);
    const std::vector<addon::PageLink> links = {
        {"https://example.org/across", {10, 270, 60, 290}},
        {"mailto:a@example.org", {5, 630, 250, 640}},
        {"https://example.org/beyond", {10, 700, 60, 710}},
    };
    std::wstring reason;
    auto pdf =
        buildPdfFromTiles(tiles, 200, 300, 0, -1, L"AUTO", &reason, addon::TileMarks{links, {}});
    ASSERT_TRUE(pdf) << platform::text::toUtf8(reason);
    const auto path = root / "book.pdf";
    ASSERT_TRUE(pdf->save(path.wstring()));
    EXPECT_TRUE(runTool({"qpdf", "--check", path.string()}, root / "tool.txt"));

    std::string bytes;
    platform::system::readWholeFile(path.string(), bytes);
    const auto pages = export_test::linksByPage(bytes);
    ASSERT_EQ(pages.size(), 3u);
    // Rows 270..279 at the foot of the first page, 279..290 at the top of the second.
    ASSERT_EQ(pages[0].size(), 1u);
    EXPECT_EQ(pages[0][0].uri, "https://example.org/across");
    export_test::expectRect(pages[0][0], 10, 300 - 279, 60, 300 - 270);
    ASSERT_EQ(pages[1].size(), 1u);
    EXPECT_EQ(pages[1][0].uri, "https://example.org/across");
    export_test::expectRect(pages[1][0], 10, 300 - 11, 60, 300);
    // Rows 630..640 are 71..81 of the last page; the page's width ends the rectangle.
    ASSERT_EQ(pages[2].size(), 1u);
    EXPECT_EQ(pages[2][0].uri, "mailto:a@example.org");
    export_test::expectRect(pages[2][0], 5, 300 - 81, 200, 300 - 71);

    // Only the pages in the range asked for are written, with their own links.
    auto second =
        buildPdfFromTiles(tiles, 200, 300, 1, 1, L"AUTO", &reason, addon::TileMarks{links, {}});
    ASSERT_TRUE(second);
    const auto only = export_test::linksByPage(second->finishedBytes());
    ASSERT_EQ(only.size(), 1u);
    ASSERT_EQ(only[0].size(), 1u);
    EXPECT_EQ(only[0][0].y1, 300 - 11);
}

TEST(TilesToPdf, ATileWiderThanThePageIsCutIntoPagesWhereItShowsAnything) {
    REQUIRE_TOOLS();
    testing_environment::TemporaryHome home;
    const auto& root = home.root();
    // 450 columns on pages 200 by 300: lines of text on the left down to row 270, and from
    // row 320 two cells of a table that stays wider than the device, over columns
    // 250..380 and 390..420, with the text's blank rows.
    Bitmap tile = filled(450, 500, 0xFFFFFFFF);
    tile.drawBitmap(textPage(200, 270, 0xFF000000), {0, 0, 200, 270}, 0, 0);
    for (int y = 320; y < 500; ++y)
        for (int x = 250; x < 420 && y % 40 < 30; ++x)
            if (x < 380 || x >= 390)
                tile.setPixel(x, y, 0xFF404040);
    // A hairline a shade off white under the text, to the right of the page, makes no page.
    for (int x = 220; x < 450; ++x)
        tile.setPixel(x, 150, 0xFFF4F4F4);
    const std::vector<addon::PageLink> links = {{"https://example.org/cell", {260, 350, 300, 360}}};
    std::wstring reason;
    auto pdf = buildPdfFromTiles({writeTile(root / "wide001.png", tile)}, 200, 300, 0, -1, L"AUTO",
                                 &reason, addon::TileMarks{links, {}});
    ASSERT_TRUE(pdf) << platform::text::toUtf8(reason);
    const auto path = root / "wide.pdf";
    ASSERT_TRUE(pdf->save(path.wstring()));
    EXPECT_TRUE(runTool({"qpdf", "--check", path.string()}, root / "tool.txt"));
    // Rows 0..300 show the text alone: one page. Rows 300..500 show nothing on the left;
    // the table is cut between its cells (column 389), not through the second one.
    const auto images = listImages(path, root / "tool.txt");
    ASSERT_EQ(images.size(), 3u);
    const std::vector<std::pair<int, int>> sizes = {{200, 300}, {189, 200}, {61, 200}};
    for (std::size_t i = 0; i < images.size(); ++i) {
        EXPECT_EQ(images[i].page, static_cast<int>(i) + 1);
        EXPECT_EQ(std::make_pair(images[i].width, images[i].height), sizes[i]) << i;
    }
    const Bitmap second = renderPage(path, 2, root);
    EXPECT_EQ(second.pixel(45, 25) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(second.pixel(55, 25) & 0xFFFFFF, 0x404040u);
    EXPECT_EQ(second.pixel(185, 25) & 0xFFFFFF, 0xFFFFFFu);
    const Bitmap third = renderPage(path, 3, root);
    EXPECT_EQ(third.pixel(40, 25) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(third.pixel(15, 25) & 0xFFFFFF, 0x404040u);
    // The link is on the page that shows it, where it shows.
    const auto pages = export_test::linksByPage(pdf->finishedBytes());
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_TRUE(pages[0].empty() && pages[2].empty());
    ASSERT_EQ(pages[1].size(), 1u);
    export_test::expectRect(pages[1][0], 60, 300 - 60, 100, 300 - 50);
}

TEST(TilesToPdf, OnASheetThePicturesAndLinksSitInsideTheMarginsAtTheirResolution) {
    REQUIRE_TOOLS();
    testing_environment::TemporaryHome home;
    const auto& root = home.root();
    const std::vector<addon::PageLink> links = {{"https://example.org/across", {10, 270, 60, 290}}};
    // Two pixels to the point (144 dpi), on pages of 300 by 400 points whose pictures start
    // 50 points from the left and 20 from the top.
    addon::SheetGeometry sheet;
    sheet.pointsPerPixel = 0.5;
    sheet.width = 300;
    sheet.height = 400;
    sheet.left = 50;
    sheet.top = 20;
    std::wstring reason;
    auto pdf = buildPdfFromTiles(threeTiles(root), 200, 300, 0, -1, L"AUTO", &reason,
                                 addon::TileMarks{links, {}}, sheet);
    ASSERT_TRUE(pdf) << platform::text::toUtf8(reason);
    const auto path = root / "sheets.pdf";
    ASSERT_TRUE(pdf->save(path.wstring()));
    EXPECT_TRUE(runTool({"qpdf", "--check", path.string()}, root / "tool.txt"));
    const auto info = runTool({"pdfinfo", path.string()}, root / "info.txt");
    ASSERT_TRUE(info);
    EXPECT_NE(info->find("Page size:       300 x 400 pts"), std::string::npos) << *info;
    const auto list = runTool({"pdfimages", "-list", path.string()}, root / "list.txt");
    ASSERT_TRUE(list);
    EXPECT_NE(list->find("  144   144 "), std::string::npos) << *list;

    // The first page shows rows 0..279: the link's rows 270..279 are 155..159.5 points down.
    const auto pages = export_test::linksByPage(pdf->finishedBytes());
    ASSERT_EQ(pages.size(), 3u);
    ASSERT_EQ(pages[0].size(), 1u);
    export_test::expectRect(pages[0][0], 55, 400 - 159.5, 80, 400 - 155);
    ASSERT_EQ(pages[1].size(), 1u);
    export_test::expectRect(pages[1][0], 55, 400 - 25.5, 80, 400 - 20);

    // A sheet larger than PDF's 200 inches is refused.
    sheet.height = 20000;
    EXPECT_FALSE(buildPdfFromTiles(threeTiles(root), 200, 300, 0, -1, L"AUTO", &reason, {}, sheet));
}

TEST(TilesToPdf, PageRangeAndEncodingModes) {
    REQUIRE_TOOLS();
    testing_environment::TemporaryHome home;
    const auto& root = home.root();
    // One tall tile of five flat colours, cut at the page height into five pages.
    Bitmap tall = filled(100, 500, 0xFFFFFFFF);
    const std::uint32_t colours[] = {0xFF110000, 0xFF002200, 0xFF000033, 0xFF440000, 0xFF005500};
    for (int y = 0; y < 500; ++y) {
        for (int x = 0; x < 100; ++x) {
            tall.setPixel(x, y, colours[y / 100]);
        }
    }
    const std::vector<std::wstring> tiles = {writeTile(root / "t001.png", tall)};
    auto pdf = buildPdfFromTiles(tiles, 100, 100, 2, 3, L"PNG");
    ASSERT_TRUE(pdf);
    ASSERT_EQ(pdf->pages().size(), 2u);
    const auto path = root / "range.pdf";
    ASSERT_TRUE(pdf->save(path.wstring()));
    EXPECT_EQ(renderPage(path, 1, root).pixel(50, 50) & 0xFFFFFF, 0x000033u);
    EXPECT_EQ(renderPage(path, 2, root).pixel(50, 50) & 0xFFFFFF, 0x440000u);

    // A photograph-like tile is stored as JPEG in AUTO mode, and on demand.
    Bitmap noise(120, 90, PixelFormat::Rgb24);
    std::mt19937 random(7);
    for (int y = 0; y < 90; ++y) {
        for (int x = 0; x < 120; ++x) {
            noise.setPixel(x, y, random() | 0xFF000000);
        }
    }
    const auto out = root / "tool.txt";
    const std::vector<std::wstring> photo = {writeTile(root / "p001.png", noise)};
    for (const auto& [mode, encoding] : {std::pair<const wchar_t*, const char*>{L"AUTO", "jpeg"},
                                         {L"JPEG", "jpeg"},
                                         {L"PNG", "image"},
                                         {L"RAW", "image"}}) {
        auto document = buildPdfFromTiles(photo, 120, 100, 0, -1, mode);
        ASSERT_TRUE(document);
        ASSERT_TRUE(document->save((root / "photo.pdf").wstring()));
        EXPECT_TRUE(runTool({"qpdf", "--check", (root / "photo.pdf").string()}, out));
        const auto images = listImages(root / "photo.pdf", out);
        ASSERT_EQ(images.size(), 1u);
        EXPECT_EQ(images[0].encoding, encoding) << platform::text::toUtf8(mode);
        EXPECT_EQ(images[0].width, 120);
        EXPECT_EQ(images[0].height, 90);
    }
    // Uncompressed pictures keep their colours in red, green, blue order.
    Bitmap red = filled(10, 10, 0xFFCC2211);
    auto raw = buildPdfFromTiles({writeTile(root / "r001.png", red)}, 10, 10, 0, -1, L"RAW");
    ASSERT_TRUE(raw);
    ASSERT_TRUE(raw->save((root / "raw.pdf").wstring()));
    EXPECT_EQ(renderPage(root / "raw.pdf", 1, root).pixel(5, 5) & 0xFFFFFF, 0xCC2211u);
}

TEST(TilesToPdf, FailuresGiveNoDocumentAndSayWhy) {
    testing_environment::TemporaryHome home;
    const auto& root = home.root();
    const std::wstring tile = writeTile(root / "a001.png", filled(50, 50, 0xFF000000));
    std::wstring reason;
    EXPECT_FALSE(buildPdfFromTiles({}, 100, 100, 0, -1, L"AUTO", &reason));
    EXPECT_EQ(reason, L"there are no pictures to convert");
    EXPECT_FALSE(buildPdfFromTiles({tile}, 0, 100, 0, -1, L"AUTO", &reason));
    EXPECT_FALSE(buildPdfFromTiles({tile}, 100, -5, 0, -1, L"AUTO", &reason));
    EXPECT_EQ(reason, L"the page size is not positive");
    EXPECT_FALSE(buildPdfFromTiles({tile}, 100, 0x7FFFFFFF, 0, -1, L"AUTO", &reason));
    EXPECT_EQ(reason, L"the page size is beyond the 14400 units a PDF page may have");
    EXPECT_FALSE(buildPdfFromTiles({tile}, 100, 100, 3, 2, L"AUTO", &reason));
    EXPECT_EQ(reason, L"the last page comes before the first page");
    // A tile that cannot be read fails the whole conversion rather than losing a page.
    const std::wstring missing = (root / "a002.png").wstring();
    EXPECT_FALSE(buildPdfFromTiles({tile, missing}, 100, 100, 0, -1, L"AUTO", &reason));
    EXPECT_EQ(reason, L"cannot read the picture " + missing);
    ASSERT_TRUE(platform::system::writeFileAtomically((root / "bad.png").string(), "garbage"));
    EXPECT_FALSE(buildPdfFromTiles({(root / "bad.png").wstring()}, 100, 100, 0, -1, L"AUTO"));
    // One page, but the range asks for the second.
    EXPECT_FALSE(buildPdfFromTiles({tile}, 100, 100, 1, -1, L"AUTO", &reason));
    EXPECT_EQ(reason, L"the tiles give no page in the range asked for");
    EXPECT_TRUE(buildPdfFromTiles({tile}, 100, 100, 0, 0, L"AUTO"));
}

TEST(TilesToPdf, ConversionsOnSeveralThreadsAllFinish) {
    testing_environment::TemporaryHome home;
    const std::wstring tile = writeTile(home.root() / "c001.png", textPage(300, 900, 0xFF000000));
    std::vector<std::size_t> pageCounts(4);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < pageCounts.size(); ++i) {
        threads.emplace_back([&, i] {
            auto pdf = buildPdfFromTiles({tile}, 300, 400, 0, -1, L"AUTO");
            pageCounts[i] = pdf ? pdf->pages().size() : 0;
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(pageCounts, std::vector<std::size_t>(4, 3u));
}
