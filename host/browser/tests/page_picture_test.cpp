#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/browser/page_picture.h"
#include "platform/dom/window.h"

namespace dom = platform::dom;
using host::browser::PagePicture;

namespace {

// A tall page of coloured bands with text, so every scroll position shows something else.
std::shared_ptr<dom::Document> bandedPage() {
    std::wstring markup = L"<body style='margin:0'>";
    const wchar_t* colours[] = {L"#c03030", L"#30a040", L"#3050c0", L"#e0c020", L"#a040a0"};
    for (int i = 0; i < 60; ++i) {
        markup += L"<div style='height:37px;background:" + std::wstring(colours[i % 5]) +
                  L"'>Band " + std::to_wstring(i) + L"</div>";
    }
    auto page = dom::Document::parse(std::wstring_view(markup + L"</body>"));
    page->parentWindow().resizeTo(300, 200);
    return page;
}

bool samePixels(cairo_surface_t* a, cairo_surface_t* b) {
    const int height = cairo_image_surface_get_height(a);
    const int rowBytes = cairo_image_surface_get_width(a) * 4;
    if (height != cairo_image_surface_get_height(b) ||
        rowBytes != cairo_image_surface_get_width(b) * 4) {
        return false;
    }
    for (int y = 0; y < height; ++y) {
        const unsigned char* rowA =
            cairo_image_surface_get_data(a) + y * cairo_image_surface_get_stride(a);
        const unsigned char* rowB =
            cairo_image_surface_get_data(b) + y * cairo_image_surface_get_stride(b);
        if (std::memcmp(rowA, rowB, rowBytes) != 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

TEST(PagePicture, AScrollPaintsOnlyTheNewStripAndMatchesAFullPainting) {
    auto page = bandedPage();
    PagePicture shown;
    ASSERT_NE(shown.update(*page), nullptr);
    EXPECT_EQ(shown.paintedPixels(), 300 * 200);
    EXPECT_FALSE(shown.stale(*page));
    shown.update(*page);
    EXPECT_EQ(shown.paintedPixels(), 0);

    for (const int to : {55, 20, 230, 229, 600}) {  // down, up, by more than a view
        page->parentWindow().scrollTo(0, to);
        EXPECT_TRUE(shown.stale(*page));
        cairo_surface_t* moved = shown.update(*page);
        PagePicture fresh;
        EXPECT_TRUE(samePixels(moved, fresh.update(*page))) << "scrolled to " << to;
    }
    page->parentWindow().scrollTo(0, 610);
    shown.update(*page);
    EXPECT_EQ(shown.paintedPixels(), 300 * 10);
}

TEST(PagePicture, AChangedPageOrViewIsPaintedAgainInFull) {
    auto page = bandedPage();
    PagePicture shown;
    shown.update(*page);
    page->getElementsByTagName(L"DIV")[1]->setAttribute(L"style", L"height:37px;background:#000");
    EXPECT_TRUE(shown.stale(*page));
    cairo_surface_t* changed = shown.update(*page);
    EXPECT_EQ(shown.paintedPixels(), 300 * 200);
    // The band now black: a pixel near its left edge, below the first band.
    const unsigned char* pixel = cairo_image_surface_get_data(changed) +
                                 45 * cairo_image_surface_get_stride(changed) + 290 * 4;
    EXPECT_EQ(pixel[0] + pixel[1] + pixel[2], 0);

    page->parentWindow().resizeTo(250, 120);
    cairo_surface_t* smaller = shown.update(*page);
    EXPECT_EQ(cairo_image_surface_get_width(smaller), 250);
    EXPECT_EQ(cairo_image_surface_get_height(smaller), 120);
}
