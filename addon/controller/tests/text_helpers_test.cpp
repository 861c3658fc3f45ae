#include <gtest/gtest.h>

#include "addon/controller/line_breaks.h"
#include "addon/controller/style_step.h"
#include "addon/controller/url_join.h"

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

TEST(LineBreaks, FlattenedOutsidePreBlocksOnly) {
    EXPECT_EQ(flattenLineBreaks(L"<p>a\r\nb</p><PRE class=x>c\r\nd</PRE>\ne<pre>f\ng</pre>"),
              L"<p>a b</p><PRE class=x>c\nd</PRE> e<pre>f\ng</pre>");
    EXPECT_EQ(flattenLineBreaks(L"<prefix>a\nb</prefix>"), L"<prefix>a b</prefix>");
}

TEST(UrlJoin, TheFourKindsOfUrl) {
    const std::wstring base = L"http://example.org/news/today/page.html?x=1#top";
    EXPECT_EQ(joinUrl(base, L"https://other.org/a"), L"https://other.org/a");
    EXPECT_EQ(joinUrl(base, L"JavaScript:void(0)"), L"JavaScript:void(0)");
    EXPECT_EQ(joinUrl(base, L"/img/a.png"), L"http://example.org/img/a.png");
    EXPECT_EQ(joinUrl(base, L"img/a.png"), L"http://example.org/news/today/img/a.png");
    EXPECT_EQ(joinUrl(base, L"../a.png?q=../b"), L"http://example.org/news/a.png?q=../b");
    EXPECT_EQ(joinUrl(base, L"//cdn.org/x"), L"http://cdn.org/x");
    EXPECT_EQ(joinUrl(base, L"#end"), L"http://example.org/news/today/page.html?x=1#end");
    EXPECT_EQ(joinUrl(L"http://example.org", L"a.png"), L"http://example.org/a.png");
    EXPECT_EQ(joinUrl(L"", L"a.png"), L"a.png");
    EXPECT_EQ(joinUrl(base, L" javascript:x\n"), L"javascript:x");
}
