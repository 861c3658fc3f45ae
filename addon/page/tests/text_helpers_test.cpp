#include <gtest/gtest.h>

#include "addon/page/line_breaks.h"
#include "addon/page/url_join.h"

using namespace addon;

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
