#include <gtest/gtest.h>

#include "addon/page/tests/page_fixtures.h"

#include "addon/linkfetch/grab_links.h"

using namespace addon;
using namespace page_fixtures;

TEST(GrabLinks, OnlyWebAddressesResolvedAgainstThePageEachOnce) {
    const auto document = parsePage(
        L"<body><div id=block>"
        L"<a href='next.html'>Next</a> <a href=' /top.html '>Top</a>"
        L"<a href='//cdn.example/x'>Net path</a> <a href='HTTPS://Secure.example/a'>Secure</a>"
        L"<a href='https://secure.example/A'>Same again</a> <a href='story.html'>Self</a>"
        L"<a href='javascript:go()'>Script</a> <a href=' JavaScript:go()'>Script 2</a>"
        L"<a href='vbscript:x'>VB</a> <a href='mailto:a@b.example'>Mail</a>"
        L"<a href='file:///etc/passwd'>File</a> <a href='tarn://tamrix/latest'>Repo</a>"
        L"<a href='data:text/html,x'>Data</a> <a name=anchor>No address</a></div>"
        L"<a id=outside href='http://elsewhere.example/'>Outside</a></body>",
        L"http://news.example/world/story.html");
    const auto links =
        collectGrabLinks({SelectionItem::ofElements({document->getElementById(L"block")})},
                         L"Story", L"http://news.example/world/story.html");
    const std::vector<common::StringPair> expected = {
        {L"Story", L"http://news.example/world/story.html"},
        {L"Next", L"http://news.example/world/next.html"},
        {L"Top", L"http://news.example/top.html"},
        {L"Net path", L"http://cdn.example/x"},
        {L"Secure", L"HTTPS://Secure.example/a"}};
    EXPECT_EQ(links, expected);
}

TEST(GrabLinks, ASelectedLinkCountsAndNothingSelectedGivesThePageAlone) {
    const auto document =
        parsePage(L"<body><a id=only href='b.html'>B</a></body>", L"https://site.example/a/");
    EXPECT_EQ(collectGrabLinks({}, L"Page", L"https://site.example/a/").size(), 1u);
    const auto links =
        collectGrabLinks({SelectionItem::ofElements({document->getElementById(L"only")})}, L"Page",
                         L"https://site.example/a/");
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[1].value, L"https://site.example/a/b.html");
}
