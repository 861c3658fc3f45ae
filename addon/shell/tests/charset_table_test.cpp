#include "addon/shell/charset_table.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using addon::charsetFromHtml;
using addon::codePageForCharset;
using addon::decodeHtmlByDeclaration;

TEST(CharsetTable, NamesMapWithoutRegardToCaseAndTheFirstRowWins) {
    EXPECT_EQ(addon::charsetCodePageTable().size(), 44u);
    EXPECT_EQ(codePageForCharset(L"UTF-8"), 65001u);
    EXPECT_EQ(codePageForCharset(L"utf-8"), 65001u);
    EXPECT_EQ(codePageForCharset(L"Windows-1251"), 1251u);
    EXPECT_EQ(codePageForCharset(L"iso-8859-1"), 1252u);
    EXPECT_EQ(codePageForCharset(L"ISO-2022-JP"), 50220u);
    EXPECT_EQ(codePageForCharset(L"x-user-defined"), 50000u);
    EXPECT_EQ(codePageForCharset(L"latin1"), 0u);
    EXPECT_EQ(codePageForCharset(L""), 0u);
    EXPECT_EQ(codePageForCharset(L"utf-8 "), 0u);
}

TEST(CharsetTable, ThePagesOwnDeclarationChoosesTheDecoding) {
    // "Привет" in windows-1251.
    const std::string cyrillic = "\xcf\xf0\xe8\xe2\xe5\xf2";
    const std::string page =
        "<html><head><meta http-equiv=\"Content-Type\" "
        "content=\"text/html; charset=windows-1251\"></head><body>" +
        cyrillic + "</body></html>";
    EXPECT_EQ(charsetFromHtml(page), L"windows-1251");
    EXPECT_NE(decodeHtmlByDeclaration(page).find(L"\u041f\u0440\u0438\u0432\u0435\u0442"),
              std::wstring::npos);

    // Declared in capitals: the name is looked up without case.
    const std::string koi = "<meta content=\"text/html; charset=KOI8-R\">\xf0\xd2\xc9";
    EXPECT_EQ(charsetFromHtml(koi), L"KOI8-R");
    EXPECT_NE(decodeHtmlByDeclaration(koi).find(L"\u041f\u0440\u0438"), std::wstring::npos);

    // No declaration, or an unknown one: the system code page (UTF-8 here).
    EXPECT_EQ(charsetFromHtml("<p>caf\xc3\xa9</p>"), L"");
    EXPECT_EQ(decodeHtmlByDeclaration("<p>caf\xc3\xa9</p>"), L"<p>caf\u00e9</p>");
    EXPECT_EQ(decodeHtmlByDeclaration("<meta content=\"text/html; charset=latin1\">\xc3\xa9"),
              L"<meta content=\"text/html; charset=latin1\">\u00e9");
    // A code page the converter does not know falls back as well, and nothing is lost.
    EXPECT_EQ(decodeHtmlByDeclaration("<meta content=\"text/html; charset=x-user-defined\">ab"),
              L"<meta content=\"text/html; charset=x-user-defined\">ab");
}

}  // namespace
