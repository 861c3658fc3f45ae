// The patterns the rest of the system relies on: page URL patterns matched against the
// whole URL, the charset declaration of an HTML page in its bytes, and the side pane's
// navigation restriction searched in a URL.
#include <gtest/gtest.h>

#include <string>

#include "common/regex/pattern.h"

namespace common {
namespace {

bool servesUrl(const std::wstring& pattern, const std::wstring& url) {
    return CPattern(pattern, 0).matchWhole(url).matched();
}

TEST(CallerPatterns, PageUrlPatternsMatchTheWholeUrl) {
    EXPECT_TRUE(servesUrl(L"tarn://tamrix/item\\?.*", L"tarn://tamrix/item?id=42&x=1"));
    EXPECT_TRUE(servesUrl(L"tarn://tamrix/item\\?.*", L"tarn://tamrix/item?"));
    EXPECT_FALSE(servesUrl(L"tarn://tamrix/item\\?.*", L"tarn://tamrix/items"));
    EXPECT_FALSE(servesUrl(L"tarn://tamrix/item\\?.*", L"xtarn://tamrix/item?id=1"));
    // The engine hands URLs with their leading "//" and cut at "?".
    EXPECT_TRUE(servesUrl(L"//tamrix/(item|list)", L"//tamrix/item"));
    EXPECT_FALSE(servesUrl(L"//tamrix/(item|list)", L"//tamrix/itemlist"));
    EXPECT_FALSE(servesUrl(L"//tamrix/item", L"//tamrix/item/extra"));
    // A match of a prefix does not count, even when a longer alternative fits.
    EXPECT_TRUE(servesUrl(L"//tamrix/(list|list/\\w+)", L"//tamrix/list/recent"));
    // Matching is case-sensitive.
    EXPECT_FALSE(servesUrl(L"//tamrix/item", L"//Tamrix/item"));
}

std::string charsetFromHtml(const std::string& bytes) {
    static const CPatternA pattern("text/html\\s*;\\s*charset\\b\\s*=\\s*(?<charset>[^\"]*)");
    const CMatchInfo m = pattern.match(bytes);
    if (!m.groupMatched(1))
        return {};
    return bytes.substr(static_cast<std::size_t>(m.groupStart(1)),
                        static_cast<std::size_t>(m.groupEnd(1) - m.groupStart(1)));
}

TEST(CallerPatterns, CharsetOfAnHtmlMetaDeclaration) {
    EXPECT_EQ(charsetFromHtml("<html><head><meta http-equiv=\"Content-Type\" "
                              "content=\"text/html; charset=windows-1251\"></head>"),
              "windows-1251");
    EXPECT_EQ(charsetFromHtml("<meta content=\"text/html;charset = utf-8\">"), "utf-8");
    EXPECT_EQ(charsetFromHtml("<meta content=\"text/html;\n\tcharset=koi8-r\" />\xd0\xb0"),
              "koi8-r");
    EXPECT_EQ(charsetFromHtml("<meta content=\"text/html; charsets=x\">"), "");
    EXPECT_EQ(charsetFromHtml("<meta charset=\"utf-8\">"), "");
    // Case-sensitive as written: an upper-case declaration is not found.
    EXPECT_EQ(charsetFromHtml("<META CONTENT=\"TEXT/HTML; CHARSET=UTF-8\">"), "");
}

TEST(CallerPatterns, SavedPageCharsetDeclarationsAreRewritten) {
    const CPattern pattern(L"text/html\\s*;\\s*charset\\b\\s*=\\s*(?<charset>[^\"]*)",
                           REGEX_IGNORE_CASE);
    const std::wstring page =
        L"<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"Text/HTML; Charset=ISO-8859-1\">"
        L"<p>text/html; charset=koi8-r</p>";
    CReplaceInfo info;
    const std::wstring out = pattern.replace(page, L"text/html; charset=utf-8", -1, -1, &info);
    EXPECT_EQ(out,
              L"<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=utf-8\">"
              L"<p>text/html; charset=utf-8");
    EXPECT_EQ(info.count, 2);
}

bool restrictAllows(const std::wstring& restrict, const std::wstring& url) {
    return restrict.empty() || CPattern(restrict, 0).match(url).matched();
}

TEST(CallerPatterns, SidePaneRestrictionIsSearchedInTheUrl) {
    EXPECT_TRUE(restrictAllows(L"", L"http://example.org/"));
    EXPECT_TRUE(restrictAllows(L"^tarn://tamrix/", L"tarn://tamrix/list?folder=3"));
    EXPECT_FALSE(restrictAllows(L"^tarn://tamrix/", L"http://x/?u=tarn://tamrix/"));
    EXPECT_TRUE(restrictAllows(L"tamrix\\.example\\.com", L"https://www.tamrix.example.com/a"));
    EXPECT_FALSE(restrictAllows(L"tamrix\\.example\\.com", L"https://tamrixexample.com/"));
    EXPECT_TRUE(restrictAllows(L"^(tarn|res):", L"res://lorvane/page.htm"));
}

}  // namespace
}  // namespace common
