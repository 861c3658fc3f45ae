#include <gtest/gtest.h>

#include "common/xml/tests/xml_test_support.h"

using namespace common;
using namespace xml_test;

TEST(XmlXPath, SelectsFromTheContextNodeWithPrefixesInScope) {
    CXMLDOMDocument2 doc = parse(
        L"<xsl:stylesheet xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>"
        L"<xsl:variable name='a' select='1'/><xsl:template match='/'><x n='1'/><x n='2'/>"
        L"</xsl:template></xsl:stylesheet>");
    EXPECT_EQ(doc.SelectNodes(L"/xsl:stylesheet/xsl:variable").GetLength(), 1);
    const CXMLDOMNode tmpl = doc.SelectSingleNode(L"//xsl:template");
    const CXMLDOMNodeList xs = tmpl.SelectNodes(L"x[@n > 1] | x/@n");
    ASSERT_EQ(xs.GetLength(), 3);
    EXPECT_EQ(xs.GetItem(0).GetNodeName(), L"n");
    EXPECT_EQ(xs.GetItem(1).GetXml(), L"<x n=\"2\"/>");
    EXPECT_EQ(xs.GetItem(2).GetXml(), L"n=\"2\"");
    EXPECT_TRUE(tmpl.SelectSingleNode(L"y").IsEmpty());
    EXPECT_EQ(tmpl.SelectNodes(L"y").GetLength(), 0);
    EXPECT_EQ(tmpl.SelectSingleNode(L"..").GetNodeName(), L"xsl:stylesheet");
}

TEST(XmlXPath, ErrorsNameTheExpression) {
    CXMLDOMDocument2 doc = parse(L"<a/>");
    const CComException invalid = thrownBy([&] { doc.SelectNodes(L"/a[@"); });
    EXPECT_EQ(invalid.hr(), platform::com::E_FAIL);
    EXPECT_EQ(invalid.message().rfind(L"XPath expression \"/a[@\" is not valid", 0), 0u)
        << invalid.what();
    EXPECT_NE(thrownBy([&] { doc.SelectSingleNode(L"count(/a)"); })
                  .message()
                  .find(L"does not select nodes"),
              std::wstring::npos);
    EXPECT_THROW(doc.SelectNodes(L"/u:a"), CComException);  // undeclared prefix
    EXPECT_THROW(doc.SelectNodes(L"nosuchfunction()"), CComException);
}
