#include <gtest/gtest.h>

#include "addon/commands/style_step.h"

using namespace addon;

TEST(FontSizeStep, AbsoluteRelativeAndKeywordSizes) {
    EXPECT_EQ(stepFontSize(L"12px", 1), L"13px");
    EXPECT_EQ(stepFontSize(L"12PX", -1), L"11px");
    EXPECT_EQ(stepFontSize(L"0pt", -1), L"0pt");
    EXPECT_EQ(stepFontSize(L"1.5em", 1), L"1.65em");
    EXPECT_EQ(stepFontSize(L"1.1em", -1), L"1.00em");
    EXPECT_EQ(stepFontSize(L"2cm", 1), L"2.20cm");
    EXPECT_EQ(stepFontSize(L"120%", 1), L"132.00%");
    EXPECT_EQ(stepFontSize(L"small", 1), L"medium");
    EXPECT_EQ(stepFontSize(L"xx-small", -1), L"xx-small");
    EXPECT_EQ(stepFontSize(L"xx-large", 1), L"xx-large");
    EXPECT_EQ(stepFontSize(L"Larger", 1), L"Larger");
    EXPECT_EQ(stepFontSize(L"", 1), L"");
    EXPECT_EQ(stepFontSize(L"undefined", 1), L"");
}

TEST(LengthStep, PercentAddsAndUnitsScaleByHundredths) {
    EXPECT_EQ(stepLength(L"100%", -150), L"0%");
    EXPECT_EQ(stepLength(L"80%", 20), L"100%");
    EXPECT_EQ(stepLength(L"600px", 100), L"700px");
    EXPECT_EQ(stepLength(L"10em", 10), L"11.00em");
    EXPECT_EQ(stepLength(L"auto", 10), L"auto");
    EXPECT_EQ(stepLength(L"undefined", 10), L"");
}
