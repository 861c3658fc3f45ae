// Node lifetime: libxml2 nodes carry no reference count, so these run under the
// AddressSanitizer build to show that no handle dangles.
#include <gtest/gtest.h>

#include <optional>

#include "common/xml/tests/xml_test_support.h"

using namespace common;
using namespace xml_test;

TEST(XmlLifetime, HandlesOutliveTheirDocument) {
    CXMLDOMNode item;
    CXMLDOMNodeList items;
    CXMLDOMNode attribute;
    {
        CXMLDOMDocument2 doc = parse(L"<r><item id='1'>one</item><item id='2'>two</item></r>");
        items = doc.SelectNodes(L"/r/item");
        item = doc.GetDocumentElement().GetFirstChild();
        attribute = item.GetAttributes().GetNamedItem(L"id");
    }
    EXPECT_EQ(item.GetXml(), L"<item id=\"1\">one</item>");
    EXPECT_EQ(items.GetItem(1).GetText(), L"two");
    EXPECT_EQ(attribute.GetText(), L"1");
    EXPECT_EQ(item.GetOwnerDocument().GetDocumentElement().GetNodeName(), L"r");
}

TEST(XmlLifetime, MovesBetweenDocumentsInsertACopyAndTakeTheOriginalOut) {
    CXMLDOMDocument2 target = parse(L"<out xmlns:t='urn:t'/>");
    CXMLDOMNode original;
    CXMLDOMNode inserted;
    {
        CXMLDOMDocument2 source =
            parse(L"<results xmlns:p='urn:p'><p:item a='1'>x</p:item></results>");
        original = source.SelectSingleNode(L"/results/p:item");
        inserted = target.GetDocumentElement().AppendChild(original);
        EXPECT_EQ(source.GetXml(), L"<results xmlns:p=\"urn:p\"/>\n");
        EXPECT_FALSE(inserted == original);
    }
    EXPECT_EQ(target.GetXml(),
              L"<out xmlns:t=\"urn:t\"><p:item xmlns:p=\"urn:p\" a=\"1\">x</p:item></out>\n");
    EXPECT_EQ(inserted.GetParentNode(), target.GetDocumentElement());
    EXPECT_TRUE(original.GetParentNode().IsEmpty());
    EXPECT_EQ(original.GetXml(), L"<p:item xmlns:p=\"urn:p\" a=\"1\">x</p:item>");
    EXPECT_TRUE(parse(target.GetXml()).SelectSingleNode(L"//*[@a='1']"));

    // A whole document appended elsewhere brings its element.
    target.GetDocumentElement().AppendChild(parse(L"<whole><part/></whole>"));
    EXPECT_TRUE(target.SelectSingleNode(L"/out/whole/part"));

    // Attributes too.
    CXMLDOMNode foreignAttribute =
        parse(L"<x k='v'/>").GetDocumentElement().GetAttributes().GetItem(0);
    target.GetDocumentElement().GetAttributes().SetNamedItem(foreignAttribute);
    std::wstring k;
    target.GetDocumentElement().GetAttribute(L"k", k);
    EXPECT_EQ(k, L"v");
}

TEST(XmlLifetime, RemovedAndReplacedNodesStayUsable) {
    std::optional<CXMLDOMDocument2> doc = parse(L"<a p='1'><b>t<c/></b>tail</a>");
    const CXMLDOMNode a = doc->GetDocumentElement();
    const CXMLDOMNode b = a.GetFirstChild();
    const CXMLDOMNode text = b.GetFirstChild();
    const CXMLDOMNode c = text.GetChildNodes().GetItem(0);
    EXPECT_TRUE(c.IsEmpty());
    const CXMLDOMNode oldAttribute = a.GetAttributes().GetNamedItem(L"p");
    const CXMLDOMNode oldAttributeText = oldAttribute.GetFirstChild();

    const CXMLDOMNode removed = a.RemoveChild(b);
    a.SetAttribute(L"p", L"2");
    a.PutText(L"fresh");
    // Adjacent text nodes must not be merged away under a handle.
    const CXMLDOMNode extra = a.AppendChild(doc->CreateNode(NODE_TEXT, L"", L""));
    extra.PutText(L"+more");
    EXPECT_EQ(a.GetXml(), L"<a p=\"2\">fresh+more</a>");
    doc.reset();

    EXPECT_EQ(removed.GetXml(), L"<b>t<c/></b>");
    EXPECT_EQ(text.GetText(), L"t");
    EXPECT_EQ(oldAttributeText.GetText(), L"1");
    EXPECT_EQ(extra.GetText(), L"+more");
    a.AppendChild(removed);
    EXPECT_EQ(a.GetXml(), L"<a p=\"2\">fresh+more<b>t<c/></b></a>");
}

TEST(XmlLifetime, ReloadKeepsOldHandlesAndShowsInEveryCopy) {
    CXMLDOMDocument2 doc = parse(L"<old><keep/></old>");
    const CXMLDOMDocument2 copy = doc;
    const CXMLDOMNode oldRoot = doc.GetDocumentElement();
    const CXMLDOMNode created = doc.CreateNode(NODE_ELEMENT, L"created", L"");
    ASSERT_TRUE(doc.LoadXML(L"<new/>"));
    EXPECT_EQ(copy.GetDocumentElement().GetNodeName(), L"new");
    EXPECT_EQ(oldRoot.GetXml(), L"<old><keep/></old>");
    // A node of the earlier content is copied in, like any other document's node.
    const CXMLDOMNode moved = copy.GetDocumentElement().AppendChild(oldRoot.GetFirstChild());
    EXPECT_EQ(doc.GetXml(), L"<new><keep/></new>\n");
    EXPECT_EQ(oldRoot.GetXml(), L"<old/>");
    copy.GetDocumentElement().AppendChild(created);
    EXPECT_EQ(moved.GetParentNode(), doc.GetDocumentElement());
    EXPECT_EQ(doc.GetXml(), L"<new><keep/><created/></new>\n");
}
