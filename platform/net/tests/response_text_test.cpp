#include <gtest/gtest.h>

#include "platform/net/response_text.h"

using namespace platform::net;

TEST(ResponseText, ContentTypeParts) {
    EXPECT_EQ(mediaType(" Text/XML ; charset=\"ISO-8859-1\""), "text/xml");
    EXPECT_EQ(charsetOf("text/xml; Charset=\"ISO-8859-1\""), "ISO-8859-1");
    EXPECT_EQ(charsetOf("text/html; q=1;charset=utf-8 "), "utf-8");
    EXPECT_EQ(charsetOf("text/html"), "");
    EXPECT_TRUE(isXmlMediaType("application/atom+xml; charset=utf-8"));
    EXPECT_TRUE(isXmlMediaType("TEXT/XML"));
    EXPECT_FALSE(isXmlMediaType("text/html"));
    EXPECT_FALSE(isXmlMediaType("+xml"));
}

TEST(ResponseText, CharsetThenByteOrderMarkThenUtf8) {
    EXPECT_EQ(decodeResponseText("caf\xE9", "text/plain; charset=ISO-8859-1"), L"caf\u00e9");
    EXPECT_EQ(decodeResponseText("\xEF\xBB\xBF"
                                 "caf\xC3\xA9",
                                 "text/plain; charset=utf-8"),
              L"caf\u00e9");
    EXPECT_EQ(decodeResponseText(std::string("\xFF\xFE"
                                             "a\0\xE9\0",
                                             6),
                                 "text/plain"),
              L"a\u00e9");
    EXPECT_EQ(decodeResponseText(std::string("\xFE\xFF\0a\0\xE9", 6), "text/plain; charset=bogus"),
              L"a\u00e9");
    EXPECT_EQ(decodeResponseText("caf\xC3\xA9", ""), L"caf\u00e9");
    EXPECT_EQ(decodeResponseText("bad\xFF", "text/plain"), L"bad\uFFFD");
}
