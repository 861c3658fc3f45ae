#include <gtest/gtest.h>

#include "common/xml/tests/xml_test_support.h"

using namespace common;
using namespace xml_test;

TEST(XmlNode, NamesAreQualified) {
    CXMLDOMDocument2 doc = parse(
        L"<xsl:stylesheet xmlns:xsl='http://www.w3.org/1999/XSL/Transform' xml:lang='en'>"
        L"<?tarn data?><!--c-->t<![CDATA[d]]></xsl:stylesheet>");
    const CXMLDOMElement root = doc.GetDocumentElement();
    EXPECT_EQ(root.GetNodeName(), L"xsl:stylesheet");
    EXPECT_EQ(root.GetAttributes().GetNamedItem(L"xml:lang").GetNodeName(), L"xml:lang");
    const CXMLDOMNodeList children = root.GetChildNodes();
    ASSERT_EQ(children.GetLength(), 4);
    EXPECT_EQ(children.GetItem(0).GetNodeName(), L"tarn");
    EXPECT_EQ(children.GetItem(0).GetText(), L"data");
    EXPECT_EQ(children.GetItem(1).GetNodeName(), L"#comment");
    EXPECT_EQ(children.GetItem(2).GetNodeName(), L"#text");
    EXPECT_EQ(children.GetItem(3).GetNodeName(), L"#cdata-section");
    EXPECT_TRUE(children.GetItem(4).IsEmpty());
    EXPECT_TRUE(children.GetItem(-1).IsEmpty());
    EXPECT_EQ(doc.GetNodeName(), L"#document");
    EXPECT_EQ(root.GetOwnerDocument(), doc);
    EXPECT_EQ(root.GetParentNode(), doc);
}

TEST(XmlNode, AttributeHelpers) {
    CXMLDOMDocument2 doc = parse(L"<a on='TRUE' off='yes' empty=''>text</a>");
    const CXMLDOMElement a = doc.GetDocumentElement();
    bool flag = false;
    a.GetAttributeBool(L"on", flag);
    EXPECT_TRUE(flag);
    a.GetAttributeBool(L"off", flag);
    EXPECT_FALSE(flag);
    flag = true;
    a.GetAttributeBool(L"missing", flag);
    EXPECT_TRUE(flag);
    a.GetAttributeBool(L"empty", flag);
    EXPECT_TRUE(flag);

    EXPECT_TRUE(a.SetAttribute(L"on", L"false"));
    EXPECT_TRUE(a.SetAttribute(L"new", L"x\"y"));
    std::wstring text = L"stale";
    EXPECT_TRUE(a.GetAttribute(L"new", text));
    EXPECT_EQ(text, L"x\"y");
    EXPECT_EQ(a.GetXml(), L"<a on=\"false\" off=\"yes\" empty=\"\" new=\"x&quot;y\">text</a>");
    EXPECT_TRUE(a.GetAttributes().GetNamedItem(L"absent").IsEmpty());
    EXPECT_EQ(a.GetAttributes().GetLength(), 4);

    // Nodes that are not elements give the defaults.
    const CXMLDOMNode textNode = a.GetFirstChild();
    text = L"stale";
    EXPECT_TRUE(textNode.GetAttribute(L"on", text));
    EXPECT_EQ(text, L"");
    flag = true;
    textNode.GetAttributeBool(L"on", flag);
    EXPECT_TRUE(flag);
    EXPECT_FALSE(textNode.SetAttribute(L"on", L"x"));
    EXPECT_FALSE(doc.SetAttribute(L"on", L"x"));
    EXPECT_FALSE(a.SetAttribute(L"bad name", L"x"));
}

TEST(XmlNode, EmptyHandlesThrowInsteadOfCrashing) {
    const CXMLDOMNode empty;
    EXPECT_EQ(thrownBy([&] { empty.GetNodeName(); }).hr(), platform::com::E_POINTER);
    EXPECT_EQ(thrownBy([&] { empty.SelectNodes(L"*"); }).hr(), platform::com::E_POINTER);
    EXPECT_EQ(thrownBy([&] { CXMLDOMDocument2().LoadXML(L"<a/>"); }).hr(),
              platform::com::E_POINTER);
    EXPECT_EQ(thrownBy([&] { CXMLDOMNodeList().GetLength(); }).hr(), platform::com::E_POINTER);
    EXPECT_EQ(thrownBy([&] { CXMLDOMNamedNodeMap().GetNamedItem(L"a"); }).hr(),
              platform::com::E_POINTER);
    CXMLDOMDocument2 doc = parse(L"<a/>");
    EXPECT_THROW(doc.GetDocumentElement().AppendChild(empty), CComException);
    std::wstring text;
    EXPECT_THROW(empty.GetAttribute(L"x", text), CComException);
    wchar_t buffer[8];
    EXPECT_TRUE(thrownBy([&] { empty.GetText(); }).GetErrorMessage(buffer, 8));
    EXPECT_EQ(std::wstring(buffer), L"The XML");
}

TEST(XmlNode, ChildListIsLiveWhileAWalkRemovesNodes) {
    CXMLDOMDocument2 doc = parse(L"<s><define/><keep/><define/><define/><keep/></s>");
    const CXMLDOMNodeList children = doc.GetDocumentElement().GetChildNodes();
    for (long i = 0; i < children.GetLength();) {
        const CXMLDOMNode child = children.GetItem(i);
        if (child.GetNodeName() == L"define")
            doc.GetDocumentElement().RemoveChild(child);
        else
            ++i;
    }
    EXPECT_EQ(doc.GetDocumentElement().GetXml(), L"<s><keep/><keep/></s>");
}

TEST(XmlNode, AnIndexedChildListFollowsEveryChange) {
    CXMLDOMDocument2 doc = parse(L"<s><a/><b/><c/></s>");
    const CXMLDOMNode root = doc.GetDocumentElement();
    const CXMLDOMNodeList children = root.GetChildNodes();
    const CXMLDOMNodeList copy = children;
    ASSERT_EQ(children.GetLength(), 3);
    EXPECT_EQ(children.GetItem(1).GetNodeName(), L"b");

    root.AppendChild(doc.CreateNode(NODE_ELEMENT, L"d", L""));
    EXPECT_EQ(copy.GetLength(), 4);
    EXPECT_EQ(children.GetItem(3).GetNodeName(), L"d");
    root.RemoveChild(children.GetItem(0));
    EXPECT_EQ(children.GetItem(0).GetNodeName(), L"b");
    root.InsertBefore(children.GetItem(2), children.GetItem(0));
    EXPECT_EQ(children.GetItem(0).GetNodeName(), L"d");
    EXPECT_EQ(children.GetItem(3).IsEmpty(), true);
    EXPECT_EQ(children.GetItem(-1).IsEmpty(), true);

    // Moving a node out to another parent and replacing the children with text.
    const CXMLDOMNode other = parse(L"<o/>").GetDocumentElement();
    other.AppendChild(children.GetItem(1));
    EXPECT_EQ(children.GetLength(), 2);
    root.PutText(L"only text");
    ASSERT_EQ(children.GetLength(), 1);
    EXPECT_EQ(children.GetItem(0).GetNodeName(), L"#text");

    // A document's own list follows its reloads.
    const CXMLDOMNodeList top = doc.GetChildNodes();
    EXPECT_EQ(top.GetItem(0).GetNodeName(), L"s");
    ASSERT_TRUE(doc.LoadXML(L"<!--c--><t/>"));
    EXPECT_EQ(top.GetLength(), 2);
    EXPECT_EQ(top.GetItem(1).GetNodeName(), L"t");
}

TEST(XmlNode, TreeChangesFollowTheDomRules) {
    CXMLDOMDocument2 doc = parse(L"<a><b><c/></b><d/></a>");
    const CXMLDOMNode a = doc.GetDocumentElement();
    const CXMLDOMNode b = a.GetFirstChild();
    const CXMLDOMNode c = b.GetFirstChild();
    const CXMLDOMNode d = doc.SelectSingleNode(L"/a/d");

    a.InsertBefore(d, b);
    EXPECT_EQ(doc.GetXml(), L"<a><d/><b><c/></b></a>\n");
    a.InsertBefore(d, d);
    EXPECT_EQ(doc.GetXml(), L"<a><d/><b><c/></b></a>\n");
    EXPECT_EQ(thrownBy([&] { c.AppendChild(b); }).hr(), platform::com::E_FAIL);
    EXPECT_EQ(thrownBy([&] { c.AppendChild(c); }).hr(), platform::com::E_FAIL);
    EXPECT_EQ(thrownBy([&] { a.InsertBefore(b, c); }).hr(), platform::com::E_INVALIDARG);
    EXPECT_EQ(thrownBy([&] { doc.AppendChild(doc.CreateNode(NODE_ELEMENT, L"x", L"")); }).hr(),
              platform::com::E_FAIL);
    EXPECT_EQ(thrownBy([&] { a.RemoveChild(c); }).hr(), platform::com::E_INVALIDARG);
    EXPECT_EQ(thrownBy([&] { doc.CreateNode(NODE_ELEMENT, L"1x", L""); }).hr(),
              platform::com::E_INVALIDARG);
    EXPECT_EQ(doc.GetXml(), L"<a><d/><b><c/></b></a>\n");

    b.PutText(L"plain");
    EXPECT_EQ(b.GetXml(), L"<b>plain</b>");
    EXPECT_TRUE(c.GetParentNode().IsEmpty());
    EXPECT_EQ(c.GetXml(), L"<c/>");
    d.AppendChild(c);
    EXPECT_EQ(doc.GetXml(), L"<a><d><c/></d><b>plain</b></a>\n");
    b.PutText(L"");
    EXPECT_TRUE(b.GetFirstChild().IsEmpty());
}
