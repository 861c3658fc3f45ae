// Svg drawings written inside a page: sized as Chromium sizes them and drawn.
#include <gtest/gtest.h>

#include "platform/dom/document.h"
#include "platform/dom/layout/tests/page_geometry.h"
#include "platform/dom/window.h"
#include "platform/imaging/canvas/canvas.h"

namespace platform::dom {
namespace {

std::shared_ptr<Document> pageOf(const wchar_t* body) {
    auto document = Document::parse(std::wstring(L"<!DOCTYPE html><html><body style='margin:0'>") +
                                    body + L"</body></html>");
    document->parentWindow().resizeTo(1024, 768);
    return document;
}

TEST(InlineSvg, TakesItsAttributesThenItsViewBoxThenTheDefaultSize) {
    // Chromium's boxes at 1024 px: a viewBox alone fills the width with its shape, a
    // missing side follows the viewBox's shape or is 300 by 150 without one, a width in
    // percent is the parent's; in a button, which is as wide as its content, a drawing of
    // a viewBox alone takes no room.
    auto document = pageOf(
        L"<p id=p>a <svg id=wide viewBox='0 0 24 12'><rect width=24 height=12 /></svg> b</p>"
        L"<svg id=tall height=50 viewBox='0 0 24 12'></svg><div id=d><svg id=bare></svg></div>"
        L"<div style='width:200px'><svg id=narrow width=100></svg>"
        L"<svg id=half width='50%' viewBox='0 0 10 10'></svg><svg id=low height=30></svg></div>"
        L"<div><button id=button><svg id=icon viewBox='0 0 28 28'></svg></button></div>");
    testing::expectExactBoxes(*document, {{L"p", {0, 16, 1024, 568}},
                                          {L"wide", {0, 34, 1024, 546}},
                                          {L"tall", {0, 584, 100, 634}},
                                          {L"bare", {0, 638, 300, 788}},
                                          {L"narrow", {0, 792, 100, 942}},
                                          {L"half", {100, 842, 200, 942}},
                                          {L"low", {0, 946, 300, 976}},
                                          {L"button", {0, 980, 16, 1001}},
                                          {L"icon", {8, 995, 8, 995}}});
}

TEST(InlineSvg, FillsTheBoxAsWideAsItsContentOnceThatBoxIsSized) {
    // A button, a float and an inline block are as wide as their text; then the drawing
    // (a viewBox alone, or a width in percent) takes that width with its shape. Chromium's
    // boxes, to the pixel they round to.
    auto document = pageOf(
        L"<div style='font:16px Arial'><button id=a><span>Sections</span>"
        L"<svg id=av viewBox='0 0 16 16'><rect x=1 y=3 width=14 height=2 /></svg></button>"
        L"<div id=b style='float:left'><span>Menu and more</span> "
        L"<svg id=bv viewBox='0 0 20 10'><rect width=20 height=10 /></svg></div>"
        L"<div style='clear:both'></div><span id=c style='display:inline-block'><span>More"
        L"</span><svg id=cv width='100%' height='100%' viewBox='0 0 28 28'>"
        L"<path d='M0 0h28v28H0z'/></svg></span><p id=d>after</p></div>");
    const std::vector<std::pair<const wchar_t*, Rect>> chromium = {
        {L"a", {117, 0, 184, 75}},   {L"av", {125, 18, 176, 69}}, {L"b", {0, 0, 117, 80}},
        {L"bv", {0, 18, 117, 76}},   {L"c", {0, 80, 336, 439}},   {L"cv", {0, 98, 336, 435}},
        {L"d", {0, 455, 1024, 473}},
    };
    testing::expectBoxesNear(*document, chromium, 2);
}

TEST(InlineSvg, IsDrawnWithWhatItUsesFromElsewhereInThePage) {
    // A sprite's symbol and a gradient defined in a hidden svg, used by id.
    auto document = pageOf(
        L"<div style='display:none'><svg><symbol id=box viewBox='0 0 10 10'>"
        L"<rect width=10 height=10 fill='#00ff00'/></symbol><linearGradient id=blue>"
        L"<stop offset=0 stop-color='#0000ff'/><stop offset=1 stop-color='#0000ff'/>"
        L"</linearGradient></svg></div>"
        L"<svg id=used width=40 height=40><use xlink:href='#box'></use></svg>"
        L"<svg id=painted width=60 height=30 viewBox='0 0 60 30'>"
        L"<rect width=60 height=30 fill='url(#blue)'/></svg>"
        L"<svg id=own viewBox='0 0 20 10' style='width:100px'><clipPath id=c>"
        L"<rect width=10 height=10 /></clipPath><rect width=20 height=10 fill='red' "
        L"clip-path='url(#c)'/></svg>");
    const auto box = [&](const wchar_t* id) {
        return document->boxOf(*document->getElementById(id)).value_or(Rect{});
    };
    ASSERT_EQ(box(L"used").width(), 40);
    ASSERT_EQ(box(L"own").width(), 100);
    ASSERT_EQ(box(L"own").height(), 50);
    imaging::Canvas canvas(1024, 200);
    document->layout().paint(canvas, {0, 0, 1024, 200});
    const auto middle = [&](const wchar_t* id, int dx = 0) {
        const Rect rect = box(id);
        return canvas.pixel((rect.left + rect.right) / 2 + dx, (rect.top + rect.bottom) / 2) &
               0xFFFFFF;
    };
    EXPECT_EQ(middle(L"used"), 0x00FF00u);
    EXPECT_EQ(middle(L"painted"), 0x0000FFu);
    // The clip path spelled in mixed case is the drawing's own: the left half is red, the
    // right half clipped away.
    EXPECT_EQ(middle(L"own", -25), 0xFF0000u);
    EXPECT_EQ(middle(L"own", 25), 0xFFFFFFu);
}

}  // namespace
}  // namespace platform::dom
