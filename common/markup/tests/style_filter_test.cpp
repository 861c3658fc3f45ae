// Decoding CSS the way a browser reads it before judging it.
#include <gtest/gtest.h>

#include "common/markup/style_filter.h"

namespace {

using common::markup::decodeCss;
using common::markup::displayStyle;

TEST(StyleFilter, EscapesAndCommentsDecodeAsABrowserReadsThem) {
    EXPECT_EQ(decodeCss("exp\\72 ession"), "expression");
    EXPECT_EQ(decodeCss("exp\\000072ession"), "expression");  // six digits end the escape
    EXPECT_EQ(decodeCss("a\\72\r\nb"), "arb");                // CR LF after it is one blank
    EXPECT_EQ(decodeCss("\\\"q\\;"), "\"q;");
    EXPECT_EQ(decodeCss("line\\\ncontinued"), "linecontinued");
    EXPECT_EQ(decodeCss("a/* x */b/* open"), "ab");
    EXPECT_EQ(decodeCss("\\E9t\\E9"), "\xC3\xA9t\xC3\xA9");
    for (const char* invalid : {"\\0 ", "\\D800 ", "\\110000"})
        EXPECT_EQ(decodeCss(invalid), "\xEF\xBF\xBD") << invalid;
    EXPECT_EQ(decodeCss("end\\"), "end");
}

TEST(StyleFilter, OnlyTheDeclarationsThatGoAreLeftOut) {
    EXPECT_EQ(displayStyle("color: red;  "), "color: red;  ");
    EXPECT_EQ(displayStyle(" position:absolute ; background:url(\"a;b.png\") ;; z-index:9"),
              " background:url(\"a;b.png\") ; z-index:9");
    // Declarations keep their own blanks, so an escaped one stays escaped.
    EXPECT_EQ(displayStyle("position:fixed;content:a\\ ;color:red"), "content:a\\ ;color:red");
    EXPECT_EQ(displayStyle("position:fixed"), "");
    EXPECT_EQ(displayStyle("color:red; width:expression(1)"), std::nullopt);
}

}  // namespace
