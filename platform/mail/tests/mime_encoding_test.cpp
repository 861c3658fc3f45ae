#include "platform/mail/mime_encoding.h"

#include <gtest/gtest.h>

using namespace platform::mail;

namespace {

// Decodes the "=?UTF-8?B?...?=" words of a header value back into one text.
std::string decodeWords(const std::string& value) {
    std::string text;
    std::size_t start = 0;
    while ((start = value.find("=?UTF-8?B?", start)) != std::string::npos) {
        const std::size_t end = value.find("?=", start + 10);
        const std::string encoded = value.substr(start + 10, end - start - 10);
        std::uint32_t bits = 0;
        int count = 0;
        for (const char c : encoded) {
            if (c == '=') {
                break;
            }
            const std::string digits =
                "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
            bits = bits << 6 | static_cast<std::uint32_t>(digits.find(c));
            count += 6;
            if (count >= 8) {
                count -= 8;
                text += static_cast<char>(bits >> count & 0xFF);
            }
        }
        start = end + 2;
    }
    return text;
}

// Every line break is CRLF followed by a space: a folded line, never a new header.
bool onlyFoldedBreaks(const std::string& value) {
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\n' || (value[i] == '\r' && value.compare(i, 3, "\r\n ") != 0)) {
            return false;
        }
        i += value[i] == '\r' ? 1 : 0;
    }
    return true;
}

}  // namespace

TEST(MimeEncoding, Base64MatchesTheStandardVectorsAndWrapsAt76) {
    EXPECT_EQ(base64(""), "");
    EXPECT_EQ(base64("f"), "Zg==");
    EXPECT_EQ(base64("fo"), "Zm8=");
    EXPECT_EQ(base64("foobar"), "Zm9vYmFy");
    EXPECT_EQ(base64("\xff\xfe\x80"), "//6A");
    const std::string lines = base64Lines(std::string(100, 'x'));
    EXPECT_EQ(lines.find("\r\n"), 76u);
    EXPECT_TRUE(lines.ends_with("\r\n"));
    EXPECT_EQ(lines.size(), 136u + 4);
}

TEST(MimeEncoding, HeaderTextsStayOnOneLineOnlyWhenPlainAndShort) {
    EXPECT_EQ(headerText("Weekly news.html", 9), "Weekly news.html");
    // Anything a reader could take for an encoded word, or a header break, is encoded.
    for (const std::string text : {"=?UTF-8?B?QQ==?=", "a\r\nBcc: x@y.z", "tab\there"}) {
        const std::string value = headerText(text, 9);
        EXPECT_TRUE(onlyFoldedBreaks(value)) << value;
        EXPECT_EQ(decodeWords(value), text);
    }
    // Long non-ASCII text: words of whole characters, every line within the limit.
    std::string text;
    for (int i = 0; i < 40; ++i) {
        text += "\xc3\xa9\xe2\x82\xac";  // "é€"
    }
    const std::string value = headerText(text, 9);
    EXPECT_EQ(decodeWords(value), text);
    std::size_t start = 0;
    while (start < value.size()) {
        std::size_t end = value.find("\r\n", start);
        end = end == std::string::npos ? value.size() : end;
        EXPECT_LE(end - start + 9, 78u);
        const std::string word = value.substr(start, end - start);
        EXPECT_EQ(decodeWords(word).size() % 5, 0u) << "a character was split";
        start = end + 2;
    }
    EXPECT_EQ(headerText(std::string(100, 'a'), 9).substr(0, 10), "=?UTF-8?B?");
}

TEST(MimeEncoding, AddressesAndMailboxes) {
    EXPECT_TRUE(isMailAddress("reader@example.org"));
    for (const char* bad : {"", "reader", "@example.org", "reader@", "a@b@c", "a b@c.d",
                            "a@b.c>\r\nBcc: x@y", "<a@b.c>", "a\xc3\xa9@b.c"}) {
        EXPECT_FALSE(isMailAddress(bad)) << bad;
    }
    EXPECT_EQ(formatMailbox("", "a@b.c"), "a@b.c");
    EXPECT_EQ(formatMailbox("Ann Lee", "a@b.c"), "\"Ann Lee\" <a@b.c>");
    for (const std::string name : {"Ann \"Q\" Lee", "J\xc3\xbcrgen", "Eve\r\nBcc: x@y.z"}) {
        const std::string box = formatMailbox(name, "a@b.c");
        EXPECT_TRUE(box.starts_with("=?UTF-8?B?")) << box;
        EXPECT_TRUE(box.ends_with(" <a@b.c>")) << box;
        EXPECT_TRUE(onlyFoldedBreaks(box)) << box;
        EXPECT_EQ(decodeWords(box), name);
    }
}

TEST(MimeEncoding, FileNamesUseTheContinuedParameterFormWhenNeeded) {
    EXPECT_EQ(fileNameParameter("page.html"), ";\r\n filename=\"page.html\"");
    const std::string encoded = fileNameParameter("Caf\xc3\xa9 \"menu\".html");
    EXPECT_EQ(encoded, ";\r\n filename*0*=UTF-8''Caf%C3%A9%20%22menu%22.html");
    // A long name is continued, and no piece splits a "%XX" escape.
    std::string longName;
    for (int i = 0; i < 50; ++i) {
        longName += "\xc3\xa9";
    }
    const std::string pieces = fileNameParameter(longName);
    EXPECT_NE(pieces.find("filename*1*="), std::string::npos);
    EXPECT_TRUE(onlyFoldedBreaks(pieces));
    // Every break but the one after the leading ";" ends a piece.
    for (std::size_t at = pieces.find("\r\n", 2); at != std::string::npos;
         at = pieces.find("\r\n", at + 2)) {
        EXPECT_NE(pieces[at - 1], '%');
        EXPECT_NE(pieces[at - 2], '%');
    }
}
