#include <gtest/gtest.h>

#include "platform/text/code_page.h"
#include "platform/text/utf.h"

using namespace platform::text;

TEST(Utf8, RoundTripsEveryPlane) {
    const std::wstring text = L"a\u00e9\u20ac\U0001F600z";
    const std::string bytes = toUtf8(text);
    EXPECT_EQ(bytes, "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z");
    EXPECT_EQ(fromUtf8(bytes), text);
    EXPECT_TRUE(isValidUtf8(bytes));
}

TEST(Utf8, IllFormedInputBecomesReplacementCharacters) {
    EXPECT_EQ(fromUtf8("a\xFF"
                       "b"),
              L"a\uFFFDb");
    EXPECT_EQ(fromUtf8("\xC3"), L"\uFFFD");                               // truncated at the end
    EXPECT_EQ(fromUtf8("\xE2\x82"), L"\uFFFD");                           // truncated 3-byte form
    EXPECT_EQ(fromUtf8("\xC0\xAF"), L"\uFFFD\uFFFD");                     // overlong
    EXPECT_EQ(fromUtf8("\xED\xA0\x80"), L"\uFFFD\uFFFD\uFFFD");           // encoded surrogate
    EXPECT_EQ(fromUtf8("\xF4\x90\x80\x80"), std::wstring(4, L'\uFFFD'));  // above U+10FFFF
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));
    EXPECT_TRUE(isValidUtf8("\xEF\xBF\xBD"));
}

TEST(Utf8, UnencodableWideValuesBecomeReplacement) {
    std::wstring bad;
    bad += static_cast<wchar_t>(0xD800);
    bad += static_cast<wchar_t>(0x110000);
    EXPECT_EQ(toUtf8(bad), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(Utf16, SurrogatePairs) {
    const std::wstring text = L"x\U0001D11E";
    const std::u16string units = toUtf16(text);
    ASSERT_EQ(units.size(), 3u);
    EXPECT_EQ(units[1], 0xD834);
    EXPECT_EQ(units[2], 0xDD1E);
    EXPECT_EQ(fromUtf16(units), text);
}

TEST(Utf16, LoneSurrogatesBecomeReplacement) {
    EXPECT_EQ(fromUtf16(u"\xD834"
                        u"a"),
              L"\uFFFDa");
    EXPECT_EQ(fromUtf16(std::u16string(1, char16_t(0xDC00))), L"\uFFFD");
}

TEST(CodePage, NamesOfNumberedCodePages) {
    EXPECT_EQ(codePageName(kAnsiCodePage), "UTF-8");
    EXPECT_EQ(codePageName(65001), "UTF-8");
    EXPECT_EQ(codePageName(1252), "CP1252");
    EXPECT_EQ(codePageName(28595), "ISO-8859-5");
    EXPECT_EQ(codePageName(936), "GBK");
}

TEST(CodePage, EncodesAndDecodesThroughIconv) {
    EXPECT_EQ(encode(L"caf\u00e9 \u20ac", "CP1252"), std::optional<std::string>("caf\xE9 \x80"));
    EXPECT_EQ(decode("caf\xE9 \x80", "windows-1252"),
              std::optional<std::wstring>(L"caf\u00e9 \u20ac"));
    EXPECT_EQ(decode("\xC4\xE3\xBA\xC3", "GBK"), std::optional<std::wstring>(L"\u4f60\u597d"));
}

TEST(CodePage, UnrepresentableAndUndecodable) {
    EXPECT_EQ(encode(L"a\u4f60b", "ISO-8859-1"), std::optional<std::string>("a?b"));
    EXPECT_EQ(decode("a\x81"
                     "b",
                     "SHIFT_JIS")
                  .value()
                  .front(),
              L'a');
    EXPECT_EQ(encode(L"x", "no-such-charset"), std::nullopt);
    EXPECT_EQ(decode("x", "no-such-charset"), std::nullopt);
}
