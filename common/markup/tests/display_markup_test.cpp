// The display form: nothing from a clip may run a script, everything else stays.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "common/markup/markup_sanitizer.h"

namespace {

using common::safeMarkupUtf8;

std::string lowerCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(DisplayMarkup, ScriptsFramesAndEmbeddedDocumentsAreDropped) {
    const std::string out = safeMarkupUtf8(
        "<p>kept</p><script>document.title='x'</script><noscript><b>n</b></noscript>"
        "<iframe src='http://e.org'></iframe><object data='x.swf'><embed src='y.swf'></object>"
        "<applet code='z'></applet><base href='http://evil.org/'>"
        "<meta http-equiv='refresh' content='0;url=http://evil.org'><link rel=import href=x>"
        "<template><script>1</script></template><frameset><frame src=a></frameset>"
        "<svg><script>alert(1)</script><animate attributeName=href to='javascript:1'/>"
        "<circle r='2'/></svg>");
    EXPECT_EQ(out.find("<script"), std::string::npos) << out;
    for (const char* gone : {"noscript", "iframe", "object", "embed", "applet", "<base", "<meta",
                             "<link", "template", "frame", "animate", "document.title"})
        EXPECT_FALSE(contains(out, gone)) << gone << " in " << out;
    EXPECT_TRUE(contains(out, "<p>kept</p>")) << out;
    EXPECT_TRUE(contains(out, "<circle r=\"2\" />")) << out;
}

// A formula keeps its words and structure; what could run a script inside one goes as
// anywhere else, also where HTML is nested in it.
TEST(DisplayMarkup, FormulasStayWithoutWhatCouldRunAScript) {
    EXPECT_EQ(safeMarkupUtf8("<p>When <math xmlns='http://www.w3.org/1998/Math/MathML'>"
                             "<mi>a</mi><mo>&#x2260;</mo><mn>0</mn></math>, two roots.</p>"),
              "<p>When <math xmlns=\"http://www.w3.org/1998/Math/MathML\"><mi>a</mi>"
              "<mo>\u2260</mo><mn>0</mn></math>, two roots.</p>");
    EXPECT_EQ(safeMarkupUtf8("<math display='block'><mfrac><mi>b</mi><mn>2</mn></mfrac></math>"),
              "<math display=\"block\"><mfrac><mi>b</mi><mn>2</mn></mfrac></math>");
    const std::string out = safeMarkupUtf8(
        "<math><mi href='javascript:alert(1)' onclick='alert(2)'>x</mi>"
        "<semantics><annotation-xml encoding='text/html'><script>alert(3)</script>"
        "<img src='a.png' onerror='alert(4)'></annotation-xml></semantics>"
        "<mtext><table><mglyph><style><!--</style><img title='--&gt;&lt;img src=1 "
        "onerror=alert(5)&gt;'></mglyph></table></mtext></math>");
    for (const char* gone :
         {"javascript", "onclick", "<script", "alert(3)", "onerror=\"", "<style", "<img src=1"})
        EXPECT_FALSE(contains(out, gone)) << gone << " in " << out;
    EXPECT_TRUE(contains(out, "<mi>x</mi>")) << out;
    EXPECT_TRUE(contains(out, "<img src=\"a.png\" />")) << out;
}

TEST(DisplayMarkup, EventAttributesAndScriptAddressesGoWhateverTheirSpelling) {
    const std::string out = safeMarkupUtf8(
        "<img src='a.png' onerror='alert(1)' ONLOAD=x alt='pic'>"
        "<a href=' JaVaScRiPt:alert(1)'>one</a>"
        "<a href='jav&#x09;ascript:alert(2)'>two</a>"
        "<a href='vbscript:msgbox'>three</a>"
        "<form action='javascript:1'><button formaction='http://x'>b</button></form>"
        "<a href='data:text/html,&lt;script&gt;alert(1)&lt;/script&gt;'>four</a>"
        "<svg><a xlink:href='javascript:alert(3)'><text>t</text></a></svg>"
        "<div style='width: expression(alert(1))'>s</div>"
        "<a href='http://example.org/?a=1&amp;b=2' title='&quot;q&quot;'>five</a>");
    for (const char* gone : {"onerror", "ONLOAD", "onload", "javascript", "vbscript", "formaction",
                             "data:text", "expression"})
        EXPECT_FALSE(contains(lowerCase(out), gone)) << gone << " in " << out;
    EXPECT_TRUE(contains(out, "<img src=\"a.png\" alt=\"pic\" />")) << out;
    EXPECT_TRUE(contains(out, "<a>one</a>")) << out;
    // A style whose first declaration goes, leaving one that reads like a script address.
    EXPECT_EQ(safeMarkupUtf8("<div style='position:fixed;livescript:top:0;left:0'>c</div>"),
              "<div>c</div>");
    EXPECT_TRUE(contains(out, "href=\"http://example.org/?a=1&amp;b=2\" title=\"&quot;q&quot;\""))
        << out;
}

TEST(DisplayMarkup, PictureDataAddressesStayOtherDataAddressesGo) {
    const std::string out = safeMarkupUtf8(
        "<img src='data:image/png;base64,iVBORw0KGgo='><img src='data:image/svg+xml,<svg/>'>"
        "<a href='data:image/png;base64,AAAA'>x</a>");
    EXPECT_TRUE(contains(out, "<img src=\"data:image/png;base64,iVBORw0KGgo=\" />")) << out;
    EXPECT_FALSE(contains(out, "svg+xml")) << out;
    EXPECT_TRUE(contains(out, "<a>x</a>")) << out;
}

TEST(DisplayMarkup, WholeDocumentGivesItsBodyAndBrokenMarkupComesOutBalanced) {
    EXPECT_EQ(safeMarkupUtf8("<!DOCTYPE html><html><head><title>Other</title>"
                             "<style>p{}</style></head><body><p>Body</p></body></html>"),
              "<p>Body</p>");
    EXPECT_EQ(safeMarkupUtf8("<div><p>open <b>bold"), "<div><p>open <b>bold</b></p></div>");
    EXPECT_EQ(safeMarkupUtf8("a < b &amp; c"), "a &lt; b &amp; c");
    EXPECT_EQ(safeMarkupUtf8("<p>x</p><!-- comment --></div></span>"), "<p>x</p>");
}

TEST(DisplayMarkup, TextCannotTurnIntoMarkupWhenReadAgain) {
    const std::string nested = safeMarkupUtf8(
        "<p title=\"</noscript><img src=x onerror=alert(1)>\">t</p>"
        "<xmp><script>alert(1)</script></xmp>");
    EXPECT_FALSE(contains(nested, "<img")) << nested;
    EXPECT_FALSE(contains(nested, "<script")) << nested;
    EXPECT_TRUE(contains(nested, "<pre>&lt;script&gt;alert(1)&lt;/script&gt;</pre>")) << nested;
}

TEST(DisplayMarkup, StyleSheetsAndFormControlsCannotReachThePageAroundTheClip) {
    const std::string out = safeMarkupUtf8(
        "<style>nav{display:none} h1:after{content:'x'} @import url(http://e.org/a.css);"
        "body{background:url(http://e.org/t.png)}</style>"
        "<svg><style>circle{fill:red}</style><circle r='1'/></svg>"
        "<form action='http://e.org/steal' method=post><p>Sign in again</p>"
        "<label>Password <input type=password name=p></label><button>Go</button>"
        "<select name=s><optgroup><option>one</option></optgroup></select>"
        "<textarea>typed</textarea><keygen name=k><datalist><option value=d></datalist>"
        "<fieldset><legend>More</legend>kept</fieldset></form>");
    for (const char* gone :
         {"<style", "nav{", "@import", "e.org", "<form", "<input", "<button", "Go<", "<select",
          "<option", "one", "<textarea", "typed", "keygen", "datalist"})
        EXPECT_FALSE(contains(out, gone)) << gone << " in " << out;
    EXPECT_TRUE(contains(out, "<p>Sign in again</p><label>Password </label>")) << out;
    EXPECT_TRUE(contains(out, "<fieldset><legend>More</legend>kept</fieldset>")) << out;
    EXPECT_TRUE(contains(out, "<circle r=\"1\" />")) << out;
}

TEST(DisplayMarkup, NothingIsLaidOverThePageHoweverThePositionIsSpelt) {
    EXPECT_EQ(safeMarkupUtf8("<div style='position:fixed;top:0;left:0;width:100%;"
                             "height:100%;background:white'>x</div>"),
              "<div style=\"top:0;left:0;width:100%;height:100%;background:white\">x</div>");
    for (const char* style : {"POSITION: ABSOLUTE !important", "posi\\74ion: f\\69xed",
                              "position:/**/absolute", "position : fixed", "position:\\66ixed"}) {
        const std::string out =
            safeMarkupUtf8(std::string("<p style='color:red;") + style + "'>x</p>");
        EXPECT_EQ(out, "<p style=\"color:red\">x</p>") << style;
    }
    // Positions that keep the box in the flow stay, and the attribute stays as written.
    EXPECT_EQ(safeMarkupUtf8("<p style='position: relative; top: 2px'>x</p>"),
              "<p style=\"position: relative; top: 2px\">x</p>");
    EXPECT_EQ(safeMarkupUtf8("<p style='position:fixed'>x</p>"), "<p>x</p>");
    // A ";" inside a string does not end the declaration.
    EXPECT_EQ(safeMarkupUtf8("<p style='font-family:\"a;position:fixed\"'>x</p>"),
              "<p style=\"font-family:&quot;a;position:fixed&quot;\">x</p>");
}

TEST(DisplayMarkup, EscapedScriptsInStylesAreFoundAfterDecoding) {
    for (const char* style :
         {"width: exp\\72 ession(alert(1))", "width:\\65 xpression(alert(1))",
          "width:e/**/xpression(alert(1))", "background:url(java\\73 cript:alert(1))",
          "background:url('java\\9 script:alert(1)')", "behavio\\72:url(x.htc)",
          "-moz-bind\\69ng:url(x.xml#y)"}) {
        const std::string out = safeMarkupUtf8(std::string("<p style=\"") + style + "\">x</p>");
        EXPECT_EQ(out, "<p>x</p>") << style;
    }
}

TEST(DisplayMarkup, DeepNestingKeepsItsTextWithoutRecursingWithoutEnd) {
    std::string deep;
    for (int i = 0; i < 5000; ++i)
        deep += "<span>";
    deep += "deep text<script>x</script>";
    const std::string out = safeMarkupUtf8(deep);
    EXPECT_TRUE(contains(out, "deep text")) << out.size();
    EXPECT_FALSE(contains(out, "<script"));
}

TEST(DisplayMarkup, ATagWithTensOfThousandsOfAttributesKeepsItsFirstOnes) {
    std::string tag = "<p";
    for (int i = 0; i < 80000; ++i)
        tag += " title" + std::to_string(i) + "=x";
    const std::string out = safeMarkupUtf8(tag + ">text</p>");
    EXPECT_TRUE(out.starts_with("<p title0=\"x\"")) << out.substr(0, 100);
    EXPECT_NE(out.find(" title255=\"x\">text</p>"), std::string::npos);
    EXPECT_EQ(out.find("title256="), std::string::npos);
}

TEST(DisplayMarkup, SanitisedMarkupStaysTheSameWhenSanitisedAgain) {
    const std::string once = safeMarkupUtf8(
        "<h1 class=t>T</h1><p style='color:red'>a<br>b</p><table><tr><td>1</td></tr></table>"
        "<ul><li>i</ul><img src=p.png alt=\"&lt;&amp;\">");
    EXPECT_EQ(safeMarkupUtf8(once), once);
    EXPECT_TRUE(contains(once, "<p style=\"color:red\">a<br />b</p>")) << once;
    EXPECT_TRUE(contains(once, "<tbody><tr><td>1</td></tr></tbody>")) << once;
}

TEST(DisplayMarkup, WideTextsRoundTripNonAsciiText) {
    EXPECT_EQ(common::safeMarkup(L"<p>Grüße, 東京 \U0001F600</p><script>x</script>"),
              L"<p>Grüße, 東京 \U0001F600</p>");
}

}  // namespace
