#include <gtest/gtest.h>

#include "platform/imaging/canvas/canvas.h"
#include "platform/imaging/canvas/text_font.h"
#include "platform/imaging/codecs/image_codecs.h"
#include "testing/environment/temporary_home.h"

using namespace platform::imaging;

namespace {

// The number of pixels in `rect` that differ from `color`.
int countOther(const Canvas& canvas, Rect rect, std::uint32_t color) {
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            count += canvas.pixel(x, y) != color;
    return count;
}

TEST(Canvas, FillsGradientsLinesAndPatternsStayInsideTheClip) {
    Canvas canvas(40, 30, 0xFFFFFFFF);
    canvas.setClip({0, 0, 20, 30});
    canvas.fillRect({-5, -5, 100, 10}, 0xFF102030);
    EXPECT_EQ(canvas.pixel(0, 0), 0xFF102030u);
    EXPECT_EQ(canvas.pixel(19, 9), 0xFF102030u);
    EXPECT_EQ(canvas.pixel(20, 9), 0xFFFFFFFFu) << "clipped";
    canvas.resetClip();

    canvas.fillGradientVertical({0, 10, 40, 21}, 0xFF000000, 0xFF0000FF);
    EXPECT_EQ(canvas.pixel(5, 10), 0xFF000000u);
    EXPECT_EQ(canvas.pixel(5, 20), 0xFF0000FFu);
    EXPECT_NEAR(static_cast<int>(canvas.pixel(5, 15) & 0xFF), 0x7F, 1);

    canvas.frameRect({21, 0, 31, 5}, 0xFFFF0000);
    EXPECT_EQ(canvas.pixel(21, 2), 0xFFFF0000u);
    EXPECT_EQ(canvas.pixel(30, 4), 0xFFFF0000u);
    EXPECT_EQ(canvas.pixel(25, 2), 0xFFFFFFFFu);

    const std::uint8_t rows[] = {0x0F, 0xF0};
    canvas.drawPattern(rows, 8, 2, 30, 25, false, 0xFF00FF00);
    EXPECT_EQ(canvas.pixel(30, 25), 0xFF00FF00u);
    EXPECT_EQ(canvas.pixel(34, 25), 0xFFFFFFFFu);
    EXPECT_EQ(canvas.pixel(30, 26), 0xFFFFFFFFu);
    EXPECT_EQ(canvas.pixel(37, 26), 0xFF00FF00u);
}

TEST(Canvas, PicturesBlendByAlphaAndSilhouettesIgnoreColour) {
    Bitmap picture(2, 1, PixelFormat::Argb32);
    picture.setPixel(0, 0, 0xFFFF0000);
    picture.setPixel(1, 0, 0x00FF0000);
    Canvas canvas(4, 2, 0xFF000000);
    canvas.drawPicture(picture, 0, 0);
    EXPECT_EQ(canvas.pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(canvas.pixel(1, 0), 0xFF000000u) << "transparent pixel leaves the background";
    canvas.drawSilhouette(picture, 2, 1, 0xFF123456);
    EXPECT_EQ(canvas.pixel(2, 1), 0xFF123456u);
    EXPECT_EQ(canvas.pixel(3, 1), 0xFF000000u);
}

TEST(Canvas, TranslucentFillsBlendAndTheBackgroundIsLaidOverWhite) {
    Canvas canvas(10, 10, 0x80000000);
    EXPECT_NEAR(static_cast<int>(canvas.pixel(0, 0) & 0xFF), 127, 1);
    EXPECT_EQ(canvas.pixel(0, 0) >> 24, 0xFFu);
    Canvas white(10, 10);
    white.fillRect({0, 0, 10, 10}, 0x800000FF);
    EXPECT_EQ(white.pixel(5, 5) & 0xFF, 0xFFu);
    EXPECT_NEAR(static_cast<int>((white.pixel(5, 5) >> 16) & 0xFF), 127, 1);
    EXPECT_EQ(white.pixel(5, 5) >> 24, 0xFFu);
}

TEST(Canvas, ARoundedClipLeavesTheCornersOut) {
    Canvas canvas(40, 40);
    RoundedBox shape;
    shape.right = shape.bottom = 40;
    shape.radii = {20, 20, 20, 20, 20, 20, 20, 20};
    canvas.setClip({0, 0, 40, 40}, {shape});
    canvas.fillRect({0, 0, 40, 40}, 0xFF000000);
    EXPECT_EQ(canvas.pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(canvas.pixel(39, 39), 0xFFFFFFFFu);
    EXPECT_EQ(canvas.pixel(20, 20), 0xFF000000u);
    EXPECT_EQ(canvas.pixel(20, 1), 0xFF000000u);
    canvas.resetClip();
    canvas.fillRect({0, 0, 2, 2}, 0xFF000000);
    EXPECT_EQ(canvas.pixel(0, 0), 0xFF000000u) << "the reset clip holds no shape";
}

TEST(Canvas, AScaledPictureIsSmoothAndKeepsItsEdges) {
    // Two columns, black and white, stretched over 100 pixels: browsers blend between them.
    Bitmap picture(2, 1, PixelFormat::Rgb24);
    picture.setPixel(0, 0, 0xFF000000);
    picture.setPixel(1, 0, 0xFFFFFFFF);
    Canvas canvas(120, 20, 0xFFFF0000);
    canvas.drawPicture(picture, Rect{10, 5, 110, 15});
    EXPECT_EQ(canvas.pixel(10, 10) & 0xFFFFFF, 0u) << "the edge keeps its colour";
    EXPECT_EQ(canvas.pixel(109, 10) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(canvas.pixel(9, 10) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(canvas.pixel(110, 10) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(canvas.pixel(60, 4) & 0xFFFFFF, 0xFF0000u);
    int greys = 0;
    for (int x = 10; x < 110; ++x) {
        const int value = static_cast<int>(canvas.pixel(x, 10) & 0xFF);
        greys += value > 40 && value < 215;
        EXPECT_EQ((canvas.pixel(x, 10) >> 8) & 0xFF, canvas.pixel(x, 10) & 0xFF) << "grey";
    }
    EXPECT_GT(greys, 20) << "not two blocks of the nearest pixel";
}

TEST(Canvas, TextIsCentredCutWithAnEllipsisAndSavedAsPng) {
    const TextFont font("DejaVu Sans", 12, 700, false);
    Canvas canvas(200, 40, 0xFFFFFFFF);
    const Rect line{10, 0, 200, 40};
    const int drawn = canvas.drawText(L"Latest clips", line, font, 0xFF000000,
                                      DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    EXPECT_GT(drawn, 40);
    EXPECT_GT(countOther(canvas, {10, 12, 10 + drawn, 30}, 0xFFFFFFFF), 30);
    EXPECT_EQ(countOther(canvas, {0, 0, 200, 8}, 0xFFFFFFFF), 0) << "centred, not at the top";
    EXPECT_EQ(countOther(canvas, {0, 0, 10, 40}, 0xFFFFFFFF), 0);

    Canvas narrow(60, 20, 0xFFFFFFFF);
    const int cut = narrow.drawText(L"A caption far too long for the button", {0, 0, 40, 20}, font,
                                    0xFF000000, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    EXPECT_LE(cut, 40);
    EXPECT_GT(countOther(narrow, {0, 0, 40, 20}, 0xFFFFFFFF), 20);
    EXPECT_EQ(countOther(narrow, {40, 0, 60, 20}, 0xFFFFFFFF), 0);

    testing_environment::TemporaryHome home;
    const std::string path = (home.root() / "text.png").string();
    ASSERT_EQ(canvas.savePng(path), Status::Ok);
    Bitmap loaded;
    ASSERT_EQ(loadBitmap(path, loaded), Status::Ok);
    EXPECT_EQ(loaded.width(), 200);
    EXPECT_EQ(loaded.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
}

}  // namespace
