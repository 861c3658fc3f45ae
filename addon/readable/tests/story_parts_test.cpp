#include <gtest/gtest.h>

#include "addon/page/tests/page_fixtures.h"
#include "addon/readable/article_markup.h"
#include "addon/readable/tests/readable_fixtures.h"

using namespace addon;
using namespace page_fixtures;

TEST(StoryParts, AnOpeningPartBesideTheBlockOfTheRemainingPartsOpensTheStory) {
    const GrabRules rules = shippedRules();
    // Each part is a block of one component, set a little differently; the opening part
    // stands beside the block that holds the rest, with a gallery and a verdict between. The
    // opening is short and set in a grid cell: neither its weight nor its form tells it is
    // story, only its kind.
    const std::wstring part = L"<DIV class=\"o-block pb-15 mt-n35\">";
    const auto document = parsePage(
        L"<BODY><DIV id=review><DIV class=\"o-block pb-15 mt-25\"><DIV class=cell><P>Opening the "
        L"console is "
        L"the most powerful one ever made, and its price says so to "
        L"everyone.</P></DIV></DIV><SECTION><H4>Gallery: "
        L"14 photos</H4></SECTION><DIV class=verdict><P>As promised, the most powerful console "
        L"ever.</P></DIV><DIV class=rest>" +
        part + paragraphs(L"hardware", 3) + L"</DIV>" + part + paragraphs(L"games", 3) + L"</DIV>" +
        part + paragraphs(L"wrap", 3) + L"</DIV></DIV></DIV><DIV id=other>" +
        L"<DIV class=\"o-block pb-15\">" + paragraphs(L"other", 1) + L"</DIV></DIV></BODY>");
    const std::wstring markup = articleMarkup(document->body(), rules);
    for (const wchar_t* kept :
         {L"Opening the console", L"Gallery", L"As promised", L"hardware2", L"games0", L"wrap2"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    EXPECT_FALSE(keeps(markup, L"other0"));
}

TEST(StoryParts, TheNotesTheStoryLinksToFollowItWhereverThePageSetsThem) {
    const GrabRules rules = shippedRules();
    // A table of films is the story, its rows marked with notes; the notes stand after a
    // "See also" list, each note text as long as a row's, with a link to its source. The
    // list of other stories after the notes is not linked from the story.
    std::wstring rows;
    std::wstring notes;
    for (int i = 0; i < 12; ++i) {
        const std::wstring number = std::to_wstring(i);
        rows +=
            L"<TR><TD>Film " + number +
            L"</TD><TD>A woman lives the same day again and again "
            L"until she learns what the day asks of her.<SUP><A href=\"https://host/list#note-" +
            number + L"\">[" + number + L"]</A></SUP></TD></TR>";
        notes += L"<LI id=note-" + number + L">Jones, Joan (2015). <A href=/book" + number +
                 L">Time travel in popular media</A>, page " + number + L", note" + number +
                 L".</LI>";
    }
    const auto document = parsePage(
        L"<BODY><DIV id=page><P>This list of films featuring time loops, in which characters "
        L"live the same span of time again and again, is never complete.</P><TABLE><TBODY>" +
        rows +
        L"</TBODY></TABLE><H2>See also</H2><UL><LI><A href=/a>Time travel in fiction</A>"
        L"</LI></UL><H2>References</H2><DIV class=reflist><OL>" +
        notes +
        L"</OL></DIV><DIV id=more><UL><LI>Another list of films, the long ones, with their "
        L"years and a line about each, <A href=/long>here</A>.</LI></UL></DIV></DIV></BODY>");
    const std::wstring markup = articleMarkup(document->body(), rules);
    for (const wchar_t* kept : {L"Film 11", L"References", L"note0", L"note11"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    EXPECT_FALSE(keeps(markup, L"the long ones"));
}

TEST(StoryParts, WhatThePageHidesFromReadersIsLeftOutOfTheStory) {
    const GrabRules rules = shippedRules();
    const auto document = parsePage(
        L"<BODY><DIV id=story>" + paragraphs(L"story", 2) +
        L"<P><SPAN aria-hidden=true>**ICON**</SPAN>The keepers counted the boats again.<SPAN "
        L"aria-hidden=false> Twice.</SPAN></P>" +
        paragraphs(L"end", 1) + L"</DIV></BODY>");
    const std::wstring markup = articleMarkup(document->body(), rules);
    for (const wchar_t* kept : {L"story1", L"counted the boats", L"Twice", L"end0"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    EXPECT_FALSE(keeps(markup, L"**ICON**"));
}

TEST(StoryParts, ACaptionWhosePictureTheReadablePageCannotShowGoesWithIt) {
    const GrabRules rules = shippedRules();
    // A player in an inline frame and a picture that only a script would show (its image
    // in a NOSCRIPT) leave their captions alone; a picture, a drawing and a listing keep
    // theirs.
    const auto document = parsePage(
        L"<BODY><DIV id=story>" + paragraphs(L"story", 3) +
        L"<FIGURE><DIV class=player><IFRAME src=/player></IFRAME></DIV><FIGCAPTION>Player "
        L"caption</FIGCAPTION></FIGURE><FIGURE><SPAN><DIV data-src=/late.jpg><NOSCRIPT><IMG "
        L"src=/late.jpg></NOSCRIPT></DIV></SPAN><FIGCAPTION>Late caption</FIGCAPTION></FIGURE>"
        L"<FIGURE><IMG src=/shown.jpg><FIGCAPTION>Picture caption</FIGCAPTION></FIGURE>"
        L"<FIGURE><DIV><SVG width=10 height=10></SVG></DIV><FIGCAPTION>Drawing caption"
        L"</FIGCAPTION></FIGURE><FIGURE><PRE>make all</PRE><FIGCAPTION>Listing caption"
        L"</FIGCAPTION></FIGURE>" +
        paragraphs(L"end", 2) + L"</DIV></BODY>");
    const std::wstring markup = articleMarkup(document->body(), rules);
    for (const wchar_t* kept :
         {L"story2", L"Picture caption", L"Drawing caption", L"Listing caption", L"end1"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    EXPECT_FALSE(keeps(markup, L"Player caption"));
    EXPECT_FALSE(keeps(markup, L"Late caption"));
}

TEST(StoryParts, TheLabelsLaidOverAChartAreLeftOutAndItsCaptionStays) {
    const GrabRules rules = shippedRules();
    // A chart drawn as a picture, its values and axis set as text over it; a caption below
    // it and a photograph's credit set in the flow stay.
    const auto document = parsePage(
        L"<HTML><HEAD><STYLE>.label { position: absolute; top: 4px }</STYLE></HEAD><BODY>"
        L"<DIV id=story>" +
        paragraphs(L"story", 3) +
        L"<DIV class=chart><IMG src=/chart.png><DIV class=label><P>$915</P><P>billion</P>"
        L"</DIV><DIV class=label>Interest payments on the national debt</DIV><DIV class=label>"
        L"2017 2018 2019</DIV><P>Source: the budget office</P></DIV><DIV class=photo><IMG "
        L"src=/photo.jpg><SPAN>Photo credit: the harbour office</SPAN></DIV>" +
        paragraphs(L"end", 2) + L"</DIV></BODY></HTML>");
    const std::wstring markup = articleMarkup(document->body(), rules);
    for (const wchar_t* kept :
         {L"story2", L"chart.png", L"Source: the budget office", L"Photo credit", L"end1"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    for (const wchar_t* gone : {L"$915", L"Interest payments", L"2017 2018"}) {
        EXPECT_FALSE(keeps(markup, gone)) << gone;
    }
}

TEST(StoryParts, ALinkAloneInATableCellIsTheCellsDatumNotAListOfLinks) {
    const GrabRules rules = shippedRules();
    std::wstring rows;
    for (int i = 0; i < 4; ++i) {
        const std::wstring number = std::to_wstring(i);
        rows += L"<TR><TD><DIV><A href=/app" + number + L">App number " + number +
                L"</A></DIV></TD><TD><DIV>" + number +
                L"1.1 MB</DIV></TD><TD><DIV>13.4 MB</DIV>"
                L"</TD></TR>";
    }
    const auto document =
        parsePage(L"<BODY><DIV id=story>" + paragraphs(L"story", 3) + L"<TABLE><TBODY>" + rows +
                  L"</TBODY></TABLE>" + paragraphs(L"end", 2) +
                  L"<DIV class=more><A href=/a>Another story</A> <A href=/b>And another</A></DIV>"
                  L"</DIV></BODY>");
    const std::wstring markup = articleMarkup(document->body(), rules);
    for (const wchar_t* kept : {L"App number 0", L"App number 3", L"31.1 MB", L"end1"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    EXPECT_FALSE(keeps(markup, L"Another story"));
}

TEST(StoryParts, AShortClosingSentenceAfterTheStorysListEndsIt) {
    const GrabRules rules = shippedRules();
    std::wstring boats;
    for (int i = 0; i < 8; ++i) {
        boats += L"<LI><H3>Boat " + std::to_wstring(i) + L"</H3><P>The boat came home late with " +
                 L"its nets torn and its crew cold, but every one of them was alive.</P></LI>";
    }
    // The list is the story's body; the lines around it are its opening and its end. The
    // credit line after the end is a short line too, but no sentence.
    const auto document = parsePage(
        L"<BODY><DIV id=story><P>These are the boats the keepers counted on the night of the "
        L"storm, and what became of each of them by morning.</P><OL>" +
        boats +
        L"</OL><P>By morning all were home.</P><P>Photos: the harbour office</P></DIV>"
        L"<DIV id=more><A href=/a>More stories from the coast</A></DIV></BODY>");
    const std::wstring markup = articleMarkup(document->body(), rules);
    for (const wchar_t* kept : {L"These are the boats", L"Boat 7", L"By morning all were home"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    EXPECT_FALSE(keeps(markup, L"Photos: the harbour office"));
}

TEST(StoryParts, AnOpeningWrappedAsTheRestIsInsideAnotherBlockOpensTheStory) {
    const GrabRules rules = shippedRules();
    // The opening and the rest each hold their paragraphs in an inner block of one kind, in
    // outer blocks of different kinds; the opening is one paragraph, far lighter than the
    // rest. A box with an inner block of another kind beside the story is not taken.
    const auto document = parsePage(
        L"<BODY><DIV id=story><DIV class=intro><DIV class=inner><P>The night the storm came, "
        L"the keepers counted every boat in the harbour and found one missing.</P></DIV></DIV>"
        L"<DIV class=slot><SPAN>Advertisement</SPAN></DIV><DIV class=body-text><DIV class=inner "
        L"id=found>" +
        paragraphs(L"story", 10) +
        L"</DIV></DIV><DIV class=about><DIV class=box><P>The Harbour Gazette has told the "
        L"coast's news every week since the first light was lit on the point.</P></DIV></DIV>"
        L"</DIV></BODY>");
    const std::wstring markup = articleMarkupOf(document->getElementById(L"found"), rules);
    for (const wchar_t* kept : {L"The night the storm came", L"story0", L"story9"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    EXPECT_FALSE(keeps(markup, L"The Harbour Gazette"));
}

TEST(StoryParts, ABlockLaidOutBesideTheStoryIsAColumnOfItsOwn) {
    const GrabRules rules = shippedRules();
    // The sidebar holds prose (a customer-service box) and stands beside the story; the
    // part below the story carries it on.
    const auto document =
        parsePage(L"<BODY><DIV id=page><DIV id=story>" + paragraphs(L"story", 6) +
                  L"</DIV><DIV id=side>" + paragraphs(L"service", 3) + L"</DIV><DIV id=end>" +
                  paragraphs(L"end", 2) + L"</DIV></DIV></BODY>");
    setBox(document->body(), Rect{0, 0, 1000, 3000});
    setBox(document->getElementById(L"page"), Rect{0, 0, 1000, 2500});
    setBox(document->getElementById(L"story"), Rect{0, 0, 640, 2000});
    setBox(document->getElementById(L"side"), Rect{660, 0, 300, 900});
    setBox(document->getElementById(L"end"), Rect{0, 2000, 640, 400});
    const std::wstring markup = articleMarkupOf(document->getElementById(L"story"), rules);
    for (const wchar_t* kept : {L"story5", L"end1"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    EXPECT_FALSE(keeps(markup, L"service0"));
}

TEST(StoryParts, AnOpeningWithItsPictureOrSubheadingOpensTheStory) {
    const GrabRules rules = shippedRules();
    // The opening is one paragraph beside ten, set with a picture or under a subheading; a
    // note on the author set the same way after the story is no opening.
    for (const std::wstring& opening :
         {std::wstring(L"<FIGURE><IMG src=a.jpg><FIGCAPTION>The pier at dusk</FIGCAPTION>"
                       L"</FIGURE>"),
          std::wstring(L"<H2>The keepers counted every boat</H2>")}) {
        const auto document = parsePage(
            L"<BODY><DIV id=story><DIV class=lead>" + opening +
            L"<P>The night the storm came, the keepers counted every boat in the harbour and "
            L"found one missing.</P></DIV><DIV class=slot></DIV><DIV id=found>" +
            paragraphs(L"story", 10) +
            L"</DIV><DIV class=author><H3>About the writer</H3><P>Joan Jones has written about "
            L"the coast and its people for twenty years.</P></DIV></DIV></BODY>");
        const std::wstring markup = articleMarkupOf(document->getElementById(L"found"), rules);
        for (const wchar_t* kept : {L"The night the storm came", L"story0", L"story9"}) {
            EXPECT_TRUE(keeps(markup, kept)) << kept;
        }
        EXPECT_FALSE(keeps(markup, L"Joan Jones")) << opening;
    }
}

TEST(StoryParts, ShortSectionsAfterTheFirstCarryTheStoryOn) {
    const GrabRules rules = shippedRules();
    // Each section after the long first one is a subheading and one paragraph, a tenth of the
    // first's weight; the box after them holds a heading and a list, no section of the story.
    const auto document = parsePage(
        L"<BODY><ARTICLE><SECTION class=first id=found>" + paragraphs(L"story", 10) +
        L"</SECTION><DIV class=slot></DIV><SECTION class=part><H2>The count</H2>" +
        paragraphs(L"count", 1) + L"</SECTION><DIV class=part-last><H2>The morning</H2>" +
        paragraphs(L"morning", 1) +
        L"</DIV><DIV class=box><H3>Tides this week</H3><UL><LI>Monday, high water at six in the "
        L"morning and again at half past six in the evening</LI></UL></DIV></ARTICLE></BODY>");
    const std::wstring markup = articleMarkupOf(document->getElementById(L"found"), rules);
    for (const wchar_t* kept : {L"story9", L"The count", L"count0", L"The morning", L"morning0"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    EXPECT_FALSE(keeps(markup, L"Tides this week"));
}

// A short sentence carries the story on only where it stands beside the story's blocks: a
// copyright line at the foot of the page is a sentence too, and took in every block between
// it and the story.
TEST(StoryParts, AShortSentenceFarBelowTheStoryIsNoPartOfIt) {
    const GrabRules rules = shippedRules();
    const auto document = parsePage(
        L"<BODY><DIV id=story>" + paragraphs(L"story", 6) +
        L"</DIV><DIV id=promo><H3>Our podcast</H3><P>Hear the keepers talk about their year on "
        L"the pier.</P></DIV><P>Harbour News 2024. All rights reserved.</P></BODY>");
    const std::wstring markup = articleMarkup(document->body(), rules);
    EXPECT_TRUE(keeps(markup, L"story5"));
    EXPECT_FALSE(keeps(markup, L"Our podcast"));
    EXPECT_FALSE(keeps(markup, L"Hear the keepers")) << markup;
    EXPECT_FALSE(keeps(markup, L"All rights reserved"));
}
