#include <gtest/gtest.h>

#include <string>

#include "common/xml/tests/xml_test_support.h"
#include "common/xml/xml_child_writer.h"

using namespace common;
using namespace xml_test;

TEST(XmlChildWriter, WritesTheTreeThatTheEscapedMarkupWouldLoadInto) {
    CXMLDOMDocument2 doc = parse(L"<r xmlns='urn:rows' xmlns:p='urn:p'><old/></r>");
    const CXMLDOMElement root = doc.GetDocumentElement();
    {
        XmlChildWriter writer(root);
        const auto row = writer.name("row");
        const auto id = writer.name("id");
        const auto text = writer.name("text");
        writer.startElement(row);
        writer.addAttribute(id, "1 & \"2\"\t");
        writer.addTextElement(text, std::string("a\0b<c>\r", 7));
        writer.addTextElement(text, "");
        writer.startElement(row);
        writer.addAttribute(id, "");
    }
    const std::wstring xml = doc.GetXml();
    EXPECT_EQ(xml,
              L"<r xmlns=\"urn:rows\" xmlns:p=\"urn:p\"><old/>"
              L"<row id=\"1 &amp; &quot;2&quot;&#9;\"><text>a\xFFFD"
              L"b&lt;c&gt;&#13;</text>"
              L"<text/></row><row id=\"\"/></r>\n");
    // Elements take the default namespace in scope, attributes none, as loading gives.
    const CXMLDOMNode first = root.SelectSingleNode(L"*[local-name()='row'][1]");
    ASSERT_FALSE(first.IsEmpty());
    std::wstring value;
    EXPECT_TRUE(first.GetAttribute(L"id", value));
    EXPECT_EQ(value, L"1 & \"2\"\t");
    EXPECT_EQ(root.SelectNodes(L"*[namespace-uri()='urn:rows']").GetLength(), 3);
    CXMLDOMDocument2 reloaded = parse(xml);
    EXPECT_EQ(reloaded.GetXml(), xml);
}

TEST(XmlChildWriter, DiscardRemovesOnlyWhatItWroteAndOtherNodesAreRefused) {
    CXMLDOMDocument2 doc = parse(L"<r><keep/></r>");
    const CXMLDOMElement root = doc.GetDocumentElement();
    XmlChildWriter writer(root);
    const auto item = writer.name("item");
    writer.startElement(item);
    writer.startElement(item);
    EXPECT_EQ(root.GetChildNodes().GetLength(), 3);
    writer.discard();
    EXPECT_EQ(doc.GetXml(), L"<r><keep/></r>\n");
    EXPECT_EQ(root.GetChildNodes().GetLength(), 1);

    XmlChildWriter empty(parse(L"<r/>").GetDocumentElement());
    empty.startElement(empty.name("item"));
    empty.discard();
    EXPECT_THROW(empty.addAttribute(empty.name("a"), "x"), CComException);

    EXPECT_THROW(XmlChildWriter{doc}, CComException);
    EXPECT_THROW(XmlChildWriter{parse(L"<r>text</r>").GetDocumentElement().GetFirstChild()},
                 CComException);
}

TEST(XmlChildWriter, WrittenTextsTakeEveryLaterEditAndCopy) {
    CXMLDOMDocument2 doc = parse(L"<r/>");
    const CXMLDOMElement root = doc.GetDocumentElement();
    XmlChildWriter writer(root);
    const auto row = writer.name("row");
    const auto field = writer.name("f");
    writer.startElement(row);
    writer.addAttribute(writer.name("a"), "short");
    writer.addTextElement(field, "tiny");
    writer.addTextElement(field, "a text longer than the node's own room for one");

    const CXMLDOMNode first = root.SelectSingleNode(L"row/f[1]");
    const CXMLDOMNode second = root.SelectSingleNode(L"row/f[2]");
    first.GetFirstChild().PutText(L"now it is a much longer text than before");
    second.PutText(L"x");
    EXPECT_TRUE(root.GetFirstChild().SetAttribute(L"a", L"replaced"));

    // Copies into another document and removal keep every text whole.
    CXMLDOMDocument2 other = parse(L"<o/>");
    other.GetDocumentElement().AppendChild(root.GetFirstChild());
    EXPECT_EQ(other.GetXml(),
              L"<o><row a=\"replaced\"><f>now it is a much longer text than before</f>"
              L"<f>x</f></row></o>\n");
    EXPECT_EQ(doc.GetXml(), L"<r/>\n");
}
