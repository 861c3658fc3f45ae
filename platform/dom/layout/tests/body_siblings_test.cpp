#include <gtest/gtest.h>

#include "platform/dom/document.h"
#include "platform/dom/layout/markup/body_siblings.h"
#include "platform/dom/layout/page_layout.h"

namespace platform::dom {
namespace {

TEST(BodySiblings, OnlyTestsThatFallOnTheBodysChildrenMatter) {
    // The overlay at the top of the body is the box added.
    auto document = Document::parse(
        L"<body><div class=overlay></div><div id=top class='wrap main'><ul><li>One</li></ul>"
        L"<h1>T</h1><p>x</p></div><section>s</section></body>");
    const Element& body = *document->body();
    const auto added = [](const Element& element) { return element.className() == L"overlay"; };
    const auto matter = [&](std::string_view css) { return bodySiblingsMatter(css, body, added); };
    // Below the body's children: adding a box at the top changes nothing.
    EXPECT_FALSE(matter("li:first-child{margin:0} h1 + p{margin:0}"));
    EXPECT_FALSE(matter(".wrap > p:nth-child(2n){color:red}"));
    EXPECT_FALSE(matter("article:first-of-type{margin:0} .side ~ div{margin:0}"));
    EXPECT_FALSE(matter("p{margin:0} a:hover{color:red}"));
    // Tests that one of the body's children could pass.
    EXPECT_TRUE(matter("section:last-child{margin:0}"));
    EXPECT_TRUE(matter(".main:first-child p{margin:0}"));
    EXPECT_TRUE(matter("@media screen{ :first-child{margin:0} }"));
    EXPECT_TRUE(matter("body:empty{margin:0}"));
    EXPECT_TRUE(matter("[data-x]:first-child{margin:0}"));
    // What comes before a child changes only where the added box could be the first part.
    EXPECT_TRUE(matter("div + section{margin:0}"));
    EXPECT_TRUE(matter("* ~ section{margin:0}"));
    EXPECT_TRUE(matter(".overlay + div{margin:0}"));
    EXPECT_FALSE(matter("#top + section{margin:0}"));
    EXPECT_FALSE(matter(".wrap ~ section{margin:0}"));
    EXPECT_FALSE(matter("aside + div{margin:0}"));
    EXPECT_FALSE(matter("div + aside{margin:0}"));
    EXPECT_FALSE(
        bodySiblingsMatter("div + section{margin:0}", body, [](const Element&) { return false; }));
    // A test below a parent or an ancestor that the body (or the root) cannot be.
    EXPECT_FALSE(matter(".table > div:first-child{margin:0}"));
    EXPECT_FALSE(matter(".wrap div:first-child{margin:0}"));
    EXPECT_FALSE(matter("section > div + section{margin:0}"));
    EXPECT_FALSE(matter("html > div:first-child{margin:0}"));
    EXPECT_TRUE(matter("body > div:first-child{margin:0}"));
    EXPECT_TRUE(matter("html div:first-child{margin:0}"));
    EXPECT_TRUE(matter("h1 ~ .x div:first-child, .y + div:first-child{margin:0}"));
    // A ";" inside a rule's prelude makes it no selector at all; it ends only at-rules.
    EXPECT_FALSE(matter(".x &gt;\n div:first-child{margin:0}"));
    EXPECT_FALSE(matter("p{margin:0}; div:first-child{margin:0}"));
    EXPECT_TRUE(matter("@import url(a.css); div:first-child{margin:0}"));
}

TEST(BodySiblings, AnOverlayBeforeTheFirstChildMovesItOnlyWhereARuleNamesWhatPrecedesIt) {
    // ".nav + .tagline" holds between the page's own children whatever comes before them;
    // "div + p" starts to hold for the first paragraph once a box stands before it.
    const auto layoutsForOverlay = [](const std::wstring& sheet, int& shift) {
        auto document = Document::parse(L"<!DOCTYPE html><head><style>" + sheet +
                                        L"</style></head><body><p id=first>first</p>"
                                        L"<div class=nav>nav</div><div class=tagline>t</div>"
                                        L"</body>");
        const auto& engine = dynamic_cast<const PageLayout&>(document->layout());
        const auto first = document->getElementById(L"first");
        const int top = document->boxOf(*first)->top;
        const int layouts = engine.fullLayouts();
        auto overlay = document->createElement(L"div");
        overlay->setAttribute(L"style", L"position:absolute;left:1px;top:2px;width:3px;height:4px");
        document->body()->insertBefore(overlay, document->body()->firstChild());
        shift = document->boxOf(*first)->top - top;
        return engine.fullLayouts() - layouts;
    };
    int shift = 0;
    EXPECT_EQ(layoutsForOverlay(L".nav + .tagline{margin-top:30px}", shift), 0);
    EXPECT_EQ(shift, 0);
    EXPECT_EQ(layoutsForOverlay(L"div + p{margin-top:30px}", shift), 1);
    EXPECT_EQ(shift, 14);  // its 16 px margin gives way to 30 px, as in Chromium
}

TEST(BodySiblings, ARuleWhosePreludeHoldsASemicolonIsDroppedByTheLayoutToo) {
    // A sheet written with an escaped ">" (as saved pages hold it): the layout drops the
    // rule as a browser does, so an overlay at the top of the body moves nothing, and the
    // page is not laid out again for it.
    const std::wstring sheet =
        L"<style>.x &gt;\n div:first-child{margin-top:30px} p{margin:0}; div + div{height:50px}"
        L"</style>";
    const std::wstring overlay =
        L"<div id=overlay style='position:absolute;left:10px;top:5px;width:30px;height:40px'>"
        L"</div>";
    const std::wstring content = L"<div id=first>first</div><div id=second>second</div>";
    auto document = Document::parse(L"<head>" + sheet + L"</head><body>" + content + L"</body>");
    const auto& engine = dynamic_cast<const PageLayout&>(document->layout());
    const Rect first = *document->boxOf(*document->getElementById(L"first"));
    const int layouts = engine.fullLayouts();
    auto box = document->createElement(L"div");
    box->setAttribute(L"style", L"position:absolute;left:10px;top:5px;width:30px;height:40px");
    document->body()->insertBefore(box, document->body()->firstChild());
    EXPECT_EQ(*document->boxOf(*box), (Rect{10, 5, 40, 45}));
    EXPECT_EQ(engine.fullLayouts(), layouts);

    auto fresh =
        Document::parse(L"<head>" + sheet + L"</head><body>" + overlay + content + L"</body>");
    EXPECT_EQ(*fresh->boxOf(*fresh->getElementById(L"first")), first);
    EXPECT_EQ(*document->boxOf(*document->getElementById(L"second")),
              *fresh->boxOf(*fresh->getElementById(L"second")));
}

TEST(BodySiblings, OverlaysOnAPageWithOtherSiblingRulesAreNotLaidOutAgain) {
    auto document = Document::parse(
        L"<style>li:first-child{margin-top:9px} h1 + p{margin-top:0} "
        L"*{box-sizing:border-box}</style><body><div><h1>Title</h1><p>Some text</p><ul>"
        L"<li>One</li></ul></div></body>");
    const auto text = document->getElementsByTagName(L"p").front();
    const Rect before = *document->boxOf(*text);
    const auto& engine = dynamic_cast<const PageLayout&>(document->layout());
    const int layouts = engine.fullLayouts();
    auto overlay = document->createElement(L"div");
    overlay->setAttribute(L"style",
                          L"position:absolute;box-sizing:content-box;border:2px solid red;"
                          L"left:10px;top:5px;width:30px;height:40px");
    document->body()->insertBefore(overlay, document->body()->firstChild());
    EXPECT_EQ(*document->boxOf(*overlay), (Rect{10, 5, 44, 49}));
    EXPECT_EQ(*document->boxOf(*text), before);
    EXPECT_EQ(engine.fullLayouts(), layouts);
    // A box that leaves its sizing to the page's sheets is laid out with the page.
    overlay->setAttribute(L"style",
                          L"position:absolute;border:2px solid red;left:10px;top:5px;"
                          L"width:30px;height:40px");
    EXPECT_EQ(*document->boxOf(*overlay), (Rect{10, 5, 40, 45}));
    EXPECT_EQ(engine.fullLayouts(), layouts + 1);
}

}  // namespace
}  // namespace platform::dom
