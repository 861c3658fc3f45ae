// Pages lay out as a browser with scripts disabled lays them out: no script runs here, so what
// a page keeps for readers without scripts is what they see.
#include <gtest/gtest.h>

#include "platform/dom/document.h"
#include "platform/dom/element.h"
#include "platform/dom/layout_engine.h"
#include "platform/dom/picture_source.h"
#include "platform/dom/style/cascade.h"
#include "platform/dom/window.h"
#include "platform/text/utf.h"

using namespace platform::dom;

namespace {

std::shared_ptr<Document> laidOut(const std::wstring& markup) {
    auto document = Document::parse(markup, L"http://example.org/page.html");
    document->parentWindow().resizeTo(1024, 768);
    return document;
}

Rect boxOf(const Document& document, const wchar_t* id) {
    const auto element = document.getElementById(id);
    const auto box = element ? document.boxOf(*element) : std::nullopt;
    EXPECT_TRUE(box.has_value()) << "no box for #" << platform::text::toUtf8(id);
    return box.value_or(Rect{});
}

std::wstring displayOf(const Document& document, const wchar_t* id) {
    return document.getElementById(id)->currentStyle()->getAttribute(L"display").value_or(L"");
}

TEST(ScriptlessPage, NoscriptContentTakesItsPlaceInTheFlow) {
    auto document = laidOut(
        L"<!DOCTYPE html><html><head><noscript><img id=head-picture width=40 height=20>"
        L"</noscript></head><body style='margin:0'><p id=before style='margin:0'>before</p>"
        L"<noscript id=note><p id=fallback style='margin:0'>Scripts are off</p></noscript>"
        L"<p id=after style='margin:0'>after</p></body></html>");
    EXPECT_EQ(displayOf(*document, L"note"), L"inline");
    const Rect fallback = boxOf(*document, L"fallback");
    EXPECT_EQ(fallback.top, boxOf(*document, L"before").bottom);
    EXPECT_GT(fallback.bottom, fallback.top);
    EXPECT_EQ(boxOf(*document, L"after").top, fallback.bottom);
    // The picture of a noscript in the head starts the body and is laid out there.
    const Rect picture = boxOf(*document, L"head-picture");
    EXPECT_EQ(picture.right - picture.left, 40);
    EXPECT_EQ(picture.bottom - picture.top, 20);
    EXPECT_LT(picture.top, boxOf(*document, L"before").top);
    // Its words are the page's: they are found where they stand.
    const auto& words = *document->getElementById(L"fallback")->firstChild();
    const auto lines = document->layout().textRects(static_cast<const Text&>(words), 0, 7);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].top, fallback.top);
}

TEST(ScriptlessPage, ACanvasShowsItsFallbackContent) {
    auto document = laidOut(
        L"<!DOCTYPE html><html><body style='margin:0'><div id=drawn><canvas id=chart width=600 "
        L"height=400><span id=words>A chart of rainfall</span></canvas></div><div id=empty>"
        L"<canvas id=blank></canvas></div><p id=after style='margin:0'>after</p></body></html>");
    EXPECT_EQ(displayOf(*document, L"chart"), L"inline");
    const Rect drawn = boxOf(*document, L"drawn");
    const Rect words = boxOf(*document, L"words");
    EXPECT_EQ(drawn.bottom - drawn.top, words.bottom - words.top);
    EXPECT_LT(words.right - words.left, 600);
    // An empty canvas takes no room: nothing will draw on it.
    const Rect empty = boxOf(*document, L"empty");
    EXPECT_EQ(empty.bottom, empty.top);
    EXPECT_EQ(boxOf(*document, L"after").top, drawn.bottom);
}

TEST(ScriptlessPage, ALazyPictureWithItsOwnNoscriptFallbackIsShownOnce) {
    auto sourceOf = [](const std::wstring& body) {
        auto document = Document::parse(L"<body>" + body, L"http://example.org/page.html");
        return pictureSource(*document->getElementById(L"p"));
    };
    // The fallback beside the image shows the picture; the image keeps its placeholder.
    EXPECT_EQ(sourceOf(L"<img id=p src=/spacer.gif data-src=/real.jpg> <noscript><img "
                       L"src=/real.jpg></noscript>"),
              L"/spacer.gif");
    EXPECT_EQ(sourceOf(L"<noscript><img src=/real.jpg></noscript><img id=p data-src=/real.jpg>"),
              L"");
    EXPECT_EQ(sourceOf(L"<picture><source data-srcset='/wide.jpg 1x'><img id=p "
                       L"data-src=/real.jpg><noscript><img src=/real.jpg></noscript></picture>"),
              L"");
    // Without one, or with a noscript that holds no picture, the lazy attributes fill in.
    EXPECT_EQ(sourceOf(L"<img id=p src=/spacer.gif data-src=/real.jpg>"), L"/real.jpg");
    EXPECT_EQ(sourceOf(L"<img id=p data-src=/real.jpg><noscript>Turn scripts on</noscript>"),
              L"/real.jpg");
    EXPECT_EQ(sourceOf(L"<img id=p data-src=/real.jpg><span></span><noscript><img "
                       L"src=/real.jpg></noscript>"),
              L"/real.jpg");
}

}  // namespace
