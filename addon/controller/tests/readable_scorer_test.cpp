#include <gtest/gtest.h>

#include <filesystem>

#include "addon/controller/dom_helpers.h"
#include "addon/controller/layout_finder.h"
#include "addon/controller/readable_scorer.h"
#include "addon/controller/tests/command_fixtures.h"

using namespace addon;
using namespace command_fixtures;

namespace {

GrabRules shippedRules() {
    GrabRules rules;
    EXPECT_EQ(rules.load(std::filesystem::path(TAMRIX_STAGE_DIR "/data/grab.xml").wstring()), 0);
    return rules;
}

GrabRules rulesOf(std::vector<GrabRow> ranks, std::vector<GrabRow> chars = {}) {
    GrabRules rules;
    rules.tagRanks = std::move(ranks);
    rules.tagChars = std::move(chars);
    return rules;
}

}  // namespace

TEST(ReadableScorer, PicksTheArticleBodyOnEveryFixturePage) {
    const GrabRules rules = shippedRules();
    for (const auto& name : kPages) {
        SCOPED_TRACE(name);
        const auto document = loadPage(name);
        const page::NodePtr chosen = scoreByTags(document->body(), rules);
        ASSERT_NE(chosen, nullptr);
        EXPECT_EQ(chosen, expectedMain(*document)) << chosen->outerHtml().substr(0, 120);
    }
}

TEST(ReadableScorer, ScoresParentsGrandparentsAndOwnDivText) {
    const std::wstring text(300, L'x');
    page::Document document(L"<body><div id=outer><div id=inner><p>" + text +
                            L"</p></div></div></body>");
    const auto rules = rulesOf({{L"P", 100}});
    EXPECT_EQ(scoreByTags(document.body(), rules), document.elementById(L"inner"));
    // Own text of a "DIV" row scores the div itself; a "div" row scores its parent.
    page::Document divs(L"<body><section id=s><div id=d>" + text +
                        L"<p>ignored by the own text</p></div></section></body>");
    EXPECT_EQ(scoreByTags(divs.body(), rulesOf({{L"DIV", 100}})), divs.elementById(L"d"));
    EXPECT_EQ(scoreByTags(divs.body(), rulesOf({{L"div", 100}})), divs.elementById(L"s"));
    // Equal scores: the first to reach it stays ahead; hidden elements do not count.
    page::Document tie(L"<body><div id=a><p>" + text + L"</p></div><div id=b><p>" + text +
                       L"</p></div><div id=h style=\"display:none\"><p>" + text + text +
                       L"</p></div></body>");
    EXPECT_EQ(scoreByTags(tie.body(), rulesOf({{L"P", 100}})), tie.elementById(L"a"));
    EXPECT_EQ(scoreByTags(tie.body(), GrabRules()), nullptr);
}

TEST(ReadableScorer, CleanerRemovesByTagAndLengthAndDropsStyles) {
    page::Document document(
        L"<body><div id=m style=\"color:red\"><nav>f</nav><ul><li>short</li>"
        L"</ul><ul><li>" +
        std::wstring(60, L'y') + L"</li></ul><p style=\"x:y\">t</p></div></body>");
    const auto main = document.elementById(L"m");
    cleanElement(main, rulesOf({}, {{L"NAV", 0}, {L"UL", 50}}));
    EXPECT_EQ(main->outerHtml(),
              L"<div id=\"m\"><ul><li>" + std::wstring(60, L'y') + L"</li></ul><p>t</p></div>");
}

TEST(ReadableScorer, ExtractReadableGivesTheCleanedArticle) {
    const GrabRules rules = shippedRules();
    const std::wstring html =
        extractReadable(readPage("news.html") + L"<script>x()</script>", true, rules);
    EXPECT_EQ(html.rfind(L"<div id=\"article\"", 0), 0u) << html.substr(0, 80);
    EXPECT_EQ(html.find(L"style="), std::wstring::npos);
    EXPECT_EQ(html.find(L"Most read"), std::wstring::npos);
    const std::wstring text = extractReadable(readPage("short.html"), false, rules);
    EXPECT_NE(text.find(L"closed today"), std::wstring::npos);
    EXPECT_EQ(extractReadable(L"<p>tiny</p>", true, GrabRules()), L"");
}

TEST(LayoutFinder, FindsTheMainColumnAndSurvivesZeroSizes) {
    const std::wstring text(400, L'z');
    page::Document document(L"<body><div id=nav>" + text + L"</div><div id=main><div id=story>" +
                            text + L"</div><div id=more>" + text + L"</div></div></body>");
    document.body()->setBox(Rect{0, 0, 1000, 3000});
    document.elementById(L"nav")->setBox(Rect{0, 0, 1000, 240});
    document.elementById(L"main")->setBox(Rect{150, 240, 700, 2000});
    document.elementById(L"story")->setBox(Rect{150, 240, 600, 1500});
    document.elementById(L"more")->setBox(Rect{150, 1740, 700, 500});
    EXPECT_EQ(findMainElement(document.body()), document.elementById(L"story"));

    document.body()->setBox(Rect{0, 0, 0, 0});
    EXPECT_EQ(findMainElement(document.body()), nullptr);
    document.body()->setBox(Rect{0, 0, 1000, 3000});
    document.elementById(L"story")->setBox(Rect{150, 240, 700, 0});
    document.elementById(L"main")->setBox(Rect{150, 240, 0, 0});
    EXPECT_NO_FATAL_FAILURE(findMainElement(document.body()));
}
