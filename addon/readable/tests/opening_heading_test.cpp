#include <gtest/gtest.h>

#include "addon/page/tests/page_fixtures.h"
#include "addon/readable/article_markup.h"
#include "addon/readable/tests/readable_fixtures.h"

using namespace addon;
using namespace page_fixtures;

namespace {

std::wstring titledPage(const std::wstring& body) {
    return L"<HTML><HEAD><TITLE>Harbour notes: the night of the storm</TITLE></HEAD>" + body +
           L"</HTML>";
}

}  // namespace

TEST(OpeningHeading, TheHeadlineSetBeforeTheStorysBlocksOpensIt) {
    const GrabRules rules = shippedRules();
    // The headline says more than the title, so the readable page's header does not show it.
    const std::wstring headline = L"Harbour notes: the keepers counted every boat home";
    // Before the story's first block, and before the block that wraps the story.
    for (const std::wstring& story : {L"<H1>" + headline + L"</H1><DIV>" + paragraphs(L"first", 2) +
                                          L"</DIV><DIV>" + paragraphs(L"second", 2) + L"</DIV>",
                                      L"<H1>" + headline + L"</H1><DIV class=wrap><DIV id=body>" +
                                          paragraphs(L"first", 3) + L"</DIV></DIV>"}) {
        const auto document =
            parsePage(titledPage(L"<BODY><DIV id=menu><A href=/>Home</A> <A href=/n>News</A></DIV>"
                                 L"<ARTICLE>" +
                                 story + L"</ARTICLE></BODY>"));
        const std::wstring markup = articleMarkup(document->body(), rules);
        EXPECT_TRUE(keeps(markup, headline)) << story;
        EXPECT_TRUE(keeps(markup, L"first0")) << story;
    }
}

TEST(OpeningHeading, AHeadingWithOtherTextBeforeTheStoryIsNotItsHeading) {
    const GrabRules rules = shippedRules();
    // The site's name set as H1 above its menu, and a heading above a teaser, not the story.
    const auto document = parsePage(
        titledPage(L"<BODY><DIV id=top><H1>The Harbour Gazette</H1><UL><LI>Tides</LI><LI>Boats and "
                   L"weather</LI></UL></DIV><DIV id=page><H1>Also today</H1><P><A href=/ferry>The "
                   L"ferry runs late</A></P>"
                   L"<DIV id=story>" +
                   paragraphs(L"story", 3) + L"</DIV></DIV></BODY>"));
    const std::wstring markup = articleMarkup(document->body(), rules);
    EXPECT_TRUE(keeps(markup, L"story2"));
    EXPECT_FALSE(keeps(markup, L"Harbour Gazette"));
    EXPECT_FALSE(keeps(markup, L"Also today"));
}
