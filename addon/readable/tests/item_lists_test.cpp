#include <gtest/gtest.h>

#include "addon/page/tests/page_fixtures.h"
#include "addon/readable/article_markup.h"
#include "addon/readable/blocks/item_lists.h"
#include "addon/readable/tests/readable_fixtures.h"

using namespace addon;
using namespace page_fixtures;

namespace {

// `count` teasers of other stories: a linked headline and a summary each.
std::wstring teasers(int count) {
    std::wstring html;
    for (int i = 0; i < count; ++i) {
        const std::wstring number = std::to_wstring(i);
        html += L"<DIV class=card><H3><A href=/s" + number + L">Another harbour, story " + number +
                L"</A></H3><P>tease" + number +
                L" a summary of another story from the coast, with a few words about the sea, "
                L"the boats and the people who wait for them.</P></DIV>";
    }
    return html;
}

// `count` reader remarks: a linked name, a time, the remark and a reply link each.
std::wstring remarks(int count) {
    std::wstring html;
    for (int i = 0; i < count; ++i) {
        const std::wstring number = std::to_wstring(i);
        html += L"<DIV class=item><DIV class=meta><A href=/u" + number + L">reader" + number +
                L"</A> <SPAN>2 hours ago</SPAN></DIV><P>remark" + number +
                L" I grew up on that coast and remember the light. My father kept it for twenty "
                L"years, and we never lost a boat while he did.</P><A href=/r>Reply</A></DIV>";
    }
    return html;
}

}  // namespace

TEST(ItemLists, TeasersOrRemarksOutweighingTheStoryAreNotTheArticle) {
    const GrabRules rules = shippedRules();
    // Named for nothing the rules know; their text outweighs the story's.
    for (const std::wstring& list :
         {L"<DIV class=more-from-the-coast><H2>More</H2>" + teasers(14) + L"</DIV>",
          L"<DIV class=thread><H2>42 responses</H2>" + remarks(12) + L"</DIV>"}) {
        for (const bool listFirst : {false, true}) {
            const std::wstring story =
                L"<DIV><H1>Keepers count the boats</H1>" + paragraphs(L"story", 4) + L"</DIV>";
            const auto document =
                parsePage(L"<BODY><DIV class=layout>" + (listFirst ? list + story : story + list) +
                          L"</DIV></BODY>");
            const std::wstring markup = articleMarkup(document->body(), rules);
            EXPECT_TRUE(keeps(markup, L"story0")) << list;
            EXPECT_TRUE(keeps(markup, L"story3")) << list;
            EXPECT_FALSE(keeps(markup, L"tease1")) << list;
            EXPECT_FALSE(keeps(markup, L"remark1")) << list;
        }
    }
}

TEST(ItemLists, ItemsLinkedAfterTheirTextOrHoldingMoreThanASummaryAreStory) {
    ItemLists lists;
    // Items whose links follow their text (a list of features), items holding more than a
    // summary (the parts of a story) and paragraphs carrying their links inside them.
    std::wstring features;
    std::wstring parts;
    std::wstring linked;
    for (int i = 0; i < 6; ++i) {
        const std::wstring number = std::to_wstring(i);
        features +=
            L"<LI><H2>Tool " + number +
            L"</H2><P>Examine the lamp and its lenses.</P><A href=/more>Learn more</A></LI>";
        parts += L"<DIV class=part><H3><A href=/p" + number + L">Part " + number + L"</A></H3>" +
                 paragraphs(L"part", 3) + L"</DIV>";
        linked += L"<DIV class=para><P>The <A href=/k>keepers</A> counted the boats.</P></DIV>";
    }
    const auto document = parsePage(L"<BODY><UL id=features>" + features + L"</UL><DIV id=parts>" +
                                    parts + L"</DIV><DIV id=linked>" + linked +
                                    L"</DIV><DIV id=teasers>" + teasers(5) + L"</DIV></BODY>");
    const auto firstOf = [&](const wchar_t* id) {
        return document->getElementById(id)->children().front();
    };
    EXPECT_FALSE(lists.isListItem(firstOf(L"features")));
    EXPECT_FALSE(lists.isListItem(firstOf(L"parts")));
    EXPECT_FALSE(lists.isListItem(firstOf(L"linked")));
    EXPECT_TRUE(lists.isListItem(firstOf(L"teasers")));
    // The list itself is no item, nor is the page.
    EXPECT_FALSE(lists.isListItem(document->getElementById(L"teasers")));
    EXPECT_FALSE(lists.isListItem(document->documentElement()));
    EXPECT_FALSE(lists.isListItem(nullptr));
}
