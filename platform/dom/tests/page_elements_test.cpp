#include <gtest/gtest.h>

#include "platform/dom/document.h"
#include "platform/dom/page_layout.h"
#include "platform/dom/tests/fixture_pages.h"
#include "platform/dom/tests/page_geometry.h"
#include "platform/dom/window.h"
#include "platform/imaging/canvas.h"

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
    // generated content, attribute and sibling selectors, and ties settled by their order.
    expectSameAsEveryRuleTried(R"(<!DOCTYPE html><html><head><style>
        #Lead { font-size: 22px; color: #a00 } .Note.wide { margin-left: 30px }
        .note { padding: 4px; background: #eef } DIV.box > p { border: 2px solid #0a0 }
        * { line-height: 1.3 } [title] { font-style: italic } a:link { color: green }
        a[href$=".pdf"] { font-weight: bold } p:first-child { margin-top: 0 }
        li + li { color: #555 } h2::before { content: "> " } .box::after { content: "!" }
        span:hover { color: red } td.num { text-align: right } p { margin: 6px 0 }
        p { margin: 9px 0 } [class~=tight] { letter-spacing: 2px }
        @media screen { .screen { font-size: 18px } } @media print { .screen { display: none } }
        </style></head><body>
        <h2 id=lead>Heading</h2>
        <div class="box"><p>First paragraph with <a href="/x">a link</a>.</p>
        <p class="NOTE wide" title="t">Second <a href="doc.pdf">document</a>.</p></div>
        <ul><li>one</li><li>two</li><li class="tight screen">three</li></ul>
        <table><tr><td class=num>12</td><td>text <span>span</span></td></tr></table>
        <p	class="	note	">Tabs between the classes.</p>
        </body></html>)");
}

TEST(PageElements, FixturePagesLookTheSameWithIndexedRules) {
    for (const auto& name : testing::fixturePages()) {
        SCOPED_TRACE(name);
        expectSameAsEveryRuleTried(testing::readFixture(name));
    }
}

}  // namespace
}  // namespace platform::dom
