#include <gtest/gtest.h>

#include <map>

#include "platform/dom/document.h"
#include "platform/dom/layout/page_layout.h"
#include "platform/dom/layout/tests/page_geometry.h"
#include "platform/dom/tests/fixture_pages.h"
#include "platform/dom/window.h"
#include "platform/imaging/canvas/canvas.h"
#include "platform/imaging/canvas/text_font.h"

namespace platform::dom {
namespace {

// What the layout tells, then the painted page's pixels.
struct Outcome {
    testing::Geometry geometry;
    std::vector<std::uint32_t> pixels;
};

Outcome outcomeOf(const std::string& html, RuleMatching matching) {
    auto document = Document::parse(std::string_view(html));
    document->parentWindow().resizeTo(640, 480);
    document->setLayoutEngine(std::make_unique<PageLayout>(matching));
    Outcome outcome{testing::geometryOf(*document), {}};
    imaging::Canvas canvas(640, 900);
    document->layout().paint(canvas, {0, 0, 640, 900});
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            outcome.pixels.push_back(canvas.pixel(x, y));
    return outcome;
}

void expectSameAsEveryRuleTried(const std::string& html) {
    const Outcome indexed = outcomeOf(html, RuleMatching::indexed);
    const Outcome everyRule = outcomeOf(html, RuleMatching::everyRule);
    EXPECT_EQ(indexed.geometry.content, everyRule.geometry.content);
    EXPECT_TRUE(indexed.geometry == everyRule.geometry) << "the boxes differ";
    EXPECT_TRUE(indexed.pixels == everyRule.pixels) << "the painted pages differ";
}

TEST(PageElements, IndexedRulesGiveWhatTryingEveryRuleGives) {
    // Rules keyed by id, class, tag and nothing, in upper and mixed case, with pseudo-classes,
    // generated content, attribute and sibling selectors, ties settled by their order, and
    // declarations of every kind: shorthands, importance, pictures and custom properties;
    // inherited properties asked for deep down, set on the way and explicitly inherited.
    expectSameAsEveryRuleTried(R"(<!DOCTYPE html><html><head><style>
        #Lead { font-size: 22px; color: #a00 } .Note.wide { margin-left: 30px }
        .note { padding: 4px; background: #eef } DIV.box > p { border: 2px solid #0a0 }
        * { line-height: 1.3 } [title] { font-style: italic } a:link { color: green }
        a[href$=".pdf"] { font-weight: bold } p:first-child { margin-top: 0 }
        li + li { color: #555 } b + i { font-size: 30px } .head + br { display: none } h2::before { content: "> " } .box::after { content: "!" }
        span:hover { color: red } td.num { text-align: right } p { margin: 6px 0 }
        p { margin: 9px 0 } [class~=tight] { letter-spacing: 2px }
        .sh { margin: 3px 5px; border: 2px dashed #333; background: #ffe url(none.png) no-repeat;
              font: italic bold 15px/1.5 serif; list-style: square inside; padding: 2px !important }
        .sh { padding: 9px; border-left: 4px solid red !important; border-left-width: 1px }
        .sh.two { margin: 0; font-size: 11px } #Lead { color: blue !important } h2 { color: red }
        html { --gap: 11px } .sh { --gap: 27px } .var { margin-top: var(--gap); padding-left: var(--gap) }
        @media screen { .screen { font-size: 18px } } @media print { .screen { display: none } }
        .up { text-transform: uppercase; white-space: nowrap; color: #060 } .up b { text-transform: none }
        .up em { font-size: inherit; color: inherit; white-space: inherit } .up u { font-size: 25px }
        </style></head><body>
        <div class=up><p>deep <span><em>inside <b>and <u>under <em>it all</em></u></b> the</em></span>
        transformed words of a line long enough to be kept from wrapping by the white space</p></div>
        <h2 id=lead>Heading</h2>
        <div class="box"><p>First paragraph with <a href="/x">a link</a>.</p>
        <p class="NOTE wide" title="t">Second <a href="doc.pdf">document</a>.</p></div>
        <ul><li>one</li><li>two</li><li class="tight screen">three</li></ul>
        <table><tr><td class=num>12</td><td>text <span>span</span></td></tr></table>
        <p	class="	note	">Tabs between the classes.</p>
        <ul class=sh><li class=var>shorthands</li><li class="sh two">and fights</li></ul>
        <div class=var>the page's gap</div>
        <p class="sh var" style="padding:1px;margin-left:2px !important">inline style too</p>
        <div><b>bold</b> text between <i>italic</i> <span class=head>head</span><br>after
        <span class=head>head</span> text <br>kept<i>not after b</i></div>
        </body></html>)");
}

TEST(PageElements, FixturePagesLookTheSameWithIndexedRules) {
    for (const auto& name : testing::fixturePages()) {
        SCOPED_TRACE(name);
        expectSameAsEveryRuleTried(testing::readFixture(name));
    }
}

// The darkness of the canvas's pixels in `area`, summed.
long long inkIn(const imaging::Canvas& canvas, const Rect& area) {
    long long ink = 0;
    for (int y = std::max(area.top, 0); y < std::min(area.bottom, canvas.height()); ++y)
        for (int x = std::max(area.left, 0); x < std::min(area.right, canvas.width()); ++x)
            ink += 255 - static_cast<int>(canvas.pixel(x, y) & 0xFF);
    return ink;
}

TEST(PageElements, EachNumericFontWeightIsDrawnInTheFaceFontconfigMatches) {
    // DejaVu Sans has an extra-light, a book and a bold face: 100 to 300 take the first, 400
    // and 500 the second, 600 to 900 the bold one, as fontconfig matches them. Each line
    // holds as much ink as the word drawn alone in the face chosen for its weight.
    std::wstring body;
    for (int weight = 100; weight <= 900; weight += 100)
        body += L"<div><span id=w" + std::to_wstring(weight) + L" style='font-weight:" +
                std::to_wstring(weight) + L"'>Hamburgefonstiv</span></div>";
    auto document = Document::parse(
        L"<!DOCTYPE html><body style='margin:0;font:28px \"DejaVu Sans\"'>" + body + L"</body>");
    imaging::Canvas page(400, 400);
    document->layout().paint(page, {0, 0, 400, 400});
    std::map<int, long long> inks;
    for (int weight = 100; weight <= 900; weight += 100) {
        SCOPED_TRACE(weight);
        const auto box = document->boxOf(*document->getElementById(L"w" + std::to_wstring(weight)));
        ASSERT_TRUE(box.has_value());
        inks[weight] = inkIn(page, *box);
        const imaging::TextFont face("DejaVu Sans", 28, weight, false);
        imaging::Canvas alone(400, 60);
        face.draw(alone, "Hamburgefonstiv", 0, 40, 0xFF000000, 1.0);
        const double expected = static_cast<double>(inkIn(alone, {0, 0, 400, 60}));
        EXPECT_NEAR(inks[weight] / expected, 1.0, 0.05);
    }
    EXPECT_LT(inks[300] * 5, inks[400] * 4) << "extra-light, then book";
    EXPECT_LT(inks[500] * 5, inks[600] * 4) << "book, then bold";
    EXPECT_NEAR(static_cast<double>(inks[600]) / inks[900], 1.0, 0.02);
}

TEST(PageElements, TextAlignedToItsStartOrEndFollowsTheDirection) {
    // Where each paragraph's one word stands on a 600 pixels wide page.
    const auto wordLeft = [](const wchar_t* page) {
        auto document = Document::parse(page);
        document->parentWindow().resizeTo(600, 400);
        const auto& word = static_cast<const Text&>(*document->getElementById(L"p")->firstChild());
        const auto rects = document->layout().textRects(word, 0, word.data().size());
        EXPECT_EQ(rects.size(), 1u);
        return rects.empty() ? -1 : rects.front().left;
    };
    EXPECT_GT(wordLeft(L"<!DOCTYPE html><html dir=rtl><body style='margin:0;text-align:start'>"
                       L"<p id=p>\u05e9\u05dc\u05d5\u05dd</p></body></html>"),
              500);
    EXPECT_LT(wordLeft(L"<!DOCTYPE html><html dir=rtl><body style='margin:0;text-align:end'>"
                       L"<p id=p>\u05e9\u05dc\u05d5\u05dd</p></body></html>"),
              100);
    EXPECT_GT(wordLeft(L"<!DOCTYPE html><html dir=rtl><body style='margin:0;text-align:justify'>"
                       L"<p id=p>\u05e9\u05dc\u05d5\u05dd</p></body></html>"),
              500);
    EXPECT_LT(wordLeft(L"<!DOCTYPE html><html><body style='margin:0;text-align:start'>"
                       L"<p id=p>Hello</p></body></html>"),
              100);
    EXPECT_GT(wordLeft(L"<!DOCTYPE html><html><body style='margin:0;text-align:end'>"
                       L"<p id=p>Hello</p></body></html>"),
              500);
}

}  // namespace
}  // namespace platform::dom
