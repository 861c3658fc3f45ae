#include "platform/imaging/canvas/text_direction.h"

#include <gtest/gtest.h>

namespace platform::imaging {
namespace {

TEST(TextDirection, TheFirstStrongCharacterDecides) {
    EXPECT_EQ(firstStrongDirection(L"  12, \u05e9\u05dc\u05d5\u05dd abc"),
              StrongDirection::rightToLeft);
    EXPECT_EQ(firstStrongDirection(L"(\u0645\u0631\u062d\u0628\u0627)"),
              StrongDirection::rightToLeft);
    EXPECT_EQ(firstStrongDirection(L"2024: Hello \u05e2\u05d5\u05dc\u05dd"),
              StrongDirection::leftToRight);
    EXPECT_EQ(firstStrongDirection(L" 42 - ... "), StrongDirection::none);
    EXPECT_EQ(firstStrongDirection(L""), StrongDirection::none);
}

}  // namespace
}  // namespace platform::imaging
