#include <gtest/gtest.h>

#include <filesystem>

#include "common/xml/tests/xml_test_support.h"

using namespace common;
using namespace xml_test;

TEST(XmlDocument, AppendedXmlInstructionBecomesTheOneDeclaration) {
    CXMLDOMDocument2 doc = CXMLDOMDocument2::Create();
    const auto pi = doc.CreateProcessingInstruction(L"xml", L"version=\"1.0\" encoding=\"UTF-8\"");
    doc.AppendChild(pi);
    doc.AppendChild(doc.CreateProcessingInstruction(L"xml", L"version=\"1.0\""));
    const CXMLDOMNode root = doc.AppendChild(doc.CreateNode(NODE_ELEMENT, L"results", L""));
    root.AppendChild(doc.CreateNode(NODE_ELEMENT, L"item", L"")).PutText(L"caf\u00e9 & <tea>");

    const std::wstring xml = doc.GetXml();
    EXPECT_EQ(xml,
              L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              L"<results><item>caf\u00e9 &amp; &lt;tea&gt;</item></results>\n");
    EXPECT_EQ(doc.GetChildNodes().GetLength(), 1);

    CXMLDOMDocument2 again = parse(xml);
    EXPECT_EQ(again.GetXml(), xml);
    EXPECT_EQ(again.SelectSingleNode(L"/results/item").GetText(), L"caf\u00e9 & <tea>");

    EXPECT_EQ(parse(L"<a/>").GetXml(), L"<a/>\n");
    // A wide string is no longer in the encoding its declaration names.
    EXPECT_EQ(parse(L"<?xml version=\"1.0\" encoding=\"UTF-16\"?><a>\u00e9</a>").GetXml(),
              L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<a>\u00e9</a>\n");

    EXPECT_EQ(
        thrownBy([&] { root.AppendChild(doc.CreateProcessingInstruction(L"xml", L"")); }).hr(),
        platform::com::E_INVALIDARG);
}

TEST(XmlDocument, SaveWritesWholeFilesThatLoadAgain) {
    TempDir dir;
    CXMLDOMDocument2 doc =
        parse(L"<?xml version=\"1.0\"?><config><page name=\"\u00e9\"/></config>");
    const std::string target = dir.file("config.xml");
    doc.Save(widen(target));
    doc.SelectSingleNode(L"/config/page").SetAttribute(L"name", L"second");
    doc.Save(widen(target));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    CXMLDOMDocument2 loaded = CXMLDOMDocument2::Create();
    std::wstring backslashed = widen(target);
    std::replace(backslashed.begin(), backslashed.end(), L'/', L'\\');
    ASSERT_TRUE(loaded.LoadFile(backslashed)) << loaded.GetParseError();
    std::wstring name;
    loaded.SelectSingleNode(L"/config/page").GetAttribute(L"name", name);
    EXPECT_EQ(name, L"second");

    const CComException failed = thrownBy([&] { doc.Save(widen(dir.file("missing/x.xml"))); });
    EXPECT_NE(failed.message().find(L"missing/x.xml"), std::wstring::npos);
    EXPECT_FALSE(loaded.LoadFile(L""));
}

TEST(XmlDocument, FailedLoadsExplainAndLeaveAnEmptyDocument) {
    CXMLDOMDocument2 doc = parse(L"<a/>");
    EXPECT_FALSE(doc.LoadXML(L"<a>\n<b></a>"));
    EXPECT_NE(doc.GetParseError().find(L"line 2"), std::wstring::npos) << doc.GetParseError();
    EXPECT_TRUE(doc.GetDocumentElement().IsEmpty());
    EXPECT_EQ(doc.GetXml(), L"");
    EXPECT_FALSE(doc.Load(L"/nonexistent/file.xml"));
    EXPECT_NE(doc.GetParseError().find(L"/nonexistent/file.xml"), std::wstring::npos);
    EXPECT_TRUE(doc.LoadXML(L"<b/>"));
    EXPECT_EQ(doc.GetParseError(), L"");
}

TEST(XmlDocument, ParsingNeverLoadsExternalContent) {
    TempDir dir;
    const std::string secret = dir.file("secret.txt", "SECRET");
    const std::string dtd = dir.file("defaults.dtd", "<!ATTLIST r injected CDATA \"FROM-DTD\">");

    CXMLDOMDocument2 doc = CXMLDOMDocument2::Create();
    EXPECT_FALSE(doc.LoadXML(
        widen("<!DOCTYPE r [<!ENTITY s SYSTEM \"file://" + secret + "\">]><r>&s;</r>")));
    EXPECT_NE(doc.GetParseError().find(L"entities"), std::wstring::npos);
    EXPECT_FALSE(
        doc.LoadXML(L"<!DOCTYPE r [<!ENTITY a \"aaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]>"
                    L"<r>&b;</r>"));
    EXPECT_FALSE(
        doc.LoadXML(widen("<!DOCTYPE r [<!ENTITY % p SYSTEM \"" + secret + "\"> %p;]><r/>")));

    ASSERT_TRUE(doc.LoadXML(widen("<!DOCTYPE r SYSTEM \"" + dtd + "\"><r/>")))
        << doc.GetParseError();
    std::wstring injected;
    doc.GetDocumentElement().GetAttribute(L"injected", injected);
    EXPECT_EQ(injected, L"");
    EXPECT_TRUE(doc.LoadXML(L"<!DOCTYPE r SYSTEM \"http://127.0.0.1:9/r.dtd\"><r>ok</r>"));
    EXPECT_EQ(doc.GetText(), L"ok");
}

TEST(XmlDocument, LargeTextNodesLoadWholeAndEntitiesStillCannotMultiply) {
    // One stored entry's markup is one text node; over 10 MB of it used to end the parse
    // at the first piece of text while the load reported success.
    const std::string bulk(10'500'000, 'a');
    CXMLDOMDocument2 doc = CXMLDOMDocument2::Create();
    ASSERT_TRUE(doc.LoadXMLUtf8("<response><item><html>&lt;p&gt;" + bulk +
                                "&lt;/p&gt;</html></item><item><html>next</html></item>"
                                "</response>"))
        << doc.GetParseError();
    EXPECT_EQ(doc.SelectNodes(L"/response/item").GetLength(), 2);
    EXPECT_EQ(doc.SelectSingleNode(L"/response/item/html").GetText().size(), bulk.size() + 7);
    EXPECT_EQ(doc.SelectSingleNode(L"/response/item[2]/html").GetText(), L"next");

    // Expansion in attribute values happens during the parse: the declaration itself ends it.
    std::string laughs = "<!DOCTYPE r [<!ENTITY a0 \"aaaaaaaaaa\">";
    for (int i = 1; i < 10; ++i)
        laughs += "<!ENTITY a" + std::to_string(i) + " \"" + [&] {
            std::string ten;
            for (int k = 0; k < 10; ++k)
                ten += "&a" + std::to_string(i - 1) + ";";
            return ten;
        }() + "\">";
    laughs += "]><r v=\"&a9;\"/>";
    EXPECT_FALSE(doc.LoadXMLUtf8(laughs));
    EXPECT_NE(doc.GetParseError().find(L"entities"), std::wstring::npos);
    EXPECT_TRUE(doc.GetDocumentElement().IsEmpty());

    // Nesting stays bounded as before.
    const auto nested = [](int depth) {
        std::string text;
        for (int i = 0; i < depth; ++i)
            text += "<a>";
        for (int i = 0; i < depth; ++i)
            text += "</a>";
        return text;
    };
    EXPECT_TRUE(doc.LoadXMLUtf8(nested(256))) << doc.GetParseError();
    EXPECT_FALSE(doc.LoadXMLUtf8(nested(100000)));
    EXPECT_NE(doc.GetParseError().find(L"nested"), std::wstring::npos) << doc.GetParseError();
}

TEST(XmlDocument, WhiteSpaceIsKeptOnlyWhenAsked) {
    const std::wstring text = L"<a>\n  <b>x</b>\n  <c> </c>\n</a>";
    CXMLDOMDocument2 doc = parse(text);
    EXPECT_EQ(doc.GetDocumentElement().GetChildNodes().GetLength(), 2);
    doc.PutPreserveWhiteSpace(true);
    ASSERT_TRUE(doc.LoadXML(text));
    EXPECT_EQ(doc.GetDocumentElement().GetChildNodes().GetLength(), 5);
    EXPECT_EQ(doc.GetXml(), text + L"\n");
}

TEST(XmlDocument, TextThatXmlForbidsIsWrittenSoThatItLoadsAgain) {
    TempDir dir;
    CXMLDOMDocument2 doc = parse(L"<config><page/></config>");
    const CXMLDOMNode page = doc.SelectSingleNode(L"/config/page");
    const std::wstring hostile = std::wstring(L"a\u0001b\u000Bc\uFFFEd") + wchar_t(0xD800) + L"e";
    page.PutText(hostile);
    ASSERT_TRUE(page.SetAttribute(L"name", L"x\u0002y"));
    const CXMLDOMNode config = doc.GetDocumentElement();
    config.AppendChild(doc.CreateNode(NODE_COMMENT, L"", L"")).PutText(L"a--b-");
    config.AppendChild(doc.CreateProcessingInstruction(L"note", L"one ?> two"));
    config.AppendChild(doc.CreateNode(NODE_CDATA_SECTION, L"", L"")).PutText(L"x]]>y\u0003");

    const std::string target = dir.file("config.xml");
    doc.Save(widen(target));
    CXMLDOMDocument2 loaded = CXMLDOMDocument2::Create();
    ASSERT_TRUE(loaded.Load(widen(target))) << loaded.GetParseError();
    EXPECT_EQ(loaded.SelectSingleNode(L"/config/page").GetText(), L"a\uFFFDb\uFFFDc\uFFFDd\uFFFDe");
    std::wstring name;
    loaded.SelectSingleNode(L"/config/page").GetAttribute(L"name", name);
    EXPECT_EQ(name, L"x\uFFFDy");
    EXPECT_EQ(loaded.SelectSingleNode(L"/config/comment()").GetText(), L"a- -b- ");
    EXPECT_EQ(loaded.SelectSingleNode(L"/config/processing-instruction('note')").GetText(),
              L"one ? > two");
    EXPECT_EQ(
        loaded.SelectSingleNode(L"/config").GetText().find(L"x]]>y\uFFFD") != std::wstring::npos,
        true);
    // The text form reads back too.
    EXPECT_TRUE(parse(doc.GetXml()).SelectSingleNode(L"/config/page"));
}

TEST(XmlDocument, AnXhtmlDoctypeIsSerialisedAsItStands) {
    const std::wstring xhtml =
        L"<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
        L"\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\n"
        L"<html><head><title>T</title></head><body><br/><p/></body></html>\n";
    const CXMLDOMDocument2 doc = parse(xhtml);
    EXPECT_EQ(doc.GetXml(), xhtml);
    const CXMLDOMDocument2 again = parse(doc.GetXml());
    EXPECT_TRUE(again.SelectSingleNode(L"/html/body/br"));
    EXPECT_FALSE(again.SelectSingleNode(L"/html/head/meta"));
}
