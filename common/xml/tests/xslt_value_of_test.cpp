#include <gtest/gtest.h>

#include <string>

#include "common/xml/tests/xml_test_support.h"

using namespace common;
using namespace xml_test;

namespace {

// Rows whose "t" children take each shape a value can have: one text, several nodes,
// CDATA, nothing, another namespace, a second element of the name, none at all.
const wchar_t* const kRows =
    L"<r xmlns:n='urn:n'>"
    L"<row><t>plain &amp; &lt;text&gt;</t><n:t>ns</n:t><t>second</t></row>"
    L"<row><n:t>only namespaced</n:t><t/><t>after empty</t></row>"
    L"<row><t>a<b>b</b><![CDATA[c]]></t></row>"
    L"<row><t><![CDATA[<cdata>]]></t></row>"
    L"<row><t><b>nested</b></t></row>"
    L"<row t='an attribute'/>"
    L"<row xmlns='urn:d'><t>default namespace</t></row>"
    L"<t>top</t>"
    L"</r>";

// A stylesheet that writes the value of `select` for the document, each row, each
// attribute and the top element, plainly and unescaped, with two values side by side.
std::wstring valueSheet(const std::wstring& select) {
    const std::wstring value = L"<xsl:value-of select='" + select + L"'/>";
    const std::wstring raw =
        L"<xsl:value-of disable-output-escaping='yes' select='" + select + L"'/>";
    return L"<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>"
           L"<xsl:output method='xml' omit-xml-declaration='yes'/>"
           L"<xsl:template match='/'><out><doc>" +
           value + L"</doc>" + L"<xsl:for-each select='r'><top>" + value +
           L"</top></xsl:for-each>" + L"<xsl:for-each select='r/*'><v>" + value + L"|" + raw +
           L"|" + value + value + L"</v></xsl:for-each>" + L"<xsl:for-each select='r/row/@*'><a>" +
           value + L"</a></xsl:for-each>" + L"<e a='{" + select + L"}'><xsl:attribute name='b'>" +
           value + L"</xsl:attribute></e></out></xsl:template></xsl:stylesheet>";
}

}  // namespace

TEST(XsltValueOf, AnElementNameGivesWhatTheFullExpressionGives) {
    const CXMLDOMDocument2 data = parse(kRows);
    for (const std::wstring name : {L"t", L"row", L"b", L"missing"}) {
        const std::wstring quick = data.TransformNode(parse(valueSheet(name)));
        EXPECT_EQ(quick, data.TransformNode(parse(valueSheet(L"child::" + name)))) << name;
        EXPECT_EQ(quick, data.TransformNode(parse(valueSheet(L" " + name + L" ")))) << name;
    }
    EXPECT_EQ(data.TransformNode(parse(valueSheet(L"t"))),
              L"<out><doc/><top>top</top>"
              L"<v>plain &amp; &lt;text&gt;|plain & <text>|plain &amp; &lt;text&gt;plain &amp; "
              L"&lt;text&gt;</v>"
              L"<v>||</v>"
              L"<v>abc|abc|abcabc</v>"
              L"<v>&lt;cdata&gt;|<cdata>|&lt;cdata&gt;&lt;cdata&gt;</v>"
              L"<v>nested|nested|nestednested</v>"
              L"<v>||</v><v>||</v><v>||</v>"
              L"<a/><e a=\"\" b=\"\"/></out>\n");
}

TEST(XsltValueOf, NamesThatAreNotPlainElementNamesKeepTheirMeaning) {
    const CXMLDOMDocument2 data =
        parse(L"<r><text>element</text><node>n</node><x.y-z_1>dotted</x.y-z_1></r>");
    const auto run = [&](const std::wstring& select) {
        return data.TransformNode(
            parse(L"<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>"
                  L"<xsl:output method='text'/><xsl:template match='/r'>[<xsl:value-of select='" +
                  select + L"'/>]</xsl:template></xsl:stylesheet>"));
    };
    EXPECT_EQ(run(L"text"), L"[element]");
    EXPECT_EQ(run(L"text()"), L"[]");
    EXPECT_EQ(run(L"node"), L"[n]");
    EXPECT_EQ(run(L"x.y-z_1"), L"[dotted]");
    EXPECT_EQ(run(L"."), L"[elementndotted]");
    EXPECT_EQ(run(L"@missing"), L"[]");
}
