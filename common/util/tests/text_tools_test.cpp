#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "common/util/parse_pairs.h"
#include "common/util/string_tools.h"
#include "common/util/text_conversion.h"
#include "common/util/time_text.h"

using namespace common;

TEST(TextConversion, ConvertsThroughCodePages) {
    std::string bytes = "old";
    EXPECT_EQ(wideToMultiByte(L"caf\u00E9", bytes, 1252), 4);
    EXPECT_EQ(bytes, "caf\xE9");
    EXPECT_EQ(wideToMultiByte(L"caf\u00E9", bytes, 0), 5);
    EXPECT_EQ(bytes, "caf\xC3\xA9");
    EXPECT_EQ(wideToMultiByte(L"", bytes, 0), 0);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(wideToMultiByte(L"x", bytes, 4242), 0);
    EXPECT_TRUE(bytes.empty());

    std::wstring text;
    EXPECT_EQ(multiByteToWide("caf\xE9", text, 1252), 4);
    EXPECT_EQ(text, L"caf\u00E9");
    EXPECT_EQ(multiByteToWide("\xE2\x82\xAC", text, 65001), 1);
    EXPECT_EQ(text, L"\u20AC");
    EXPECT_EQ(ansiLength(L"\u20AC"), 3);
    EXPECT_EQ(ansiLength(L""), 0);
}

TEST(TextConversion, NumbersReadLikeTheCLibrary) {
    EXPECT_EQ(toLong(L"  -12abc"), -12);
    EXPECT_EQ(toLong(L"abc"), 0);
    EXPECT_EQ(toLong(L"99999999999"), 2147483647);
    EXPECT_EQ(toLong(L"-99999999999"), -2147483647 - 1);
    EXPECT_DOUBLE_EQ(toDouble(L" 2.5e1x"), 25.0);
    EXPECT_EQ(intToString(-7), L"-7");
}

TEST(StringTools, CutsAndTests) {
    EXPECT_TRUE(startsWithText(L"command-save", L"command-"));
    EXPECT_FALSE(startsWithText(L"Command-save", L"command-"));
    EXPECT_FALSE(startsWithText(L"co", L"command-"));
    EXPECT_TRUE(endsWithText(L"file.XML", L".XML"));
    EXPECT_FALSE(endsWithText(L"file.XML", L".xml"));

    EXPECT_EQ(textBefore(L"a/b/c", L"/", false), L"a");
    EXPECT_EQ(textBefore(L"a/b/c", L"/", true), L"a/b");
    EXPECT_EQ(textAfter(L"a::b::c", L"::", false), L"b::c");
    EXPECT_EQ(textAfter(L"a::b::c", L"::", true), L"c");
    EXPECT_EQ(textAfter(L"abc", L"/", true), L"");
    EXPECT_EQ(textBefore(L"abc", L"/", false), L"");

    EXPECT_EQ(countNonSpace(L" a\tb\r\nc "), 3u);
    std::vector<std::wstring> items{L"[one]", L"[]", L"x"};
    stripEach(items, L"[", L"]");
    EXPECT_EQ(items, (std::vector<std::wstring>{L"one", L"", L""}));

    EXPECT_EQ(findCharPair(L"a\r\nb\r\n", L'\r', L'\n'), 1u);
    EXPECT_EQ(findCharPair(L"a\rb\n", L'\r', L'\n'), std::wstring::npos);
    EXPECT_EQ(findCharPair(L"", L'a', L'b'), std::wstring::npos);

    EXPECT_TRUE(isTrueText(L"TrUe"));
    EXPECT_FALSE(isTrueText(L"true "));
    EXPECT_FALSE(isTrueText(L"1"));
}

TEST(StringTools, GuidTextsHaveTheirShapeAndDiffer) {
    const std::wregex shape(L"A([0-9A-F]{7,8})-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}");
    std::set<std::wstring> seen;
    for (int i = 0; i < 200; ++i) {
        const std::wstring text = newGuidText();
        std::wsmatch match;
        ASSERT_TRUE(std::regex_match(text, match, shape)) << i;
        const std::wstring first = match[1];
        // 7 digits only while the field is below 0x10000000, else all 8.
        EXPECT_EQ(text.size(), first.size() == 7 ? 36u : 37u);
        EXPECT_TRUE(first.size() == 7 || first[0] != L'0');
        seen.insert(text);
    }
    EXPECT_EQ(seen.size(), 200u);
}

TEST(ParsePairs, SplitsQueryTexts) {
    const std::vector<StringPair> ab{{L"a", L"1"}, {L"b", L"2"}};
    EXPECT_EQ(parsePairs(L"a=1&b=2", L'&', L'='), ab);
    EXPECT_EQ(parsePairs(L"a=1&&b=2", L'&', L'='), ab);
    EXPECT_EQ(parsePairs(L"  a=1&b=2\r\n", L'&', L'='), ab);
    EXPECT_EQ(parsePairs(L"=1&b=2", L'&', L'='), (std::vector<StringPair>{{L"b", L"2"}}));
    EXPECT_EQ(parsePairs(L"a&b=2", L'&', L'='), (std::vector<StringPair>{{L"a&b", L"2"}}));
    EXPECT_EQ(parsePairs(L"a=&b=x%20y=z", L'&', L'='),
              (std::vector<StringPair>{{L"a", L""}, {L"b", L"x%20y=z"}}));
    EXPECT_EQ(parsePairs(L"a=1&tail", L'&', L'='), (std::vector<StringPair>{{L"a", L"1"}}));
    EXPECT_TRUE(parsePairs(L"", L'&', L'=').empty());
    EXPECT_TRUE(parsePairs(L" \t ", L'&', L'=').empty());
}

TEST(TimeText, FormatsNowInUtcOrLocalTime) {
    const std::wregex shape(L"\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}");
    const std::time_t before = std::time(nullptr);
    const std::wstring utc = currentTimeText(false);
    ASSERT_TRUE(std::regex_match(utc, shape)) << utc;
    ASSERT_TRUE(std::regex_match(currentTimeText(true), shape));
    const std::time_t after = std::time(nullptr);
    const auto hourOf = [](std::time_t when) {
        std::tm parts{};
        gmtime_r(&when, &parts);
        wchar_t text[32];
        std::wcsftime(text, 32, L"%Y-%m-%d %H:", &parts);
        return std::wstring(text);
    };
    const std::wstring hour = utc.substr(0, 14);
    EXPECT_TRUE(hour == hourOf(before) || hour == hourOf(after)) << utc;
}
