#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/dom/document.h"
#include "platform/dom/layout/page_container.h"
#include "platform/dom/layout_engine.h"
#include "platform/dom/resources/page_resources.h"
#include "platform/imaging/canvas/canvas.h"
#include "platform/imaging/codecs/image_codecs.h"

namespace platform::dom {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

// A page of one box at (0, 0) of the canvas, painted at `scale`.
imaging::Canvas paintedBody(const std::wstring& body, int width, int height, double scale = 1.0,
                            const std::wstring& address = L"about:blank") {
    auto document = Document::parse(
        L"<!DOCTYPE html><body style='margin:0;font:16px \"DejaVu Sans\"'>" + body + L"</body>",
        address);
    imaging::Canvas canvas(static_cast<int>(width * scale), static_cast<int>(height * scale));
    document->layout().paint(canvas, {0, 0, width, height}, scale);
    return canvas;
}

std::uint32_t rgb(const imaging::Canvas& canvas, int x, int y) {
    return canvas.pixel(x, y) & 0xFFFFFF;
}

// How often the row y changes between `colour` and anything else, from x = from to x = to.
int changesAlongRow(const imaging::Canvas& canvas, int y, int from, int to, std::uint32_t colour) {
    int changes = 0;
    for (int x = from + 1; x < to; ++x)
        changes += (rgb(canvas, x, y) == colour) != (rgb(canvas, x - 1, y) == colour);
    return changes;
}

TEST(BoxPainting, DashedAndDottedBordersHaveGapsAndSolidOnesNone) {
    const auto box = [](const wchar_t* style) {
        return paintedBody(std::wstring(L"<div style='width:200px;height:40px;border:") + style +
                               L" #ff0000'></div>",
                           220, 60);
    };
    const imaging::Canvas solid = box(L"2px solid");
    const imaging::Canvas dashed = box(L"2px dashed");
    const imaging::Canvas dotted = box(L"2px dotted");
    EXPECT_EQ(changesAlongRow(solid, 0, 0, 204, 0xFF0000), 0);
    EXPECT_EQ(rgb(solid, 100, 0), 0xFF0000u);
    // Dashes of about three widths and gaps between them; dots of one width.
    EXPECT_GT(changesAlongRow(dashed, 0, 0, 204, 0xFF0000), 20);
    EXPECT_LT(changesAlongRow(dashed, 0, 0, 204, 0xFF0000), 60);
    EXPECT_GT(changesAlongRow(dotted, 0, 0, 204, 0xFF0000), 60);
    // The left side is broken too, down its column.
    int leftChanges = 0;
    for (int y = 1; y < 44; ++y)
        leftChanges += (rgb(dashed, 0, y) == 0xFF0000) != (rgb(dashed, 0, y - 1) == 0xFF0000);
    EXPECT_GT(leftChanges, 3);
    // A dash starts at each corner, so the corners are painted.
    EXPECT_EQ(rgb(dashed, 0, 0), 0xFF0000u);
    EXPECT_EQ(rgb(dashed, 203, 43), 0xFF0000u);
    // Nothing spills inside the box.
    EXPECT_EQ(rgb(dashed, 100, 3), kWhite);
}

TEST(BoxPainting, ADoubleBorderIsTwoLinesWithAGapBetween) {
    const imaging::Canvas canvas = paintedBody(
        L"<div style='width:100px;height:40px;border:9px double #0000ff'></div>", 140, 70);
    // Three bands of three pixels: line, gap, line.
    EXPECT_EQ(rgb(canvas, 60, 1), 0x0000FFu);
    EXPECT_EQ(rgb(canvas, 60, 4), kWhite);
    EXPECT_EQ(rgb(canvas, 60, 7), 0x0000FFu);
    EXPECT_EQ(rgb(canvas, 4, 30), kWhite);
    EXPECT_EQ(rgb(canvas, 1, 30), 0x0000FFu);
}

TEST(BoxPainting, SidesOfDifferentColoursMeetOnTheDiagonal) {
    const imaging::Canvas canvas = paintedBody(
        L"<div style='width:60px;height:30px;border-style:solid;border-width:10px;"
        L"border-color:#ff0000 #00ff00 #0000ff #ffff00'></div>",
        100, 60);
    // Near the top left corner: above the diagonal the top's red, below it the left's yellow.
    EXPECT_EQ(rgb(canvas, 7, 2), 0xFF0000u);
    EXPECT_EQ(rgb(canvas, 2, 7), 0xFFFF00u);
    EXPECT_EQ(rgb(canvas, 77, 2), 0xFF0000u);
    EXPECT_EQ(rgb(canvas, 77, 8), 0x00FF00u);
    EXPECT_EQ(rgb(canvas, 40, 47), 0x0000FFu);
    EXPECT_EQ(rgb(canvas, 40, 25), kWhite);
}

TEST(BoxPainting, RoundedCornersLeaveTheCornerPixelsUnpainted) {
    for (const double scale : {1.0, 3.0}) {
        SCOPED_TRACE(scale);
        const imaging::Canvas canvas = paintedBody(
            L"<div style='width:100px;height:60px;background:#00ff00;border:4px solid #000000;"
            L"border-radius:20px'></div>",
            120, 80, scale);
        const auto at = [&](int x, int y) {
            return rgb(canvas, static_cast<int>(x * scale), static_cast<int>(y * scale));
        };
        EXPECT_EQ(at(0, 0), kWhite);
        EXPECT_EQ(at(107, 0), kWhite);
        EXPECT_EQ(at(0, 67), kWhite);
        EXPECT_EQ(at(107, 67), kWhite);
        // The straight parts of the border and the background inside.
        EXPECT_EQ(at(54, 1), 0u);
        EXPECT_EQ(at(1, 34), 0u);
        EXPECT_EQ(at(54, 34), 0x00FF00u);
        // Along the diagonal of the corner: outside the curve, the border's curve, then the
        // background inside it.
        EXPECT_EQ(at(3, 3), kWhite);
        EXPECT_LT(at(8, 8) & 0xFF00, 0x8000u) << "the border, not the background";
        EXPECT_EQ(at(12, 12), 0x00FF00u);
    }
}

TEST(BoxPainting, AnOverflowHiddenBoxClipsItsChildrenToItsRoundedCorners) {
    const imaging::Canvas canvas = paintedBody(
        L"<div style='width:80px;height:80px;border-radius:40px;overflow:hidden'>"
        L"<div style='width:80px;height:80px;background:#ff0000'></div></div>",
        100, 100);
    EXPECT_EQ(rgb(canvas, 40, 40), 0xFF0000u);
    EXPECT_EQ(rgb(canvas, 2, 2), kWhite);
    EXPECT_EQ(rgb(canvas, 77, 77), kWhite);
    EXPECT_EQ(rgb(canvas, 40, 1), 0xFF0000u);
}

TEST(BoxPainting, ListMarkersAreDiscsCirclesAndSquares) {
    const imaging::Canvas canvas = paintedBody(
        L"<ul style='margin:0;padding-left:40px;font-size:40px;line-height:60px'>"
        L"<li>Disc</li><li style='list-style:circle'>Circle</li>"
        L"<li style='list-style:square'>Square</li></ul>",
        300, 200);
    // Each marker's ink in the marker column of its line.
    struct Ink {
        int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    };
    const auto inkOf = [&](int line) {
        Ink ink;
        for (int y = line * 60; y < line * 60 + 60; ++y)
            for (int x = 0; x < 40; ++x)
                if ((rgb(canvas, x, y) & 0xFF) < 128) {
                    ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x),
                           std::max(ink.bottom, y)};
                }
        return ink;
    };
    for (int line = 0; line < 3; ++line) {
        const Ink ink = inkOf(line);
        ASSERT_GT(ink.right - ink.left, 5) << "line " << line;
        const int middleX = (ink.left + ink.right) / 2;
        const int middleY = (ink.top + ink.bottom) / 2;
        const bool cornerInked = (rgb(canvas, ink.left, ink.top) & 0xFF) < 128;
        const bool middleInked = (rgb(canvas, middleX, middleY) & 0xFF) < 128;
        if (line == 0) {
            EXPECT_FALSE(cornerInked) << "a disc is round";
            EXPECT_TRUE(middleInked);
        } else if (line == 1) {
            EXPECT_FALSE(cornerInked) << "a circle is round";
            EXPECT_FALSE(middleInked) << "and hollow";
        } else {
            EXPECT_TRUE(cornerInked);
            EXPECT_TRUE(middleInked);
        }
    }
}

class PicturePainting : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ =
            std::filesystem::temp_directory_path() /
            ("box_painting_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
        std::filesystem::create_directories(folder_);
        // Two columns, black and white.
        imaging::Bitmap picture(2, 1, imaging::PixelFormat::Rgb24);
        picture.setPixel(0, 0, 0xFF000000);
        picture.setPixel(1, 0, 0xFFFFFFFF);
        std::string png;
        ASSERT_EQ(imaging::encodeBitmap(picture, "image/png", png), imaging::Status::Ok);
        std::ofstream(folder_ / "columns.png", std::ios::binary) << png;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    imaging::Canvas painted(const std::wstring& body, int width, int height) {
        return paintedBody(body, width, height, 1.0,
                           L"file://" + folder_.wstring() + L"/page.html");
    }

    std::filesystem::path folder_;
};

TEST_F(PicturePainting, AStretchedPictureIsSmoothNotBlocky) {
    const imaging::Canvas canvas =
        painted(L"<img src='columns.png' style='display:block;width:200px;height:20px'>", 220, 30);
    int greys = 0;
    for (int x = 0; x < 200; ++x) {
        const int blue = static_cast<int>(canvas.pixel(x, 10) & 0xFF);
        greys += blue > 30 && blue < 225;
    }
    EXPECT_GT(greys, 40) << "a blend from black to white, not two blocks";
    EXPECT_LT(rgb(canvas, 0, 10) & 0xFF, 30u);
    EXPECT_GT(rgb(canvas, 199, 10) & 0xFF, 225u);
    EXPECT_EQ(rgb(canvas, 205, 10), kWhite) << "nothing past the picture's box";
}

TEST_F(PicturePainting, APictureWithRoundedCornersIsCutToThem) {
    const imaging::Canvas canvas = painted(
        L"<img src='columns.png' style='display:block;width:100px;height:100px;"
        L"border-radius:50%'>",
        120, 120);
    EXPECT_EQ(rgb(canvas, 1, 1), kWhite);
    EXPECT_EQ(rgb(canvas, 1, 98), kWhite);
    EXPECT_LT(rgb(canvas, 3, 50) & 0xFF, 60u) << "the dark left edge at the middle";
}

TEST_F(PicturePainting, ABackgroundRepeatedAlongOneDirectionStaysInItsRow) {
    const imaging::Canvas canvas = painted(
        L"<div style='width:200px;height:100px;background:url(columns.png) repeat-x;"
        L"background-size:10px 10px'></div>",
        220, 120);
    int darkInRow = 0, darkBelow = 0;
    for (int x = 0; x < 200; ++x) {
        darkInRow += (rgb(canvas, x, 5) & 0xFF) < 100;
        darkBelow += (rgb(canvas, x, 50) & 0xFF) < 250;
    }
    EXPECT_GT(darkInRow, 40) << "repeated across";
    EXPECT_EQ(darkBelow, 0) << "not down";
}

TEST(MissingPicturePainting, APictureThatCannotBeHadShowsItsTextFramedAndCutToItsBox) {
    // As the engine paints a picture whose box was laid out before it was known to fail.
    PageResources resources("file://" + std::filesystem::temp_directory_path().string() +
                            "/page.html");
    PageContainer container(resources, {400, 100}, {}, RuleMatching::everyRule);
    container.create_element("img",
                             {{"src", "no-such-picture.png"},
                              {"alt", "A lighthouse at dusk over a long and winding coast"}},
                             nullptr);
    litehtml::background_paint picture;
    picture.image = "no-such-picture.png";
    picture.clip_box = litehtml::position(10, 10, 120, 40);
    picture.border_box = picture.clip_box;
    picture.repeat = litehtml::background_repeat_no_repeat;
    imaging::Canvas canvas(400, 100);
    container.beginPainting(canvas, 1.0);
    container.draw_background(reinterpret_cast<litehtml::uint_ptr>(&canvas), picture);
    container.endPainting();

    EXPECT_EQ(rgb(canvas, 60, 10), 0xC0C0C0u) << "a thin frame";
    EXPECT_EQ(rgb(canvas, 10, 30), 0xC0C0C0u);
    EXPECT_EQ(rgb(canvas, 60, 9), kWhite);
    int inkInside = 0, inkOutside = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 400; ++x) {
            const bool dark = (rgb(canvas, x, y) & 0xFF) < 128;
            const bool inside = x >= 10 && x < 130 && y >= 10 && y < 50;
            (inside ? inkInside : inkOutside) += dark;
        }
    EXPECT_GT(inkInside, 100) << "the text";
    EXPECT_EQ(inkOutside, 0) << "cut to the box";
}

TEST(MissingPicturePainting, WithoutADoctypeAMissingPicturesTextIsFramedInItsBox) {
    auto document = Document::parse(
        L"<html><body style='margin:0'><img src='no-such-picture.png' width=120 height=30 "
        L"alt='A lighthouse at dusk over a long and winding coast'></body></html>",
        L"file://" + std::filesystem::temp_directory_path().wstring() + L"/page.html");
    imaging::Canvas canvas(300, 60);
    document->layout().paint(canvas, {0, 0, 300, 60});
    EXPECT_EQ(rgb(canvas, 60, 0), 0xC0C0C0u) << "a thin frame";
    EXPECT_EQ(rgb(canvas, 0, 15), 0xC0C0C0u);
    int inkInside = 0, inkBeside = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 300; ++x)
            ((x < 120 && y < 30) ? inkInside : inkBeside) += (rgb(canvas, x, y) & 0xFF) < 128;
    EXPECT_GT(inkInside, 100);
    EXPECT_EQ(inkBeside, 0) << "the text is cut to the box";
}

// With a doctype, a missing picture's text stands inline where the picture is inline, but
// a picture laid out as a block keeps the size its attributes give it, as in Chromium.
TEST(MissingPicturePainting, WithADoctypeABlockPictureKeepsItsSizeForItsText) {
    auto document = Document::parse(
        L"<!DOCTYPE html><html><body style='margin:0'><img id=block src='no-such-picture.png' "
        L"width=300 height=100 alt='A lighthouse at dusk' style='display:block'><p id=after "
        L"style='margin:0'>After</p><img id=inline src='no-such-picture.png' width=300 "
        L"height=100 alt='A lighthouse at dusk'></body></html>",
        L"file://" + std::filesystem::temp_directory_path().wstring() + L"/page.html");
    const auto boxOf = [&](const wchar_t* id) {
        return document->boxOf(*document->getElementById(id)).value_or(Rect{});
    };
    EXPECT_EQ(boxOf(L"block"), (Rect{0, 0, 300, 100}));
    EXPECT_EQ(boxOf(L"after").top, 100);
    EXPECT_LT(boxOf(L"inline").height(), 50) << "inline, the text alone";
}

// A picture not had keeps the proportions of its width and height attributes where the
// page's sheet lets its height follow its width, as a browser keeps them: a readable page's
// pictures (at most as wide as their column, "height: auto") do not shrink to nothing.
TEST(MissingPicturePainting, APictureNotHadKeepsItsAttributesProportions) {
    auto document = Document::parse(
        L"<!DOCTYPE html><html><head><style>img { display: block; max-width: 100%; "
        L"height: auto !important }</style></head><body style='margin:0'><div><img id=wide "
        L"src='no-such-picture.png' width=200 height=80></div><div style='width:100px'><img "
        L"id=narrow src='no-such-picture.png' width=200 height=80></div></body></html>",
        L"file://" + std::filesystem::temp_directory_path().wstring() + L"/page.html");
    const auto boxOf = [&](const wchar_t* id) {
        return document->boxOf(*document->getElementById(id)).value_or(Rect{});
    };
    EXPECT_EQ(boxOf(L"wide"), (Rect{0, 0, 200, 80}));
    EXPECT_EQ(boxOf(L"narrow"), (Rect{0, 80, 100, 120}));
    // Its box is painted as a picture that cannot be had: framed, not an empty hole.
    imaging::Canvas canvas(300, 200);
    document->layout().paint(canvas, {0, 0, 300, 200});
    EXPECT_NE(rgb(canvas, 0, 40), kWhite);
    EXPECT_NE(rgb(canvas, 100, 79), kWhite);
}

TEST(InlineSvgPainting, AnInlineSvgIsDrawnSharpAtAnyScale) {
    // Its left half black: at four times the size the edge is still one pixel wide, not
    // the blur of a small picture stretched.
    const imaging::Canvas canvas = paintedBody(
        L"<svg width=10 height=10 viewBox='0 0 10 10' style='display:block'>"
        L"<rect x=0 y=0 width=5 height=10 fill='#000'/></svg>",
        20, 20, 4.0);
    int greys = 0;
    for (int x = 0; x < 40; ++x) {
        const int blue = static_cast<int>(canvas.pixel(x, 20) & 0xFF);
        greys += blue > 20 && blue < 235;
    }
    EXPECT_LT(rgb(canvas, 2, 20), 0x101010u);
    EXPECT_EQ(rgb(canvas, 38, 20), kWhite);
    EXPECT_LE(greys, 1);
}

}  // namespace
}  // namespace platform::dom
