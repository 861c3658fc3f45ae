#include <gtest/gtest.h>

#include "addon/readable/article_markup.h"
#include "addon/readable/name_ranks.h"
#include "addon/readable/tests/readable_fixtures.h"

using namespace addon;
using namespace page_fixtures;

TEST(StoryCleanup, TheStorysFooterGoesAndAQuotationKeepsItsSource) {
    const GrabRules rules = shippedRules();
    const auto document = parsePage(
        L"<BODY><ARTICLE id=story>" + paragraphs(L"story", 3) +
        L"<BLOCKQUOTE><P>The sea gives and the sea takes.</P><FOOTER>An old keeper</FOOTER>"
        L"</BLOCKQUOTE><FIGURE><IMG src=/pier.jpg><FOOTER>Harbour office</FOOTER></FIGURE>" +
        paragraphs(L"end", 2) +
        L"<FOOTER class=\"story-footer story-content\"><P>A version of this article appears "
        L"in print on page 7. <A href=/reprints>Order Reprints</A> | <A href=/paper>Today's "
        L"Paper</A></P></FOOTER></ARTICLE></BODY>");
    const std::wstring markup = articleMarkup(document->body(), rules);
    for (const wchar_t* kept : {L"story2", L"An old keeper", L"Harbour office", L"end1"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    EXPECT_FALSE(keeps(markup, L"appears in print"));
    EXPECT_FALSE(keeps(markup, L"Order Reprints"));
}

TEST(StoryCleanup, ABylineAboveTheStoryGoesAndANoteOnTheAuthorBelowItStays) {
    const GrabRules rules = shippedRules();
    const auto document = parsePage(
        L"<BODY><DIV id=story><DIV class=author_fmt>By <A href=/jane>Jane Keeper</A><BR>Harbour "
        L"News</DIV><SPAN itemprop=author>Sam Pier</SPAN><DIV class=\"meta-byline\">"
        L"<TIME>Feb 23, 2015</TIME></DIV><P><SPAN class=dateline>PORTSMOUTH</SPAN> - the boats "
        L"were counted again at dawn.</P>" +
        paragraphs(L"story", 3) +
        L"<P class=author-bio>Jane Keeper writes on the sea.</P></DIV></BODY>");
    const std::wstring markup = articleMarkup(document->body(), rules);
    for (const wchar_t* kept :
         {L"PORTSMOUTH</SPAN> - the boats", L"story2", L"writes on the sea"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    for (const wchar_t* gone : {L"Jane Keeper</A>", L"Harbour News", L"Sam Pier", L"Feb 23"}) {
        EXPECT_FALSE(keeps(markup, gone)) << gone;
    }
}

TEST(StoryCleanup, ALineHoldingTheAuthorsMarkIsABylineUnlessItHoldsAHeading) {
    const GrabRules rules = shippedRules();
    const auto document = parsePage(
        L"<BODY><DIV id=story><DIV><H2>The keepers' winter</H2><SPAN itemprop=author>Jane "
        L"Keeper</SPAN></DIV><P class=signature>Harbour News | <TIME>04.05.2015</TIME> | By "
        L"<SPAN itemprop=author><A href=/sam>Sam Pier</A></SPAN> (with Ann Bell)</P>" +
        paragraphs(L"story", 3) + L"</DIV></BODY>");
    const std::wstring markup = articleMarkup(document->body(), rules);
    EXPECT_TRUE(keeps(markup, L"The keepers' winter"));
    EXPECT_TRUE(keeps(markup, L"story2"));
    EXPECT_FALSE(keeps(markup, L"Sam Pier"));
    EXPECT_FALSE(keeps(markup, L"04.05.2015"));
}

TEST(StoryCleanup, ABylineIsAShortLineNamedForTheAuthor) {
    const auto document =
        parsePage(L"<BODY><DIV id=long class=byline>" + paragraphs(L"story", 1) +
                  L"</DIV><DIV id=authority class=authority>By the harbour office</DIV>"
                  L"<DIV id=empty class=byline> </DIV><A id=link rel=\"author me\" href=/j>Jane</A>"
                  L"<PRE><SPAN id=token class=author>x</SPAN></PRE></BODY>");
    const auto element = [&](const wchar_t* id) { return document->getElementById(id); };
    EXPECT_TRUE(isBylineByName(*element(L"link")));
    EXPECT_FALSE(isBylineByName(*element(L"long")));
    EXPECT_FALSE(isBylineByName(*element(L"authority")));
    EXPECT_FALSE(isBylineByName(*element(L"empty")));
    EXPECT_FALSE(isBylineByName(*element(L"token")));
}

TEST(StoryCleanup, ACaptchasNoticeBesideASignUpBoxGoesWithTheBox) {
    const GrabRules rules = shippedRules();
    // Named for the captcha, or unnamed in the captcha's own words; a sentence of the story
    // that names the captcha stays.
    const auto document = parsePage(
        L"<BODY><DIV id=story>" + paragraphs(L"story", 3) +
        L"<DIV class=inline-box><P>The morning briefing, in your inbox.</P><INPUT type=email>"
        L"</DIV><P class=recaptcha-terms>This site is guarded by a captcha; its privacy "
        L"policy and terms of service apply.</P><DIV class=grecaptcha-badge><SPAN>Protected"
        L"</SPAN></DIV><P>This site is protected by reCAPTCHA and the Google Privacy Policy "
        L"and Terms of Service apply.</P><P>The harbour office put reCAPTCHA on its booking "
        L"page to keep the bots out.</P>" +
        paragraphs(L"end", 2) + L"</DIV></BODY>");
    const std::wstring markup = articleMarkup(document->body(), rules);
    for (const wchar_t* kept : {L"story2", L"keep the bots out", L"end1"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    for (const wchar_t* gone :
         {L"morning briefing", L"guarded by", L"Protected", L"protected by reCAPTCHA"}) {
        EXPECT_FALSE(keeps(markup, gone)) << gone;
    }
}

TEST(StoryCleanup, AGallerysControlsItsCounterAndAShareBarGoWhateverTheirNames) {
    const GrabRules rules = shippedRules();
    const std::wstring shareBar =
        L"<DIV class=tools><SPAN>Share this story</SPAN>"
        L"<A href=\"https://www.facebook.com/sharer/sharer.php?u=/s\"><SVG></SVG></A>"
        L"<A href=\"https://twitter.com/intent/tweet?url=/s\">Post</A>"
        L"<A href=\"mailto:?subject=s\">Email</A></DIV>";
    const std::wstring gallery =
        L"<DIV class=m-viewer><DIV>Image 1 of 23</DIV><IMG src=/pier.jpg><P>The pier at dawn.</P>"
        L"<A href=#>Close</A><A href=\"javascript:void(0)\">fewer</A><A href=\"\">expand</A>"
        L"<A href=#><IMG src=/next.jpg></A></DIV>";
    const std::wstring story =
        L"<P>Read <A href=#>more</A> of it: 1 of 3 boats came home.</P>"
        L"<H3><A href=#>The second winter</A></H3>"
        L"<P>Follow us on <A href=\"https://twitter.com/harbour\">Twitter</A> and "
        L"<A href=\"https://www.facebook.com/harbour\">Facebook</A></P>"
        L"<TABLE><TR><TD>3 of 10</TD></TR></TABLE><H2>Part 2 of 3</H2>";
    const auto document = parsePage(L"<BODY><DIV id=story>" + paragraphs(L"story", 3) + shareBar +
                                    gallery + story + paragraphs(L"end", 2) + L"</DIV></BODY>");
    const std::wstring markup = articleMarkup(document->body(), rules);
    for (const wchar_t* kept :
         {L"story2", L"The pier at dawn", L"pier.jpg", L"next.jpg", L"more</A> of it: 1 of 3",
          L"The second winter", L"Follow us", L"3 of 10", L"Part 2 of 3", L"end1"}) {
        EXPECT_TRUE(keeps(markup, kept)) << kept;
    }
    for (const wchar_t* gone :
         {L"Share this story", L"Post", L"Email", L"Image 1", L"Close", L"fewer", L"expand"}) {
        EXPECT_FALSE(keeps(markup, gone)) << gone;
    }
}
