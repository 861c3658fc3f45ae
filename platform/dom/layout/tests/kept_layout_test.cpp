// The page laid out before the last full layout is taken back when the tree is put back
// as it was, as an undo does, instead of being laid out again.
#include <gtest/gtest.h>

#include "platform/dom/document.h"
#include "platform/dom/layout/page_layout.h"
#include "platform/dom/text_range.h"
#include "platform/dom/window.h"

namespace platform::dom {
namespace {

const PageLayout& engineOf(const Document& document) {
    return dynamic_cast<const PageLayout&>(document.layout());
}

std::vector<std::optional<Rect>> allBoxes(const Document& document) {
    std::vector<std::optional<Rect>> boxes;
    for (const auto& element : *document.all())
        boxes.push_back(document.boxOf(*element));
    return boxes;
}

std::vector<Rect> wordRects(const Document& document, const wchar_t* id, const wchar_t* words) {
    auto range = document.selection().createRange();
    range->moveToElementText(document.getElementById(id));
    EXPECT_TRUE(range->findText(words));
    return range->getClientRects();
}

// A body swapped for another and back, as the readable page commands and their undo do.
TEST(KeptLayout, PuttingTheBodyBackTakesItsLayoutBack) {
    auto document = Document::parse(
        L"<!DOCTYPE html><html><head><style>p{margin:10px}</style></head><body>"
        L"<p id=one>The first paragraph of the page, long enough to break into lines "
        L"somewhere in a narrow column of text.</p><p id=two style='width:100px'>Second</p>"
        L"</body></html>");
    const auto before = allBoxes(*document);
    const auto words = wordRects(*document, L"one", L"narrow column");
    ASSERT_FALSE(words.empty());
    const int layouts = engineOf(*document).fullLayouts();

    const auto page = document->body();
    auto readable = page->cloneElement(false);
    readable->setInnerHTML(L"<h1>Readable</h1><p>Only this</p>");
    page->replaceNode(readable);
    EXPECT_NE(allBoxes(*document), before);
    EXPECT_EQ(engineOf(*document).fullLayouts(), layouts + 1);

    readable->replaceNode(page);
    EXPECT_EQ(allBoxes(*document), before);
    EXPECT_EQ(wordRects(*document, L"one", L"narrow column"), words);
    EXPECT_EQ(engineOf(*document).fullLayouts(), layouts + 1);
    EXPECT_EQ(engineOf(*document).keptLayoutsTaken(), 1);

    // And the readable body again, as a redo shows it.
    page->replaceNode(readable);
    EXPECT_EQ(engineOf(*document).fullLayouts(), layouts + 1);
    EXPECT_EQ(engineOf(*document).keptLayoutsTaken(), 2);
    EXPECT_TRUE(document->boxOf(*readable->children().front()));
}

TEST(KeptLayout, ATreeThatIsNotQuiteAsItWasIsLaidOutAgain) {
    auto document = Document::parse(
        L"<!DOCTYPE html><html><body><p id=one>One</p><p id=two>Two</p></body></html>");
    document->layout();
    const auto one = document->getElementById(L"one");
    one->setAttribute(L"title", L"changed");
    document->layout();
    const int layouts = engineOf(*document).fullLayouts();
    // Not the markup laid out before: the attribute stays changed, the text differs.
    one->removeAttribute(L"title");
    static_cast<Text&>(*one->firstChild()).setData(L"Uno");
    document->layout();
    EXPECT_EQ(engineOf(*document).keptLayoutsTaken(), 0);
    EXPECT_EQ(engineOf(*document).fullLayouts(), layouts + 1);
    // Another viewport is another layout.
    static_cast<Text&>(*one->firstChild()).setData(L"One");
    document->parentWindow().resizeTo(500, 400);
    document->layout();
    EXPECT_EQ(engineOf(*document).keptLayoutsTaken(), 0);
}

}  // namespace
}  // namespace platform::dom
