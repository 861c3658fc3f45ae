// The book form: valid XHTML 1.1 body content that keeps the clip's text and structure.
#include <gtest/gtest.h>
#include <libxml/parser.h>

#include <string>
#include <vector>

#include "common/markup/markup_sanitizer.h"

namespace {

std::string book(const std::string& html, const common::markup::PictureResolver& pictures = {}) {
    return common::bookPageMarkup(html, pictures);
}

// Parses as XML inside an XHTML body: the pages of a book must be well-formed.
bool wellFormed(const std::string& content) {
    const std::string page = "<body xmlns=\"http://www.w3.org/1999/xhtml\">" + content + "</body>";
    xmlDocPtr doc = xmlReadMemory(page.data(), static_cast<int>(page.size()), nullptr, "UTF-8",
                                  XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    const bool ok = doc != nullptr;
    xmlFreeDoc(doc);
    return ok;
}

TEST(BookMarkup, LooseTextAndPicturesInTheBodyGoIntoParagraphs) {
    EXPECT_EQ(book("Plain <b>bold</b><div>block</div> tail<br>"),
              "<p>Plain <b>bold</b></p><div>block</div><p> tail<br/></p>");
    EXPECT_EQ(book("<blockquote>quoted <i>words</i></blockquote>"),
              "<blockquote><p>quoted <i>words</i></p></blockquote>");
    EXPECT_EQ(book("   \n  <!-- c --> "), "");
}

TEST(BookMarkup, StructureStaysAndWhatTheFormatLacksIsRewritten) {
    EXPECT_EQ(book("<h2 id=x class=y style='color:red' onclick='a()'>Head</h2>"), "<h2>Head</h2>");
    EXPECT_EQ(book("<center><font color=red size=3>Red</font> <u>under</u> <s>gone</s></center>"),
              "<div>Red under <del>gone</del></div>");
    EXPECT_EQ(book("<section><p>in section</p></section><p lang='de-CH' dir=RTL title=t>x</p>"),
              "<div><p>in section</p></div><p title=\"t\" dir=\"rtl\" xml:lang=\"de-CH\">x</p>");
    EXPECT_EQ(book("<ul>loose<li>one<li>two</ul><ol></ol><dl><dt>T<dd>D</dl>"),
              "<ul><li>loose</li><li>one</li><li>two</li></ul><dl><dt>T</dt><dd>D</dd></dl>");
    EXPECT_EQ(book("<p>x<script>bad()</script><style>p{}</style><input value=v>"
                   "<iframe src=f></iframe><svg><text>s</text></svg></p>"),
              "<p>x</p>");
}

TEST(BookMarkup, BlocksInsideInlineElementsGiveUpTheirBox) {
    EXPECT_EQ(book("<a href='http://e.org/'><div>in link</div></a>"),
              "<p><a href=\"http://e.org/\"> in link </a></p>");
    EXPECT_EQ(book("<p><span><table><tr><td>cell</td></tr></table></span></p>"), "<p> cell </p>");
    EXPECT_EQ(book("<p><a href='http://a.org/'>outer <a href='http://b.org/'>inner</a></a></p>"),
              "<p><a href=\"http://a.org/\">outer </a><a href=\"http://b.org/\">inner</a></p>");
}

TEST(BookMarkup, LinksKeepOnlyAbsoluteAddressesMadeValid) {
    EXPECT_EQ(book("<p><a href='http://e.org/a b?q=ü&x=1'>web</a>"
                   "<a href='javascript:alert(1)'>js</a><a href='#top'>frag</a>"
                   "<a href='page.html'>relative</a><a href='mailto:a@b.org'>mail</a></p>"),
              "<p><a href=\"http://e.org/a%20b?q=%C3%BC&amp;x=1\">web</a>jsfragrelative"
              "<a href=\"mailto:a@b.org\">mail</a></p>");
    EXPECT_EQ(book("<p><a href='https://e.org/100%'>p</a></p>"),
              "<p><a href=\"https://e.org/100%25\">p</a></p>");
}

TEST(BookMarkup, PicturesArePlacedByTheResolverOrReplacedByTheirAltText) {
    std::vector<std::string> asked;
    const auto pictures = [&](const std::string& source) -> std::string {
        asked.push_back(source);
        return source == "ok.png" ? "images/picture-1.png" : "";
    };
    EXPECT_EQ(book("<img src=ok.png width=40 height=x><img src=gone.png alt='A &amp; B'>"
                   "<img src=gone.png><pre>code <img src=ok.png alt=alt></pre>",
                   pictures),
              "<p><img src=\"images/picture-1.png\" alt=\"\" width=\"40\"/>A &amp; B</p>"
              "<pre>code alt</pre>");
    EXPECT_EQ(asked, (std::vector<std::string>{"ok.png", "gone.png", "gone.png"}));
    EXPECT_EQ(book("<p><img src=x.png alt=only></p>"), "<p>only</p>");
}

TEST(BookMarkup, TablesGetOneBodyAfterTheirHeadAndCaption) {
    EXPECT_EQ(book("<table><tfoot><tr><td>f</td></tr></tfoot><caption>C</caption>"
                   "<thead><tr><th colspan=2 rowspan=a>h</th></tr></thead>"
                   "<tbody><tr><td>1</td></tr></tbody><tbody><tr></tr><tr><td>2</td></tr></tbody>"
                   "</table>"),
              "<table><caption>C</caption><thead><tr><th colspan=\"2\">h</th></tr></thead>"
              "<tbody><tr><td>1</td></tr><tr><td>2</td></tr><tr><td>f</td></tr></tbody></table>");
    EXPECT_EQ(book("<table><thead><tr><th>only head</th></tr></thead></table>"),
              "<table><tbody><tr><th>only head</th></tr></tbody></table>");
    EXPECT_EQ(book("<table></table>"), "");
}

TEST(BookMarkup, AnyInputGivesWellFormedXml) {
    const std::vector<std::string> inputs = {
        "<p>unclosed <b>bold <i>both",
        "</p></div>stray ends<p>",
        "<html><head><title>T</title></head><body><p>body</p></body></html>",
        "a \x01\x0b control \xc2\x85 chars \xff\xfe bad bytes",
        "<p foo:bar='1' xml:lang='en'>prefixed</p><x:y>unknown</x:y>",
        "<![CDATA[cdata]]><?pi x?><!DOCTYPE x>",
        "<pre><sub>a</sub><big>b</big></pre>",
        "<p>&nbsp;&amp;&lt;&copy;&#0;&#x1F600;</p>",
    };
    for (const std::string& input : inputs) {
        const std::string out = book(input);
        EXPECT_TRUE(wellFormed(out)) << input << " -> " << out;
    }
    EXPECT_EQ(book("<html><head><title>T</title></head><body><p>body</p></body></html>"),
              "<p>body</p>");
}

TEST(MarkupText, BlocksBreakLinesAndBlanksCollapse) {
    EXPECT_EQ(common::markupText(L"<h1>Title</h1>\n  <p>one   two<br>three</p>"
                                 L"<pre>a  b\nc</pre><script>x()</script>"
                                 L"<table><tr><td>1</td><td>2</td></tr></table>"),
              L"Title\r\none two\r\nthree\r\na  b\r\nc\r\n1\t2");
    EXPECT_EQ(common::markupText(L"<html><head><title>No</title></head><body>Only body</body>"),
              L"Only body");
}

}  // namespace

TEST(BookMarkup, FormulasKeepTheirMathMlWithTheirWordsForReadersWithoutIt) {
    const std::string mathCase =
        "<ops:switch xmlns:ops=\"http://www.idpf.org/2007/ops\"><ops:case "
        "required-namespace=\"http://www.w3.org/1998/Math/MathML\"><math "
        "xmlns=\"http://www.w3.org/1998/Math/MathML\"";
    EXPECT_EQ(book("<p>So <math><mi>E</mi><mo>=</mo><mi>m</mi><msup><mi>c</mi><mn>2</mn></msup>"
                   "</math> holds.</p>"),
              "<p>So " + mathCase +
                  "><mi>E</mi><mo>=</mo><mi>m</mi><msup><mi>c</mi><mn>2</mn></msup></math>"
                  "</ops:case><ops:default><span>E=mc2</span></ops:default></ops:switch> "
                  "holds.</p>");
    // Only what lays the formula out stays: no link, style, id, event or annotation; an
    // unknown element gives way to its content, HTML inside a token to its text. The
    // alttext, when there is one, gives the words.
    EXPECT_EQ(book("<math display=block alttext='x &lt; 1' class=c onclick='f()'>"
                   "<semantics><mrow href='javascript:f()' style='color:red' id=i>"
                   "<mi mathvariant=bold>x</mi><mo>&lt;</mo><mfancy><mn>1</mn></mfancy>"
                   "<mtext>so <b onclick='f()'>bold</b></mtext></mrow>"
                   "<annotation encoding='application/x-tex'>x&lt;1</annotation>"
                   "<annotation-xml encoding='text/html'><script>f()</script></annotation-xml>"
                   "</semantics></math>"),
              "<p>" + mathCase +
                  " display=\"block\" alttext=\"x &lt; 1\"><semantics><mrow><mi "
                  "mathvariant=\"bold\">x</mi><mo>&lt;</mo><mn>1</mn><mtext>so bold</mtext>"
                  "</mrow></semantics></math></ops:case><ops:default><span>x &lt; 1</span>"
                  "</ops:default></ops:switch></p>");
    // Without alttext the words are the tokens' text, annotations left out.
    EXPECT_NE(book("<math><semantics><mi>y</mi><annotation>TeX y</annotation></semantics></math>")
                  .find("<ops:default><span>y</span></ops:default>"),
              std::string::npos);
    // A formula without words shows nothing in either form.
    EXPECT_EQ(book("<p>a<math><mspace width='1em'/></math>b</p>"), "<p>ab</p>");
    EXPECT_TRUE(
        wellFormed(book("<ul><li><a href='http://e.org/'><math><mi>z</mi></math></a>"
                        "</li></ul><pre><math><mn>2</mn></math></pre>")));
}
