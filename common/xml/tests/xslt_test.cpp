#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "common/xml/tests/xml_test_support.h"
#include "platform/text/utf.h"

using namespace common;
using namespace xml_test;

namespace {

const wchar_t* const kHtmlSheet =
    L"<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>"
    L"<xsl:output method='html'/>"
    L"<xsl:template match='/'><html><head><title>t</title></head>"
    L"<body><p><xsl:value-of select='/r/v'/></p><br/></body></html></xsl:template>"
    L"</xsl:stylesheet>";

std::wstring sheet(const std::wstring& output, const std::wstring& body) {
    return L"<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>" +
           output + L"<xsl:template match='/'>" + body + L"</xsl:template></xsl:stylesheet>";
}

}  // namespace

TEST(XmlTransform, HtmlXmlAndTextOutputAreDeclaredAsUtf16) {
    CXMLDOMDocument2 data = parse(L"<r><v>caf\u00e9 &amp; co</v></r>");
    const std::wstring html = data.TransformNode(parse(kHtmlSheet));
    EXPECT_EQ(html,
              L"<html>\n<head>\n"
              L"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-16\">\n"
              L"<title>t</title>\n</head>\n<body>\n<p>caf\u00e9 &amp; co</p>\n<br>\n</body>\n"
              L"</html>\n");

    const std::wstring xml = data.TransformNode(
        parse(sheet(L"<xsl:output method='xml'/>", L"<out><xsl:value-of select='/r/v'/></out>")));
    EXPECT_EQ(xml, L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<out>caf\u00e9 &amp; co</out>\n");

    EXPECT_EQ(data.TransformNode(
                  parse(sheet(L"<xsl:output method='text'/>", L"[<xsl:value-of select='/r/v'/>]"))),
              L"[caf\u00e9 & co]");

    // A subtree is transformed on its own.
    EXPECT_EQ(data.SelectSingleNode(L"/r/v").TransformNode(parse(
                  sheet(L"<xsl:output method='text'/>", L"<xsl:value-of select='name(/*)'/>"))),
              L"v");
}

TEST(XmlTransform, TheStylesheetAndTheSourceStayAsTheyWere) {
    CXMLDOMDocument2 data = parse(L"<r><v>one</v></r>");
    CXMLDOMDocument2 style =
        parse(sheet(L"<xsl:output method='text'/><xsl:strip-space elements='*'/>",
                    L"<xsl:value-of select='/r/v'/>"));
    const std::wstring before = style.GetXml();
    const CXMLDOMNode v = data.SelectSingleNode(L"/r/v");
    EXPECT_EQ(data.TransformNode(style), L"one");
    EXPECT_EQ(style.GetXml(), before);
    style.SelectSingleNode(L"//xsl:value-of").SetAttribute(L"select", L"concat(/r/v, '!')");
    EXPECT_EQ(data.TransformNode(style), L"one!");
    EXPECT_EQ(data.TransformNode(style.GetDocumentElement()), L"one!");
    EXPECT_EQ(v.GetText(), L"one");

    CXMLDOMDocument2 spaced = CXMLDOMDocument2::Create();
    spaced.PutPreserveWhiteSpace(true);
    ASSERT_TRUE(spaced.LoadXML(L"<r>\n <v>one</v>\n</r>"));
    const CXMLDOMNode blank = spaced.GetDocumentElement().GetFirstChild();
    EXPECT_EQ(spaced.TransformNode(style), L"one!");
    EXPECT_EQ(blank.GetParentNode(), spaced.GetDocumentElement());
    EXPECT_EQ(spaced.GetDocumentElement().GetChildNodes().GetLength(), 3);
}

TEST(XmlTransform, FailuresThrowAndNothingIsWrittenOrFetched) {
    CXMLDOMDocument2 data = parse(L"<r/>");
    const CComException invalid =
        thrownBy([&] { data.TransformNode(parse(sheet(L"", L"<xsl:value-of select='/r['/>"))); });
    EXPECT_EQ(invalid.hr(), platform::com::E_FAIL);
    EXPECT_NE(invalid.message().find(L"stylesheet"), std::wstring::npos) << invalid.what();

    EXPECT_THROW(
        data.TransformNode(parse(sheet(L"", L"<xsl:message terminate='yes'>stop</xsl:message>"))),
        CComException);

    TempDir dir;
    const std::string written = (dir.path() / "written.txt").string();
    const std::wstring writer =
        L"<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform' "
        L"xmlns:exsl='http://exslt.org/common' extension-element-prefixes='exsl'>"
        L"<xsl:template match='/'><exsl:document href='" +
        widen(written) + L"'>x</exsl:document></xsl:template></xsl:stylesheet>";
    EXPECT_THROW(data.TransformNode(parse(writer)), CComException);
    EXPECT_FALSE(std::filesystem::exists(written));

    EXPECT_THROW(data.TransformNode(parse(sheet(
                     L"", L"<xsl:copy-of select=\"document('http://127.0.0.1:9/x.xml')\"/>"))),
                 CComException);
}

TEST(XmlTransform, Utf8OutputIsTheWideOutputDeclaredAsUtf8) {
    const CXMLDOMDocument2 data = parse(L"<r><v>caf\u00e9 &amp; \U0001F600 &lt;co&gt;</v></r>");
    const std::vector<CXMLDOMDocument2> sheets = {
        parse(kHtmlSheet),
        parse(sheet(L"<xsl:output method='xml' encoding='ISO-8859-1'/>",
                    L"<out a='{/r/v}'><xsl:value-of select='/r/v'/></out>")),
        parse(sheet(L"<xsl:output method='text'/>", L"[<xsl:value-of select='/r/v'/>]"))};
    for (const CXMLDOMDocument2& stylesheet : sheets) {
        std::wstring wide = data.TransformNode(stylesheet);
        if (const auto declared = wide.find(L"UTF-16"); declared != std::wstring::npos)
            wide.replace(declared, 6, L"UTF-8");
        EXPECT_EQ(platform::text::fromUtf8(data.TransformNodeUtf8(stylesheet)), wide);
    }
}

TEST(XmlTransform, AChangedStylesheetIsCompiledAgain) {
    const CXMLDOMDocument2 data = parse(L"<r><v>one</v></r>");
    const CXMLDOMDocument2 stylesheet =
        parse(sheet(L"<xsl:output method='text'/>", L"<xsl:value-of select='/r/v'/>"));
    EXPECT_EQ(data.TransformNode(stylesheet), L"one");
    stylesheet.SelectSingleNode(L"//xsl:value-of").SetAttribute(L"select", L"concat(/r/v, '!')");
    EXPECT_EQ(data.TransformNode(stylesheet), L"one!");
    const CXMLDOMNode text = stylesheet.SelectSingleNode(L"//xsl:template")
                                 .AppendChild(stylesheet.CreateNode(NODE_TEXT, L"", L""));
    text.PutText(L"?");
    EXPECT_EQ(data.TransformNode(stylesheet), L"one!?");
    ASSERT_TRUE(stylesheet.LoadXML(sheet(L"<xsl:output method='text'/>", L"reloaded")));
    EXPECT_EQ(data.TransformNode(stylesheet), L"reloaded");
}
