#include <gtest/gtest.h>

#include "platform/ui/alpha_blend.h"
#include "platform/ui/window_system.h"

using namespace platform::ui;
using platform::imaging::Bitmap;
using platform::imaging::PixelFormat;

namespace {

Bitmap solid(int width, int height, std::uint32_t colour) {
    Bitmap picture(width, height, PixelFormat::Argb32);
    picture.fill(colour);
    return picture;
}

HWND make(WindowSystem& system, HWND parent, Rect rect, bool visible = true) {
    return system.createWindow(
        {.className = L"Picture", .parent = parent, .rect = rect, .visible = visible});
}

constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kGreen = 0xFF00FF00;
constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;

}  // namespace

TEST(WindowImage, ChildrenShowInsideTheirParentInZOrderAndCutToIt) {
    WindowSystem system;
    const HWND frame = make(system, {}, {100, 100, 200, 160});
    ASSERT_TRUE(system.setImage(frame, solid(40, 30, kRed)));
    // A window made later goes below its elder siblings.
    const HWND upper = make(system, frame, {60, 20, 70, 30});
    const HWND lower = make(system, frame, {50, 10, 150, 40});
    system.setImage(lower, solid(100, 30, kGreen));
    system.setImage(upper, solid(10, 10, kBlue));
    const HWND hidden = make(system, frame, {0, 0, 100, 60}, false);
    system.setImage(hidden, solid(100, 60, 0xFF000000));

    const Bitmap image = system.image(frame);
    ASSERT_EQ(image.width(), 100);
    ASSERT_EQ(image.height(), 60);
    EXPECT_EQ(image.pixel(0, 0), kRed) << "its own picture";
    EXPECT_EQ(image.pixel(45, 45), kWhite) << "where it painted nothing";
    EXPECT_EQ(image.pixel(55, 15), kGreen) << "a child at its place";
    EXPECT_EQ(image.pixel(65, 25), kBlue) << "the child above the other";
    EXPECT_EQ(image.pixel(99, 39), kGreen) << "the child's part outside is cut";
    EXPECT_EQ(image.pixel(99, 40), kWhite);

    // A child's own children show in it; a picture painted anew replaces the old one.
    const HWND inner = make(system, lower, {0, 0, 5, 5});
    system.setImage(inner, solid(5, 5, kBlue));
    system.setImage(frame, solid(100, 60, kGreen));
    const Bitmap again = system.image(frame);
    EXPECT_EQ(again.pixel(52, 12), kBlue);
    EXPECT_EQ(again.pixel(45, 45), kGreen);

    // Raised to the top, the lower child covers the other.
    system.setWindowPos(lower, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(system.image(frame).pixel(65, 25), kGreen);

    system.destroyWindow(frame);
    EXPECT_TRUE(system.image(frame).empty());
    EXPECT_FALSE(system.setImage(frame, solid(1, 1, kRed)));
}

TEST(WindowImage, TheImageVersionMovesOnlyWhenTheImageMayHaveChanged) {
    WindowSystem system;
    const HWND frame = make(system, {}, {0, 0, 100, 60});
    const HWND child = make(system, frame, {10, 10, 50, 50});
    const HWND other = make(system, {}, {0, 0, 10, 10});
    std::uint64_t seen = system.imageVersion(frame);
    ASSERT_NE(seen, 0u);
    // Each of these changes what the frame shows.
    const auto changed = [&](const char* what) {
        const std::uint64_t now = system.imageVersion(frame);
        EXPECT_GT(now, seen) << what;
        seen = now;
    };
    system.setImage(child, solid(40, 40, kRed));
    changed("a child painted");
    system.setWindowPos(child, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    changed("a child moved");
    system.show(child, false);
    changed("a child hidden");
    system.setParent(child, other);
    changed("a child taken away");
    const HWND late = make(system, frame, {0, 0, 5, 5});
    changed("a child added");
    system.destroyWindow(late);
    changed("a child destroyed");
    system.setWindowPos(frame, 0, 0, 80, 60, SWP_NOMOVE | SWP_NOZORDER);
    changed("the window sized");

    // What happens elsewhere, or changes nothing shown, leaves it.
    system.setImage(other, solid(10, 10, kBlue));
    system.setImage(child, solid(40, 40, kGreen));
    system.setText(frame, L"title");
    system.show(frame, true);
    system.setWindowPos(frame, 0, 0, 80, 60, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(system.imageVersion(frame), seen);
    EXPECT_GT(system.imageVersion(other), seen) << "the other window painted last";
    system.destroyWindow(frame);
    EXPECT_EQ(system.imageVersion(frame), 0u);
}

TEST(WindowImage, ConstantAlphaBlendOfOpaquePicturesOntoGray) {
    Bitmap target = solid(4, 2, 0xFF808080);
    Bitmap source(3, 1, PixelFormat::Argb32);
    source.setPixel(0, 0, kWhite);
    source.setPixel(1, 0, 0xFF000000);
    source.setPixel(2, 0, 0xFFFF8000);
    alphaBlend(target, source, 1, 1, 128);
    EXPECT_EQ(target.pixel(1, 1), 0xFFC0C0C0u) << "white: (255*128 + 128*127) / 255";
    EXPECT_EQ(target.pixel(2, 1), 0xFF404040u) << "black: 128*127 / 255";
    EXPECT_EQ(target.pixel(3, 1), 0xFFC08040u) << "each channel on its own";
    EXPECT_EQ(target.pixel(0, 1), 0xFF808080u) << "outside the source";
    EXPECT_EQ(target.pixel(1, 0), 0xFF808080u);
}

TEST(WindowImage, BlendTakesTheSourceAsPremultipliedAndCutsItToTheTarget) {
    Bitmap target = solid(2, 2, 0xFF808080);
    // Half-covered white, premultiplied: 128 in every channel.
    Bitmap source = solid(3, 3, 0x80808080);
    alphaBlend(target, source, -1, -1, 255);
    EXPECT_EQ(target.pixel(0, 0), 0xFFC0C0C0u) << "128 + 128 * 127 / 255";
    EXPECT_EQ(target.pixel(1, 1), 0xFFC0C0C0u);

    Bitmap untouched = solid(2, 2, 0xFF808080);
    alphaBlend(untouched, solid(2, 2, kWhite), 0, 0, 0);
    EXPECT_EQ(untouched.pixel(0, 0), 0xFF808080u) << "constant alpha 0 leaves the target";
    alphaBlend(untouched, solid(2, 2, kWhite), 0, 0, 255);
    EXPECT_EQ(untouched.pixel(1, 1), kWhite) << "constant alpha 255 covers it";
}
