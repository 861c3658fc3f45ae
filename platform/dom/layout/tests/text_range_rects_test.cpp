#include <gtest/gtest.h>

#include <string>

#include "platform/dom/document.h"
#include "platform/dom/layout_engine.h"
#include "platform/dom/text_range.h"
#include "platform/dom/window.h"

namespace platform::dom {
namespace {

std::vector<Rect> rangeRects(const std::shared_ptr<Document>& document, const wchar_t* id) {
    auto range = document->selection().createRange();
    range->moveToElementText(document->getElementById(id));
    return range->getClientRects();
}

std::string repeated(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

// Text that the layout makes no words of (hidden blocks, the head's blanks) lies between the
// words of the page; the words after it still belong to their own text, even when the
// hidden text holds the same words.
TEST(TextRangeRects, WordsAfterLongTextWithoutWordsBelongToTheirOwnText) {
    const std::string markup =
        "<html><head>" + repeated("\n        <meta name=x content=y>", 40) +
        "</head><body style='margin:0;font:16px Arial'><div id=hidden style='display:none'>" +
        repeated("Cars and more ", 40) +
        "</div><ul style='margin:0'><li id=cars>Cars</li><li id=more>Cars and more</li></ul>"
        "</body></html>";
    auto document = Document::parse(std::string_view(markup));
    for (const wchar_t* id : {L"cars", L"more"}) {
        SCOPED_TRACE(std::wstring(id));
        const auto box = document->boxOf(*document->getElementById(id));
        ASSERT_TRUE(box.has_value());
        const auto rects = rangeRects(document, id);
        ASSERT_EQ(rects.size(), 1u);
        EXPECT_EQ(rects.front().top, box->top);
        EXPECT_EQ(rects.front().bottom, box->bottom);
        EXPECT_GE(rects.front().left, box->left);
        EXPECT_GT(rects.front().width(), 20);
    }
    EXPECT_TRUE(rangeRects(document, L"hidden").empty());
}

// Words the engine splits over adjacent text nodes (a script put them side by side) are
// measured in each node.
TEST(TextRangeRects, AWordOverTwoTextNodesIsMeasuredInBoth) {
    auto document = Document::parse(
        L"<body style='margin:0;font:20px Arial'><p id=p style='margin:0'>abc</p></body>");
    auto paragraph = document->getElementById(L"p");
    paragraph->appendChild(document->createTextNode(L"defgh ijk"));
    const auto& first = static_cast<const Text&>(*paragraph->firstChild());
    const auto& second = static_cast<const Text&>(*paragraph->lastChild());
    const auto& layout = document->layout();
    const auto head = layout.textRects(first, 0, 3);
    const auto tail = layout.textRects(second, 0, 5);
    ASSERT_EQ(head.size(), 1u);
    ASSERT_EQ(tail.size(), 1u);
    EXPECT_EQ(head.front().left, 0);
    EXPECT_NEAR(tail.front().left, head.front().right, 1);
    EXPECT_EQ(head.front().top, tail.front().top);
}

}  // namespace
}  // namespace platform::dom
