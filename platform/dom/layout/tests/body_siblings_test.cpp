#include <gtest/gtest.h>

#include "platform/dom/document.h"
#include "platform/dom/layout/markup/body_siblings.h"
#include "platform/dom/layout/page_layout.h"

namespace platform::dom {
namespace {

TEST(BodySiblings, OnlyTestsThatFallOnTheBodysChildrenMatter) {
    auto document = Document::parse(
        L"<body><div id=top class='wrap main'><ul><li>One</li></ul><h1>T</h1><p>x</p></div>"
        L"<section>s</section></body>");
    const Element& body = *document->body();
    // Below the body's children: adding a box at the top changes nothing.
    EXPECT_FALSE(bodySiblingsMatter("li:first-child{margin:0} h1 + p{margin:0}", body));
    EXPECT_FALSE(bodySiblingsMatter(".wrap > p:nth-child(2n){color:red}", body));
    EXPECT_FALSE(bodySiblingsMatter("article:first-of-type{margin:0} .side ~ div{margin:0}", body));
    EXPECT_FALSE(bodySiblingsMatter("p{margin:0} a:hover{color:red}", body));
    // Tests that one of the body's children (or the added box itself) could pass.
    EXPECT_TRUE(bodySiblingsMatter("section:last-child{margin:0}", body));
    EXPECT_TRUE(bodySiblingsMatter(".main:first-child p{margin:0}", body));
    EXPECT_TRUE(bodySiblingsMatter("#top + section{margin:0}", body));
    EXPECT_TRUE(bodySiblingsMatter("div + section{margin:0}", body));
    EXPECT_FALSE(bodySiblingsMatter("aside + div{margin:0}", body));
    EXPECT_TRUE(bodySiblingsMatter("@media screen{ :first-child{margin:0} }", body));
    EXPECT_TRUE(bodySiblingsMatter("body:empty{margin:0}", body));
    EXPECT_TRUE(bodySiblingsMatter("[data-x]:first-child{margin:0}", body));
    // A test below a parent or an ancestor that the body (or the root) cannot be.
    EXPECT_FALSE(bodySiblingsMatter(".table > div:first-child{margin:0}", body));
    EXPECT_FALSE(bodySiblingsMatter(".wrap div:first-child{margin:0}", body));
    EXPECT_FALSE(bodySiblingsMatter("section > div + section{margin:0}", body));
    EXPECT_FALSE(bodySiblingsMatter("html > div:first-child{margin:0}", body));
    EXPECT_TRUE(bodySiblingsMatter("body > div:first-child{margin:0}", body));
    EXPECT_TRUE(bodySiblingsMatter("html div:first-child{margin:0}", body));
    EXPECT_TRUE(
        bodySiblingsMatter("h1 ~ .x div:first-child, .y + div:first-child{margin:0}", body));
    // A ";" inside a rule's prelude makes it no selector at all; it ends only at-rules.
    EXPECT_FALSE(bodySiblingsMatter(".x &gt;\n div:first-child{margin:0}", body));
    EXPECT_FALSE(bodySiblingsMatter("p{margin:0}; div:first-child{margin:0}", body));
    EXPECT_TRUE(bodySiblingsMatter("@import url(a.css); div:first-child{margin:0}", body));
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
