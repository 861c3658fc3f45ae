#include <gtest/gtest.h>

#include "platform/dom/document.h"
#include "platform/dom/layout/page_layout.h"
#include "platform/dom/layout/tests/page_geometry.h"
#include "platform/dom/tests/fixture_pages.h"
#include "platform/dom/window.h"
#include "platform/imaging/canvas/canvas.h"

namespace platform::dom {
namespace {

const PageLayout& engineOf(const Document& document) {
    return dynamic_cast<const PageLayout&>(document.layout());
}

using testing::Geometry;
using testing::geometryOf;

// The geometry a layout of the page as it now is gives, from a fresh engine.
Geometry freshGeometryOf(Document& document) {
    document.setLayoutEngine(std::make_unique<PageLayout>());
    return geometryOf(document);
}

void setStyle(Document& document, const wchar_t* tag, std::size_t every,
              const std::wstring& style) {
    const auto elements = document.getElementsByTagName(tag);
    for (std::size_t i = 0; i < elements.size(); i += every)
        elements[i]->setAttribute(L"style", style);
}

constexpr const wchar_t* kPage =
    LR"(<!DOCTYPE html><html><head><style>
    .box { margin: 1em 0; padding: 0.5em } li::before { content: "- " }
    .side { float: right; width: 30%; font-size: 0.9em } td { padding: 0.2em }
    </style></head><body>
    <div class=box><div class=box><p>Nested margins collapse through <b>two</b> blocks.</p></div></div>
    <div class=side><p>A floated column with <a href="/x">a link</a> in it.</p></div>
    <p>Running text <span>with a span</span> and <i>italic words</i> that wraps over
       several lines when the width is narrow enough to need it, on and on.</p>
    <ul><li>One</li><li>Two <em>items</em></li></ul>
    <table><tr><td>cell one</td><td>cell two, longer</td></tr></table>
    <p style="color:red">Already styled.</p>
    </body></html>)";

TEST(PageRestyle, InlineStyleChangesGiveTheBoxesOfAFullLayout) {
    auto document = Document::parse(kPage);
    document->parentWindow().resizeTo(500, 400);
    const Geometry first = geometryOf(*document);
    setStyle(*document, L"P", 1, L"font-size:20px;font-weight:bold");
    setStyle(*document, L"DIV", 2, L"background-color:#eee;padding-left:12px");
    setStyle(*document, L"LI", 1, L"margin-top:7px;line-height:2");
    setStyle(*document, L"TD", 1, L"border:3px solid blue");
    document->body()->setAttribute(L"style", L"font-size:18px");
    const Geometry restyled = geometryOf(*document);
    EXPECT_EQ(engineOf(*document).fullLayouts(), 1);
    EXPECT_EQ(engineOf(*document).restyles(), 1);
    EXPECT_NE(restyled, first);
    EXPECT_EQ(freshGeometryOf(*document), restyled);
    // And back again, with one style attribute taken away altogether.
    setStyle(*document, L"P", 1, L"");
    document->body()->removeAttribute(L"style");
    const Geometry back = geometryOf(*document);
    EXPECT_EQ(engineOf(*document).restyles(), 1);
    EXPECT_EQ(engineOf(*document).fullLayouts(), 1);
    EXPECT_EQ(freshGeometryOf(*document), back);
}

std::vector<std::uint32_t> pictureOf(const Document& document) {
    imaging::Canvas canvas(500, 700);
    document.layout().paint(canvas, {0, 0, 500, 700});
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            pixels.push_back(canvas.pixel(x, y));
    return pixels;
}

TEST(PageRestyle, RestyledElementsDeepInThePageAndTheBodyLookAsInAFullLayout) {
    auto document = Document::parse(kPage);
    document->parentWindow().resizeTo(500, 400);
    geometryOf(*document);
    // A nested pair, a lone element deep down, the body's own background, and the
    // innermost of the collapsing blocks whose margins the engine was corrected for.
    setStyle(*document, L"SPAN", 1, L"font-size:30px");
    setStyle(*document, L"I", 1, L"letter-spacing:3px");
    document->getElementsByTagName(L"P")[2]->setAttribute(L"style", L"line-height:3");
    document->body()->setAttribute(L"style", L"background:#fd0;color:#333");
    document->getElementsByTagName(L"P")[0]->setAttribute(L"style", L"margin-top:20px");
    const Geometry restyled = geometryOf(*document);
    const std::vector<std::uint32_t> picture = pictureOf(*document);
    EXPECT_EQ(engineOf(*document).restyles(), 1);
    EXPECT_EQ(engineOf(*document).fullLayouts(), 1);
    EXPECT_EQ(freshGeometryOf(*document), restyled);
    EXPECT_TRUE(pictureOf(*document) == picture) << "the restyled page is painted otherwise";
}

TEST(PageRestyle, CorrectedMarginsAndWidthsFollowTheRestyledElements) {
    // The engine's styles are corrected before it renders: the first child's top margin is
    // carried out of blocks without padding, and a percentage inside a percentage is
    // divided. Restyling the children must leave the corrected blocks as a fresh layout
    // corrects them.
    auto document = Document::parse(
        LR"(<!DOCTYPE html><html><head><style>.half { width: 50% } p { margin: 12px 0 }
        </style></head><body><div id=outer><div id=inner><p id=first>First</p><p>Next</p>
        </div></div><div class=half><div class=half><p id=deep>Half of half</p></div></div>
        </body></html>)");
    document->parentWindow().resizeTo(500, 400);
    geometryOf(*document);
    document->getElementById(L"first")->setAttribute(L"style", L"margin-top:40px");
    document->getElementById(L"deep")->setAttribute(L"style", L"font-size:25px");
    const Geometry restyled = geometryOf(*document);
    EXPECT_EQ(engineOf(*document).restyles(), 1);
    EXPECT_EQ(freshGeometryOf(*document), restyled);
    EXPECT_EQ(document->boxOf(*document->getElementById(L"outer"))->top, 40);
    document->getElementById(L"first")->setAttribute(L"style", L"margin-top:2px");
    const Geometry back = geometryOf(*document);
    EXPECT_EQ(engineOf(*document).restyles(), 1);
    EXPECT_EQ(freshGeometryOf(*document), back);
    EXPECT_EQ(document->boxOf(*document->getElementById(L"outer"))->top, 8);
}

TEST(PageRestyle, OverlaysPlacedBeforeARestyleKeepTheirPlaces) {
    auto document = Document::parse(kPage);
    geometryOf(*document);
    const auto overlay = [&](const wchar_t* style) {
        auto element = document->createElement(L"div");
        element->setAttribute(L"style", style);
        document->body()->insertBefore(element, document->body()->firstChild());
        return element;
    };
    auto kept = overlay(L"position:absolute;left:5px;top:6px;width:20px;height:10px");
    auto moved = overlay(L"position:absolute;left:50px;top:60px;width:20px;height:10px");
    auto gone = overlay(L"position:absolute;left:9px;top:9px;width:9px;height:9px");
    document->getElementsByTagName(L"P").front()->appendChild(document->createTextNode(L" more"));
    geometryOf(*document);  // laid out with all three
    moved->setAttribute(L"style", L"position:absolute;left:70px;top:80px;width:20px;height:10px");
    gone->removeNode(true);
    auto added =
        overlay(L"position:absolute;left:1px;top:2px;width:3px;height:4px;border:1px solid");
    geometryOf(*document);  // placed, not laid out
    setStyle(*document, L"P", 1, L"font-size:25px");
    const Geometry restyled = geometryOf(*document);
    EXPECT_EQ(engineOf(*document).fullLayouts(), 2);
    EXPECT_EQ(engineOf(*document).restyles(), 1);
    EXPECT_EQ(*document->boxOf(*moved), (Rect{70, 80, 90, 90}));
    EXPECT_EQ(*document->boxOf(*added), (Rect{1, 2, 6, 8}));
    EXPECT_FALSE(document->boxOf(*gone));
    EXPECT_EQ(freshGeometryOf(*document), restyled);
    EXPECT_TRUE(document->boxOf(*kept));
}

TEST(PageRestyle, OverlaysOnAPositionedBodyStandOnItsPaddingBoxWithoutALayout) {
    // The body is the overlays' containing box: they count from its padding box, as
    // Chromium places them (33,28 and, after the body moves down, 33,48).
    auto document = Document::parse(
        L"<!DOCTYPE html><html><head><style>body{position:relative;margin:20px;"
        L"border:3px solid;padding:4px} p{margin:0}</style></head><body>"
        L"<p>First paragraph of text.</p><p>Second one.</p></body></html>");
    geometryOf(*document);
    const int layouts = engineOf(*document).fullLayouts();
    auto overlay = document->createElement(L"div");
    overlay->setAttribute(L"style", L"position:absolute;left:0;top:0;width:1px;height:1px");
    document->body()->insertBefore(overlay, document->body()->firstChild());
    overlay->setAttribute(
        L"style", L"position:absolute;left:10px;top:5px;width:30px;height:40px;border:2px solid");
    EXPECT_EQ(*document->boxOf(*overlay), (Rect{33, 28, 67, 72}));
    EXPECT_EQ(engineOf(*document).fullLayouts(), layouts);
    EXPECT_EQ(freshGeometryOf(*document), geometryOf(*document));

    document->body()->setAttribute(L"style", L"margin-top:40px");
    EXPECT_EQ(*document->boxOf(*overlay), (Rect{33, 48, 67, 92}));
    EXPECT_EQ(freshGeometryOf(*document), geometryOf(*document));
}

TEST(PageRestyle, OverlaysTakenAwayWithTheRestyleAndScriptsStyledLeaveItInPlace) {
    auto document = Document::parse(kPage);
    auto overlay = document->createElement(L"div");
    overlay->setAttribute(L"style", L"position:absolute;left:5px;top:6px;width:20px;height:10px");
    document->body()->insertBefore(overlay, document->body()->firstChild());
    auto script = document->createElement(L"script");
    document->body()->appendChild(script);
    geometryOf(*document);
    overlay->removeNode(true);
    script->setAttribute(L"style", L"font-size:30px");
    setStyle(*document, L"LI", 1, L"font-size:25px");
    const Geometry restyled = geometryOf(*document);
    EXPECT_EQ(engineOf(*document).fullLayouts(), 1);
    EXPECT_EQ(engineOf(*document).restyles(), 1);
    EXPECT_FALSE(document->boxOf(*overlay));
    EXPECT_EQ(freshGeometryOf(*document), restyled);
}

TEST(PageRestyle, FixturePagesRestyledInPlaceMatchAFullLayout) {
    int restyled = 0;
    for (const auto& name : testing::fixturePages()) {
        SCOPED_TRACE(name);
        auto document = Document::parse(std::string_view(testing::readFixture(name)));
        geometryOf(*document);
        setStyle(*document, L"P", 2, L"font-size:21px");
        setStyle(*document, L"DIV", 3, L"font-weight:bold;margin:3px");
        setStyle(*document, L"A", 2, L"background:yellow");
        const Geometry now = geometryOf(*document);
        restyled += engineOf(*document).restyles();
        EXPECT_EQ(freshGeometryOf(*document), now);
    }
    EXPECT_GT(restyled, 0);
}

TEST(PageRestyle, ChangesThatMakeOrUnmakeBoxesLayThePageOutInFull) {
    struct Case {
        const wchar_t* page;
        const wchar_t* id;
        const wchar_t* style;
    };
    const Case cases[] = {
        {L"<p id=x>a</p><p>b</p>", L"x", L"display:none"},
        {L"<p id=x>a</p><p>b</p>", L"x", L"float:left;width:40px"},
        {L"<p id=x>a</p><p>b</p>", L"x", L"position:absolute;top:3px"},
        {L"<style>[style*=red]{display:none}</style><p id=x>a</p>", L"x", L"color:red"},
        {L"<p id=x>a</p><img width=20 height=10 src=none.png>", L"x", L"font-size:30px"},
        {L"<table><tr><td id=x width=40>a</td></tr></table>", L"x", L"font-size:30px"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        auto document = Document::parse(c.page);
        geometryOf(*document);
        document->getElementById(c.id)->setAttribute(L"style", c.style);
        const Geometry now = geometryOf(*document);
        EXPECT_EQ(engineOf(*document).restyles(), 0);
        EXPECT_EQ(engineOf(*document).fullLayouts(), 2);
        EXPECT_EQ(freshGeometryOf(*document), now);
    }
}

}  // namespace
}  // namespace platform::dom
