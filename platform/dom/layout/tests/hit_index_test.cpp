#include <gtest/gtest.h>

#include "platform/dom/document.h"
#include "platform/dom/layout/hit_index.h"
#include "platform/dom/style/inline_style.h"
#include "platform/dom/window.h"

namespace platform::dom {
namespace {

using Items = std::vector<std::uint32_t>;

TEST(HitIndex, FindsEveryRectangleThatHoldsThePointAcrossBands) {
    HitIndex index;
    index.add(0, {{0, 0, 1000, 100000}});                  // too tall to file: kept apart
    index.add(1, {{10, 60, 50, 70}});                      // crosses the first band boundary
    index.add(2, {{0, 200, 20, 210}, {0, 300, 20, 310}});  // two lines
    index.add(3, {{-50, -40, 5, 5}});                      // starts above the page
    index.add(4, {{5, 5, 4, 6}});                          // inverted: holds nothing
    EXPECT_EQ(index.itemsAt({20, 65}), (Items{0, 1}));
    EXPECT_EQ(index.itemsAt({50, 70}), (Items{0, 1}));  // edges are inclusive
    EXPECT_EQ(index.itemsAt({51, 70}), (Items{0}));
    EXPECT_EQ(index.itemsAt({10, 305}), (Items{0, 2}));
    EXPECT_EQ(index.itemsAt({10, 250}), (Items{0}));
    EXPECT_EQ(index.itemsAt({0, 0}), (Items{0, 3}));
    EXPECT_EQ(index.itemsAt({5, 5}), (Items{0, 3}));
    EXPECT_EQ(index.itemsAt({2000, 99999}), (Items{}));
    index.clear();
    EXPECT_EQ(index.itemsAt({20, 65}), (Items{}));
}

TEST(HitIndex, OneItemWithLinesInOneBandIsListedOnce) {
    HitIndex index;
    index.add(7, {{0, 0, 100, 20}, {0, 10, 100, 30}});
    EXPECT_EQ(index.itemsAt({50, 15}), (Items{7}));
}

// The document's index must follow everything that moves a box after it was built.
TEST(HitIndex, ElementFromPointFollowsBoxChanges) {
    auto document = Document::parse(
        LR"(<body style="margin:0">
        <div id=scroller style="height:100px;overflow:auto">
          <div id=first style="height:80px">a</div><div id=second style="height:80px">b</div>
        </div>
        <div id=tall style="height:9000px">t</div><div id=last style="height:50px">z</div>
        </body>)");
    document->parentWindow().resizeTo(800, 600);
    EXPECT_EQ(document->elementFromPoint(10, 90)->id(), L"second");
    document->getElementById(L"scroller")->setScrollTop(40);
    EXPECT_EQ(document->elementFromPoint(10, 50)->id(), L"second");
    EXPECT_EQ(document->elementFromPoint(10, 10)->id(), L"first");

    auto last = document->getElementById(L"last");
    document->setExplicitBox(last, {300, 20, 400, 40});
    EXPECT_EQ(document->elementFromPoint(350, 30)->id(), L"last");
    document->clearExplicitBox(*last);
    EXPECT_EQ(document->elementFromPoint(350, 30)->id(), L"first");

    document->parentWindow().scrollTo(0, 8550);  // the end of the page
    ASSERT_EQ(document->parentWindow().scrollPosition().y, 8550);
    EXPECT_EQ(document->elementFromPoint(10, 580)->id(), L"last");  // 9130
    document->getElementById(L"tall")->style().setAttribute(L"height", L"9100px");
    EXPECT_EQ(document->elementFromPoint(10, 580)->id(), L"tall");
}

}  // namespace
}  // namespace platform::dom
