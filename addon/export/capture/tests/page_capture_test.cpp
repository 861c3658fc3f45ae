#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "addon/export/capture/css_colour.h"
#include "addon/export/capture/image_files.h"
#include "addon/export/capture/page_capture.h"
#include "addon/export/capture/page_painter.h"
#include "platform/dom/layout_engine.h"
#include "platform/dom/style/inline_style.h"
#include "platform/dom/window.h"
#include "platform/imaging/codecs/image_codecs.h"
#include "testing/environment/temporary_home.h"

using namespace addon;
namespace dom = platform::dom;
namespace imaging = platform::imaging;

namespace {

constexpr std::uint32_t kPageColour = 0xFFEEEEFF;
constexpr std::uint32_t kBoxColour = 0xFFFFF0C8;
constexpr std::uint32_t kBorderColour = 0xFFFF0000;

const char* const kStyledPage = R"(<html><head><style>
body { background-color: #eeeeff }
#box { background-color: rgb(255, 240, 200); border: 4px solid red; padding: 10px; color: #000080 }
h1 { color: black }
</style></head><body>
<div id="box" name="readable">Hello World</div>
<h1 id="heading">Heading</h1>
<img id="picture" src="missing.png" width="40" height="30">
</body></html>)";

// A page of `count` paragraphs, every fifth one in a "readable" block.
std::string longPage(int count) {
    std::string html = "<html><body style='overflow: auto'>";
    for (int index = 0; index < count; ++index) {
        const bool readable = index % 5 == 0;
        html += readable ? "<div name='readable' style='width: 300px'>" : "<p>";
        html += "Line " + std::to_string(index) + " of the article";
        html += readable ? "</div>" : "</p>";
    }
    return html + "</body></html>";
}

int brightness(std::uint32_t argb) {
    return static_cast<int>(((argb >> 16) & 0xFF) + ((argb >> 8) & 0xFF) + (argb & 0xFF));
}

// The darkest pixel inside a rectangle of the picture.
std::uint32_t darkest(const imaging::Bitmap& picture, const dom::Rect& rect) {
    std::uint32_t result = 0xFFFFFFFF;
    for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, picture.height()); ++y)
        for (int x = std::max(rect.left, 0); x < std::min(rect.right, picture.width()); ++x)
            if (brightness(picture.pixel(x, y)) < brightness(result))
                result = picture.pixel(x, y);
    return result;
}

}  // namespace

TEST(PagePainter, PaintsBackgroundsBordersTextAndPicturePlaceholders) {
    auto page = dom::Document::parse(std::string_view(kStyledPage));
    const auto box = page->boxOf(*page->getElementById(L"box")).value();
    const dom::Size size = page->layout().contentSize();
    const imaging::Bitmap picture = paintPage(*page, {0, 0, size.width, size.height});
    ASSERT_EQ(picture.width(), size.width);
    ASSERT_EQ(picture.height(), size.height);

    EXPECT_EQ(picture.pixel(size.width - 2, size.height - 2), kPageColour);
    EXPECT_EQ(picture.pixel(box.left + 1, box.top + 1), kBorderColour);
    EXPECT_EQ(picture.pixel(box.right - 2, box.bottom - 2), kBorderColour);
    EXPECT_EQ(picture.pixel(box.left + 6, box.top + 6), kBoxColour);  // padding
    EXPECT_EQ(picture.pixel(box.right - 8, box.top + 20), kBoxColour);

    // Text is drawn in its colour where the layout put its characters, and nowhere else.
    const auto& text = static_cast<const dom::Text&>(*page->getElementById(L"box")->firstChild());
    const auto cells = page->layout().textRects(text, 0, 5);  // "Hello"
    ASSERT_EQ(cells.size(), 1u);
    const std::uint32_t ink = darkest(picture, cells.front());
    EXPECT_LT(brightness(ink), brightness(kBoxColour) - 200);
    EXPECT_GT(ink & 0xFF, (ink >> 16) & 0xFF) << "navy text is bluer than it is red";
    const dom::Rect afterText{cells.front().right + 100, cells.front().top, box.right - 8,
                              cells.front().bottom};
    EXPECT_EQ(darkest(picture, afterText), kBoxColour);

    const auto& heading =
        static_cast<const dom::Text&>(*page->getElementById(L"heading")->firstChild());
    const auto headingCells = page->layout().textRects(heading, 0, 1);
    ASSERT_EQ(headingCells.size(), 1u);
    EXPECT_LT(brightness(darkest(picture, headingCells.front())), 150);

    // A picture that cannot be loaded is a framed grey box of its size.
    const auto image = page->boxOf(*page->getElementById(L"picture")).value();
    EXPECT_EQ(image.width(), 40);
    EXPECT_EQ(picture.pixel(image.left, image.top), 0xFF9A9A9Au);
    EXPECT_EQ(picture.pixel(image.left + 20, image.top + 15), 0xFFE8E8E8u);

    // A part of the page is the same pixels as the whole.
    const imaging::Bitmap part = paintPage(*page, {box.left, box.top, box.right, box.bottom});
    EXPECT_EQ(part.pixel(1, 1), kBorderColour);
    EXPECT_EQ(part.pixel(6, 6), kBoxColour);
}

TEST(PagePainter, DrawsLocalPngPicturesScaledToTheirBox) {
    testing_environment::TemporaryHome home;
    imaging::Bitmap green(4, 2, imaging::PixelFormat::Rgb24);
    green.fill(0xFF00C000);
    const auto file = home.root() / "green.png";
    ASSERT_EQ(imaging::saveBitmap(green, file.string(), "image/png"), imaging::Status::Ok);
    auto page = dom::Document::parse(
        std::string_view("<body><img id='a' src='green.png' width='40' height='20'></body>"),
        L"file://" + (home.root() / "page.html").wstring());
    const auto box = page->boxOf(*page->getElementById(L"a")).value();
    const imaging::Bitmap picture = paintPage(*page, {0, 0, 200, 100});
    EXPECT_EQ(picture.pixel(box.left, box.top), 0xFF00C000u);
    EXPECT_EQ(picture.pixel(box.right - 1, box.bottom - 1), 0xFF00C000u);
    EXPECT_EQ(picture.pixel(box.right + 1, box.top), 0xFFFFFFFFu);
}

TEST(CssColour, ReadsTheFormsPagesUse) {
    EXPECT_EQ(parseCssColour(L"#fff"), 0xFFFFFFFFu);
    EXPECT_EQ(parseCssColour(L" #1A2b3C "), 0xFF1A2B3Cu);
    EXPECT_EQ(parseCssColour(L"rgb(255, 0, 10)"), 0xFFFF000Au);
    EXPECT_EQ(parseCssColour(L"rgb(100%,50%,0%)"), 0xFFFF8000u);
    EXPECT_EQ(parseCssColour(L"NAVY"), 0xFF000080u);
    EXPECT_EQ(parseCssColour(L"transparent"), 0u);
    for (const wchar_t* bad : {L"", L"#12", L"#ggg", L"rgb(1,2)", L"rgb(1,2,3,4)", L"inherit",
                               L"rgb(a,b,c)", L"buttonface"})
        EXPECT_FALSE(parseCssColour(bad)) << bad;
}

TEST(ImageFiles, EncoderFollowsTheExtensionInAnyCase) {
    testing_environment::TemporaryHome home;
    imaging::Bitmap bitmap(3, 3, imaging::PixelFormat::Rgb24);
    bitmap.fill(0xFF102030);
    EXPECT_GE(findEncoder("image/png"), 0);
    EXPECT_EQ(findEncoder("image/PNG"), -1);
    EXPECT_EQ(findEncoder("image/tiff"), -1);

    const auto root = home.root();
    EXPECT_EQ(saveBitmapByExtension(bitmap, (root / "noextension").wstring()), -1);
    EXPECT_EQ(saveBitmapByExtension(bitmap, (root / ".png").wstring()), -1);
    EXPECT_EQ(saveBitmapByExtension(bitmap, (root / "picture.tif").wstring()), -1);
    EXPECT_EQ(saveBitmapByExtension(bitmap, (root / "dir.png" / "name").wstring()), -1);
    EXPECT_FALSE(std::filesystem::exists(root / "noextension"));

    EXPECT_EQ(saveBitmapByExtension(bitmap, (root / "upper.PNG").wstring()), 0);
    imaging::Bitmap back;
    ASSERT_EQ(imaging::loadBitmap((root / "upper.PNG").string(), back), imaging::Status::Ok);
    EXPECT_EQ(back.pixel(1, 1), 0xFF102030u);
    for (const char* name : {"a.jpg", "a.JPEG", "a.gif", "a.bmp"}) {
        EXPECT_EQ(saveBitmapByExtension(bitmap, (root / name).wstring()), 0) << name;
        EXPECT_GT(std::filesystem::file_size(root / name), 0u) << name;
    }
    // A folder that does not exist gives the imaging library's file error, not success.
    EXPECT_GT(saveBitmapByExtension(bitmap, (root / "missing" / "a.png").wstring()), 0);

    EXPECT_EQ(tileFileName(L"/tmp/readable", 1), L"/tmp/readable001.png");
    EXPECT_EQ(tileFileName(L"r", 10), L"r010.png");
    EXPECT_EQ(tileFileName(L"r", 1000), L"r1000.png");
}

TEST(ReadableTile, StacksTheReadablePartsOfASliceOnWhite) {
    imaging::Bitmap slice(100, 50, imaging::PixelFormat::Rgb24);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x)
            slice.setPixel(x, y, 0xFF000000u | static_cast<std::uint32_t>(y << 8 | x));

    EXPECT_EQ(cutReadableTile(slice, 1000, {})->height(), 50) << "no rectangles: whole slice";

    // Slice rows are page rows 1000..1049.
    const auto tile = cutReadableTile(slice, 1000,
                                      {{10, 990, 40, 1010},     // rows 0..9, columns 10..39
                                       {-5, 1040, 60, 1200},    // rows 40..49, columns 0..59
                                       {0, 900, 100, 1000},     // only touches the top edge
                                       {0, 1050, 100, 1100}});  // only touches the bottom
    ASSERT_TRUE(tile);
    EXPECT_EQ(tile->width(), 60);
    EXPECT_EQ(tile->height(), 20);
    EXPECT_EQ(tile->pixel(0, 0), 0xFF00000Au);    // slice (10, 0)
    EXPECT_EQ(tile->pixel(29, 9), 0xFF000927u);   // slice (39, 9)
    EXPECT_EQ(tile->pixel(45, 5), 0xFFFFFFFFu);   // beside the narrower piece
    EXPECT_EQ(tile->pixel(0, 10), 0xFF002800u);   // slice (0, 40)
    EXPECT_EQ(tile->pixel(59, 19), 0xFF00313Bu);  // slice (59, 49)

    EXPECT_FALSE(cutReadableTile(slice, 1000, {{0, 0, 100, 1000}, {0, 1050, 10, 1060}}))
        << "a slice with nothing readable gives no picture";
}

TEST(PageCapture, ReadableTilesPerSliceAndThePageIsPutBack) {
    testing_environment::TemporaryHome home;
    auto page = dom::Document::parse(longPage(250));
    page->parentWindow().resizeTo(900, 700);
    page->parentWindow().scrollTo(0, 50);
    const std::wstring bodyStyle = page->body()->getAttribute(L"style").value_or(L"");

    DirectPageAccess access(*page);
    const auto prefix = (home.root() / "readable").wstring();
    const auto files = captureReadableTiles(access, L"readable", prefix);

    // Laid out at 600 pixels the page is taller than one slice: two tiles.
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0], prefix + L"001.png");
    EXPECT_EQ(files[1], prefix + L"002.png");
    imaging::Bitmap first, second;
    ASSERT_EQ(imaging::loadBitmap(home.root() / "readable001.png", first), imaging::Status::Ok);
    ASSERT_EQ(imaging::loadBitmap(home.root() / "readable002.png", second), imaging::Status::Ok);
    EXPECT_EQ(first.width(), 300) << "as wide as the readable blocks";
    // One line of each of the 50 readable blocks, split between the two tiles.
    const auto probe = dom::Document::parse(std::string_view(longPage(1)));
    const int line = probe->body()->children().front()->offsetHeight();
    ASSERT_GT(line, 0);
    EXPECT_EQ(first.height() % line, 0);
    EXPECT_EQ(first.height() + second.height(), 50 * line);
    // Each line's piece holds text: dark pixels on a white page.
    for (int piece = 0; piece < first.height() / line; ++piece) {
        const std::uint32_t ink = darkest(first, {0, piece * line, 300, piece * line + line});
        EXPECT_LT(brightness(ink), 200) << "piece " << piece;
    }
    EXPECT_EQ(first.pixel(299, 0), 0xFFFFFFFFu);

    EXPECT_EQ(page->parentWindow().viewport(), (dom::Size{900, 700}));
    EXPECT_EQ(page->parentWindow().scrollPosition().y, 50);
    EXPECT_EQ(page->body()->getAttribute(L"style").value_or(L""), bodyStyle);
    EXPECT_EQ(page->documentElement()->getAttribute(L"style").value_or(L""), L"");
}

TEST(PageCapture, WholePageWithoutReadablePartsAndAsOneBitmap) {
    testing_environment::TemporaryHome home;
    auto page = dom::Document::parse(std::string_view(kStyledPage));
    DirectPageAccess access(*page);
    const auto files =
        captureReadableTiles(access, L"nothing-named-so", (home.root() / "t").wstring());
    ASSERT_EQ(files.size(), 1u);
    imaging::Bitmap tile;
    ASSERT_EQ(imaging::loadBitmap(home.root() / "t001.png", tile), imaging::Status::Ok);
    EXPECT_EQ(tile.width(), kCaptureLayoutWidth);
    EXPECT_EQ(tile.height(), kCaptureLayoutHeight) << "a short page fills the window";
    EXPECT_EQ(tile.pixel(kCaptureLayoutWidth - 1, kCaptureLayoutHeight - 1), kPageColour);

    const imaging::Bitmap whole = capturePageBitmap(*page);
    EXPECT_EQ(whole.width(), kCaptureLayoutWidth);
    EXPECT_EQ(whole.pixel(10, 10), tile.pixel(10, 10));
    EXPECT_EQ(page->parentWindow().viewport(), dom::Window::kDefaultViewport);

    // A page that asks for an absurd width is rendered only as wide as the limit.
    auto wide = dom::Document::parse(
        std::string_view("<body><div style='position: absolute; left: 90000px; top: 0; width: "
                         "100px'>x</div></body>"));
    DirectPageAccess wideAccess(*wide);
    const auto wideFiles =
        captureReadableTiles(wideAccess, L"nothing", (home.root() / "wide").wstring());
    ASSERT_EQ(wideFiles.size(), 1u);
    imaging::Bitmap wideTile;
    ASSERT_EQ(imaging::loadBitmap(home.root() / "wide001.png", wideTile), imaging::Status::Ok);
    EXPECT_EQ(wideTile.width(), kCaptureMaxWidth);

    auto empty = dom::Document::parse(std::string_view("<html></html>"));
    empty->documentElement()->removeChild(empty->body());
    EXPECT_TRUE(capturePageBitmap(*empty).empty());
}

// The page is painted in slices, but laid out in a window of the capture's size, as a
// browser prints it: what is as tall as the window (a video frame of height 100% without a
// doctype) stays one window tall instead of growing with the page.
TEST(PageCapture, WhatIsAsTallAsTheWindowStaysAsTallAsTheCapturesWindow) {
    auto page = dom::Document::parse(std::string_view(
        "<html><body style='margin:0'><div><div id=frame style='height:100%'></div></div>"
        "<div style='height:3000px'></div></body></html>"));
    const imaging::Bitmap whole = capturePageBitmap(*page);
    EXPECT_EQ(whole.height(), kCaptureLayoutHeight + 3000);
}

TEST(PageCapture, APageWiderThanTheDeviceIsPaintedSmallerWithItsPicturesMarked) {
    testing_environment::TemporaryHome home;
    // 1200 pixels wide, a red block at the right end; under it a picture 12000 rows tall.
    auto page = dom::Document::parse(std::string_view(
        "<body style='margin: 0'><div style='width: 1200px; height: 50px; position: relative'>"
        "<div style='position: absolute; right: 0; top: 0; width: 60px; height: 50px; "
        "background: #ff0000'></div></div>"
        "<img style='display: block; width: 300px; height: 12000px'></body>"));
    DirectPageAccess access(*page);
    TileCapture how;
    how.layoutWidth = 600;
    how.fitWidth = 600;
    TileMarks marks;
    const auto files =
        captureReadableTiles(access, L"nothing", (home.root() / "w").wstring(), how, &marks);
    // At half size the slices hold 12000 rows of the page: two tiles.
    ASSERT_EQ(files.size(), 2u);
    imaging::Bitmap first, second;
    ASSERT_EQ(imaging::loadBitmap(home.root() / "w001.png", first), imaging::Status::Ok);
    ASSERT_EQ(imaging::loadBitmap(home.root() / "w002.png", second), imaging::Status::Ok);
    EXPECT_EQ(first.width(), 600);
    EXPECT_EQ(first.height(), 6000);
    EXPECT_EQ(second.height(), 25);
    EXPECT_EQ(first.pixel(595, 10), 0xFFFF0000u) << "the right end is not cut off";
    EXPECT_EQ(first.pixel(572, 10), 0xFFFF0000u);
    EXPECT_EQ(first.pixel(565, 10), 0xFFFFFFFFu);
    // The picture's parts in both tiles are one picture again.
    ASSERT_EQ(marks.pictures.size(), 1u);
    EXPECT_EQ(marks.pictures[0], (dom::Rect{0, 25, 150, 6025}));

    // A page too wide to shrink gives tiles of fewer rows, each small enough to be read
    // again whole.
    auto wide = dom::Document::parse(std::string_view(
        "<body style='margin: 0'><div style='width: 9000px; height: 4000px'></div></body>"));
    DirectPageAccess wideAccess(*wide);
    how.smallestScale = 1;
    const auto wideFiles =
        captureReadableTiles(wideAccess, L"nothing", (home.root() / "x").wstring(), how);
    how.smallestScale = 0;
    ASSERT_EQ(wideFiles.size(), 2u);
    int rows = 0;
    for (const auto& file : wideFiles) {
        imaging::Bitmap wideTile;
        ASSERT_EQ(imaging::loadBitmap(std::filesystem::path(file), wideTile), imaging::Status::Ok);
        EXPECT_EQ(wideTile.width(), 9000);
        EXPECT_LE(static_cast<long long>(wideTile.width()) * wideTile.height(), kCaptureTilePixels);
        rows += wideTile.height();
    }
    EXPECT_EQ(rows, 4000);

    // A page that fits is painted at its size.
    auto narrow = dom::Document::parse(std::string_view("<body><p>Short</p></body>"));
    DirectPageAccess narrowAccess(*narrow);
    const auto narrowFiles =
        captureReadableTiles(narrowAccess, L"nothing", (home.root() / "n").wstring(), how);
    ASSERT_EQ(narrowFiles.size(), 1u);
    imaging::Bitmap tile;
    ASSERT_EQ(imaging::loadBitmap(home.root() / "n001.png", tile), imaging::Status::Ok);
    EXPECT_EQ(tile.width(), 600);
    EXPECT_EQ(tile.height(), kCaptureLayoutHeight);
}

// Right-to-left text printed as Print to PDF shapes the readable part: as wide as the
// device, without padding, its overflow hidden, inside a column whose own padding makes the
// page wider than the device. Every glyph stands whole in the tile, the lines against its
// right edge: the tile holds as much ink as the same text in a tile with room around it.
TEST(PageCapture, RightToLeftTextPrintedAsWideAsTheDeviceKeepsEveryGlyph) {
    testing_environment::TemporaryHome home;
    const auto inkOf = [&](const std::string& readableStyle, const char* name, int& width,
                           int& rightmost) {
        auto page = dom::Document::parse(std::string_view(
            "<!DOCTYPE html><html dir=rtl><body style='margin:0'><div style='padding:0 20px'>"
            "<div name=readable style=\"font:16px 'DejaVu Sans';" +
            readableStyle +
            "\"><h1>\u0639\u0646\u0648\u0627\u0646 \u0627\u0644\u0645\u0642\u0627\u0644</h1>"
            "<p>\u05d6\u05d4\u05d5 \u05e4\u05e1\u05e7\u05d4 \u05e8\u05d0\u05e9\u05d5\u05e0\u05d4 "
            "\u05e9\u05dc \u05d4\u05de\u05d0\u05de\u05e8 \u05d1\u05e2\u05d1\u05e8\u05d9\u05ea "
            "\u05d5\u05d4\u05d9\u05d0 \u05d0\u05e8\u05d5\u05db\u05d4 \u05de\u05e1\u05e4\u05d9"
            "\u05e7 \u05db\u05d3\u05d9 \u05dc\u05d4\u05e9\u05ea\u05e8\u05e2 \u05e2\u05dc "
            "\u05e4\u05e0\u05d9 \u05db\u05de\u05d4 \u05e9\u05d5\u05e8\u05d5\u05ea</p></div>"
            "</div></body></html>"));
        DirectPageAccess access(*page);
        TileCapture how;
        how.layoutWidth = 300;
        const auto files =
            captureReadableTiles(access, L"readable", (home.root() / name).wstring(), how);
        EXPECT_EQ(files.size(), 1u);
        imaging::Bitmap tile;
        if (files.empty() ||
            imaging::loadBitmap(std::filesystem::path(files[0]), tile) != imaging::Status::Ok)
            return -1;
        width = tile.width();
        rightmost = -1;
        int ink = 0;
        for (int y = 0; y < tile.height(); ++y)
            for (int x = 0; x < tile.width(); ++x)
                if (brightness(tile.pixel(x, y)) < 3 * 128) {
                    ++ink;
                    rightmost = std::max(rightmost, x);
                }
        return ink;
    };
    int printedWidth = 0, printedRight = 0, roomyWidth = 0, roomyRight = 0;
    const int printed =
        inkOf("width:300px;padding:0px;overflow:hidden", "printed", printedWidth, printedRight);
    const int roomy = inkOf("width:300px;padding:0 40px", "roomy", roomyWidth, roomyRight);
    EXPECT_EQ(printedWidth, 300);
    EXPECT_EQ(roomyWidth, 380);
    ASSERT_GT(roomy, 500);
    EXPECT_EQ(printed, roomy) << "no glyph is cut";
    EXPECT_GE(printedRight, 296) << "the lines stand against the right edge";
    EXPECT_EQ(roomyRight - printedRight, 40);
}

TEST(PageAccess, WorkFromAnotherThreadRunsWhenThePageIsPumpedAndNeverAfterAStop) {
    auto page = dom::Document::parse(std::string_view("<body><p id='p'>text</p></body>"));
    std::atomic<bool> stop{false};
    std::atomic<int> ran{0};
    std::atomic<bool> finished{false};
    bool result = false;
    std::thread worker([&] {
        ProxiedPageAccess access(page->proxy(), [&] { return stop.load(); });
        result = access.run([&](dom::Document& document) {
            EXPECT_TRUE(document.isOwnerThread());
            ++ran;
        });
        finished = true;
    });
    while (!finished) {
        page->pumpTasks();
        std::this_thread::yield();
    }
    worker.join();
    EXPECT_TRUE(result);
    EXPECT_EQ(ran, 1);

    // A stop while the work waits: the caller returns false and the work never runs.
    finished = false;
    std::thread stopped([&] {
        ProxiedPageAccess access(page->proxy(), [&] { return stop.load(); });
        result = access.run([&](dom::Document&) { ++ran; });
        finished = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    stop = true;
    stopped.join();
    EXPECT_FALSE(result);
    page->pumpTasks();
    EXPECT_EQ(ran, 1);

    // Work that must run still runs after the stop; a time limit ends the wait.
    std::thread mustRun([&] {
        ProxiedPageAccess access(
            page->proxy(), [&] { return stop.load(); }, std::chrono::milliseconds(100));
        result = access.run([&](dom::Document&) { ++ran; }, true);
    });
    mustRun.join();
    EXPECT_FALSE(result) << "nobody pumped within the limit";
    page->pumpTasks();
    EXPECT_EQ(ran, 1);
}
