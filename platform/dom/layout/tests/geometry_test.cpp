#include <gtest/gtest.h>

#include "platform/dom/document.h"
#include "platform/dom/events/event.h"
#include "platform/dom/style/inline_style.h"
#include "platform/dom/tests/fixture_pages.h"
#include "platform/dom/window.h"

namespace platform::dom {
namespace {

constexpr const wchar_t* kPage =
    LR"(<body style="margin:10px">
    <div id=a style="width:50%;height:100px;padding:5px;border:2px solid">x</div>
    <div id=b><span id=s>hello world</span></div>
    <p id=p style="display:none"><b id=hiddenChild>n</b></p>
    <div id=ov style="position:absolute;left:100px;top:50px;width:30px;height:20px"></div>
    <div id=narrow style="width:40px">ab cd ef</div>
    <table id=t style="width:300px"><tr><td id=c1>1</td><td id=c2>2</td><td id=c3>3</td></tr></table>
    </body>)";

TEST(Geometry, BlocksStackAndTextFlowsIntoLines) {
    auto document = Document::parse(kPage);
    auto box = [&](const wchar_t* id) {
        return document->getElementById(id)->getBoundingClientRect();
    };
    const Rect body = *document->body()->getBoundingClientRect();
    EXPECT_EQ(body.left, 10);
    EXPECT_EQ(body.top, 10);
    EXPECT_EQ(body.right, 1014);
    EXPECT_EQ(body.bottom, box(L"t")->bottom);
    EXPECT_EQ(box(L"a"), (Rect{10, 10, 526, 124}));  // 50% of 1004 plus padding and border
    const Rect b = *box(L"b");
    EXPECT_EQ(b.top, 124);
    EXPECT_EQ(b.left, 10);
    EXPECT_EQ(b.right, 1014);
    const Rect s = *box(L"s");  // "hello world" on b's only line
    EXPECT_EQ(s.left, 10);
    EXPECT_GE(s.top, b.top);
    EXPECT_LE(s.bottom, b.bottom + 1);  // glyph boxes round to whole pixels
    EXPECT_GT(s.width(), 50);
    EXPECT_LT(s.width(), 150);
    EXPECT_EQ(box(L"p"), std::nullopt);  // display none: no box
    EXPECT_EQ(box(L"hiddenChild"), std::nullopt);
    EXPECT_EQ(box(L"ov"), (Rect{100, 50, 130, 70}));  // out of the flow
    // The 40 px column holds at most two of its words on a line.
    const Rect narrow = *box(L"narrow");
    EXPECT_EQ(narrow.width(), 40);
    EXPECT_GE(narrow.height(), 2 * b.height());
    EXPECT_EQ(narrow.top, b.bottom);
    // Table cells side by side in their row, inside the table.
    EXPECT_GE(box(L"c1")->left, 10);
    EXPECT_GE(box(L"c2")->left, box(L"c1")->right);
    EXPECT_GE(box(L"c3")->left, box(L"c2")->right);
    EXPECT_LE(box(L"c3")->right, 310);
    EXPECT_EQ(box(L"c2")->top, box(L"c1")->top);

    auto a = document->getElementById(L"a");
    EXPECT_EQ(a->offsetWidth(), 516);
    EXPECT_EQ(a->clientWidth(), 512);
    EXPECT_EQ(a->clientLeft(), 2);
    EXPECT_EQ(a->offsetParent(), document->body());
    EXPECT_EQ(a->offsetLeft(), 10);
    auto span = document->getElementById(L"s");
    EXPECT_EQ(span->clientWidth(), 0);  // inline elements have no client area
    EXPECT_EQ(document->getElementById(L"p")->offsetHeight(), 0);
}

TEST(Geometry, LayoutFollowsMutationsAndTheViewport) {
    auto document = Document::parse(kPage);
    auto a = document->getElementById(L"a");
    a->style().setAttribute(L"width", L"200px");
    EXPECT_EQ(a->getBoundingClientRect()->width(), 214);
    a->style().setAttribute(L"display", L"none");
    EXPECT_EQ(document->getElementById(L"b")->getBoundingClientRect()->top, 10);
    a->style().removeAttribute(L"display");
    document->parentWindow().resizeTo(500, 400);
    EXPECT_EQ(document->getElementById(L"b")->getBoundingClientRect()->right, 490);
    // Inline text wraps in the narrower viewport.
    auto b = document->getElementById(L"b");
    const int line = b->getBoundingClientRect()->height();
    std::wstring words;
    for (int i = 0; i < 12; ++i)
        words += L"words ";
    b->setInnerText(words + words);
    EXPECT_GE(b->getBoundingClientRect()->height(), 2 * line);
    EXPECT_EQ(document->getElementById(L"b")->getClientRects().size(), 1u);
    auto span = document->createElement(L"span");
    span->setInnerText(words + words);
    b->appendChild(span);
    auto lines = span->getClientRects();
    ASSERT_GE(lines.size(), 2u);  // it starts after the text before it and wraps
    EXPECT_GT(lines[0].left, 10);
    EXPECT_EQ(lines[1].left, 10);
    EXPECT_GT(lines[1].top, lines[0].top);
}

TEST(Geometry, ExplicitBoxesWinOverTheLayout) {
    auto document = Document::parse(kPage);
    auto hidden = document->getElementById(L"p");
    document->setExplicitBox(hidden, {300, 400, 500, 450});
    EXPECT_EQ(hidden->getBoundingClientRect(), (Rect{300, 400, 500, 450}));
    EXPECT_EQ(hidden->offsetWidth(), 200);
    EXPECT_EQ(document->elementFromPoint(310, 410), hidden);
    document->clearExplicitBox(*hidden);
    EXPECT_EQ(hidden->getBoundingClientRect(), std::nullopt);
}

TEST(Geometry, ScrollingMovesClientRectangles) {
    auto document = Document::parse(
        L"<body style='margin:0'><div id=top>t</div><div style='height:3000px'></div>"
        L"<div id=box style='overflow:auto;height:50px;width:200px'>"
        L"<div id=inner style='height:500px'>i</div></div></body>");
    Window& window = document->parentWindow();
    auto body = document->body();
    const int height = document->getElementById(L"top")->offsetHeight() + 3000 + 50;
    EXPECT_EQ(body->scrollHeight(), height);
    EXPECT_EQ(body->clientHeight(), 768);
    window.scrollTo(0, 100000);
    EXPECT_EQ(window.scrollPosition().y, height - 768);  // clamped
    EXPECT_EQ(body->scrollTop(), height - 768);
    EXPECT_EQ(document->documentElement()->scrollTop(), height - 768);
    body->setScrollTop(40);
    EXPECT_EQ(document->getElementById(L"top")->getBoundingClientRect()->top, -40);
    // Back to the top without laying the changed page out again.
    document->getElementById(L"top")->setInnerText(L"changed");
    const std::uint64_t passes = document->layoutPasses();
    window.scrollTo(-5, 0);
    EXPECT_EQ(window.scrollPosition(), (Point{0, 0}));
    EXPECT_EQ(document->layoutPasses(), passes);
    window.scrollTo(0, 100000);
    EXPECT_EQ(window.scrollPosition().y, height - 768);
    EXPECT_EQ(document->layoutPasses(), passes + 1);
    body->setScrollTop(40);

    auto box = document->getElementById(L"box");
    auto inner = document->getElementById(L"inner");
    int innerTop = inner->getBoundingClientRect()->top;
    EXPECT_EQ(box->scrollHeight(), 500);
    box->setScrollTop(1000);
    EXPECT_EQ(box->scrollTop(), 450);  // clamped to scrollHeight - clientHeight
    EXPECT_EQ(inner->getBoundingClientRect()->top, innerTop - 450);
    EXPECT_EQ(box->getBoundingClientRect()->top, innerTop);  // the box itself stays

    // Scroll bars: the page's at the viewport's right edge, the box's inside its border.
    auto html = document->documentElement();
    EXPECT_EQ(html->componentFromPoint(1020, 10), L"scrollbarVThumb");
    EXPECT_EQ(html->componentFromPoint(500, 10), L"");
    EXPECT_EQ(html->componentFromPoint(2000, 10), L"outside");
    Rect boxRect = *box->getBoundingClientRect();
    EXPECT_EQ(box->componentFromPoint(boxRect.right - 5, boxRect.top + 5), L"scrollbarVThumb");
    EXPECT_EQ(box->componentFromPoint(boxRect.left + 5, boxRect.top + 5), L"");
    EXPECT_EQ(box->componentFromPoint(boxRect.right + 5, boxRect.top + 5), L"outside");
}

TEST(Geometry, ElementFromPointFindsTheTopmostVisibleElement) {
    auto document = Document::parse(kPage);
    EXPECT_EQ(document->elementFromPoint(110, 60)->id(), L"ov");  // positioned, over "a"
    EXPECT_EQ(document->elementFromPoint(20, 20)->id(), L"a");
    EXPECT_EQ(document->elementFromPoint(20, 130)->id(), L"s");
    EXPECT_EQ(document->elementFromPoint(500, 130)->id(), L"b");
    EXPECT_EQ(document->elementFromPoint(5, 5), document->documentElement());
    EXPECT_EQ(document->elementFromPoint(2000, 5), nullptr);
    auto overlay = document->getElementById(L"ov");
    overlay->style().setAttribute(L"visibility", L"hidden");
    EXPECT_EQ(document->elementFromPoint(110, 60)->id(), L"a");
    // A later positioned element with a lower z-index lies below an earlier higher one.
    overlay->style().setAttribute(L"visibility", L"visible");
    overlay->style().setAttribute(L"zIndex", L"2147483647");
    document->body()->insertAdjacentHTML(
        L"beforeEnd",
        L"<div id=under style='position:absolute;left:90px;top:40px;"
        L"width:100px;height:100px;z-index:3'></div>");
    EXPECT_EQ(document->elementFromPoint(110, 60)->id(), L"ov");
    EXPECT_EQ(document->elementFromPoint(150, 60)->id(), L"under");
}

TEST(Geometry, FixturePagesLayOut) {
    for (const auto& name : testing::fixturePages()) {
        SCOPED_TRACE(name);
        auto document = Document::parse(std::string_view(testing::readFixture(name)));
        auto body = document->body();
        ASSERT_TRUE(body->getBoundingClientRect());
        EXPECT_GT(body->offsetHeight(), 300);
        int boxes = 0;
        for (const auto& element : *document->all()) {
            auto rect = element->getBoundingClientRect();
            if (!rect)
                continue;
            ++boxes;
            EXPECT_GE(rect->width(), 0);
            EXPECT_GE(rect->height(), 0);
        }
        EXPECT_GT(boxes, 20);
        EXPECT_FALSE(document->getElementsByTagName(L"script")[0]->getBoundingClientRect());
    }
}

}  // namespace
}  // namespace platform::dom
