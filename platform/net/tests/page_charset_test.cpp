#include <gtest/gtest.h>

#include <random>

#include "platform/net/page_charset.h"

using namespace platform::net;

namespace {

// "Привет" in windows-1251.
const std::string kCyrillic1251 = "\xcf\xf0\xe8\xe2\xe5\xf2";
const std::wstring kCyrillic = L"\u041f\u0440\u0438\u0432\u0435\u0442";

std::wstring textOf(std::string_view bytes, std::string_view contentType = {}) {
    return decodePageText(bytes, contentType).text;
}

TEST(PageCharset, LabelsAreReadAsBrowsersReadThem) {
    EXPECT_EQ(encodingForLabel(" UTF8 "), "UTF-8");
    EXPECT_EQ(encodingForLabel("latin1"), "CP1252");
    EXPECT_EQ(encodingForLabel("ISO-8859-1"), "CP1252");
    EXPECT_EQ(encodingForLabel("us-ascii"), "CP1252");
    EXPECT_EQ(encodingForLabel("windows-1251"), "CP1251");
    EXPECT_EQ(encodingForLabel("Shift_JIS"), "CP932");
    EXPECT_EQ(encodingForLabel("gb2312"), "GB18030");
    EXPECT_EQ(encodingForLabel("x-made-up"), "");
    EXPECT_EQ(encodingForLabel(""), "");
}

TEST(PageCharset, MetaDeclarationsInBothForms) {
    EXPECT_EQ(metaCharsetLabel("<html><head><meta charset=\"windows-1251\">"), "windows-1251");
    EXPECT_EQ(metaCharsetLabel("<META CHARSET=koi8-r>"), "koi8-r");
    EXPECT_EQ(metaCharsetLabel("<meta http-equiv='Content-Type' "
                               "content='text/html; charset=iso-8859-2'>"),
              "iso-8859-2");
    EXPECT_EQ(metaCharsetLabel("<meta content=\"text/html;charset=\'gbk\'\" "
                               "http-equiv=\"content-type\">"),
              "gbk");
    // A Content-Type in a content attribute counts without its http-equiv; other content,
    // a comment, a <metadata> element or a meta after the body has begun declare nothing.
    EXPECT_EQ(metaCharsetLabel("<meta content=\"text/html; charset=koi8-r\">"), "koi8-r");
    EXPECT_EQ(metaCharsetLabel("<meta name=x content=\"charset=koi8-r\">"), "");
    EXPECT_EQ(metaCharsetLabel("<!-- <meta charset=koi8-r> --><meta charset=utf-8>"), "utf-8");
    EXPECT_EQ(metaCharsetLabel("<metadata charset=koi8-r>"), "");
    EXPECT_EQ(metaCharsetLabel("<body><meta charset=koi8-r>"), "");
    // Cut short: nothing is read past the end.
    EXPECT_EQ(metaCharsetLabel("<meta charset=\"koi8"), "koi8");
    EXPECT_EQ(metaCharsetLabel("<meta http-equiv=content-type content="), "");
    EXPECT_EQ(metaCharsetLabel("<!-- never closed <meta charset=koi8-r>"), "");
}

// A page declared gb2312 is read as a browser reads it, with GB18030: a four-byte sequence
// and a pair in a user-defined area are one character each, not replacement characters.
TEST(PageCharset, GbkPagesDecodeAsGb18030) {
    const std::wstring text = textOf("<meta charset=gb2312><p>\xC4\xE3\x81\x30\x81\x30\xA2\x91");
    const std::wstring paragraph = text.substr(text.find(L"<p>") + 3);
    ASSERT_EQ(paragraph.size(), 3u);
    EXPECT_EQ(paragraph.substr(0, 2), L"\u4F60\u0080");
    EXPECT_NE(paragraph[2], L'\uFFFD');
}

TEST(PageCharset, ByteOrderMarkThenHeaderThenMetaThenFallback) {
    const std::string declared = "<meta charset=\"windows-1251\"><p>" + kCyrillic1251;
    // The short HTML5 form of the meta declaration.
    EXPECT_NE(textOf(declared).find(kCyrillic), std::wstring::npos);
    // The HTTP header wins over the meta.
    EXPECT_EQ(decodePageText(declared, "text/html; charset=koi8-r").encoding, "KOI8-R");
    // The byte-order mark wins over both, and is not part of the text.
    const std::string marked = "\xEF\xBB\xBF<meta charset=windows-1251>caf\xC3\xA9";
    EXPECT_EQ(textOf(marked, "text/html; charset=koi8-r"), L"<meta charset=windows-1251>caf\u00e9");
    // A charset only in the header.
    EXPECT_NE(textOf("<p>" + kCyrillic1251, "text/html; charset=windows-1251").find(kCyrillic),
              std::wstring::npos);
    // An unknown header charset is passed over for the meta.
    EXPECT_EQ(decodePageText(declared, "text/html; charset=bogus").encoding, "CP1251");
    // A Latin-1 page without a declaration keeps its letters (windows-1252).
    EXPECT_EQ(textOf("caf\xE9 \x93quoted\x94"), L"caf\u00e9 \u201cquoted\u201d");
    // An unknown meta name falls back the same way.
    EXPECT_EQ(decodePageText("<meta charset=nonsense>caf\xE9", {}).encoding, "CP1252");
    // Valid UTF-8 without any declaration stays UTF-8.
    EXPECT_EQ(textOf("caf\xC3\xA9"), L"caf\u00e9");
    // A meta naming UTF-16 on bytes that were scanned as ASCII means UTF-8.
    EXPECT_EQ(decodePageText("<meta charset=utf-16>caf\xC3\xA9", {}).encoding, "UTF-8");
    // UTF-16 by its mark.
    EXPECT_EQ(textOf(std::string("\xFF\xFE<\0p\0>\0", 8)), L"<p>");
}

TEST(PageCharset, WhatIsNotAPageIsNamed) {
    EXPECT_EQ(notAPage("\xFF\xD8\xFF\xE0\0\x10JFIF", {}), "a JPEG picture");
    EXPECT_EQ(notAPage("%PDF-1.7\n", {}), "a PDF document");
    EXPECT_EQ(notAPage("<html></html>", "image/png"), "an answer of type image/png");
    std::mt19937 random(7);
    std::string noise(2 << 20, '\0');
    for (char& byte : noise)
        byte = static_cast<char>(random());
    EXPECT_EQ(notAPage(noise, {}), "binary data");
    EXPECT_EQ(notAPage(noise, "application/octet-stream"), "binary data");

    EXPECT_EQ(notAPage("<!doctype html><p>caf\xC3\xA9</p>", "text/html; charset=utf-8"),
              std::nullopt);
    EXPECT_EQ(notAPage("plain words\r\n\tand tabs", {}), std::nullopt);
    EXPECT_EQ(notAPage(std::string("\xFE\xFF\0<\0p\0>", 8), {}), std::nullopt);
    EXPECT_EQ(notAPage("<p>x</p>", "application/xhtml+xml"), std::nullopt);
}

}  // namespace
