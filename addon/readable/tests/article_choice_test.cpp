#include <gtest/gtest.h>

#include <filesystem>

#include "addon/page/tests/page_fixtures.h"
#include "addon/readable/layout_finder.h"
#include "addon/readable/main_element.h"
#include "addon/readable/readable_scorer.h"
#include "addon/readable/tests/readable_fixtures.h"
#include "testing/text_match/word_overlap.h"

using namespace addon;
using namespace page_fixtures;
using testing_text_match::wordOverlap;

namespace {

// The fixture pages but one: on "long_comments_styled" the comment thread holds more prose
// than the short article, and neither finder keeps to the article (bench/scorer measures
// it with the others).
const std::vector<std::string> kArticlePages = {
    "news_unstyled",   "news_styled", "table_layout", "html5_styled",  "br_paragraphs", "live_blog",
    "magazine_styled", "mega_menu",   "blog_styled",  "press_release", "wrapped_styled"};

// The article's own text: the element the page's author marked with "data-article".
std::wstring articleText(const dom::Document& document) {
    for (const auto& element : *document.all()) {
        if (element->hasAttribute(L"data-article")) {
            return element->innerText();
        }
    }
    return L"";
}

// Prose the tag scorer likes, and more of it than the layout finder's block holds.
std::wstring paragraphs(int count) {
    std::wstring html;
    for (int i = 0; i < count; ++i) {
        html += L"<P>" + std::wstring(220, static_cast<wchar_t>(L'a' + i % 20)) + L"</P>";
    }
    return html;
}

}  // namespace

TEST(ArticleChoice, KeepsTheArticleTextOfEveryFixturePage) {
    const GrabRules rules = shippedRules();
    for (const auto& name : kArticlePages) {
        SCOPED_TRACE(name);
        const auto document = parsePage(readArticle(name + ".html"),
                                        L"http://news.test/" + platform::text::fromUtf8(name));
        const std::wstring expected = articleText(*document);
        ASSERT_FALSE(expected.empty());
        const ElementPtr chosen = findArticleElement(document->body(), rules);
        ASSERT_NE(chosen, nullptr);
        const auto overlap = wordOverlap(chosen->innerText(), expected);
        EXPECT_GE(overlap.f1, 0.85) << "precision " << overlap.precision << ", recall "
                                    << overlap.recall << ": " << chosen->outerHTML().substr(0, 160);
    }
}

TEST(ArticleChoice, KeepsTheLayoutColumnUnlessItHoldsFarLessTextThanTheScorersBlock) {
    const GrabRules rules = shippedRules();
    // A page laid out in columns: the layout finder's column holds the article, its heading
    // and its two parts; the tag scorer picks the first part.
    const auto columns = parsePage(
        L"<BODY><DIV id=nav>menu</DIV><DIV id=column><H1>Heading</H1>"
        L"<DIV id=one>" +
        paragraphs(3) + L"</DIV><DIV id=two>" + paragraphs(3) + L"</DIV></DIV><DIV id=side>" +
        paragraphs(1) + L"</DIV></BODY>");
    const auto box = [](const dom::Document& document, const wchar_t* id, Rect rect) {
        setBox(document.getElementById(id), rect);
    };
    setBox(columns->body(), {0, 0, 1000, 3000});
    box(*columns, L"nav", {0, 0, 1000, 100});
    box(*columns, L"column", {0, 100, 650, 2800});
    box(*columns, L"one", {0, 160, 650, 1300});
    box(*columns, L"two", {0, 1460, 650, 1300});
    box(*columns, L"side", {700, 100, 300, 400});
    const ElementPtr column = columns->getElementById(L"column");
    ASSERT_EQ(findMainElement(columns->body()), column);
    EXPECT_EQ(scoreByTags(columns->body(), rules), columns->getElementById(L"one"));
    EXPECT_EQ(findArticleElement(columns->body(), rules), column);
    // The same column with the article and a shorter comment thread below it: the
    // scorer's article block holds most of the column's prose and is taken.
    const auto comments =
        parsePage(L"<BODY><DIV id=column><DIV id=story>" + paragraphs(6) +
                  L"</DIV><DIV id=comments>" + paragraphs(2) + L"</DIV></DIV></BODY>");
    setBox(comments->body(), {0, 0, 1000, 3000});
    box(*comments, L"column", {0, 100, 650, 2800});
    box(*comments, L"story", {0, 100, 650, 2000});
    box(*comments, L"comments", {0, 2100, 650, 800});
    ASSERT_EQ(findMainElement(comments->body()), comments->getElementById(L"column"));
    EXPECT_EQ(findArticleElement(comments->body(), rules), comments->getElementById(L"story"));

    // The layout finder takes a block with a little prose (a teaser box) while most of the
    // page's prose lies elsewhere: the scorer's element wins.
    const auto teaser = parsePage(L"<BODY><DIV id=teaser>" + paragraphs(2) +
                                  L"</DIV><DIV id=story>" + paragraphs(5) + L"</DIV></BODY>");
    setBox(teaser->body(), {0, 0, 1000, 3000});
    box(*teaser, L"teaser", {150, 200, 700, 600});
    box(*teaser, L"story", {0, 900, 1000, 2000});
    ASSERT_EQ(findMainElement(teaser->body()), teaser->getElementById(L"teaser"));
    EXPECT_EQ(findArticleElement(teaser->body(), rules), teaser->getElementById(L"story"));
    // At half the scorer's text and more the layout finder's block stays.
    const auto even = parsePage(L"<BODY><DIV id=teaser>" + paragraphs(3) + L"</DIV><DIV id=story>" +
                                paragraphs(5) + L"</DIV></BODY>");
    setBox(even->body(), {0, 0, 1000, 3000});
    box(*even, L"teaser", {150, 200, 700, 600});
    box(*even, L"story", {0, 900, 1000, 2000});
    EXPECT_EQ(findArticleElement(even->body(), rules), even->getElementById(L"teaser"));

    // On a page in one column every block is as wide as the body: the layout finder's
    // widest block is as likely a menu as the article, so the tag scorer decides.
    std::wstring links;
    for (int i = 0; i < 30; ++i) {
        links += L"<LI><A href=/s" + std::to_wstring(i) + L">Section " + std::to_wstring(i) +
                 L"</A></LI>";
    }
    const auto single = parsePage(L"<BODY><UL id=menu>" + links + L"</UL><DIV id=story>" +
                                  paragraphs(5) + L"</DIV></BODY>");
    setBox(single->body(), {0, 0, 1000, 3000});
    box(*single, L"menu", {0, 250, 1000, 600});
    box(*single, L"story", {0, 900, 1000, 2000});
    ASSERT_EQ(findMainElement(single->body()), single->getElementById(L"menu"));
    EXPECT_EQ(findArticleElement(single->body(), rules), single->getElementById(L"story"));

    // A page the layout finder cannot decide (nothing laid out) goes to the tag scorer.
    const auto unlaid = parsePage(L"<BODY><DIV id=story>" + paragraphs(3) + L"</DIV></BODY>");
    unlaid->setLayoutEngine(std::make_unique<NoLayout>());
    EXPECT_EQ(findArticleElement(unlaid->body(), rules), unlaid->getElementById(L"story"));
    EXPECT_EQ(findArticleElement(nullptr, rules), nullptr);
}

TEST(ArticleChoice, TwoHalvesOfOneStoryFoundByTheTwoFindersAreTakenTogether) {
    const GrabRules rules = shippedRules();
    // The opening part in a section of one kind, the remaining parts in a section of
    // another: the layout finder takes the first, the tag scorer the heavier second.
    const auto page = [](const std::wstring& besides) {
        auto document = parsePage(
            L"<BODY><DIV id=nav><A href=/>Home</A></DIV><MAIN id=main>"
            L"<SECTION id=opening class=intro><H1>Heading</H1>" +
            paragraphs(2) + L"</SECTION><SECTION id=rest class=more><DIV>" + paragraphs(3) +
            L"</DIV></SECTION>" + besides + L"</MAIN></BODY>");
        setBox(document->body(), {0, 0, 1000, 3000});
        setBox(document->getElementById(L"opening"), {150, 200, 700, 900});
        setBox(document->getElementById(L"rest"), {150, 1100, 700, 1500});
        return document;
    };
    const auto halves = page(L"");
    ASSERT_EQ(findMainElement(halves->body()), halves->getElementById(L"opening"));
    ASSERT_EQ(scoreByTags(halves->body(), rules)->parentElement(), halves->getElementById(L"rest"));
    EXPECT_EQ(findArticleElement(halves->body(), rules), halves->getElementById(L"main"));

    // Beside the two, the block holding them holds more prose (other stories, a thread):
    // it is no single story, and the chooser's rule decides between the halves.
    const auto crowded = page(L"<SECTION id=others>" + paragraphs(3) + L"</SECTION>");
    ASSERT_EQ(scoreByTags(crowded->body(), rules)->parentElement(),
              crowded->getElementById(L"rest"));
    EXPECT_NE(findArticleElement(crowded->body(), rules), crowded->getElementById(L"main"));
    // A block of links beside the story's other half is no half of it.
    std::wstring links;
    for (int i = 0; i < 12; ++i) {
        links +=
            L"<LI><A href=/s" + std::to_wstring(i) + L">" + std::wstring(60, L'x') + L"</A></LI>";
    }
    const auto linked = page(L"<UL>" + links + L"</UL>");
    EXPECT_NE(findArticleElement(linked->body(), rules), linked->getElementById(L"main"));
}
