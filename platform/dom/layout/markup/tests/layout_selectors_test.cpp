#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/dom/document.h"
#include "platform/dom/layout/markup/layout_selectors.h"
#include "platform/dom/style/cascade.h"
#include "platform/dom/window.h"
#include "platform/text/utf.h"

namespace platform::dom {
namespace {

std::wstring current(const std::shared_ptr<Element>& element, std::wstring_view name) {
    return element->currentStyle()->getAttribute(name).value_or(L"<none>");
}

TEST(LayoutSelectors, OnlyWhatTheEngineReadsOtherwiseIsRewritten) {
    EXPECT_EQ(selectorsForLayout("p + q { color: red } /* [a|=b] */"),
              "p + q { color: red } /* [a|=b] */");
    EXPECT_EQ(selectorsForLayout("div [lang|=fr] p, b{x:y}"),
              "div [lang=\"fr\"] p,div [lang^=\"fr-\"] p, b{x:y}");
    EXPECT_EQ(selectorsForLayout("@media screen { p:empty { c: ':empty' } }"),
              "@media screen { p[data-tamrix-empty] { c: ':empty' } }");
    EXPECT_EQ(selectorsForLayout("q:lang(DE){quotes: none}"),
              "q[data-tamrix-lang^=\"de-\"]{quotes: none}");
    EXPECT_EQ(selectorsForLayout("a:empty-ish, b:empty{}"), "a:empty-ish, b[data-tamrix-empty]{}");
}

TEST(PageLayout, TheReadablePageHidesTheBreakAfterItsHeading) {
    std::ifstream file(std::string(TAMRIX_SOURCE_DIR) + "/data/resources/pagestyles/readable.css");
    std::stringstream css;
    css << file.rdbuf();
    ASSERT_FALSE(css.str().empty());
    // The markup a grab makes of a page, in the readable page's style.
    auto document = Document::parse(
        "<!DOCTYPE html><html><head><style>" + css.str() +
        "</style></head><body class=\"tamrix_readable\"><div id=\"readable_container\"><div "
        "id=\"readable\"><h1 class=\"readable_header\" id=h><a href=\"http://example.com/a\">A "
        "heading of the article</a></h1><br id=b1></br><div class=\"readable_content\" "
        "id=c><div class=\"readable_content_item\"><p id=p>First paragraph of the "
        "article.</p></div></div></div></div></body></html>");
    document->parentWindow().resizeTo(1024, 768);
    auto hidden = document->getElementById(L"b1");
    EXPECT_EQ(current(hidden, L"display"), L"none");
    EXPECT_EQ(document->boxOf(*hidden), std::nullopt);
    auto near = [](const std::shared_ptr<Document>& page, const wchar_t* id, Rect chromium) {
        SCOPED_TRACE(platform::text::toUtf8(id));
        auto box = page->boxOf(*page->getElementById(id));
        ASSERT_TRUE(box.has_value());
        EXPECT_NEAR(box->left, chromium.left, 2);
        EXPECT_NEAR(box->top, chromium.top, 2);
        EXPECT_NEAR(box->right, chromium.right, 2);
        EXPECT_NEAR(box->bottom, chromium.bottom, 2);
    };
    // Chromium: heading 224,96.6-800,134.6; content 224,194.9-800,212.9.
    near(document, L"h", {224, 97, 800, 135});
    near(document, L"c", {224, 195, 800, 213});
}

}  // namespace
}  // namespace platform::dom
