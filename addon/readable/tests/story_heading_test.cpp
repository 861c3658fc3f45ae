#include <gtest/gtest.h>

#include "addon/page/tests/page_fixtures.h"
#include "addon/readable/article_markup.h"
#include "addon/readable/blocks/title_heading.h"
#include "addon/readable/tests/readable_fixtures.h"

using namespace addon;
using namespace page_fixtures;

TEST(StoryHeading, AHeadingRepeatsTheTitleWhenItHoldsMostOfItsWordsAndTheyMostOfTheTitle) {
    const std::wstring title = L"Keepers of the Northern Light – The Coast Weekly";
    EXPECT_TRUE(repeatsTitle(L"Keepers of the northern light", title));
    EXPECT_TRUE(repeatsTitle(L"  KEEPERS of the Northern Light! ", title));
    // One word of the title is a subheading, not the title.
    EXPECT_FALSE(repeatsTitle(L"Light", title));
    // A headline that says something else, though it shares some of the title's words.
    EXPECT_FALSE(repeatsTitle(L"Keepers of the light tell of a winter without end", title));
    EXPECT_FALSE(repeatsTitle(L"", title));
    EXPECT_FALSE(repeatsTitle(L"Keepers of the northern light", L""));
    EXPECT_TRUE(repeatsTitle(L"灯台守の冬", L"灯台守の冬 | 海辺新聞"));
}

TEST(StoryHeading, AHeadingRepeatsATitleWhenItRepeatsOnePartOfIt) {
    // The headline against the part of the title it stands for, not the site's name and
    // motto around it.
    EXPECT_TRUE(repeatsTitle(L"Make your lamp your own",
                             L"Lamps \u2014 Light the lamp and make it your own \u2014 The "
                             L"brightest lamps on the coast"));
    EXPECT_TRUE(
        repeatsTitle(L"Keepers of the northern light",
                     L"Home - The Coast Weekly - Keepers of the northern light: a winter at sea"));
    // A headline that goes on differently after the title's first part is another headline.
    EXPECT_FALSE(repeatsTitle(L"This is a long title with a colon: But the final text differs",
                              L"This is a long title with a colon: Hello there"));
    // A hyphen inside a name separates nothing.
    EXPECT_FALSE(repeatsTitle(L"Paul", L"Jean-Paul Keeper-of-Lights"));
}

TEST(StoryHeading, TheHeadlineRepeatingThePageTitleIsLeftOutAndSectionHeadingsStay) {
    const GrabRules rules = shippedRules();
    // The last section is named as the page is: a section's heading stays.
    const std::wstring story =
        L"<BODY><H1>Keepers of the northern light</H1>" + paragraphs(L"story", 3) +
        L"<H2>The winter of the storms</H2>" + paragraphs(L"winter", 3) +
        L"<H2>KEEPERS OF THE NORTHERN LIGHT</H2>" + paragraphs(L"end", 1) + L"</BODY>";
    const auto titled = parsePage(
        L"<HTML><HEAD><TITLE>Keepers of the Northern Light | The Coast Weekly</TITLE></HEAD>" +
        story + L"</HTML>");
    const std::wstring markup = articleMarkup(titled->body(), rules);
    EXPECT_FALSE(keeps(markup, L"Keepers of the northern light"));
    for (const wchar_t* kept :
         {L"story0", L"The winter of the storms", L"winter2", L"KEEPERS OF THE NORTHERN LIGHT"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }

    // A page titled for its site only keeps its headline: the header would not show it.
    const auto siteTitled =
        parsePage(L"<HTML><HEAD><TITLE>The Coast Weekly</TITLE></HEAD>" + story + L"</HTML>");
    EXPECT_TRUE(keeps(articleMarkup(siteTitled->body(), rules), L"Keepers of the northern light"));
}

TEST(StoryHeading, ALevelOneHeadingAfterTheStorysTextIntroducesItsListOfLinks) {
    const GrabRules rules = shippedRules();
    std::wstring sources;
    std::wstring others;
    for (int i = 0; i < 4; ++i) {
        const std::wstring number = std::to_wstring(i);
        sources += L"<LI><A href=https://example.test/source" + number +
                   L">https://example.test/source" + number + L"</A></LI>";
        others += L"<LI><A href=/o" + number + L">Other story " + number + L"</A></LI>";
    }
    // Every section's heading is set as H1. The page's own heading opens the block, and the
    // list of links right below it is no part of the story; the list below a section's
    // heading is the story's own.
    const auto document =
        parsePage(L"<BODY><DIV id=story><H1>Keepers of the light</H1><UL>" + others + L"</UL>" +
                  paragraphs(L"story", 4) + L"<H1>Sources and links</H1><UL>" + sources +
                  L"</UL></DIV></BODY>");
    const std::wstring markup = articleMarkup(document->body(), rules);
    for (const wchar_t* kept : {L"story3", L"Sources and links", L"example.test/source3"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    EXPECT_FALSE(keeps(markup, L"Other story"));
}

TEST(StoryHeading, TheStorysTableOfContentsStaysAndOtherListsOfLinksGo) {
    const GrabRules rules = shippedRules();
    // The table of contents below the lead links to the story's headings, the saved page
    // writing its own address out in full; the menu's links carry fragments too, but to
    // other pages or to nothing on this one, and the skip link is one link alone.
    const auto document = parsePage(
        L"<BODY><DIV id=story><UL><LI><A href=#winter>Skip to the story</A></LI></UL>" +
        paragraphs(L"lead", 2) +
        L"<DIV id=contents><OL><LI><A href=#winter>1 The winter of the storms</A></LI>"
        L"<LI><A href=http://example.test/keepers#spring>2 The spring and the boats</A></LI>"
        L"<LI><A href=#lamp>3 The lamp that never went out</A></LI></OL></DIV><UL>"
        L"<LI><A href=/harbours#north>Northern harbours</A></LI>"
        L"<LI><A href=/harbours#south>Southern harbours</A></LI>"
        L"<LI><A href=#nowhere>Somewhere else</A></LI></UL><H2 id=winter>The winter</H2>" +
        paragraphs(L"winter", 2) + L"<H2 id=spring>The spring</H2>" + paragraphs(L"spring", 2) +
        L"<H2 id=lamp>The lamp</H2>" + paragraphs(L"lamp", 2) + L"</DIV></BODY>");
    const std::wstring markup = articleMarkup(document->body(), rules);
    for (const wchar_t* kept :
         {L"lead1", L"1 The winter of", L"2 The spring and", L"3 The lamp that", L"lamp1"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    for (const wchar_t* gone : {L"Skip to the story", L"Northern harbours", L"Somewhere else"}) {
        EXPECT_FALSE(keeps(markup, gone)) << gone;
    }
}
