#include <gtest/gtest.h>

#include "platform/dom/document.h"
#include "platform/dom/element.h"
#include "platform/dom/layout/page_layout.h"
#include "platform/dom/window.h"
#include "platform/imaging/canvas/canvas.h"

namespace platform::dom {
namespace {

const PageLayout& engineOf(const Document& document) {
    return dynamic_cast<const PageLayout&>(document.layout());
}

imaging::Canvas painted(const Document& document, Rect area) {
    imaging::Canvas canvas(area.width(), area.height());
    document.layout().paint(canvas, area);
    return canvas;
}

// How many pixels of `part` differ from the same pixels of `whole`, `part` standing at
// (0, top) of it.
int differingPixels(const imaging::Canvas& whole, const imaging::Canvas& part, int top) {
    int differing = 0;
    for (int y = 0; y < part.height() && top + y < whole.height(); ++y)
        for (int x = 0; x < part.width(); ++x)
            if (part.pixel(x, y) != whole.pixel(x, top + y))
                ++differing;
    return differing;
}

// Boxes that paint away from where their parents stand: floats, positioned boxes placed
// by an ancestor further up, negative margins, table cells (painted from the table's
// origin), list markers outside their items and inline backgrounds. A fixed box is drawn
// on the window, at the same place of every area painted: `kFixedBox` adds one.
constexpr const wchar_t* kVariedPage =
    LR"(<!DOCTYPE html><html><head><style>
body { margin: 8px; font: 15px/1.4 "DejaVu Sans" }
.section { position: relative; margin: 0 0 40px }
.pinned { position: absolute; top: 420px; left: 300px; width: 200px; height: 60px;
          background: #c04040 }
.float { float: right; width: 180px; height: 300px; background: #4080c0 }
.pull { margin-top: -120px; background: #e0e0a0 }
td { background: #80c080; padding: 6px } tr.odd td { background: #c0a0e0 }
ul { list-style: disc outside } mark { background: #ffd040 }
.fixed { position: fixed; top: 10px; right: 10px; width: 50px; height: 50px; background: #202020 }
</style></head><body>
<div class=section><div><div><div class=pinned></div></div></div>
<div class=float></div>
<p>First paragraph with <mark>marked words</mark> and enough text to run over a few lines
beside the floated box on the right of the section, then below it.</p>
<p>Second paragraph, also long enough to wrap over more than one line of the page.</p></div>
<div class=section><p style="height:200px">A tall paragraph.</p><p class=pull>Pulled up.</p></div>
<table><tbody>
<tr><td>one</td><td>two</td></tr><tr class=odd><td>three</td><td>four</td></tr>
<tr><td>five</td><td style="height:300px">six, a tall cell</td></tr>
<tr class=odd><td>seven</td><td>eight</td></tr></tbody></table>
<ul><li>first item</li><li>second item</li><li>third item</li></ul>
<div style="height:600px"></div><p>The last line of the page.</p>
</body></html>)";

constexpr const wchar_t* kFixedBox =
    L"<div style='margin-top:3000px'><p>Far down.</p><div class=fixed></div></div>";

TEST(PaintBounds, APageIsPaintedInStripsExactlyAsInOnePiece) {
    auto document = Document::parse(std::wstring(kVariedPage));
    document->parentWindow().resizeTo(800, 600);
    const int height = document->layout().contentSize().height;
    ASSERT_GT(height, 1400);
    const imaging::Canvas whole = painted(*document, {0, 0, 800, height});
    for (const int strip : {37, 97, 600}) {
        for (int top = 0; top < height; top += strip) {
            const imaging::Canvas part = painted(*document, {0, top, 800, top + strip});
            ASSERT_EQ(differingPixels(whole, part, top), 0)
                << "strip of " << strip << " px at " << top;
        }
    }
}

TEST(PaintBounds, AFixedBoxFarDownThePageIsPaintedOnEveryArea) {
    std::wstring page = kVariedPage;
    page.insert(page.find(L"</body>"), kFixedBox);
    auto document = Document::parse(page);
    document->parentWindow().resizeTo(800, 600);
    for (const int top : {0, 700, 1200}) {
        const imaging::Canvas part = painted(*document, {0, top, 800, top + 100});
        EXPECT_EQ(part.pixel(800 - 10 - 25, 10 + 25) & 0xFFFFFF, 0x202020u) << "at " << top;
    }
}

TEST(PaintBounds, AnOverlayMovedWithoutALayoutIsPaintedWhereAFreshLayoutPaintsIt) {
    auto document = Document::parse(std::wstring(kVariedPage));
    document->parentWindow().resizeTo(800, 600);
    auto overlay = document->createElement(L"DIV");
    const auto place = [&](int left, int top, int width, int height) {
        overlay->setAttribute(L"style", L"position:absolute;left:" + std::to_wstring(left) +
                                            L"px;top:" + std::to_wstring(top) + L"px;width:" +
                                            std::to_wstring(width) + L"px;height:" +
                                            std::to_wstring(height) +
                                            L"px;border:#ff9900 3px solid;background-color:#24c136;"
                                            L"filter:alpha(opacity=50);z-index:2147483647");
    };
    place(20, 30, 200, 80);
    document->body()->insertBefore(overlay, document->body()->firstChild());
    const Rect area{0, 0, 800, 1400};
    painted(*document, area);
    const int layouts = engineOf(*document).fullLayouts();

    // Far down the page, where nothing was painted near it before, and larger.
    place(350, 1100, 300, 150);
    const imaging::Canvas moved = painted(*document, area);
    EXPECT_EQ(engineOf(*document).fullLayouts(), layouts);

    document->setLayoutEngine(std::make_unique<PageLayout>());
    const imaging::Canvas fresh = painted(*document, area);
    EXPECT_EQ(differingPixels(fresh, moved, 0), 0);
    EXPECT_NE(moved.pixel(360, 1110), 0xFFFFFFFFu);  // the overlay is there

    // A later change of the page's own styles renders the page again: the overlay stays.
    document->getElementsByTagName(L"P")[1]->setAttribute(L"style", L"color:#800000");
    const imaging::Canvas restyled = painted(*document, area);
    document->setLayoutEngine(std::make_unique<PageLayout>());
    EXPECT_EQ(differingPixels(painted(*document, area), restyled, 0), 0);
}

// The areas are worked out for the first painting after each render: a restyle in place
// that moves the page's words far from where they were painted before is painted where a
// fresh layout paints them, whether or not the page was painted in between.
TEST(PaintBounds, ARestyledPageIsPaintedWhereAFreshLayoutPaintsIt) {
    for (const bool paintedBefore : {true, false}) {
        auto document = Document::parse(std::wstring(kVariedPage));
        document->parentWindow().resizeTo(800, 600);
        const Rect area{0, 1700, 800, 2000};  // the last line, moved down by the restyle
        if (paintedBefore)
            painted(*document, area);
        else
            document->layout();
        const int restyles = engineOf(*document).restyles();
        for (const auto& paragraph : document->getElementsByTagName(L"P"))
            paragraph->setAttribute(L"style", L"font-size:40px");
        const imaging::Canvas restyled = painted(*document, area);
        EXPECT_EQ(engineOf(*document).restyles(), restyles + 1);

        document->setLayoutEngine(std::make_unique<PageLayout>());
        const imaging::Canvas fresh = painted(*document, area);
        EXPECT_GT(differingPixels(fresh, imaging::Canvas(area.width(), area.height()), 0), 0);
        EXPECT_EQ(differingPixels(fresh, restyled, 0), 0) << "painted before: " << paintedBefore;
    }
}

}  // namespace
}  // namespace platform::dom
