#include <gtest/gtest.h>

#include <string>

#include "common/xml/tests/xml_test_support.h"
#include "common/xml/xml_child_writer.h"
#include "platform/text/utf.h"

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

TEST(XmlChildWriter, LongTextsAreMadeFitWhereverTheUnfitCharacterStands) {
    const std::string plain = "0123456789abcdefghijklmnopqrstuvwxyz ~\x7F";
    for (std::size_t at = 0; at <= plain.size(); at += 3) {
        CXMLDOMDocument2 doc = parse(L"<r/>");
        XmlChildWriter writer(doc.GetDocumentElement());
        writer.startElement(writer.name("row"));
        const auto field = writer.name("f");
        for (const std::string unfit : {"\x01", "\t\n", "\xC3\xA9", "\xFF", "\xEF\xBF\xBE"})
            writer.addTextElement(field, plain.substr(0, at) + unfit + plain.substr(at));
        const CXMLDOMNodeList fields = doc.SelectNodes(L"/r/row/f");
        ASSERT_EQ(fields.GetLength(), 5);
        const std::wstring before = platform::text::fromUtf8(plain.substr(0, at));
        const std::wstring after = platform::text::fromUtf8(plain.substr(at));
        EXPECT_EQ(fields.GetItem(0).GetText(), before + L"\xFFFD" + after) << at;
        EXPECT_EQ(fields.GetItem(1).GetText(), before + L"\t\n" + after) << at;
        EXPECT_EQ(fields.GetItem(2).GetText(), before + L"\u00E9" + after) << at;
        EXPECT_EQ(fields.GetItem(3).GetText(), before + L"\xFFFD" + after) << at;
        EXPECT_EQ(fields.GetItem(4).GetText(), before + L"\xFFFD" + after) << at;
    }
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

namespace {

// Writes `rows` rows of two fields under the root of `doc`.
void writeRows(const CXMLDOMDocument2& doc, int rows) {
    XmlChildWriter writer(doc.GetDocumentElement());
    const auto row = writer.name("row");
    const auto id = writer.name("id");
    const auto field = writer.name("f");
    for (int i = 0; i < rows; ++i) {
        writer.startElement(row);
        writer.addAttribute(id, std::to_string(i));
        writer.addTextElement(field,
                              "a value long enough to need its own string " + std::to_string(i));
        writer.addTextElement(field, "");
    }
}

// A document of every kind of node that a replaced tree can hold.
CXMLDOMDocument2 mixedDocument() {
    return parse(
        L"<?xml version='1.0'?><?pi before?><!-- c --><r xmlns='urn:d' xmlns:p='urn:p'>"
        L"<p:a p:x='1'><b>t<![CDATA[<c>]]><!-- in --><?pi in?></b><e/></p:a>text"
        L"<deep><deeper><deepest a='1' b='2'>x</deepest></deeper></deep></r>");
}

}  // namespace

TEST(XmlChildWriter, AReplacedDocumentIsFreedWhileRowsAreWritten) {
    for (const int rows : {0, 1, 3, 40}) {
        CXMLDOMDocument2 old = mixedDocument();
        writeRows(old, 20);
        CXMLDOMDocument2 next = CXMLDOMDocument2::CreateReplacing(std::move(old));
        EXPECT_TRUE(old.IsEmpty());
        next.AppendChild(next.CreateNode(NODE_ELEMENT, L"storage", L""));
        writeRows(next, rows);
        next.ReleaseReplaced();
        EXPECT_EQ(next.GetDocumentElement().GetChildNodes().GetLength(), rows) << rows;
        if (rows > 0) {
            EXPECT_EQ(next.SelectSingleNode(L"/storage/row[last()]/f").GetText(),
                      L"a value long enough to need its own string " + std::to_wstring(rows - 1));
        }
    }
}

TEST(XmlChildWriter, AReplacedDocumentThatIsStillReachableStaysWhole) {
    CXMLDOMDocument2 old = mixedDocument();
    writeRows(old, 5);
    const std::wstring before = old.GetXml();

    CXMLDOMDocument2 copy = old;
    CXMLDOMDocument2 next = CXMLDOMDocument2::CreateReplacing(std::move(old));
    next.AppendChild(next.CreateNode(NODE_ELEMENT, L"storage", L""));
    writeRows(next, 10);
    EXPECT_EQ(copy.GetXml(), before);

    CXMLDOMDocument2 held = mixedDocument();
    writeRows(held, 5);
    const CXMLDOMNode deepest = held.SelectSingleNode(L"//*[local-name()='deepest']");
    CXMLDOMDocument2 after = CXMLDOMDocument2::CreateReplacing(std::move(held));
    after.AppendChild(after.CreateNode(NODE_ELEMENT, L"storage", L""));
    writeRows(after, 10);
    EXPECT_EQ(deepest.GetText(), L"x");
    EXPECT_EQ(deepest.GetParentNode().GetParentNode().GetNodeName(), L"deep");
    std::wstring value;
    EXPECT_TRUE(deepest.GetAttribute(L"b", value));
    EXPECT_EQ(value, L"2");
}
