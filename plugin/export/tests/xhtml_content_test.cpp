#include "plugin/export/xhtml_content.h"

#include <gtest/gtest.h>

namespace {

using plugin::xhtmlContent;
using plugin::xmlText;

TEST(XhtmlContent, WellFormedMarkupIsKeptAndUntidyMarkupRepaired) {
    EXPECT_EQ(xhtmlContent(L"<p class=\"x\">Hi <b>there</b></p>text<br/>"),
              "<p class=\"x\">Hi <b>there</b></p>text<br />");
    EXPECT_EQ(xhtmlContent(L"<p>one<p>two"), "<p>one</p><p>two</p>");
    EXPECT_EQ(xhtmlContent(L"x &amp; y &nbsp;"), "<p>x &amp; y \u00a0</p>");
    EXPECT_EQ(xhtmlContent(L"<html><body><div>in</div></body></html>"), "<div>in</div>");
    EXPECT_EQ(xhtmlContent(L"  \r\n"), "");
    EXPECT_EQ(xhtmlContent(L"<div/><img src=\"a.png\" alt=\"\">"),
              "<div></div><img src=\"a.png\" alt=\"\" />");
}

TEST(XhtmlContent, TextForXmlIsEscapedAndCleaned) {
    EXPECT_EQ(xmlText(L"a<b>&\"c'\x01\x1F\tü"), "a&lt;b&gt;&amp;&quot;c'\tü");
}

}  // namespace
