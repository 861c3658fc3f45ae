#include <gtest/gtest.h>

#include "platform/dom/document.h"
#include "platform/dom/style/cascade.h"
#include "platform/dom/style/inline_style.h"
#include "platform/dom/style/style_sheet.h"
#include "platform/dom/tests/fixture_pages.h"
#include "platform/text/utf.h"

namespace platform::dom {
namespace {

std::wstring current(const std::shared_ptr<Element>& element, std::wstring_view name) {
    return element->currentStyle()->getAttribute(name).value_or(L"<none>");
}

TEST(InlineStyle, NamedPropertiesAndTheAttributeStayInStep) {
    auto document = Document::parse(L"<div id=d style='color: red; BORDER: #ff9900 3px solid'>");
    auto div = document->getElementById(L"d");
    Style style = div->style();
    EXPECT_EQ(style.getAttribute(L"color"), L"red");
    EXPECT_EQ(style.getAttribute(L"borderLeftWidth"), L"3px");
    EXPECT_EQ(style.getAttribute(L"border-top-color"), L"#ff9900");
    EXPECT_EQ(style.getAttribute(L"border"), L"#ff9900 3px solid");
    EXPECT_EQ(style.getAttribute(L"backgroundColor"), L"");

    style.setAttribute(L"backgroundColor", L"white");
    style.setAttribute(L"styleFloat", L"left");
    EXPECT_EQ(*div->getAttribute(L"style"),
              L"color: red; border: #ff9900 3px solid; background-color: white; float: left");
    // A longhand set after the shorthand overrides that part only.
    style.setAttribute(L"borderLeftWidth", L"1px");
    EXPECT_EQ(style.getAttribute(L"borderLeftWidth"), L"1px");
    EXPECT_EQ(style.getAttribute(L"borderTopWidth"), L"3px");
    EXPECT_EQ(style.getAttribute(L"border"), L"");  // the sides differ now

    // Removing a covered longhand splits the shorthand.
    EXPECT_TRUE(style.removeAttribute(L"borderLeftWidth"));
    EXPECT_TRUE(style.removeAttribute(L"border-top-color"));
    EXPECT_EQ(style.getAttribute(L"borderLeftWidth"), L"");
    EXPECT_EQ(style.getAttribute(L"borderTopStyle"), L"solid");
    EXPECT_EQ(style.getAttribute(L"borderTopColor"), L"");
    EXPECT_FALSE(style.removeAttribute(L"zIndex"));

    div->setAttribute(L"style", L"margin: 1px 2px; left: 12px");
    EXPECT_EQ(style.getAttribute(L"marginLeft"), L"2px");
    EXPECT_EQ(style.getAttribute(L"margin"), L"1px 2px");
    EXPECT_EQ(style.pixelLeft(), 12);
    style.setPixelTop(-7);
    EXPECT_EQ(style.getAttribute(L"top"), L"-7px");
    style.setAttribute(L"margin", L"");  // an empty value removes
    EXPECT_EQ(style.cssText(), L"left: 12px; top: -7px");
    style.setCssText(L"display:none;;bogus;color:blue !important");
    EXPECT_EQ(style.cssText(), L"display: none; color: blue !important");
}

TEST(Cascade, BrowserDefaultsAndInitialValues) {
    auto document = Document::parse(
        L"<html><head><title>t</title></head><body><div id=d><span id=s>x</span></div>"
        L"<h1 id=h>H</h1><ul><li id=li>i</li></ul><table><tr><td id=td>c</td></tr></table>"
        L"<img id=img></body></html>");
    EXPECT_EQ(current(document->getElementById(L"d"), L"display"), L"block");
    EXPECT_EQ(current(document->getElementById(L"s"), L"display"), L"inline");
    EXPECT_EQ(current(document->head(), L"display"), L"none");
    EXPECT_EQ(current(document->getElementById(L"li"), L"display"), L"list-item");
    EXPECT_EQ(current(document->getElementById(L"td"), L"display"), L"table-cell");
    EXPECT_EQ(current(document->getElementById(L"img"), L"display"), L"inline-block");
    auto h1 = document->getElementById(L"h");
    EXPECT_EQ(current(h1, L"fontSize"), L"2em");
    EXPECT_EQ(current(h1, L"fontWeight"), L"700");
    EXPECT_EQ(current(document->body(), L"marginLeft"), L"8px");
    auto div = document->getElementById(L"d");
    EXPECT_EQ(current(div, L"width"), L"auto");
    EXPECT_EQ(current(div, L"position"), L"static");
    EXPECT_EQ(current(div, L"fontSize"), L"12pt");
    EXPECT_EQ(current(div, L"visibility"), L"visible");
    EXPECT_EQ(current(div, L"backgroundColor"), L"transparent");
    EXPECT_EQ(current(div, L"borderLeftStyle"), L"none");
    EXPECT_EQ(current(div, L"pixelWidth"), L"<none>");  // not a member of currentStyle
}

TEST(Cascade, SelectorsSpecificityImportanceAndInheritance) {
    auto document = Document::parse(
        LR"(
        <style>
          div { color: green; width: 50% }
          .box { color: blue }
          #main .box { color: purple }
          #main > p { margin: 1px 2px 3px }
          .box.wide { width: 800px }
          p.note { font: italic bold 1.2em/2 Georgia, serif }
          section p { font-weight: bold !important }
          a:hover, li + li, [title] { color: red }
          .late { color: black }
          .late { color: orange }
        </style>
        <div id=main><div class="box wide late" id=b><p id=inner>x</p></div>
          <p class=note id=n style="font-weight: 300">y</p></div>
        <section><p id=sp style="font-weight: 100">z</p></section>
        <div id=plain style="color: teal"><span id=kid>k</span></div>
        <div class="box late" id=l2 style="border: 1px solid">l</div>)");
    auto box = document->getElementById(L"b");
    EXPECT_EQ(current(box, L"color"), L"purple");  // id + class beats two classes
    EXPECT_EQ(current(box, L"width"), L"800px");
    EXPECT_EQ(current(document->getElementById(L"inner"), L"color"), L"purple");  // inherited
    EXPECT_EQ(current(document->getElementById(L"inner"), L"width"), L"auto");    // not inherited
    auto inner = document->getElementById(L"inner");
    EXPECT_EQ(current(inner, L"marginLeft"), L"0px");  // "#main > p" wants a child
    EXPECT_EQ(current(inner, L"marginTop"), L"1em");   // the browser's paragraph margin
    auto note = document->getElementById(L"n");
    EXPECT_EQ(current(note, L"marginLeft"), L"2px");
    EXPECT_EQ(current(note, L"marginBottom"), L"3px");
    EXPECT_EQ(current(note, L"fontStyle"), L"italic");
    EXPECT_EQ(current(note, L"fontWeight"), L"300");  // inline beats the sheet
    EXPECT_EQ(current(note, L"fontSize"), L"1.2em");
    EXPECT_EQ(current(note, L"lineHeight"), L"2");
    EXPECT_EQ(current(note, L"fontFamily"), L"Georgia, serif");
    EXPECT_EQ(current(document->getElementById(L"sp"), L"fontWeight"), L"bold");  // !important
    // Rules with selectors the cascade does not read are skipped whole.
    EXPECT_EQ(current(document->getElementById(L"kid"), L"color"), L"teal");
    auto late = document->getElementById(L"l2");
    EXPECT_EQ(current(late, L"color"), L"orange");            // same specificity: the later rule
    EXPECT_EQ(current(late, L"borderLeftColor"), L"orange");  // border colour follows color
    EXPECT_EQ(current(late, L"borderLeftStyle"), L"solid");
    EXPECT_EQ(current(late, L"border"), L"1px solid orange");
}

TEST(Cascade, SheetsCanBeDisabledLinkedAndLimitedToMedia) {
    auto document = Document::parse(
        LR"(<head>
        <link rel=stylesheet href="site.css" type="text/css">
        <link rel=stylesheet href="print.css" media=print>
        <link rel="alternate stylesheet" href="alt.css">
        <style>@media screen, print { #p { width: 10px } } @media print { #p { height: 5px } }
        @import url(x.css); @font-face { font-family: x } #p { color: red }</style>
        </head><body><p id=p class=comment>x</p></body>)",
        L"http://127.0.0.1/news_article.html");
    document->setStyleSheetLoader([](const std::wstring& href, const std::wstring& url) {
        EXPECT_EQ(url, L"http://127.0.0.1/news_article.html");
        if (href == L"alt.css")
            return std::optional<std::string>("#p { z-index: 5 }");
        if (href == L"print.css")
            return std::optional<std::string>("#p { z-index: 9 }");
        return std::optional<std::string>(testing::readFixture("site.css"));
    });
    auto p = document->getElementById(L"p");
    const auto& sheets = document->styleSheets();
    ASSERT_EQ(sheets.size(), 4u);
    EXPECT_EQ(sheets[0]->href(), L"site.css");
    EXPECT_TRUE(sheets[2]->disabled());             // alternate sheets start disabled
    EXPECT_EQ(current(p, L"paddingLeft"), L"6px");  // from site.css ".comment"
    EXPECT_EQ(current(p, L"zIndex"), L"auto");      // print and alternate sheets do not apply
    EXPECT_EQ(current(p, L"width"), L"10px");
    EXPECT_EQ(current(p, L"height"), L"auto");
    EXPECT_EQ(current(p, L"color"), L"red");

    auto style = sheets[3];
    style->setDisabled(true);
    EXPECT_EQ(current(p, L"color"), L"#000000");
    EXPECT_EQ(current(p, L"width"), L"auto");
    // The sheet object and its flag survive unrelated mutations.
    document->body()->appendChild(document->createElement(L"div"));
    ASSERT_EQ(document->styleSheets().size(), 4u);
    EXPECT_EQ(document->styleSheets()[3], style);
    EXPECT_TRUE(style->disabled());
    style->setDisabled(false);
    style->setCssText(L"#p { color: navy }");
    EXPECT_EQ(current(p, L"color"), L"navy");
    EXPECT_EQ(current(p, L"width"), L"auto");
    EXPECT_EQ(style->owningElement()->innerHTML(), L"#p { color: navy }");
}

TEST(Cascade, StylesFollowEveryChangeThatShapesThem) {
    auto document = Document::parse(
        L"<style>.warm p { color: red } #box > p { font-style: italic } .big { font-size: 20px }"
        L"</style><div id=a class=warm><p id=p1>one</p><p id=p2>two</p></div>"
        L"<div id=b><section id=s><p id=p3>three</p></section></div>");
    auto byId = [&](const wchar_t* id) { return document->getElementById(id); };
    // Read every style first, so that each change below has cached styles to make stale.
    for (const auto& element : *document->all())
        element->currentStyle();
    EXPECT_EQ(current(byId(L"p1"), L"color"), L"red");
    EXPECT_EQ(current(byId(L"p3"), L"color"), L"#000000");

    // An inline style on an ancestor reaches the elements below it, not their neighbours.
    byId(L"s")->style().setAttribute(L"color", L"green");
    EXPECT_EQ(current(byId(L"p3"), L"color"), L"green");
    EXPECT_EQ(current(byId(L"p1"), L"color"), L"red");
    // A class or an id on an ancestor changes what descendant and child selectors match.
    byId(L"a")->setAttribute(L"class", L"cold");
    byId(L"b")->setAttribute(L"class", L"warm");
    EXPECT_EQ(current(byId(L"p1"), L"color"), L"#000000");
    EXPECT_EQ(current(byId(L"p3"), L"color"), L"red");  // the rule wins over the inherited
    byId(L"b")->removeAttribute(L"class");
    EXPECT_EQ(current(byId(L"p3"), L"color"), L"green");
    byId(L"a")->setAttribute(L"id", L"box");
    EXPECT_EQ(current(byId(L"p1"), L"fontStyle"), L"italic");
    // Siblings alike share their style until one of them changes.
    byId(L"p2")->setAttribute(L"class", L"big");
    EXPECT_EQ(current(byId(L"p2"), L"fontSize"), L"20px");
    EXPECT_EQ(current(byId(L"p1"), L"fontSize"), L"12pt");
    // A moved element takes the style of its new place.
    byId(L"s")->appendChild(byId(L"p2"));
    EXPECT_EQ(current(byId(L"p2"), L"fontStyle"), L"normal");
    EXPECT_EQ(current(byId(L"p2"), L"color"), L"green");
    // A sheet switched off, edited or added applies at once.
    const auto sheet = document->styleSheets().front();
    sheet->setDisabled(true);
    EXPECT_EQ(current(byId(L"p1"), L"fontStyle"), L"normal");
    sheet->setDisabled(false);
    sheet->setCssText(L"p { color: blue }");
    EXPECT_EQ(current(byId(L"p2"), L"color"), L"blue");
    auto added = document->createElement(L"style");
    added->setInnerText(L"#p1 { color: purple }");
    document->body()->appendChild(added);
    EXPECT_EQ(current(byId(L"p1"), L"color"), L"purple");
    added->firstChild()->removeNode();
    EXPECT_EQ(current(byId(L"p1"), L"color"), L"blue");
}

TEST(Cascade, InheritedValuesReachTheEndOfAVeryDeepChain) {
    auto document = Document::parse(L"<div id=top style='color: teal'></div>");
    auto tip = document->getElementById(L"top");
    for (int i = 0; i < 100000; ++i)
        tip = std::static_pointer_cast<Element>(tip->appendChild(document->createElement(L"div")));
    EXPECT_EQ(current(tip, L"color"), L"teal");
    tip->style().setAttribute(L"color", L"inherit");
    EXPECT_EQ(current(tip, L"color"), L"teal");
    document->getElementById(L"top")->style().setAttribute(L"color", L"navy");
    EXPECT_EQ(current(tip, L"color"), L"navy");
}

TEST(Cascade, FixturePagesCascadeEveryElement) {
    for (const auto& name : testing::fixturePages()) {
        SCOPED_TRACE(name);
        auto document = Document::parse(std::string_view(testing::readFixture(name)));
        document->setStyleSheetLoader([](const std::wstring& href, const std::wstring&) {
            if (href != L"site.css")
                return std::optional<std::string>();
            return std::optional<std::string>(testing::readFixture("site.css"));
        });
        for (const auto& element : *document->all()) {
            auto style = element->currentStyle();
            ASSERT_TRUE(style);
            for (std::size_t i = 0; i < kPropertyCount; ++i) {
                auto id = static_cast<PropertyId>(i);
                if (id == PropertyId::Filter)
                    continue;  // "" when unset
                EXPECT_FALSE(style->value(id).empty())
                    << platform::text::toUtf8(element->tagName()) << " "
                    << platform::text::toUtf8(propertyInfo(id).cssName);
            }
        }
    }
    auto news = Document::parse(std::string_view(testing::readFixture("news_article.html")));
    EXPECT_EQ(current(news->getElementById(L"ad-inline"), L"display"), L"none");
    EXPECT_EQ(current(news->getElementById(L"sidebar"), L"width"), L"240px");
    EXPECT_EQ(current(news->getElementById(L"sidebar"), L"styleFloat"), L"right");
    EXPECT_EQ(current(news->getElementById(L"masthead"), L"backgroundImage"), L"url(img/mast.png)");
    EXPECT_EQ(current(news->getElementById(L"masthead"), L"backgroundRepeat"), L"no-repeat");
    EXPECT_EQ(current(news->getElementById(L"masthead"), L"backgroundColor"), L"#113355");
    auto forum = Document::parse(std::string_view(testing::readFixture("forum_thread.html")));
    EXPECT_EQ(current(forum->body(), L"fontFamily"), L"Verdana, Arial");
    EXPECT_EQ(current(forum->body(), L"fontSize"), L"10pt");
}

}  // namespace
}  // namespace platform::dom
