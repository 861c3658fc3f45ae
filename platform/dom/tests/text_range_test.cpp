#include <gtest/gtest.h>

#include "platform/dom/document.h"
#include "platform/dom/text_range.h"
#include "platform/dom/window.h"

namespace platform::dom {
namespace {

class TextRanges : public ::testing::Test {
  protected:
    std::shared_ptr<Document> document = Document::parse(
        L"<body style='margin:0'><p id=p>Hello <b>bold</b> world</p><div id=d>second line</div>"
        L"<script>var needle;</script></body>");
    std::shared_ptr<Element> p = document->getElementById(L"p");
    std::shared_ptr<Element> d = document->getElementById(L"d");
};

TEST_F(TextRanges, ElementRangesReadAsTextAndMarkup) {
    auto range = p->createTextRange();
    EXPECT_EQ(range->text(), L"Hello bold world");
    EXPECT_EQ(range->htmlText(), L"Hello <B>bold</B> world");
    EXPECT_EQ(range->parentElement(), p);
    EXPECT_FALSE(range->isCollapsed());

    ASSERT_TRUE(range->findText(L"BOLD w"));
    EXPECT_EQ(range->text(), L"bold w");
    EXPECT_EQ(range->htmlText(), L"<B>bold</B> w");
    EXPECT_EQ(range->parentElement(), p);
    // One line, from where "bold" starts on the paragraph's line to inside "world".
    auto rects = range->getClientRects();
    ASSERT_EQ(rects.size(), 1u);
    const Rect bold = *p->children().front()->getBoundingClientRect();
    const Rect paragraph = *p->getBoundingClientRect();
    EXPECT_EQ(rects[0].left, bold.left);
    EXPECT_GT(rects[0].right, bold.right);
    EXPECT_LT(rects[0].right, paragraph.right);
    EXPECT_GE(rects[0].top, paragraph.top);
    EXPECT_LE(rects[0].bottom, paragraph.bottom + 1);  // glyph boxes round to whole pixels

    EXPECT_FALSE(range->findText(L"second"));  // outside the range: unchanged
    EXPECT_EQ(range->text(), L"bold w");
    auto body = document->body()->createTextRange();
    EXPECT_FALSE(body->findText(L"needle"));  // scripts are not searched
}

TEST_F(TextRanges, RangesAcrossBlocksKeepPartialElements) {
    auto hello = p->lastChild();  // " world"
    auto second = d->firstChild();
    TextRange range(document, {hello, 1}, {second, 6});
    EXPECT_EQ(range.htmlText(), L"<P id=\"p\">world</P><DIV id=\"d\">second</DIV>");
    EXPECT_EQ(range.text(), L"world\r\nsecond");
    // One rectangle on each block's line: "world" after "bold", "second" at the start.
    auto rects = range.getClientRects();
    ASSERT_EQ(rects.size(), 2u);
    const Rect bold = *p->children().front()->getBoundingClientRect();
    const Rect block = *d->getBoundingClientRect();
    EXPECT_GT(rects[0].left, bold.right);
    EXPECT_LT(rects[0].bottom, block.top);
    EXPECT_EQ(rects[1].left, 0);
    EXPECT_GE(rects[1].top, block.top);
    EXPECT_LT(rects[1].right, block.right);
    EXPECT_EQ(range.getBoundingClientRect(),
              (Rect{0, rects[0].top, rects[0].right, rects[1].bottom}));
    document->parentWindow().resizeTo(100, 30);
    const int top = range.getClientRects().at(0).top;
    document->parentWindow().scrollTo(0, 10);
    EXPECT_EQ(range.getClientRects().at(0).top, top - 10);  // follows the scroll position
}

TEST_F(TextRanges, TheSelectionHandsOutNewRangeObjects) {
    Selection& selection = document->selection();
    EXPECT_EQ(selection.type(), L"None");
    EXPECT_EQ(selection.createRange()->text(), L"");
    auto range = d->createTextRange();
    ASSERT_TRUE(range->findText(L"line"));
    range->select();
    EXPECT_EQ(selection.type(), L"Text");
    auto first = selection.createRange();
    auto second = selection.createRange();
    EXPECT_NE(first, second);
    EXPECT_EQ(first->text(), L"line");
    EXPECT_EQ(second->htmlText(), L"line");
    selection.empty();
    EXPECT_EQ(selection.type(), L"None");
}

TEST_F(TextRanges, RangesOverRemovedNodesReadEmpty) {
    auto range = p->createTextRange();
    p->removeNode(true);
    EXPECT_EQ(range->text(), L"");
    EXPECT_EQ(range->htmlText(), L"");
    EXPECT_TRUE(range->getClientRects().empty());
    EXPECT_TRUE(range->isCollapsed());
}

}  // namespace
}  // namespace platform::dom
