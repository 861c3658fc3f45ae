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
