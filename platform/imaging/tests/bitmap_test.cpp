#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/imaging/bitmap.h"

using namespace platform::imaging;

TEST(Bitmap, PixelsKeepTheirColourAcrossFormats) {
    Bitmap rgb(3, 2, PixelFormat::Rgb24);
    EXPECT_EQ(rgb.stride(), 9u);
    EXPECT_EQ(rgb.pixel(2, 1), 0xFF000000u);  // new 24-bit pixels are opaque black
    rgb.setPixel(2, 1, 0x12345678);
    EXPECT_EQ(rgb.pixel(2, 1), 0xFF345678u);  // alpha is not stored
    // Memory order is blue, green, red.
    EXPECT_EQ(rgb.row(1)[6], 0x78);
    EXPECT_EQ(rgb.row(1)[8], 0x34);

    Bitmap argb(4, 4, PixelFormat::Argb32);
    EXPECT_EQ(argb.pixel(0, 0), 0u);  // new 32-bit pixels are transparent
    argb.fill(0x80FF0000);
    argb.drawBitmap(rgb, {0, 0, 3, 2}, 1, 1);
    EXPECT_EQ(argb.pixel(3, 2), 0xFF345678u);  // converted, opaque, not blended
    EXPECT_EQ(argb.pixel(0, 0), 0x80FF0000u);
    EXPECT_EQ(argb.pixel(1, 1), 0xFF000000u);
}

TEST(Bitmap, DrawingAndCopyingStayInsideBothBitmaps) {
    Bitmap source(4, 4, PixelFormat::Rgb24);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            source.setPixel(x, y, static_cast<std::uint32_t>(y * 16 + x));
        }
    }
    Bitmap target(3, 3, PixelFormat::Rgb24);
    target.fill(0xFFFFFFFF);
    // Partly outside the source and the target on every side.
    target.drawBitmap(source, {-2, 1, 10, 10}, -1, 1);
    EXPECT_EQ(target.pixel(0, 0), 0xFFFFFFFFu);
    // Source column -2 would land at -1, so target column 0 would take source column -1,
    // which does not exist: it stays white. Rows map one to one (source row 1 at row 1).
    EXPECT_EQ(target.pixel(0, 1), 0xFFFFFFFFu);
    EXPECT_EQ(target.pixel(1, 1), 0xFF000000u | (1 * 16 + 0));
    EXPECT_EQ(target.pixel(2, 2), 0xFF000000u | (2 * 16 + 1));

    const Rect clamped = source.clampRect({2, 3, 9, 9});
    EXPECT_EQ(clamped.width(), 2);
    EXPECT_EQ(clamped.height(), 1);
    const auto bytes = source.copyRgb24({2, 3, 9, 9});
    ASSERT_EQ(bytes.size(), 6u);
    EXPECT_EQ(bytes[0], 3 * 16 + 2);  // blue first
    EXPECT_EQ(bytes[3], 3 * 16 + 3);
    EXPECT_TRUE(source.copyRgb24({5, 5, 6, 6}).empty());
    EXPECT_TRUE(source.copyRgb24({2, 2, 1, 3}).empty());

    EXPECT_THROW(Bitmap(-1, 4, PixelFormat::Rgb24), std::invalid_argument);
    EXPECT_THROW(Bitmap(0x7FFFFFFF, 0x7FFFFFFF, PixelFormat::Argb32), std::invalid_argument);
    EXPECT_TRUE(Bitmap(0, 5, PixelFormat::Rgb24).empty());
}
