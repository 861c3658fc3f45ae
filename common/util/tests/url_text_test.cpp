#include <gtest/gtest.h>

#include "common/util/url_text.h"

using namespace common;

TEST(UrlDecode, DecodesEscapesAndPlusAndCopiesTheRest) {
    EXPECT_EQ(urlDecode(L"a%41%4a%4A+b"), L"aAJJ b");
    EXPECT_EQ(urlDecode(L"100%"), L"100%");
    EXPECT_EQ(urlDecode(L"%4"), L"%4");
    EXPECT_EQ(urlDecode(L"%zz%4g"), L"%zz%4g");
    EXPECT_EQ(urlDecode(L"%%41"), L"%A");
    EXPECT_EQ(urlDecode(L"%FF"), std::wstring(1, wchar_t(0xFF)));
    EXPECT_EQ(urlDecode(L""), L"");

    // Long input decodes whole instead of to nothing.
    std::wstring longText;
    for (int i = 0; i < 3000; ++i)
        longText += L"%41";
    EXPECT_EQ(urlDecode(longText), std::wstring(3000, L'A'));
}

TEST(UrlUnescape, CombinesUtf8SequencesOfEveryLength) {
    EXPECT_EQ(urlUnescape(L"caf%C3%A9"), L"caf\u00E9");
    EXPECT_EQ(urlUnescape(L"%E2%82%AC5"), L"\u20AC5");
    EXPECT_EQ(urlUnescape(L"%F0%9F%98%80!"), L"\U0001F600!");
    EXPECT_EQ(urlUnescape(L"a+b%20c"), L"a b c");
    EXPECT_EQ(urlUnescape(L""), L"");
    // Characters already decoded in the URL stay as they are.
    EXPECT_EQ(urlUnescape(L"\u20AC\u00E9"), L"\u20AC\u00E9");
}

TEST(UrlUnescape, MalformedSequencesStayByteForByteAndNeverReadPastTheEnd) {
    const auto bytes = [](std::initializer_list<int> codes) {
        std::wstring text;
        for (int c : codes)
            text += static_cast<wchar_t>(c);
        return text;
    };
    EXPECT_EQ(urlUnescape(L"%E2%82"), bytes({0xE2, 0x82}));
    EXPECT_EQ(urlUnescape(L"%F0%9F%98"), bytes({0xF0, 0x9F, 0x98}));
    EXPECT_EQ(urlUnescape(L"%C3"), bytes({0xC3}));
    EXPECT_EQ(urlUnescape(L"%C3A"), bytes({0xC3, 'A'}));
    EXPECT_EQ(urlUnescape(L"%C0%80"), bytes({0xC0, 0x80}));           // overlong
    EXPECT_EQ(urlUnescape(L"%ED%A0%80"), bytes({0xED, 0xA0, 0x80}));  // surrogate
    EXPECT_EQ(urlUnescape(L"%F4%90%80%80"), bytes({0xF4, 0x90, 0x80, 0x80}));
    EXPECT_EQ(urlUnescape(L"na%EFve"), bytes({'n', 'a', 0xEF, 'v', 'e'}));
}

TEST(HostOfUrl, TakesTheTextBetweenSchemeAndPath) {
    EXPECT_EQ(hostOfUrl(L"http://example.org/path/x"), L"example.org");
    EXPECT_EQ(hostOfUrl(L"tarn://tamrix"), L"tamrix");
    EXPECT_EQ(hostOfUrl(L"https://"), L"");
    EXPECT_EQ(hostOfUrl(L"://host/x"), L"");
    EXPECT_EQ(hostOfUrl(L"no scheme/here"), L"");
}

TEST(UrlEncodeComponent, KeepsQueryDelimitersInsideTheValueAndReadsBackWhole) {
    EXPECT_EQ(urlEncodeComponent(L"a&b=c#d 50%+C"), L"a%26b%3Dc%23d%2050%25%2BC");
    EXPECT_EQ(urlEncodeComponent(L"Köln/€"), L"K%C3%B6ln%2F%E2%82%AC");
    EXPECT_EQ(urlEncodeComponent(L"Az09-._~"), L"Az09-._~");
    for (const std::wstring key : {L"50%", L"C#", L"a&b", L"C++ Notes", L"Tech/AI", L"\U0001F600"})
        EXPECT_EQ(urlUnescapeKeepingPlus(urlEncodeComponent(key)), key);
}
