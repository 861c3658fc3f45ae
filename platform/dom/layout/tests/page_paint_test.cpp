#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/dom/document.h"
#include "platform/dom/layout_engine.h"
#include "platform/imaging/canvas/canvas.h"
#include "platform/imaging/codecs/image_codecs.h"

namespace platform::dom {
namespace {

// The darkness of each pixel (255 for black ink, 0 for white paper).
struct Ink {
    int width = 0;
    int height = 0;
    std::vector<int> dark;
    int at(int x, int y) const {
        return x < width && y < height ? dark[static_cast<std::size_t>(y) * width + x] : 0;
    }
};

// The ink of the canvas cut to the rectangle that holds every inked pixel.
Ink inkOf(const imaging::Canvas& canvas) {
    int left = canvas.width(), top = canvas.height(), right = 0, bottom = 0;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if ((canvas.pixel(x, y) & 0xFF) < 250) {
                left = std::min(left, x);
                top = std::min(top, y);
                right = std::max(right, x + 1);
                bottom = std::max(bottom, y + 1);
            }
    Ink ink;
    ink.width = std::max(0, right - left);
    ink.height = std::max(0, bottom - top);
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            ink.dark.push_back(255 - static_cast<int>(canvas.pixel(x, y) & 0xFF));
    return ink;
}

// The mean difference in darkness over the larger of the two pictures.
double difference(const Ink& a, const Ink& b) {
    const int width = std::max(a.width, b.width);
    const int height = std::max(a.height, b.height);
    long long total = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            total += std::abs(a.at(x, y) - b.at(x, y));
    return static_cast<double>(total) / std::max(1, width * height);
}

imaging::Canvas painted(const std::wstring& html, Rect area, double scale) {
    auto document = Document::parse(html);
    imaging::Canvas canvas(static_cast<int>(area.width() * scale),
                           static_cast<int>(area.height() * scale));
    document->layout().paint(canvas, area, scale);
    return canvas;
}

std::wstring wordAt(int pixels) {
    return L"<body style='margin:0'><p style='margin:0;font:" + std::to_wstring(pixels) + L"px/" +
           std::to_wstring(pixels * 5 / 4) + L"px \"DejaVu Sans\"'>Sharpness</p></body>";
}

TEST(PagePainting, TextAtTwiceTheScaleIsDrawnAtTwiceTheSizeNotEnlarged) {
    const Ink scaled = inkOf(painted(wordAt(16), {0, 0, 200, 40}, 2.0));
    const Ink doubled = inkOf(painted(wordAt(32), {0, 0, 400, 80}, 1.0));
    const imaging::Canvas small = painted(wordAt(16), {0, 0, 200, 40}, 1.0);
    imaging::Canvas blownUp(400, 80);
    blownUp.drawPicture(small.bitmap(), imaging::Rect{0, 0, 400, 80});
    const Ink enlarged = inkOf(blownUp);

    ASSERT_GT(doubled.width, 100);
    EXPECT_NEAR(scaled.width, doubled.width, 2);
    EXPECT_NEAR(scaled.height, doubled.height, 2);
    EXPECT_LT(difference(scaled, doubled), 4.0);
    // An enlarged picture of the small word has soft edges the rasterised one lacks.
    EXPECT_GT(difference(enlarged, doubled), 4 * std::max(1.0, difference(scaled, doubled)));
}

TEST(PagePainting, BoxesBordersAndPicturesGrowWithTheScale) {
    imaging::Bitmap picture(4, 2, imaging::PixelFormat::Rgb24);
    picture.fill(0xFF00FF00);
    std::string png;
    ASSERT_EQ(imaging::encodeBitmap(picture, "image/png", png), imaging::Status::Ok);
    const auto folder = std::filesystem::temp_directory_path();
    std::ofstream(folder / "page_paint_picture.png", std::ios::binary) << png;
    auto document = Document::parse(
        L"<body style='margin:0'><div style='margin:0;width:50px;height:20px;background:#f00;"
        L"border:2px solid #00f'></div><img style='display:block' src='page_paint_picture.png'>"
        L"<img style='display:block' src='missing.png' width=10 height=10></body>",
        L"file://" + folder.wstring() + L"/page.html");
    imaging::Canvas canvas(300, 150);
    document->layout().paint(canvas, {0, 0, 100, 50}, 3.0);
    std::filesystem::remove(folder / "page_paint_picture.png");

    const auto rgb = [&](int x, int y) { return canvas.pixel(x, y) & 0xFFFFFF; };
    // The border is 6 pixels wide, the red box 150 by 60 inside it.
    EXPECT_EQ(rgb(0, 30), 0x0000FFu);
    EXPECT_EQ(rgb(5, 30), 0x0000FFu);
    EXPECT_EQ(rgb(6, 30), 0xFF0000u);
    EXPECT_EQ(rgb(155, 30), 0xFF0000u);
    EXPECT_EQ(rgb(156, 30), 0x0000FFu);
    EXPECT_EQ(rgb(161, 30), 0x0000FFu);
    EXPECT_EQ(rgb(162, 30), 0xFFFFFFu);
    EXPECT_EQ(rgb(80, 71), 0x0000FFu);
    // The 4 by 2 picture below it covers 12 by 6 pixels.
    EXPECT_EQ(rgb(0, 72), 0x00FF00u);
    EXPECT_EQ(rgb(11, 77), 0x00FF00u);
    EXPECT_EQ(rgb(12, 77), 0xFFFFFFu);
    EXPECT_NE(rgb(5, 78), 0x00FF00u);
    // The missing picture's grey box is 30 by 30.
    EXPECT_NE(rgb(15, 93), 0xFFFFFFu);
    EXPECT_NE(rgb(29, 107), 0xFFFFFFu);
    EXPECT_EQ(rgb(30, 107), 0xFFFFFFu);
    EXPECT_EQ(rgb(15, 108), 0xFFFFFFu);
}

// The first and last rows of the canvas holding dark ink, from row `from` on.
std::pair<int, int> inkRows(const imaging::Canvas& canvas, int from) {
    int first = -1, last = -1;
    for (int y = from; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if ((canvas.pixel(x, y) & 0xFF) < 128) {
                if (first < 0)
                    first = y;
                last = y;
                break;
            }
    return {first, last};
}

TEST(PagePainting, TextIsPaintedInsideTheBoxOfItsElement) {
    // The heading's top margin collapses through both blocks around it: browsers put it
    // 50 pixels under the title, and so do the boxes and the picture.
    auto document = Document::parse(
        L"<body style='margin:0;font:16px \"DejaVu Sans\"'><h1 style='margin:0'>Title</h1>"
        L"<div style='margin:24px 0 0'><div><h1 id=head style='margin:50px 0 0'>Head</h1>"
        L"</div></div></body>");
    const auto title = document->boxOf(*document->getElementsByTagName(L"H1")[0]);
    const auto head = document->boxOf(*document->getElementById(L"head"));
    ASSERT_TRUE(title && head);
    EXPECT_EQ(head->top, title->bottom + 50);
    for (const double scale : {1.0, 2.0}) {
        imaging::Canvas canvas(static_cast<int>(300 * scale), static_cast<int>(200 * scale));
        document->layout().paint(canvas, {0, 0, 300, 200}, scale);
        const auto [first, last] = inkRows(canvas, static_cast<int>(title->bottom * scale));
        EXPECT_GE(first, head->top * scale) << "at scale " << scale;
        EXPECT_LE(last, head->bottom * scale) << "at scale " << scale;
    }
}

TEST(PagePainting, FieldsAreWhiteOnAColouredPageAndButtonsGrey) {
    // Chromium paints text fields white and buttons #efefef whatever lies under them.
    auto document = Document::parse(
        L"<body style='margin:0;background:#336699'><textarea id=t></textarea>"
        L"<input id=i><input type=submit id=s value=Go></body>");
    imaging::Canvas canvas(400, 100);
    document->layout().paint(canvas, {0, 0, 400, 100});
    const auto centre = [&](const wchar_t* id) {
        const auto box = document->boxOf(*document->getElementById(id));
        EXPECT_TRUE(box.has_value());
        const Rect r = box.value_or(Rect{});
        return canvas.pixel((r.left + r.right) / 2, r.top + 4) & 0xFFFFFF;
    };
    EXPECT_EQ(centre(L"t"), 0xFFFFFFu);
    EXPECT_EQ(centre(L"i"), 0xFFFFFFu);
    EXPECT_EQ(centre(L"s"), 0xEFEFEFu);
}

TEST(PagePainting, ControlsShowTheirLabelsValuesAndChosenOptionInsideTheirBoxes) {
    auto document = Document::parse(
        L"<!DOCTYPE html><body style='margin:0'><input type=submit value=Go id=button>"
        L"<input value='lighthouse tours' id=field><input placeholder=Search id=hint>"
        L"<input id=empty><br><select id=choice><option>One</option><option selected>Two"
        L"</option><option>Three</option></select></body>");
    imaging::Canvas canvas(600, 100);
    document->layout().paint(canvas, {0, 0, 600, 100});
    const auto boxOf = [&](const wchar_t* id) {
        return document->boxOf(*document->getElementById(id)).value_or(Rect{});
    };
    // The darkest pixel inside the box, its border left out, and how many pixels are inked.
    struct Inside {
        int darkest = 255;
        int inked = 0;
    };
    const auto inside = [&](const Rect& box) {
        Inside found;
        for (int y = box.top + 3; y < box.bottom - 3; ++y)
            for (int x = box.left + 3; x < box.right - 3; ++x) {
                const int blue = static_cast<int>(canvas.pixel(x, y) & 0xFF);
                found.darkest = std::min(found.darkest, blue);
                found.inked += blue < 160 ? 1 : 0;
            }
        return found;
    };
    EXPECT_LT(inside(boxOf(L"button")).darkest, 60) << "the label, in black";
    EXPECT_GT(inside(boxOf(L"field")).inked, 40) << "the value";
    const Inside hint = inside(boxOf(L"hint"));
    EXPECT_GT(hint.darkest, 60) << "the placeholder, in grey";
    EXPECT_LT(hint.darkest, 200);
    EXPECT_EQ(inside(boxOf(L"empty")).darkest, 255);
    EXPECT_GT(inside(boxOf(L"choice")).inked, 10);

    // Only the chosen option shows, inside the select; the others take no room below it.
    const Rect choice = boxOf(L"choice");
    EXPECT_FALSE(document->boxOf(*document->getElementsByTagName(L"OPTION")[0]).has_value());
    for (int y = choice.bottom + 1; y < 100; ++y)
        for (int x = 0; x < 600; ++x)
            ASSERT_EQ(canvas.pixel(x, y) & 0xFFFFFF, 0xFFFFFFu) << x << "," << y;
}

}  // namespace
}  // namespace platform::dom
