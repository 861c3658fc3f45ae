#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/ui/screen.h"

namespace {

using platform::ui::Rect;
using platform::ui::ScreenSurface;

constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kInverted = 0xFF000000;

// Whether (x, y) lies within `half` of one of the rectangle's four edges, between its ends.
bool onOutline(Rect rect, int half, int x, int y) {
    const int left = std::min(rect.left, rect.right);
    const int right = std::max(rect.left, rect.right);
    const int top = std::min(rect.top, rect.bottom);
    const int bottom = std::max(rect.top, rect.bottom);
    if (x < left - half || x > right + half || y < top - half || y > bottom + half)
        return false;
    return std::abs(x - left) <= half || std::abs(x - right) <= half || std::abs(y - top) <= half ||
           std::abs(y - bottom) <= half;
}

TEST(ScreenSurface, AnOutlineInvertsEachPixelNearItsEdgesOnceAndAgainRestoresIt) {
    ScreenSurface surface;
    EXPECT_EQ(surface.pixel(0, 0), kWhite);
    EXPECT_EQ(surface.pixel(ScreenSurface::kWidth - 1, ScreenSurface::kHeight - 1), kWhite);
    EXPECT_EQ(surface.pixel(-1, 0), 0u);

    struct Case {
        Rect rect;
        int pen;
    };
    const Case cases[] = {
        {{10, 20, 60, 50}, 3},  // an ordinary outline
        {{60, 50, 10, 20}, 3},  // given corner to corner the other way
        {{30, 30, 32, 70}, 3},  // narrower than the pen: its vertical edges meet
        {{40, 40, 40, 40}, 5},  // a point
        {{-5, -8, 20, 12}, 1},  // partly off the screen
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rect.left << "," << c.rect.top << " " << c.pen);
        surface.invertOutline(c.rect, c.pen);
        int inverted = 0;
        for (int y = 0; y < 90; ++y) {
            for (int x = 0; x < 90; ++x) {
                const bool expected = onOutline(c.rect, c.pen / 2, x, y);
                ASSERT_EQ(surface.pixel(x, y), expected ? kInverted : kWhite) << x << "," << y;
                inverted += expected;
            }
        }
        EXPECT_GT(inverted, 0);
        surface.invertOutline(c.rect, c.pen);
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < 90; ++x)
                ASSERT_EQ(surface.pixel(x, y), kWhite) << x << "," << y;
    }
    // Wholly off the screen: nothing to draw, nothing outside touched.
    surface.invertOutline({-50, -50, -10, -10}, 3);
    surface.invertOutline({ScreenSurface::kWidth + 5, 0, ScreenSurface::kWidth + 40, 30}, 3);
    EXPECT_EQ(surface.pixel(0, 0), kWhite);
    EXPECT_EQ(surface.pixel(ScreenSurface::kWidth - 1, 10), kWhite);
}

}  // namespace
