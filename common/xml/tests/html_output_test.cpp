// The HTML writer against libxml2's own HTML serialiser, which decides what the bytes are.
#include <gtest/gtest.h>
#include <libxml/HTMLparser.h>
#include <libxml/HTMLtree.h>
#include <libxml/parser.h>
#include <libxslt/transform.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include <cstring>
#include <memory>
#include <string>

#include "common/xml/tests/xml_test_support.h"
#include "common/xml/xml_html_output.h"
#include "platform/text/utf.h"

namespace {

struct DocDeleter {
    void operator()(xmlDocPtr doc) const { xmlFreeDoc(doc); }
};
using OwnedDoc = std::unique_ptr<xmlDoc, DocDeleter>;

std::string libxml2Html(xmlDocPtr doc, int format) {
    xmlOutputBufferPtr buffer = xmlAllocOutputBuffer(nullptr);
    htmlDocContentDumpFormatOutput(buffer, doc, "UTF-8", format);
    xmlOutputBufferFlush(buffer);
    std::string text(reinterpret_cast<const char*>(xmlOutputBufferGetContent(buffer)),
                     xmlOutputBufferGetSize(buffer));
    xmlOutputBufferClose(buffer);
    return text;
}

std::string writtenHtml(xmlDocPtr doc, bool format) {
    std::string text;
    common::xml_detail::appendHtml(doc, format, text);
    return text;
}

// Pages that the HTML parser turns into trees of every kind the writer meets.
const char* const kPages[] = {
    "<html><head><title>T</title><style>a > b { x: '&amp;' }</style>"
    "<script>if (a < b && c > d) {}</script></head>"
    "<body><p>One<br>two<img src='a b.png' alt=\"it's\"></p><div><p>x</p><p>y</p></div>"
    "<pre><b>k</b><i>l</i></pre><ul><li>1</li><li>2<ul><li>3</li></ul></li></ul>"
    "<table><tr><td>a</td><td>b</td></tr></table><hr><p></p><span></span></body></html>",
    "<body><form action=' /go?a=1&amp;b=\"2\"'><input type=checkbox checked disabled=disabled>"
    "<select multiple><option selected value='&{x}'>o</option></select></form>"
    "<a href='http://h/\xC3\xA9 p?q=<1>#f' name='n m'>link</a><a name='x y'>n</a>"
    "<div title='say \"hi\" and &apos;bye&apos;' data-x='&#1;&#13;\t&#10;'>t&#13;\x01u</div>"
    "<area nohref><object declare><embed src='&{e}&amp;'><div class='a \"b\"'>q</div></body>",
    "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">"
    "<html><body><!-- a comment --><?pi data><p>caf\xC3\xA9 &lt;&gt;&amp; \xE2\x82\xAC</p>"
    "<unknown><b>u</b><c>v</c></unknown><param name=p value=v><p><b>a</b><i>b</i></p>"
    "<dl><dt>t</dt><dd>d</dd></dl>text after</body></html><!-- trailing -->",
    "<!DOCTYPE html SYSTEM \"about:legacy-compat\"><html><head></head><body></body></html>",
    "<!DOCTYPE html SYSTEM \"x.dtd\"><p>only",
    "<frameset><frame src=f.html></frameset>",
    // Every printable ASCII byte, a control and UTF-8 in URI and plain attributes.
    "<form action='\t !\"#$%&amp;()*+,-./09:;&lt;=&gt;?@AZ[\\]^_`az{|}~\x7F\xC3\xA9&{s}'>"
    "<img src='' alt='\t !\"#$%&amp;()*+,-./09:;&lt;=&gt;?@AZ[\\]^_`az{|}~\x7F'>"
    "<a href='  &#1;x y'>a</a><a name='%41 b'>b</a></form>",
};

TEST(HtmlOutput, WritesTheBytesOfLibxml2sSerialiserForParsedPages) {
    for (const char* page : kPages) {
        OwnedDoc doc(htmlReadMemory(page, static_cast<int>(std::strlen(page)), nullptr, "UTF-8",
                                    HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET));
        ASSERT_NE(doc, nullptr) << page;
        for (int format : {0, 1}) {
            const std::string expected = libxml2Html(doc.get(), format);
            EXPECT_EQ(writtenHtml(doc.get(), format != 0), expected)
                << page << " format " << format;
            // The writer that frees what it has written writes the same bytes.
            OwnedDoc copy(xmlCopyDoc(doc.get(), 1));
            std::string freeing;
            common::xml_detail::appendHtmlFreeing(copy.get(), format != 0, freeing);
            EXPECT_EQ(freeing, expected) << page << " format " << format;
        }
    }
}

// libxslt's own output of `source` transformed with `stylesheet` in UTF-8.
std::string libxsltOutput(const std::string& stylesheet, const std::string& source) {
    constexpr int options = XML_PARSE_NONET | XML_PARSE_NOBLANKS;
    xmlDocPtr sheet = xmlReadMemory(stylesheet.data(), static_cast<int>(stylesheet.size()), nullptr,
                                    nullptr, options);
    std::unique_ptr<xsltStylesheet, decltype(&xsltFreeStylesheet)> style(
        xsltParseStylesheetDoc(sheet), xsltFreeStylesheet);
    OwnedDoc input(
        xmlReadMemory(source.data(), static_cast<int>(source.size()), nullptr, nullptr, options));
    if (style == nullptr || input == nullptr)
        return "not loaded";
    OwnedDoc result(xsltApplyStylesheet(style.get(), input.get(), nullptr));
    if (result == nullptr)
        return "not transformed";
    xmlFree(const_cast<xmlChar*>(style->encoding));
    style->encoding = xmlStrdup(BAD_CAST "UTF-8");
    xmlChar* bytes = nullptr;
    int length = 0;
    xsltSaveResultToString(&bytes, &length, result.get(), style.get());
    std::string text(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(length));
    xmlFree(bytes);
    return text;
}

std::string ownOutput(const std::string& stylesheet, const std::string& source) {
    const auto sheet = xml_test::parse(platform::text::fromUtf8(stylesheet));
    const auto input = xml_test::parse(platform::text::fromUtf8(source));
    return input.TransformNodeUtf8(sheet);
}

std::string sheet(const std::string& output, const std::string& body) {
    return "<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform' "
           "xmlns:x='urn:x'>" +
           output + "<xsl:template match='/'>" + body + "</xsl:template></xsl:stylesheet>";
}

TEST(HtmlOutput, TransformationsWriteWhatLibxsltWrites) {
    const std::string source =
        "<rows><row id='1'>a &amp; b</row><row id=' 2 \"'>caf\xC3\xA9 &lt;x&gt;</row></rows>";
    const std::string table =
        "<html><head><title>t</title></head><body><table>"
        "<xsl:for-each select='rows/row'><tr><td><a href='item?{@id}'><xsl:value-of select='.'/>"
        "</a></td><td><xsl:value-of select='.' disable-output-escaping='yes'/></td></tr>"
        "</xsl:for-each></table><script>var a = '<xsl:value-of select=\"rows/row\"/>';</script>"
        "<input><xsl:attribute name='checked'/><xsl:attribute name='value'/></input>"
        "<x:tag x:at='1'><b>namespaced</b></x:tag><p><div>x</div><div>y</div></p>"
        "<style>a > b {}</style><br><xsl:text>hidden</xsl:text></br>"
        "<pre><table><tr><td>q</td></tr></table><hr/></pre><p><xsl:comment> c </xsl:comment>"
        "<xsl:processing-instruction name='pi'>d</xsl:processing-instruction></p>"
        "</body></html><xsl:comment>after</xsl:comment>";
    const std::string outputs[] = {
        "<xsl:output method='html'/>",
        "<xsl:output method='html' indent='no'/>",
        "<xsl:output method='html' doctype-public='-//W3C//DTD HTML 4.01//EN' "
        "doctype-system='http://www.w3.org/TR/html4/strict.dtd'/>",
        "<xsl:output method='html' doctype-system='about:legacy-compat'/>",
        "",
        "<xsl:output method='html' cdata-section-elements='td'/>",
    };
    for (const std::string& output : outputs) {
        const std::string stylesheet = sheet(output, table);
        const std::string expected = libxsltOutput(stylesheet, source);
        EXPECT_NE(expected.find("<table>"), std::string::npos) << expected;
        EXPECT_EQ(ownOutput(stylesheet, source), expected) << output;
    }
    const std::string empty = sheet("<xsl:output method='html'/>", "");
    EXPECT_EQ(ownOutput(empty, source), libxsltOutput(empty, source));
    const std::string text = sheet("<xsl:output method='html'/>", "<xsl:value-of select='.'/>");
    EXPECT_EQ(ownOutput(text, source), libxsltOutput(text, source));
}

// Large pages are written while libxslt builds them: whatever the shape of the page
// around the rows, the bytes are libxslt's.
TEST(HtmlOutput, PagesWrittenWhileTheyGrowWriteWhatLibxsltWrites) {
    std::string source = "<rows>";
    for (int i = 0; i < 300; ++i) {
        source += "<row id='" + std::to_string(i) + "'><t>title &amp; " + std::to_string(i) +
                  "</t><s>" + (i % 7 == 0 ? "" : "s") + "</s></row>";
    }
    source += "</rows>";
    const std::string rows =
        "<xsl:for-each select='rows/row'><tr><td><a href='item?{@id}'><xsl:value-of "
        "select='t'/></a></td><td><xsl:value-of select='s'/>-<xsl:value-of select='@id'/></td>"
        "<xsl:if test='@id mod 3 = 0'><td><xsl:element name='b'>x</xsl:element></td></xsl:if>"
        "</tr><xsl:if test='@id mod 50 = 0'><xsl:text>between </xsl:text></xsl:if>"
        "</xsl:for-each>";
    const std::string head = "<head><title>t</title></head>";
    const std::string bodies[] = {
        // The body's only child, then siblings after the rows: the line break after the
        // start tag waits for them.
        "<html>" + head + "<body><table>" + rows + "</table></body></html>",
        "<html>" + head + "<body><table>" + rows + "</table><p>after</p></body></html>",
        "<html>" + head + "<body><div><div><table>" + rows + "</table></div></div>" +
            "<xsl:comment>c</xsl:comment></body></html><xsl:comment>end</xsl:comment>",
        // Rows straight in the body, text merged across instructions, a variable's
        // fragment and its copy, templates.
        "<html>" + head + "<body><xsl:variable name='v'><i>v</i></xsl:variable>" +
            "<xsl:for-each select='rows/row'><xsl:value-of select='t'/>, <xsl:value-of "
            "select='s'/><xsl:copy-of select='$v'/><xsl:apply-templates select='s'/>"
            "</xsl:for-each></body></html>",
        "<html>" + head + "<body><pre>" + rows + "</pre><script>var a;</script></body></html>",
        // No head, a meta before the head, rows in the head: written whole at the end.
        "<html><body><table>" + rows + "</table></body></html>",
        "<html><meta name='m'/>" + head + "<body><table>" + rows + "</table></body></html>",
        "<html><head><title>" + rows + "</title></head><body><table>" + rows +
            "</table></body></html>",
        "<html><head><meta http-equiv='Content-Type' content='text/html'/></head><body><ul>" +
            rows + "</ul></body></html>",
    };
    const std::string outputs[] = {
        "<xsl:output method='html'/>",
        "<xsl:output method='html' indent='no'/>",
        "<xsl:output method='html' doctype-public='-//W3C//DTD HTML 4.01//EN' "
        "doctype-system='http://www.w3.org/TR/html4/strict.dtd'/>",
    };
    const std::string templates =
        "<xsl:template match='s'><em><xsl:value-of select='.'/></em>"
        "</xsl:template>";
    for (const std::string& output : outputs) {
        for (const std::string& body : bodies) {
            std::string stylesheet = sheet(output, body);
            stylesheet.insert(stylesheet.rfind("</xsl:stylesheet>"), templates);
            const std::string expected = libxsltOutput(stylesheet, source);
            EXPECT_NE(expected.find("title &amp; 299"), std::string::npos) << expected;
            EXPECT_EQ(ownOutput(stylesheet, source), expected) << output << body;
        }
    }
}

}  // namespace
