// Pages that never wait for their pictures: laid out at once, laid out again when the
// pictures arrive, against a loopback server that holds the pictures back.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/dom/document.h"
#include "platform/dom/layout/tests/page_geometry.h"
#include "platform/dom/resources/page_resources.h"
#include "platform/dom/resources/unreachable_hosts.h"
#include "platform/dom/task_queue.h"
#include "platform/imaging/canvas/canvas.h"
#include "platform/text/utf.h"
#include "testing/http/loopback_server.h"

using namespace platform::dom;
using namespace platform;
using platform::dom::testing::pngOf;
using Clock = std::chrono::steady_clock;

namespace {

// Far longer than a tiny page's layout takes, even on a loaded machine, and within a
// picture's own fetch limit.
constexpr std::chrono::milliseconds kHeldBack{1500};

// Pages laid out while it lives never wait for their pictures.
class NeverWaiting : public ::testing::Test {
  protected:
    void SetUp() override {
        forgetUnreachableHosts();
        setPictureWait(PictureWait::never);
    }
    void TearDown() override { setPictureWait(PictureWait::withinBudget); }
};

Rect boxOf(const Document& document, const wchar_t* id) {
    const auto element = document.getElementById(id);
    const auto box = element ? document.boxOf(*element) : std::nullopt;
    EXPECT_TRUE(box.has_value()) << "no box for " << text::toUtf8(id);
    return box.value_or(Rect{});
}

// Pumps the page's tasks until it was laid out again (false when it was not within a
// limit many times what the held-back pictures take).
bool pumpUntilLaidOutAgain(Document& document) {
    const std::uint64_t passes = document.layoutPasses();
    const auto limit = Clock::now() + std::chrono::seconds(20);
    while (Clock::now() < limit) {
        document.pumpTasks();
        if (document.layoutPasses() != passes)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

TEST_F(NeverWaiting, ThePageIsLaidOutAtOnceAndAgainWhenItsPicturesArrive) {
    testing_http::LoopbackServer server;
    server.reply("/a.png", {200, pngOf(37, 21), "image/png", {}, kHeldBack});
    server.reply("/b.png", {200, pngOf(90, 60), "image/png", {}, kHeldBack});
    auto document = Document::parse(
        L"<body style='margin:0'><div><img id=a src=/a.png></div>"
        L"<div><img id=b src=/b.png width=40 height=30></div><p id=after>After</p></body>",
        text::fromUtf8(server.url("/page.html")));

    // Laid out without the pictures: the sized one takes its attributes' size, the other
    // none, and nothing is drawn for them meanwhile.
    EXPECT_EQ(boxOf(*document, L"a").width(), 0);
    EXPECT_EQ(boxOf(*document, L"b").width(), 40);
    EXPECT_EQ(boxOf(*document, L"b").height(), 30);
    const int afterTop = boxOf(*document, L"after").top;
    const std::uint64_t passes = document->layoutPasses();

    ASSERT_TRUE(pumpUntilLaidOutAgain(*document));
    EXPECT_EQ(boxOf(*document, L"a").width(), 37);
    EXPECT_EQ(boxOf(*document, L"a").height(), 21);
    EXPECT_EQ(boxOf(*document, L"b").width(), 40);
    EXPECT_GT(boxOf(*document, L"after").top, afterTop);
    // The two pictures arrive together and lay the page out once.
    std::this_thread::sleep_for(PageResources::kArrivalBatch * 2);
    document->pumpTasks();
    EXPECT_EQ(document->layoutPasses(), passes + 1);

    // What the pointer finds follows the new layout.
    const Rect a = boxOf(*document, L"a");
    EXPECT_EQ(document->elementFromPoint(a.left + 30, a.top + 15), document->getElementById(L"a"));
}

TEST_F(NeverWaiting, APictureThatFailsStandsAsItsTextOnceItIsKnownToFail) {
    testing_http::LoopbackServer server;
    server.reply("/gone.png", {404, "", "text/plain", {}, kHeldBack});
    auto document = Document::parse(
        L"<body><p><img id=gone src=/gone.png alt='A picture of a lighthouse'></p></body>",
        text::fromUtf8(server.url("/page.html")));
    // On its way, it is a picture without a size, not yet its text.
    EXPECT_EQ(boxOf(*document, L"gone").width(), 0);
    ASSERT_TRUE(pumpUntilLaidOutAgain(*document));
    EXPECT_GT(boxOf(*document, L"gone").width(), 100);
}

TEST_F(NeverWaiting, ASettledLayoutHasThePicturesThatCameWithinTheBudget) {
    testing_http::LoopbackServer server;
    server.reply("/a.png", {200, pngOf(50, 20), "image/png", {}, kHeldBack});
    server.reply("/stalled.png", {200, pngOf(8, 8), "image/png", {}, std::chrono::seconds(30)});
    auto document =
        Document::parse(L"<body><img id=a src=/a.png><img id=stalled src=/stalled.png></body>",
                        text::fromUtf8(server.url("/page.html")));
    EXPECT_EQ(boxOf(*document, L"a").width(), 0);
    // A capture or a print waits within the budget, without the page's tasks being run;
    // the picture still on its way then is one that cannot be had, a broken picture's icon.
    document->settleLayout();
    EXPECT_EQ(boxOf(*document, L"a").width(), 50);
    EXPECT_EQ(boxOf(*document, L"stalled").width(), 16);
}

// What a picture leaves in its box when painted: its frame (grey on its edges) and the
// dark pixels of its text inside.
struct StandIn {
    bool framed = false;
    int inkTop = 0;
    int inkBottom = 0;
    int ink = 0;
};

StandIn standInOf(const Document& document, const wchar_t* id) {
    const Rect box = boxOf(document, id);
    imaging::Canvas canvas(box.right + 20, box.bottom + 20);
    document.layout().paint(canvas, {0, 0, canvas.width(), canvas.height()});
    const auto rgb = [&](int x, int y) { return canvas.pixel(x, y) & 0xFFFFFF; };
    StandIn standIn;
    const auto grey = [&](int x, int y) {
        const std::uint32_t colour = rgb(x, y);
        return colour == 0xC0C0C0 || colour == 0x9A9A9A;
    };
    standIn.framed = grey(box.left, box.top + box.height() / 2) &&
                     grey(box.left + box.width() / 2, box.bottom - 1);
    standIn.inkTop = box.bottom;
    for (int y = box.top + 1; y < box.bottom - 1; ++y)
        for (int x = box.left + 1; x < box.right - 1; ++x)
            if ((rgb(x, y) & 0xFF) < 128) {
                ++standIn.ink;
                standIn.inkTop = std::min(standIn.inkTop, y);
                standIn.inkBottom = std::max(standIn.inkBottom, y + 1);
            }
    return standIn;
}

// A print made while pictures are still on their way shows each as a browser shows a
// picture it does not have: its box framed, with its alternative text, never an empty hole.
// So for a page that waits within its budget and for one that never waits.
TEST_F(NeverWaiting, PicturesStillOnTheirWayAfterTheWaitArePrintedFramedWithTheirText) {
    for (const PictureWait wait : {PictureWait::never, PictureWait::withinBudget}) {
        SCOPED_TRACE(wait == PictureWait::never ? "never waits" : "waits within its budget");
        setPictureWait(wait);
        testing_http::LoopbackServer server;
        const auto stalled =
            testing_http::Reply{200, pngOf(8, 8), "image/png", {}, std::chrono::seconds(30)};
        server.reply("/harbour.png", stalled);
        server.reply("/bare.png", stalled);
        auto document = Document::parse(
            L"<body style='margin:0;font:16px serif'><img id=harbour src=/harbour.png width=220 "
            L"height=60 alt='Harbour'><br><img id=bare src=/bare.png width=100 height=40></body>",
            text::fromUtf8(server.url("/page.html")));
        document->settleLayout();
        for (const wchar_t* id : {L"harbour", L"bare"}) {
            SCOPED_TRACE(text::toUtf8(id));
            EXPECT_TRUE(standInOf(*document, id).framed);
        }
        EXPECT_GT(standInOf(*document, L"harbour").ink, 50) << "its text";
        EXPECT_EQ(standInOf(*document, L"bare").ink, 0);
        EXPECT_EQ(boxOf(*document, L"harbour").width(), 220);
    }
}

// A picture laid out while on its way and known to fail only when the page is painted
// stands as its text in its element's font, not in a default one.
TEST_F(NeverWaiting, APictureThatFailedAfterItsLayoutShowsItsTextInItsElementsFont) {
    testing_http::LoopbackServer server;
    server.reply("/gone.png", {404, "", "text/plain", {}, std::chrono::milliseconds(200)});
    auto document = Document::parse(
        L"<body style='margin:0;font:16px serif'><p style=\"font:bold 40px 'DejaVu Sans'\">"
        L"<img id=gone src=/gone.png width=300 height=80 alt='HHH'></p></body>",
        text::fromUtf8(server.url("/page.html")));
    EXPECT_EQ(boxOf(*document, L"gone").width(), 300);
    // Known to fail, but not laid out again: the page's tasks are not run.
    const auto limit = Clock::now() + std::chrono::seconds(20);
    while (!document->layout().outdated() && Clock::now() < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_TRUE(document->layout().outdated());
    const StandIn standIn = standInOf(*document, L"gone");
    EXPECT_TRUE(standIn.framed);
    // Capital letters 40 pixels tall in DejaVu Sans are some 29 rows high (16 px serif: 11).
    EXPECT_GE(standIn.inkBottom - standIn.inkTop, 25);
}

TEST_F(NeverWaiting, APageDestroyedWhileItsPicturesAreOnTheirWayEndsCleanly) {
    testing_http::LoopbackServer server;
    for (int i = 0; i < 8; ++i)
        server.reply("/s" + std::to_string(i) + ".png",
                     {200, pngOf(4, 4), "image/png", {}, std::chrono::seconds(30)});
    server.reply("/soon.png", {200, pngOf(4, 4), "image/png", {}, std::chrono::milliseconds(50)});
    std::wstring markup = L"<body><img src=/soon.png>";
    for (int i = 0; i < 8; ++i)
        markup += L"<img src=/s" + std::to_wstring(i) + L".png>";
    auto document = Document::parse(markup, text::fromUtf8(server.url("/page.html")));
    document->recalc(true);
    // One picture's arrival is announced to the page while it goes away.
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    const auto proxy = document->proxy();
    document.reset();
    EXPECT_FALSE(proxy.post([](Document&) {}));
}

// The arrival notice at the level of the resources: pictures a reader went on without are
// announced in batches, never those it had, and never after the resources are gone.
TEST_F(NeverWaiting, ArrivalsAreAnnouncedInBatchesOnlyForPicturesReadWithout) {
    testing_http::LoopbackServer server;
    for (int i = 0; i < 6; ++i)
        server.reply("/p" + std::to_string(i) + ".png",
                     {200, pngOf(5 + i, 5), "image/png", {}, std::chrono::milliseconds(300)});
    std::atomic<int> notices{0};
    PageResources resources(server.url("/page.html"), PictureWait::never);
    resources.setArrivalNotice([&] { ++notices; });
    for (int i = 0; i < 6; ++i)
        resources.request("/p" + std::to_string(i) + ".png");
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(resources.picture("/p" + std::to_string(i) + ".png"), nullptr);
        EXPECT_FALSE(resources.missing("/p" + std::to_string(i) + ".png"));
    }
    ASSERT_TRUE(resources.awaitArrivals(std::chrono::seconds(20)));
    EXPECT_EQ(resources.arrivals(), 5u);
    for (int i = 0; i < 5; ++i)
        ASSERT_NE(resources.picture("/p" + std::to_string(i) + ".png"), nullptr);
    const auto limit = Clock::now() + std::chrono::seconds(20);
    while (notices == 0 && Clock::now() < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    // Fetched side by side, five pictures are announced in fewer notices than five.
    EXPECT_GE(notices, 1);
    EXPECT_LT(notices, 5);
    // The sixth was never read while on its way: not counted.
    EXPECT_EQ(resources.arrivals(), 5u);
}

}  // namespace
