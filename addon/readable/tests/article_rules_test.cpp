#include <gtest/gtest.h>

#include "addon/page/tests/page_fixtures.h"
#include "addon/readable/article_markup.h"
#include "addon/readable/layout_finder.h"
#include "addon/readable/main_element.h"
#include "addon/readable/name_ranks.h"
#include "addon/readable/readable_scorer.h"
#include "addon/readable/story_blocks.h"
#include "addon/readable/tests/readable_fixtures.h"

using namespace addon;
using namespace page_fixtures;

namespace {

// The markup of the story's blocks gathered around `found`.
std::wstring storyMarkup(const ElementPtr& found, const GrabRules& rules) {
    std::wstring markup;
    for (const NodePtr& block : storyBlocks(found, rules)) {
        if (block->nodeType() == dom::NodeType::Element) {
            markup += std::static_pointer_cast<dom::Element>(block)->outerHTML();
        }
    }
    return markup;
}

}  // namespace

TEST(ArticleRules, ClutterNamesAreWholeWordsAndAPageHeadingRescuesALayoutBlock) {
    GrabRules rules;
    rules.classRanks = {{L"comment", -75}, {L"sidebar", -75}, {L"content", 50}};
    rules.idRanks = {{L"share", -75}};
    const auto document = parsePage(
        L"<BODY class=sidebar><DIV id=page class=layout-with-sidebar><H1>Title</H1>"
        L"<DIV id=story class=articlecontent><P id=p>text</P></DIV>"
        L"<DIV id=thread class=comments><DIV id=reply class=comment-content>x</DIV></DIV>"
        L"<DIV id=shared-history class=section>y</DIV><DIV id=bar><SPAN>z</SPAN></DIV>"
        L"</DIV></BODY>");
    const auto element = [&](const wchar_t* id) { return document->getElementById(id); };
    EXPECT_EQ(nameRank(*element(L"story"), rules), 50);
    EXPECT_EQ(nameRank(*element(L"thread"), rules), -75);
    EXPECT_EQ(nameRank(*element(L"reply"), rules), -25);
    EXPECT_EQ(nameRank(*element(L"shared-history"), rules), 0);
    EXPECT_EQ(nameRank(*document->body(), rules), 0);

    ClutterBlocks clutter(rules);
    EXPECT_FALSE(clutter.inside(element(L"page")));
    EXPECT_FALSE(clutter.inside(element(L"p")));
    EXPECT_TRUE(clutter.inside(element(L"thread")));
    EXPECT_TRUE(clutter.inside(element(L"reply")));
    EXPECT_FALSE(clutter.inside(element(L"shared-history")));
    EXPECT_FALSE(clutter.inside(nullptr));
}

namespace {

// A box lying where the layout finder looks for the article, above a story of `paragraphs`
// paragraphs: the story is the article, not the box.
void expectStoryBelowTheBox(const std::wstring& box, int paragraphCount) {
    const GrabRules rules = shippedRules();
    const auto document = parsePage(L"<BODY>" + box + L"<DIV id=story>" +
                                    paragraphs(L"story", paragraphCount) + L"</DIV></BODY>");
    setBox(document->body(), {0, 0, 1000, 3000});
    setBox(document->getElementById(L"box"), {150, 200, 700, 600});
    setBox(document->getElementById(L"story"), {150, 900, 700, 1200});
    ASSERT_EQ(findMainElement(document->body()), document->getElementById(L"box"));
    EXPECT_EQ(findArticleElement(document->body(), rules), document->getElementById(L"story"));
    const std::wstring markup = articleMarkup(document->body(), rules);
    EXPECT_TRUE(keeps(markup, L"story" + std::to_wstring(paragraphCount - 1)));
    EXPECT_FALSE(keeps(markup, L"boxed0"));
}

}  // namespace

TEST(ArticleRules, ACookieBannerOrAContactBoxWhereTheArticleStandsIsNotTheArticle) {
    expectStoryBelowTheBox(L"<DIV id=box class=cookie-banner><H2>Your privacy</H2>" +
                               paragraphs(L"boxed", 2) + L"<BUTTON>Accept all</BUTTON></DIV>",
                           4);
    // A customer-service box, named for nothing it is, with nearly as much prose as the
    // short story below it: its form makes it a box to fill in, not a story.
    expectStoryBelowTheBox(L"<DIV id=box class=panel-2><H2>Talk to us</H2>" +
                               paragraphs(L"boxed", 2) +
                               L"<FORM><LABEL>Name <INPUT name=n></LABEL><TEXTAREA name=m>"
                               L"</TEXTAREA><BUTTON>Send</BUTTON></FORM></DIV>",
                           3);
}

TEST(ArticleRules, ACommentThreadLongerThanTheStoryIsNotTheArticle) {
    const GrabRules rules = shippedRules();
    const auto document =
        parsePage(L"<BODY><DIV id=page><H1>Title</H1><DIV id=story>" + paragraphs(L"story", 3) +
                  L"</DIV><DIV id=comments><OL class=comment-list><LI>" + paragraphs(L"reader", 8) +
                  L"</LI></OL></DIV></DIV></BODY>");
    const ElementPtr story = document->getElementById(L"story");
    EXPECT_EQ(scoreByTags(document->body(), rules), story);
    const std::wstring markup = articleMarkup(document->body(), rules);
    EXPECT_TRUE(keeps(markup, L"story2"));
    EXPECT_FALSE(keeps(markup, L"reader"));

    // Without the names the thread says nothing: it holds more prose and wins.
    GrabRules unnamed = rules;
    unnamed.idRanks.clear();
    unnamed.classRanks.clear();
    EXPECT_NE(scoreByTags(document->body(), unnamed), story);
}

TEST(ArticleRules, AStoryInThreeSiblingBlocksIsKeptWhole) {
    const GrabRules rules = shippedRules();
    std::wstring related;
    for (int i = 0; i < 12; ++i) {
        related += L"<LI><A href=/story" + std::to_wstring(i) + L">Another story from the " +
                   L"harbour, number " + std::to_wstring(i) + L"</A></LI>";
    }
    const auto document = parsePage(
        L"<BODY><DIV id=nav><A href=/>Home</A></DIV><DIV id=column><H1>Title</H1>"
        L"<DIV class=part>" +
        paragraphs(L"first", 2) + L"</DIV><H2>Subheading between parts</H2><DIV class=part>" +
        paragraphs(L"second", 5) + L"</DIV><DIV class=part>" + paragraphs(L"third", 2) +
        L"</DIV><DIV id=more><UL>" + related + L"</UL></DIV><DIV class=sidebar>" +
        paragraphs(L"aside", 1) + L"</DIV></DIV></BODY>");
    const std::wstring markup = articleMarkup(document->body(), rules);
    for (const wchar_t* kept : {L"first1", L"Subheading between parts", L"second4", L"third1"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    EXPECT_FALSE(keeps(markup, L"Another story"));
    EXPECT_FALSE(keeps(markup, L"aside0"));
    EXPECT_FALSE(keeps(markup, L"Home"));

    // Parts each wrapped alone (a part and an empty box beside it) continue beside the
    // wrappers.
    const auto wrapped = parsePage(
        L"<BODY><DIV id=column><DIV class=wrap><DIV class=part>" + paragraphs(L"first", 2) +
        L"</DIV><ASIDE></ASIDE></DIV><DIV class=wrap><DIV class=part>" + paragraphs(L"second", 4) +
        L"</DIV><ASIDE></ASIDE></DIV><DIV class=wrap><DIV class=part>" + paragraphs(L"third", 2) +
        L"</DIV></DIV></DIV></BODY>");
    const std::wstring whole = articleMarkup(wrapped->body(), rules);
    for (const wchar_t* kept : {L"first0", L"second3", L"third1"}) {
        EXPECT_TRUE(keeps(whole, kept)) << kept;
    }

    // Parts written as text in blocks, lines broken by BR, without paragraphs.
    std::wstring lines;
    for (int i = 0; i < 6; ++i) {
        lines += L"the keepers walked the long stone pier counting boats<BR>";
    }
    const auto plain =
        parsePage(L"<BODY><ARTICLE><H1>Title</H1><DIV>Opening " + lines +
                  L"</DIV><H2>Foo</H2><DIV>Closing " + lines + L"</DIV></ARTICLE></BODY>");
    const std::wstring both = articleMarkup(plain->body(), rules);
    EXPECT_TRUE(keeps(both, L"Opening"));
    EXPECT_TRUE(keeps(both, L"Closing"));
}

TEST(ArticleRules, ANewsletterFormShareBarAndAdvertisementsInsideTheArticleAreLeftOut) {
    const GrabRules rules = shippedRules();
    const auto document = parsePage(
        L"<BODY><DIV id=story>" + paragraphs(L"before", 3) +
        L"<DIV class=newsletter-signup><P>Sign up for the morning briefing</P><FORM "
        L"action=/join><INPUT name=email><BUTTON>Subscribe</BUTTON></FORM></DIV>"
        L"<DIV class=share-bar><A href=/f>Facebook</A> <A href=/t>Twitter</A></DIV>"
        L"<DIV class=\"js_ad-dynamic ad-unit\"><DIV>Advertisement</DIV></DIV>"
        L"<DIV id=advertisement-2><SPAN>Sponsored message</SPAN></DIV>"
        L"<DIV class=\"sharedaddy sd-like\" id=like-post-wrapper-7><H3>Like this:</H3>"
        L"<SPAN>Like</SPAN> <SPAN>Loading...</SPAN></DIV>"
        L"<P style=\"color:red\">After the form the story goes on, as a reader expects it to, "
        L"with the keepers on the pier and the boats coming home.</P>" +
        paragraphs(L"after", 2) + L"</DIV></BODY>");
    const std::wstring markup = articleMarkup(document->body(), rules);
    for (const wchar_t* kept : {L"before2", L"After the form", L"after1"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    for (const wchar_t* gone : {L"Sign up", L"Subscribe", L"FORM", L"Facebook", L"color:red",
                                L"Advertisement", L"Sponsored", L"Like this"}) {
        EXPECT_FALSE(keeps(markup, gone)) << gone;
    }
    // The page itself keeps all of it: the clean-up works on a copy.
    EXPECT_TRUE(keeps(document->getElementById(L"story")->outerHTML(), L"Subscribe"));
}

TEST(ArticleRules, FormsToFillInAreLeftOutWhateverTheirNames) {
    const GrabRules rules = shippedRules();
    // A sign-up box inside the story, not named for what it is; a part of the story that
    // ends in a poll holds more than a form and stays.
    const auto inside = parsePage(
        L"<BODY><DIV id=story>" + paragraphs(L"before", 3) +
        L"<DIV class=box-7><H3>The morning briefing</H3><P>Everything you need to know, in "
        L"your inbox before breakfast.</P><INPUT type=email placeholder=Email><BUTTON>Go"
        L"</BUTTON><SMALL>This site is protected by a captcha and its terms apply.</SMALL>"
        L"</DIV>" +
        paragraphs(L"after", 3) + L"<DIV class=part>" + paragraphs(L"poll", 3) +
        L"<LABEL><INPUT type=radio name=q>Yes</LABEL><INPUT type=hidden name=id></DIV>"
        L"</DIV></BODY>");
    const std::wstring markup = articleMarkup(inside->body(), rules);
    for (const wchar_t* kept : {L"before2", L"after0", L"after2", L"poll2"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    for (const wchar_t* gone : {L"morning briefing", L"inbox", L"captcha"}) {
        EXPECT_FALSE(keeps(markup, gone)) << gone;
    }

    // A box for reporting a comment after a short story does not carry the story on.
    const auto after = parsePage(
        L"<BODY><DIV id=page><DIV id=story>" + paragraphs(L"story", 2) +
        L"</DIV><DIV class=module><H2>Report this comment</H2><P>Sorry! There was a problem. "
        L"Help us keep this a friendly place by telling us which comment breaks the rules "
        L"and why you report it.</P><FORM><SELECT><OPTION>Spam</OPTION></SELECT>"
        L"<TEXTAREA></TEXTAREA></FORM><DIV>Leave your comment</DIV></DIV></DIV></BODY>");
    const ElementPtr story = after->getElementById(L"story");
    ASSERT_EQ(findArticleElement(after->body(), rules), story);
    const std::wstring alone = storyMarkup(story, rules);
    EXPECT_TRUE(keeps(alone, L"story1"));
    for (const wchar_t* gone : {L"Report this", L"Sorry", L"Leave your comment"}) {
        EXPECT_FALSE(keeps(alone, gone)) << gone;
    }
}

TEST(ArticleRules, AWordOfASentenceStaysWhateverItsNamesSay) {
    const GrabRules rules = shippedRules();
    // Notes on words of a sentence, shown in a pop-up box; a share bar of links beside
    // each other still goes.
    const auto document = parsePage(
        L"<BODY><DIV id=story>" + paragraphs(L"before", 3) +
        L"<P>The clerk was rather <A class=popup href=#n1>deficient</A> in what landscape "
        L"painters call <SPAN class=\"popup note\">life</SPAN>, and the view from the other "
        L"end of the chambers offered a contrast to it.</P><DIV class=share-bar>"
        L"<A class=share href=/f>Facebook</A> <A class=share href=/t>Twitter</A></DIV>" +
        paragraphs(L"after", 2) + L"</DIV></BODY>");
    const std::wstring markup = articleMarkup(document->body(), rules);
    for (const wchar_t* kept :
         {L"before2", L"deficient</A> in what", L"life</SPAN>, and the view", L"after1"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    EXPECT_FALSE(keeps(markup, L"Facebook"));
    EXPECT_FALSE(keeps(markup, L"Twitter"));
}

TEST(ArticleRules, HighlightedCodeKeepsTheTokensItNamesComments) {
    const GrabRules rules = shippedRules();
    // A highlighter names each token of the code by what it is in the program.
    const auto document = parsePage(
        L"<BODY><DIV id=story>" + paragraphs(L"before", 3) +
        L"<PRE class=language-c><CODE class=language-c><SPAN class=\"token comment\">// add.c"
        L"</SPAN><BR><SPAN class=\"token keyword\">int</SPAN> add(int x, int y);</CODE></PRE>" +
        paragraphs(L"after", 2) + L"<DIV class=comments>" + paragraphs(L"reader", 1) +
        L"</DIV></DIV></BODY>");
    const std::wstring markup = articleMarkup(document->body(), rules);
    for (const wchar_t* kept : {L"before2", L"// add.c", L"add(int x, int y)", L"after1"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    EXPECT_FALSE(keeps(markup, L"reader0"));
}

TEST(ArticleRules, APageHiddenWholeUntilItsScriptsRunStillGivesItsArticle) {
    const GrabRules rules = shippedRules();
    const std::wstring story =
        L"<DIV id=story>" + paragraphs(L"story", 3) + L"<DIV style=\"display:none\">" +
        paragraphs(L"closed", 1) + L"</DIV><P hidden>" + paragraphs(L"held", 1).substr(3) +
        L"<DIV style=\"visibility:hidden\"><P>quiet " + L"words</P></DIV></DIV>";
    for (const wchar_t* hiding : {L"html { display: none }", L"body { visibility: hidden }"}) {
        const auto document = parsePage(L"<HTML><HEAD><STYLE>" + std::wstring(hiding) +
                                        L"</STYLE></HEAD><BODY>" + story + L"</BODY></HTML>");
        EXPECT_EQ(scoreByTags(document->body(), rules), document->getElementById(L"story"))
            << hiding;
        const std::wstring markup = articleMarkup(document->body(), rules);
        EXPECT_TRUE(keeps(markup, L"story2")) << hiding;
        // Blocks hidden by their own style inside the article stay out.
        EXPECT_FALSE(keeps(markup, L"closed0")) << hiding;
        EXPECT_FALSE(keeps(markup, L"held0")) << hiding;
    }
    // Where the page does not hide its visibility, a block setting it hides.
    const auto document = parsePage(
        L"<HTML><HEAD><STYLE>html { display: none }</STYLE></HEAD>"
        L"<BODY>" +
        story + L"</BODY></HTML>");
    EXPECT_FALSE(keeps(articleMarkup(document->body(), rules), L"quiet words"));
}

TEST(ArticleRules, AStoryCutIntoPartsOfLikeWeightIsTakenWholeNotOnePart) {
    const GrabRules rules = shippedRules();
    // Each step is a heading and a block of text inside a box of its own, so no part is a
    // sibling of another; a list of links and a teaser lie beside the steps' column.
    std::wstring steps;
    for (int i = 0; i < 4; ++i) {
        steps += L"<DIV class=step><H3>Step " + std::to_wstring(i) + L"</H3><DIV class=lead>" +
                 paragraphs(L"step" + std::to_wstring(i) + L"x", 2) + L"</DIV></DIV>";
    }
    const auto document =
        parsePage(L"<BODY><DIV id=column>" + steps + L"</DIV><DIV id=other><DIV>" +
                  paragraphs(L"teaser", 1) + L"</DIV></DIV></BODY>");
    EXPECT_EQ(scoreByTags(document->body(), rules), document->getElementById(L"column"));
    const std::wstring markup = articleMarkup(document->body(), rules);
    for (const wchar_t* kept : {L"step0x1", L"Step 2", L"step3x0"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    EXPECT_FALSE(keeps(markup, L"teaser"));

    // One part far ahead of the others is the story; the smaller boxes beside it are not.
    const auto single =
        parsePage(L"<BODY><DIV id=column><DIV id=main>" + paragraphs(L"main", 6) +
                  L"</DIV><DIV><DIV>" + paragraphs(L"box", 1) + L"</DIV></DIV><DIV><DIV>" +
                  paragraphs(L"card", 1) + L"</DIV></DIV></DIV></BODY>");
    EXPECT_EQ(scoreByTags(single->body(), rules), single->getElementById(L"main"));
}

TEST(ArticleRules, AParagraphOfLinksIsNoProse) {
    const GrabRules rules = shippedRules();
    // The readers who liked the story, one paragraph of links longer than the story.
    std::wstring names;
    for (int i = 0; i < 50; ++i) {
        names += L"<A href=/users/reader" + std::to_wstring(i) + L">a_reader_of_stories_" +
                 std::to_wstring(i) + L"</A>, ";
    }
    const auto document = parsePage(L"<BODY><DIV id=story>" + paragraphs(L"story", 3) +
                                    L"</DIV><H3>Liked by</H3><DIV id=likes><P>" + names +
                                    L"and others</P></DIV></BODY>");
    EXPECT_EQ(scoreByTags(document->body(), rules), document->getElementById(L"story"));
    const std::wstring markup = articleMarkup(document->body(), rules);
    EXPECT_TRUE(keeps(markup, L"story2"));
    EXPECT_FALSE(keeps(markup, L"a_reader_of_stories_"));
}

TEST(ArticleRules, APartWithItsPictureContinuesIntoTheNextParts) {
    const GrabRules rules = shippedRules();
    // Steps of a how-to, each a text block beside its picture and the picture's credit;
    // the first step is the longest, so the finders choose its text block.
    const auto step = [](const std::wstring& name, int count) {
        return L"<DIV class=step><DIV class=text>" + paragraphs(name, count) +
               L"</DIV><FIGURE><IMG src=" + name + L".jpg></FIGURE><FIGCAPTION>Photo: " + name +
               L" credit</FIGCAPTION></DIV>";
    };
    const auto document = parsePage(L"<BODY><DIV id=steps>" + step(L"first", 4) +
                                    step(L"second", 2) + step(L"third", 2) +
                                    L"</DIV><DIV id=more><UL><LI><A href=/a>Another page</A>"
                                    L"</LI></UL></DIV></BODY>");
    const std::wstring markup = articleMarkup(document->body(), rules);
    for (const wchar_t* kept : {L"first3", L"first credit", L"second1", L"third1"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    EXPECT_FALSE(keeps(markup, L"Another page"));
}

TEST(ArticleRules, TheStoryBehindAReadMoreLinkKeepsItsOpening) {
    const GrabRules rules = shippedRules();
    const auto document = parsePage(
        L"<BODY><DIV id=body>" + paragraphs(L"opening", 2) +
        L"<DIV id=more><DIV><A href=#rest>Read more</A></DIV><DIV id=rest>" +
        paragraphs(L"rest", 6) + L"</DIV></DIV></DIV><DIV id=aside><P>Elsewhere</P></DIV></BODY>");
    ASSERT_EQ(scoreByTags(document->body(), rules), document->getElementById(L"rest"));
    const std::wstring markup = articleMarkup(document->body(), rules);
    for (const wchar_t* kept : {L"opening0", L"rest5"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    EXPECT_FALSE(keeps(markup, L"Elsewhere"));
}

TEST(ArticleRules, PartsOfOneTemplateCarryTheStoryOnEvenWhenShortOrWrapped) {
    const GrabRules rules = shippedRules();
    // Sections of one class between rules: the opening section is short beside the long
    // one the finders choose.
    const auto sections =
        parsePage(L"<BODY><DIV id=post><SECTION class=\"s1 s2\">" + paragraphs(L"opening", 1) +
                  L"</SECTION><HR><SECTION class=\"s1 s2\">" + paragraphs(L"middle", 8) +
                  L"</SECTION><HR><SECTION class=\"s1 s2\">" + paragraphs(L"closing", 1) +
                  L"</SECTION><SECTION class=\"s1 s2\"><A href=/a>Follow the author</A></SECTION>"
                  L"</DIV><DIV id=aside>" +
                  paragraphs(L"aside", 1) + L"</DIV></BODY>");
    const std::wstring markup = articleMarkup(sections->body(), rules);
    for (const wchar_t* kept : {L"opening0", L"middle7", L"closing0"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    EXPECT_FALSE(keeps(markup, L"Follow the author"));
    EXPECT_FALSE(keeps(markup, L"aside0"));

    // The story's body is cut in two by an advertisement, and each half sits in a block of
    // one class with more beside it (a promotion box beside the second half).
    const auto halves = parsePage(
        L"<BODY><ARTICLE><H1>Title</H1><DIV class=supplemental><DIV class=body>" +
        paragraphs(L"opening", 2) +
        L"</DIV></DIV><DIV class=interrupter>Advertisement</DIV><DIV class=supplemental>"
        L"<DIV class=body id=rest>" +
        paragraphs(L"rest", 7) +
        L"</DIV><DIV class=box><P>Our column: grading the big deals of the year</P></DIV></DIV>"
        L"</ARTICLE><DIV id=more>" +
        paragraphs(L"other", 1) + L"</DIV></BODY>");
    ASSERT_EQ(findArticleElement(halves->body(), rules), halves->getElementById(L"rest"));
    const std::wstring whole = articleMarkup(halves->body(), rules);
    for (const wchar_t* kept : {L"opening1", L"rest6"}) {
        EXPECT_TRUE(keeps(whole, kept)) << kept;
    }
    EXPECT_FALSE(keeps(whole, L"other0"));
}

TEST(ArticleRules, ListsOfLinksInsideTheArticleGoUnlessTheStoryIntroducesThem) {
    const GrabRules rules = shippedRules();
    std::wstring others;
    std::wstring apps;
    for (int i = 0; i < 5; ++i) {
        const std::wstring number = std::to_wstring(i);
        others += L"<LI><A href=/o" + number + L">Other story " + number +
                  L" about the harbour and its boats</A></LI>";
        apps += L"<LI><A href=/a" + number + L">Editor " + number + L"</A></LI>";
    }
    const auto document = parsePage(
        L"<BODY><DIV id=story>" + paragraphs(L"before", 3) +
        L"<P>The keepers use these programs:</P><UL>" + apps + L"</UL><H2>Our tools</H2><OL>" +
        apps + L"</OL>" + paragraphs(L"after", 2) + L"<DIV><H3>More from the coast</H3><UL>" +
        others +
        L"</UL></DIV><DIV class=tags>Tags: <A href=/t/sea>the open sea</A>, <A "
        L"href=/t/storms>winter storms</A>, <A href=/t/lighthouses>lighthouses</A></DIV>"
        L"<TABLE><TR><TD><A href=/n1>News</A></TD><TD><A href=/n2>Sport</A></TD></TR></TABLE>"
        L"</DIV></BODY>");
    const std::wstring markup = articleMarkup(document->body(), rules);
    for (const wchar_t* kept : {L"before2", L"Editor 4", L"Our tools", L"after1"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    EXPECT_EQ(document->getElementsByTagName(L"LI").size(), 15u);
    for (const wchar_t* gone : {L"Other story", L"More from the coast", L"lighthouses", L"Sport"}) {
        EXPECT_FALSE(keeps(markup, gone)) << gone;
    }
}

TEST(ArticleRules, AGalleryOfCaptionedSlidesAndRelatedPostsAreNotTheArticle) {
    const GrabRules rules = shippedRules();
    // Without the page's scripts every slide of the gallery shows, and its captions hold
    // more text than the story around it.
    std::wstring slides;
    for (int i = 1; i <= 12; ++i) {
        const std::wstring number = std::to_wstring(i);
        slides += L"<LI><H2><SPAN class=counter>" + number + L"/12</SPAN> Slide " + number +
                  L"</H2>" + paragraphs(L"caption", 1) + L"</LI>";
    }
    const auto document = parsePage(
        L"<BODY><DIV id=page><H1>Seven secrets of the harbour</H1><DIV class=text-wrapper>" +
        paragraphs(L"story", 3) + L"<DIV class=\"widget type-gallery\"><UL class=legends>" +
        slides + L"</UL></DIV>" + paragraphs(L"closing", 2) +
        L"<DIV id=jp-relatedposts class=jp-relatedposts><H3>Related</H3><DIV>" +
        paragraphs(L"related", 1) + L"</DIV></DIV></DIV></DIV></BODY>");
    const std::wstring markup = articleMarkup(document->body(), rules);
    for (const wchar_t* kept : {L"story2", L"closing1"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    for (const wchar_t* gone : {L"caption0", L"Slide 3", L"related0"}) {
        EXPECT_FALSE(keeps(markup, gone)) << gone;
    }
}

TEST(ArticleRules, ATableBodyTakenForTheArticleBringsItsTableAndTheStoryAroundIt) {
    const GrabRules rules = shippedRules();
    std::wstring rows;
    for (int i = 0; i < 10; ++i) {
        rows += L"<TR><TD>Film " + std::to_wstring(i) + L"</TD><TD>19" + std::to_wstring(50 + i) +
                L"</TD><TD>A keeper lives the same stormy night again and again until he "
                L"learns to light the lamp in time for the boats out past the point.</TD></TR>";
    }
    const auto document = parsePage(
        L"<BODY><DIV id=list>" + paragraphs(L"intro", 1) +
        L"<TABLE><CAPTION>Films with time loops</CAPTION><THEAD><TR><TH>Film</TH><TH>Year</TH>"
        L"<TH>Description</TH></TR></THEAD><TBODY id=rows>" +
        rows + L"</TBODY></TABLE>" + paragraphs(L"closing", 1) + L"</DIV></BODY>");
    // Both finders take a long table's body for the article on a page that is a list.
    const std::wstring markup = storyMarkup(document->getElementById(L"rows"), rules);
    for (const wchar_t* kept :
         {L"intro0", L"Films with time loops", L"Description", L"Film 9", L"closing0"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    // Where the article found is the table's body, the automatic selection takes the table,
    // its caption and head with its rows.
    const auto list = parsePage(
        L"<BODY><TABLE id=table><CAPTION>Films with time loops</CAPTION>"
        L"<TBODY id=rows>" +
        rows + L"</TBODY></TABLE></BODY>");
    ASSERT_EQ(scoreByTags(list->body(), rules), list->getElementById(L"rows"));
    EXPECT_EQ(findArticleElement(list->body(), rules), list->getElementById(L"table"));
}

TEST(ArticleRules, ALeadParagraphSetInABlockOfItsOwnOpensTheStory) {
    const GrabRules rules = shippedRules();
    const auto document = parsePage(
        L"<BODY><DIV id=page><DIV class=article><DIV class=byline>By a keeper</DIV>"
        L"<DIV class=lead>A season of storms: the keepers of the northern light tell how they "
        L"kept the lamp <B>burning</B> through the worst winter anyone on the coast "
        L"remembers.</DIV><DIV id=body>" +
        paragraphs(L"story", 8) +
        L"</DIV><DIV class=tags><A href=/t/sea>the open sea</A> <A href=/t/storms>winter "
        L"storms</A> <A href=/t/lights>lighthouses of the coast</A></DIV></DIV></DIV></BODY>");
    const std::wstring markup = storyMarkup(document->getElementById(L"body"), rules);
    for (const wchar_t* kept : {L"A season of storms", L"story7"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    EXPECT_FALSE(keeps(markup, L"By a keeper"));
    EXPECT_FALSE(keeps(markup, L"winter storms"));

    // The lead set as a paragraph in a block of its own, the story's paragraphs beside it.
    const auto wrapped = parsePage(
        L"<BODY><DIV id=page><DIV class=story-body><DIV class=media><IMG src=a.jpg></DIV>"
        L"<DIV class=intro><P><STRONG>A season of storms: the keepers of the northern light "
        L"tell how they kept the lamp burning through the worst winter.</STRONG></P></DIV>" +
        paragraphs(L"story", 3) + L"<DIV id=more>" + paragraphs(L"more", 6) +
        L"</DIV></DIV></DIV></BODY>");
    const std::wstring opened = storyMarkup(wrapped->getElementById(L"more"), rules);
    for (const wchar_t* kept : {L"A season of storms", L"story0", L"more5"}) {
        EXPECT_TRUE(keeps(opened, kept)) << kept;
    }

    // The lead in a section of its own, a picture between it and the section of the rest.
    const auto sections = parsePage(
        L"<BODY><DIV id=page><SECTION class=intro><P>A season of storms: the keepers of the "
        L"northern light tell how they kept the lamp burning.</P></SECTION><DIV class=slot><IMG "
        L"src=a.jpg></DIV><SECTION id=rest>" +
        paragraphs(L"story", 8) + L"</SECTION></DIV></BODY>");
    const std::wstring led = storyMarkup(sections->getElementById(L"rest"), rules);
    for (const wchar_t* kept : {L"A season of storms", L"story7"}) {
        EXPECT_TRUE(keeps(led, kept)) << kept;
    }
}
