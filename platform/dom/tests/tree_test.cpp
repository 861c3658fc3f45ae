#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/dom/document.h"
#include "platform/text/utf.h"

namespace platform::dom {
namespace {

std::shared_ptr<Document> page(std::wstring_view html) {
    return Document::parse(html);
}

TEST(DocumentTree, ParsedPageHasItsParts) {
    auto document = page(
        L"<!DOCTYPE html><html><head><title> My  Page </title></head>"
        L"<body><div id=main class='a b'><p>One<!-- note --></p><p name=x>Two</p></div></body>"
        L"</html>");
    EXPECT_EQ(document->doctype(), L"html");
    EXPECT_EQ(document->title(), L"My Page");
    ASSERT_TRUE(document->documentElement());
    EXPECT_EQ(document->documentElement()->tagName(), L"HTML");
    EXPECT_EQ(document->head()->tagName(), L"HEAD");
    auto main = document->getElementById(L"main");
    ASSERT_TRUE(main);
    EXPECT_EQ(main->className(), L"a b");
    EXPECT_EQ(main->parentElement(), document->body());
    EXPECT_EQ(main->children().size(), 2u);
    auto first = main->children()[0];
    ASSERT_EQ(first->childNodes().size(), 2u);
    EXPECT_EQ(first->childNodes()[0]->nodeName(), L"#text");
    EXPECT_EQ(first->childNodes()[1]->nodeName(), L"#comment");
    EXPECT_EQ(first->childNodes()[1]->nodeValue(), L" note ");
    EXPECT_EQ(document->getElementsByTagName(L"p").size(), 2u);
    EXPECT_EQ(document->getElementsByName(L"x").size(), 1u);
    // `all` is in document order and sourceIndex is the position in it.
    const auto& all = *document->all();
    ASSERT_EQ(all.size(), 7u);  // HTML HEAD TITLE BODY DIV P P
    for (std::size_t i = 0; i < all.size(); ++i)
        EXPECT_EQ(all[i]->sourceIndex(), int(i));
    EXPECT_EQ(all[0]->tagName(), L"HTML");
    EXPECT_EQ(all[5]->tagName(), L"P");
}

TEST(DocumentTree, AllListsStayValidWhileThePageChanges) {
    auto document = page(L"<div><p>1</p><p>2</p><span><p>3</p></span></div>");
    auto snapshot = document->all();
    std::size_t before = snapshot->size();
    // A walk from the last element to the first that removes and queries as it goes.
    for (auto it = snapshot->rbegin(); it != snapshot->rend(); ++it) {
        if ((*it)->hasTag(L"P"))
            (*it)->removeNode(true);
        EXPECT_TRUE((*it)->currentStyle());
        EXPECT_LE(document->all()->size(), before);
    }
    EXPECT_EQ(snapshot->size(), before);
    EXPECT_EQ(document->getElementsByTagName(L"p").size(), 0u);
    EXPECT_EQ(document->all()->size(), before - 3);
}

TEST(DocumentTree, ElementsByNameAlsoFindsElementsWithThatId) {
    auto document = page(
        L"<div id=readable>a</div><p name=readable>b</p><span id=other name=x>c</span>"
        L"<em id=readable_body>d</em><i name=Readable>e</i>");
    auto found = document->getElementsByName(L"readable");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0]->tagName(), L"DIV");
    EXPECT_EQ(found[1]->tagName(), L"P");
    EXPECT_EQ(document->getElementsByName(L"other").size(), 1u);
    EXPECT_TRUE(document->getElementsByName(L"read").empty());
}

TEST(DocumentTree, AttributesIgnoreCaseAndKeepOrder) {
    auto document = page(L"<div ID=one Data-X=\"1\"></div>");
    auto div = document->getElementsByTagName(L"DIV").at(0);
    EXPECT_EQ(div->id(), L"one");
    EXPECT_EQ(div->getAttribute(L"data-x"), L"1");
    div->setAttribute(L"TITLE", L"t");
    div->setAttribute(L"id", L"two");
    ASSERT_EQ(div->attributes().size(), 3u);
    EXPECT_EQ(div->attributes()[0].value, L"two");
    EXPECT_EQ(div->attributes()[2].name, L"title");
    EXPECT_TRUE(div->removeAttribute(L"Title"));
    EXPECT_FALSE(div->removeAttribute(L"title"));
    EXPECT_FALSE(div->hasAttribute(L"title"));
}

TEST(DocumentTree, AttributeChangesAreListedUntilAnythingElseChanges) {
    auto document = Document::parse(L"<body><div id=a>x</div><div id=b></div></body>");
    const auto a = document->getElementById(L"a");
    const auto b = document->getElementById(L"b");
    const std::uint64_t start = document->version();
    ASSERT_TRUE(document->attributeChangesSince(start));
    EXPECT_TRUE(document->attributeChangesSince(start)->empty());
    a->setAttribute(L"class", L"one");
    const std::uint64_t middle = document->version();
    b->setAttribute(L"style", L"left:1px");
    a->removeAttribute(L"class");
    EXPECT_EQ(*document->attributeChangesSince(start),
              (std::vector<const Element*>{a.get(), b.get(), a.get()}));
    EXPECT_EQ(*document->attributeChangesSince(middle),
              (std::vector<const Element*>{b.get(), a.get()}));
    // A text, a child list or a sheet changed: what changed is no longer known in full.
    const std::uint64_t beforeText = document->version();
    static_cast<Text&>(*a->firstChild()).setData(L"y");
    EXPECT_FALSE(document->attributeChangesSince(beforeText));
    b->setAttribute(L"class", L"two");
    const std::uint64_t afterText = document->version();
    EXPECT_EQ(document->attributeChangesSince(afterText - 1)->size(), 1u);
    b->appendChild(document->createElement(L"span"));
    EXPECT_FALSE(document->attributeChangesSince(afterText));
    // Too many changes to keep: none is listed.
    const std::uint64_t many = document->version();
    for (int i = 0; i < 300; ++i)
        a->setAttribute(L"title", std::to_wstring(i));
    EXPECT_FALSE(document->attributeChangesSince(many));
}

TEST(DocumentTree, MutationsKeepTheTreeConsistent) {
    auto document = page(L"<div id=a><span id=b></span><span id=c></span></div><p id=d></p>");
    auto a = document->getElementById(L"a");
    auto b = document->getElementById(L"b");
    auto c = document->getElementById(L"c");
    auto d = document->getElementById(L"d");
    d->appendChild(b);  // moves
    EXPECT_EQ(a->children().size(), 1u);
    EXPECT_EQ(b->parentElement(), d);
    a->insertBefore(b, c);
    EXPECT_EQ(a->children()[0], b);
    EXPECT_EQ(c->previousSibling(), b);
    EXPECT_THROW(b->appendChild(a), std::invalid_argument);      // would be its own ancestor
    EXPECT_THROW(a->insertBefore(d, d), std::invalid_argument);  // d is not a child of a
    EXPECT_EQ(a->replaceChild(d, c), c);
    EXPECT_EQ(c->parentNode(), nullptr);
    EXPECT_EQ(d->replaceNode(c), d);
    EXPECT_EQ(a->children()[1], c);
    // removeNode(false) keeps the children in the element's place.
    c->appendChild(document->createTextNode(L"x"));
    c->appendChild(document->createElement(L"em"));
    c->removeNode(false);
    ASSERT_EQ(a->childNodes().size(), 3u);
    EXPECT_EQ(a->childNodes()[1]->nodeValue(), L"x");
    EXPECT_EQ(a->childNodes()[2]->nodeName(), L"EM");
    EXPECT_TRUE(c->childNodes().empty());
    // A removed element keeps no place in `all`.
    auto before = document->all()->size();
    a->removeNode(true);
    EXPECT_EQ(document->all()->size(), before - 3);
    EXPECT_EQ(a->sourceIndex(), -1);
    EXPECT_EQ(a->children().size(), 2u);  // its own subtree is intact
}

TEST(DocumentTree, NodesGivenAsSlotsOfTheChildListStayValid) {
    auto document = page(L"<div id=a><i>1</i><b>2</b><u>3</u></div>");
    auto a = document->getElementById(L"a");
    auto removed = a->removeChild(a->childNodes().back());  // the slot itself goes away
    ASSERT_TRUE(removed);
    EXPECT_EQ(removed->nodeName(), L"U");
    EXPECT_EQ(removed->parentNode(), nullptr);
    auto replaced = a->replaceChild(removed, a->childNodes()[0]);
    ASSERT_TRUE(replaced);
    EXPECT_EQ(replaced->nodeName(), L"I");
    EXPECT_EQ(a->innerHTML(), L"<U>3</U><B>2</B>");
}

TEST(DocumentTree, CloneCopiesAttributesAndOptionallyChildren) {
    auto document = page(L"<ul id=l class=k><li>1</li><li>2</li></ul>");
    auto list = document->getElementById(L"l");
    auto shallow = list->cloneElement(false);
    EXPECT_EQ(shallow->className(), L"k");
    EXPECT_TRUE(shallow->childNodes().empty());
    EXPECT_EQ(shallow->parentNode(), nullptr);
    auto deep = list->cloneElement(true);
    EXPECT_EQ(deep->outerHTML(), list->outerHTML());
    deep->children()[0]->setInnerText(L"changed");
    EXPECT_EQ(list->children()[0]->innerText(), L"1");
    EXPECT_EQ(deep->ownerDocument(), document);
}

TEST(DocumentTree, MarkupReadAndWrite) {
    auto document = page(L"<div id=a><b>bold</b> &amp; <i title='x\"y'>it</i></div>");
    auto a = document->getElementById(L"a");
    EXPECT_EQ(a->innerHTML(), L"<B>bold</B> &amp; <I title=\"x&quot;y\">it</I>");
    EXPECT_EQ(a->outerHTML(), L"<DIV id=\"a\">" + a->innerHTML() + L"</DIV>");
    a->setInnerHTML(L"<p>one<p>two<br>three");
    ASSERT_EQ(a->children().size(), 2u);
    EXPECT_EQ(a->innerHTML(), L"<P>one</P><P>two<BR>three</P>");
    // Table parts parse in their context.
    auto table = document->createElement(L"table");
    document->body()->appendChild(table);
    auto tbody = document->createElement(L"tbody");
    table->appendChild(tbody);
    tbody->setInnerHTML(L"<tr><td>c</td></tr>");
    EXPECT_EQ(tbody->innerHTML(), L"<TR><TD>c</TD></TR>");
    // Raw text and void elements.
    a->setInnerHTML(L"<script>if (a < b && c) x();</script><img src=i.png><hr>");
    EXPECT_EQ(a->innerHTML(), L"<SCRIPT>if (a < b && c) x();</SCRIPT><IMG src=\"i.png\"><HR>");
}

TEST(DocumentTree, InsertAdjacentPlacesNodes) {
    auto document = page(L"<div id=p><span id=s>x</span></div>");
    auto s = document->getElementById(L"s");
    EXPECT_TRUE(s->insertAdjacentHTML(L"beforeBegin", L"<i>1</i><i>2</i>"));
    EXPECT_TRUE(s->insertAdjacentHTML(L"afterBegin", L"<b>3</b><b>4</b>"));
    EXPECT_TRUE(s->insertAdjacentHTML(L"BeforeEnd", L"5"));
    EXPECT_TRUE(s->insertAdjacentHTML(L"afterEnd", L"<u>6</u><u>7</u>"));
    EXPECT_EQ(document->getElementById(L"p")->innerHTML(),
              L"<I>1</I><I>2</I><SPAN id=\"s\"><B>3</B><B>4</B>x5</SPAN><U>6</U><U>7</U>");
    EXPECT_FALSE(s->insertAdjacentHTML(L"middle", L"<b></b>"));
    auto loose = document->createElement(L"div");
    EXPECT_FALSE(loose->insertAdjacentHTML(L"beforeBegin", L"<b></b>"));
    EXPECT_EQ(loose->insertAdjacentElement(L"afterEnd", document->createElement(L"b")), nullptr);
    auto e = document->createElement(L"em");
    EXPECT_EQ(s->insertAdjacentElement(L"afterBegin", e), e);
    EXPECT_EQ(s->firstChild(), e);
}

TEST(DocumentTree, InnerTextLeavesOutScriptsStylesAndComments) {
    auto document = page(
        L"<body><h1>Title</h1><script>var x;</script><style>p{}</style>"
        L"<p>Some   <b>bold</b>\n text<!-- c --></p><p>line<br>break</p>"
        L"<pre>  keep\n  this</pre><div><div>nested</div></div></body>");
    EXPECT_EQ(document->body()->innerText(),
              L"Title\r\nSome bold text\r\nline\r\nbreak\r\n  keep\r\n  this\r\nnested");
    auto p = document->getElementsByTagName(L"p")[0];
    p->setInnerText(L"a < b");
    EXPECT_EQ(p->innerHTML(), L"a &lt; b");
}

TEST(DocumentTree, DocumentFactoriesAndTitle) {
    auto document = Document::create(L"http://127.0.0.1/x");
    EXPECT_EQ(document->URL(), L"http://127.0.0.1/x");
    ASSERT_TRUE(document->body());
    EXPECT_EQ(document->title(), L"");
    document->setTitle(L"New");
    EXPECT_EQ(document->title(), L"New");
    EXPECT_EQ(document->head()->innerHTML(), L"<TITLE>New</TITLE>");
    auto element = document->createElement(L"custom-tag");
    EXPECT_EQ(element->tagName(), L"CUSTOM-TAG");
    EXPECT_EQ(element->ownerDocument(), document);
    document->write(L"<p>rewritten</p>");
    EXPECT_EQ(document->body()->innerHTML(), L"<P>rewritten</P>");
}

TEST(DocumentTree, VeryDeepTreesAreBoundedAndReleaseWithoutRecursion) {
    std::wstring html;
    for (int i = 0; i < 3000; ++i)
        html += L"<section>";
    html += L"deep";
    auto document = page(html);
    EXPECT_EQ(document->getElementsByTagName(L"section").size(), 3000u);
    int depth = 0;
    for (auto node = document->getElementsByTagName(L"section").back()->parentNode(); node;
         node = node->parentNode())
        ++depth;
    EXPECT_LE(depth, 512);
    EXPECT_EQ(document->body()->innerText(), L"deep");
    // Below the limit elements follow one another in document order, each with its text.
    std::wstring deep;
    for (int i = 0; i < 600; ++i)
        deep += L"<section>";
    deep += L"<em>one</em><script>var a = 1;</script><b>two</b>";
    auto flattened = page(deep);
    EXPECT_EQ(flattened->body()->innerText(), L"onetwo");
    EXPECT_EQ(flattened->getElementsByTagName(L"script").front()->innerHTML(), L"var a = 1;");
    // Divs and spans nested beyond the limit lose their tags before parsing; their text and
    // what follows them stay.
    std::wstring divs;
    for (int i = 0; i < 3000; ++i)
        divs += L"<div class=d>" + std::to_wstring(i) + L" <span>";
    divs += L"<script>if (a<b) x = '</div>';</script>end";
    for (int i = 0; i < 3000; ++i)
        divs += L"</span></div>";
    divs += L"<p>after</p>";
    auto limited = page(divs);
    const auto kept = limited->getElementsByTagName(L"div");
    EXPECT_EQ(kept.size() + limited->getElementsByTagName(L"span").size(), 512u);
    const std::wstring text = limited->body()->innerText();
    EXPECT_TRUE(text.starts_with(L"0\r\n1\r\n2\r\n")) << platform::text::toUtf8(text.substr(0, 40));
    EXPECT_TRUE(text.ends_with(L"2998 2999 end\r\nafter"))
        << platform::text::toUtf8(text.substr(text.size() - 40));
    EXPECT_EQ(limited->getElementsByTagName(L"script").size(), 1u);
    EXPECT_EQ(limited->getElementsByTagName(L"p").front()->parentElement(), limited->body());
    // A hand-built chain far deeper than the parse limit is released without recursion.
    auto chain = document->createElement(L"div");
    auto tip = chain;
    for (int i = 0; i < 200000; ++i)
        tip = std::static_pointer_cast<Element>(tip->appendChild(document->createElement(L"div")));
    tip.reset();
    chain.reset();
    SUCCEED();
}

}  // namespace
}  // namespace platform::dom
