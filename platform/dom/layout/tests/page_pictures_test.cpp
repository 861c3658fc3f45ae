#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/dom/document.h"
#include "platform/dom/layout/tests/page_geometry.h"
#include "platform/dom/picture_source.h"
#include "platform/dom/resources/page_resources.h"
#include "platform/dom/resources/unreachable_hosts.h"
#include "platform/text/utf.h"
#include "testing/http/loopback_server.h"

using namespace platform::dom;
using namespace platform;
using platform::dom::testing::pngOf;
using Clock = std::chrono::steady_clock;

namespace {

Rect boxOf(const std::shared_ptr<Document>& document, const wchar_t* id) {
    const auto element = document->getElementById(id);
    const auto box = element ? document->boxOf(*element) : std::nullopt;
    EXPECT_TRUE(box.has_value()) << "no box for the element";
    return box.value_or(Rect{});
}

long long millisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

std::wstring sourceOf(const std::wstring& markup) {
    auto document = Document::parse(markup, L"http://example.org/page.html");
    return pictureSource(*document->getElementById(L"p"));
}

TEST(PictureSource, SrcsetPictureAndLazyAttributesChooseAsABrowserAt1x) {
    EXPECT_EQ(chooseFromSrcset(L"a.jpg 2x, b.jpg 1x, c.jpg 1.5x", 800), L"b.jpg");
    EXPECT_EQ(chooseFromSrcset(L"a.jpg 0.5x, c.jpg 3x, d.jpg 1.5x", 800), L"d.jpg");
    EXPECT_EQ(chooseFromSrcset(L"a.jpg 0.5x", 800), L"a.jpg");
    // Width candidates: the narrowest that fills the slot.
    EXPECT_EQ(chooseFromSrcset(L"s.jpg 320w, m.jpg 640w, l.jpg 1280w", 600), L"m.jpg");
    EXPECT_EQ(chooseFromSrcset(L"s.jpg 320w,m.jpg 640w", 2000), L"m.jpg");
    // Addresses with commas inside, and broken descriptors.
    EXPECT_EQ(chooseFromSrcset(L"x.jpg?w=1,2 1x", 800), L"x.jpg?w=1,2");
    EXPECT_EQ(chooseFromSrcset(L"bad.jpg zx, good.jpg", 800), L"good.jpg");
    EXPECT_EQ(chooseFromSrcset(L"  ,, ", 800), L"");

    EXPECT_EQ(sourceOf(L"<img id=p src=a.jpg srcset='b.jpg 2x'>"), L"a.jpg");
    EXPECT_EQ(sourceOf(L"<img id=p src=a.jpg srcset='b.jpg 1x, c.jpg 2x'>"), L"b.jpg");
    EXPECT_EQ(sourceOf(L"<img id=p src=a.jpg sizes='(max-width:600px) 100vw, 300px' "
                       L"srcset='s.jpg 200w, m.jpg 400w, l.jpg 900w'>"),
              L"m.jpg");
    EXPECT_EQ(sourceOf(L"<picture><source type=image/webp srcset=w.webp>"
                       L"<source media='(min-width: 900px)' srcset=wide.jpg>"
                       L"<source srcset='p.jpg 1x, p2.jpg 2x'><img id=p src=fallback.jpg>"
                       L"</picture>"),
              L"p.jpg");
    EXPECT_EQ(sourceOf(L"<img id=p src='data:image/gif;base64,R0lGODlhAQABAAAAACw=' "
                       L"data-src='/real.jpg'>"),
              L"/real.jpg");
    EXPECT_EQ(sourceOf(L"<img id=p src='/img/blank.gif' data-srcset='r.jpg 1x'>"), L"r.jpg");
    EXPECT_EQ(sourceOf(L"<img id=p data-lazy-src='/late.jpg'>"), L"/late.jpg");
    // A real src keeps its place even beside lazy attributes.
    EXPECT_EQ(sourceOf(L"<img id=p src='/shown.jpg' data-src='/other.jpg'>"), L"/shown.jpg");
    EXPECT_EQ(sourceOf(L"<img id=p>"), L"");
}

TEST(PageResources, PicturesAreFetchedTogetherAndArriveForTheLayout) {
    forgetUnreachableHosts();
    testing_http::LoopbackServer server;
    for (int i = 0; i < 6; ++i)
        server.reply("/p" + std::to_string(i) + ".png",
                     {200, pngOf(10 + i, 5), "image/png", {}, std::chrono::milliseconds(1000)});
    const auto start = Clock::now();
    auto document = Document::parse(
        L"<body><img id=a src='data:,' data-src='/p0.png'><img src=/p1.png><img src=/p2.png>"
        L"<picture><source srcset='/p3.png 1x'><img id=b src=/p4.png></picture>"
        L"<img src=/p5.png></body>",
        text::fromUtf8(server.url("/page.html")));
    EXPECT_EQ(boxOf(document, L"a").width(), 10);
    EXPECT_EQ(boxOf(document, L"b").width(), 13);
    // Five pictures of 1 s each, fetched side by side: one after the other they would take
    // 5 s at least (the page's p4.png is never needed).
    EXPECT_LT(millisecondsSince(start), 4500);
    for (const auto& request : server.requests())
        EXPECT_NE(request.path, "/p4.png");
}

TEST(PageResources, APageWaitsNoLongerThanItsBudgetAndForgetsDeadHosts) {
    forgetUnreachableHosts();
    testing_http::LoopbackServer stalled;
    for (int i = 0; i < 10; ++i)
        stalled.reply("/s" + std::to_string(i) + ".png",
                      {200, pngOf(4, 4), "image/png", {}, std::chrono::milliseconds(20000)});
    auto start = Clock::now();
    {
        PageResources resources(stalled.url("/page.html"));
        for (int i = 0; i < 10; ++i)
            resources.request("/s" + std::to_string(i) + ".png");
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(resources.picture("/s" + std::to_string(i) + ".png"), nullptr);
    }
    // Waiting, then cancelling what is under way, within the budget and the time a loaded
    // machine takes to wind the workers down: far less than the 20 s the server stalls.
    EXPECT_LT(millisecondsSince(start),
              std::chrono::milliseconds(PageResources::kPageFetchBudget).count() + 5000);
    EXPECT_TRUE(hostUnreachable(stalled.url("/other.png")));

    // A host that refuses connections is not asked again, by this page or the next.
    std::string closed;
    {
        testing_http::LoopbackServer gone;
        closed = gone.url("/x.png");
    }
    PageResources first(closed);
    EXPECT_EQ(first.picture("/x.png"), nullptr);
    EXPECT_TRUE(hostUnreachable(closed));
    start = Clock::now();
    PageResources next(closed);
    EXPECT_EQ(next.picture("/y.png"), nullptr);
    EXPECT_LT(millisecondsSince(start), 1000);
    EXPECT_EQ(hostKeyOf("HTTP://Example.org/a?b"), "http://example.org:80");
    EXPECT_EQ(hostKeyOf("https://u@[::1]:8443/x"), "https://[::1]:8443");
    EXPECT_EQ(hostKeyOf("file:///tmp/x.png"), "");
}

TEST(PageResources, APictureAskedForAfterTheBudgetLeavesItsHostTrusted) {
    forgetUnreachableHosts();
    testing_http::LoopbackServer server;
    server.reply("/first.png", {200, pngOf(3, 3), "image/png"});
    server.reply("/later.png", {200, pngOf(5, 5), "image/png", {}, std::chrono::milliseconds(500)});
    PageResources resources(server.url("/page.html"));
    ASSERT_NE(resources.picture("/first.png"), nullptr);
    // The page's budget runs out; a picture added to the page then is not waited for.
    std::this_thread::sleep_for(PageResources::kPageFetchBudget + std::chrono::milliseconds(100));
    resources.request("/later.png");
    const auto sentBy = Clock::now() + std::chrono::seconds(10);
    while (server.requests().size() < 2 && Clock::now() < sentBy)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(resources.picture("/later.png"), nullptr);
    // Its host answered the page's first picture at once: the next page still asks it.
    EXPECT_FALSE(hostUnreachable(server.url("/other.png")));
}

}  // namespace
