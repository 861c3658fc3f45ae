// The browser window driven as a person drives it: hovering and clicking on the article,
// saving with Ctrl+S into the real save dialog, the side pane's links, Ctrl+C.
#include <gtest/gtest.h>
#include <signal.h>

#include "host/browser/tests/browser_fixture.h"
#include "platform/text/utf.h"

using namespace browser_tests;

TEST_F(BrowserWindowTest, HoverClickAndCtrlSSaveTheParagraphUnderThePointer) {
    ASSERT_NO_FATAL_FAILURE(attachAndClickTheFirstParagraph());
    ASSERT_NO_FATAL_FAILURE(saveWithCtrlS("Keepers by hand"));
    expectTheFirstParagraphSavedAs(L"Keepers by hand");
}

TEST_F(BrowserWindowTest, CtrlCInTheTerminalEndsTheProgramCleanlyEvenWithADialogOpen) {
    ASSERT_NO_FATAL_FAILURE(attachAndClickTheFirstParagraph());
    xdo("key ctrl+s");
    ASSERT_FALSE(display.waitForWindow("Save", std::chrono::seconds(15)).empty());
    ::kill(browser.id(), SIGINT);
    const auto status = browser.wait(std::chrono::seconds(15));
    ASSERT_TRUE(status) << "still running after Ctrl+C";
    EXPECT_EQ(*status, 0);
}

TEST_F(BrowserWindowTest, TheSidePaneShowsTheNewClipBesideThePageAndOpensItsLinksInTheWindow) {
    ASSERT_NO_FATAL_FAILURE(attachAndClickTheFirstParagraph());
    const auto origin = pageOrigin();
    ASSERT_TRUE(origin);
    ASSERT_NO_FATAL_FAILURE(saveWithCtrlS("Keepers in the pane"));
    ASSERT_EQ(waitForEntries(1).size(), 1u);

    // After the save the explorer bar opens at the left and the pane's program draws its
    // page there, shown in this window.
    const auto link = paneLatestLink(origin->second);
    ASSERT_TRUE(link) << "the side pane's page is not shown beside the page";

    // A click on the link in the pane opens its address in the browser window.
    xdo("mousemove " + std::to_string(link->first) + " " + std::to_string(link->second));
    pause();
    xdo("click 1");
    EXPECT_FALSE(display.waitForWindow("Latest", std::chrono::seconds(20)).empty())
        << "the pane's link did not open in the window";
}

TEST_F(BrowserWindowTest, TheToolbarBandShowsEveryLinkAndItsExportOpensTheExportDialog) {
    const auto origin = pressTheToolbarButton();
    ASSERT_TRUE(origin);
    // The band's rows, read apart from the address bar above them; its last row's links are
    // in reach without scrolling the band.
    const int band = std::max(0, origin->second - 60);
    const auto exports = wordsOnScreen("Export", windowWidth(), origin->second - band, band);
    ASSERT_FALSE(exports.empty()) << "no Export link in the toolbar band";
    const auto link = exports.back();
    EXPECT_FALSE(wordsOnScreen("OneNote", windowWidth(), origin->second - band, band).empty())
        << "the band does not show its last link";
    xdo("mousemove " + std::to_string(link.first) + " " + std::to_string(link.second));
    pause();
    xdo("click 1");
    EXPECT_FALSE(display.waitForWindow("Export eBook", std::chrono::seconds(20)).empty())
        << "the toolbar's Export did not open its dialog";
}

TEST_F(BrowserWindowTest, ARightButtonDragAroundAParagraphSelectsItAndCtrlSSavesIt) {
    const auto origin = pressTheToolbarButton();
    ASSERT_TRUE(origin);
    const auto box = boxOf(L"hundred and forty years", windowWidth() - 14);
    ASSERT_TRUE(box);
    // From the page's left edge just above the paragraph to past its right edge (over the
    // scroll bar) just below it: the rectangle holds that paragraph alone.
    const int left = origin->first + box->left;
    const int top = origin->second + box->top - 5;
    const int right = origin->first + box->right + 8;
    const int bottom = origin->second + box->bottom + 5;
    xdo("mousemove " + std::to_string(left) + " " + std::to_string(top));
    pause();
    xdo("mousedown 3");
    pause();
    for (int step = 1; step <= 5; ++step) {
        xdo("mousemove " + std::to_string(left + (right - left) * step / 5) + " " +
            std::to_string(top + (bottom - top) * step / 5));
        pause(100);
    }
    pause();
    xdo("mouseup 3");
    pause(800);
    ASSERT_NO_FATAL_FAILURE(saveWithCtrlS("Rectangle by hand"));
    expectTheFirstParagraphSavedAs(L"Rectangle by hand");
}

TEST_F(BrowserWindowTest, TheHighlightMenusGrabTurnsTheSelectionIntoAReadablePage) {
    ASSERT_NO_FATAL_FAILURE(attachAndClickTheFirstParagraph());
    const auto origin = pageOrigin();
    ASSERT_TRUE(origin);
    const auto [x, y] = centreOf(L"hundred and forty years", windowWidth() - 14);
    xdo("mousemove " + std::to_string(origin->first + x) + " " +
        std::to_string(origin->second + y));
    pause();
    xdo("click 3");
    pause(1000);
    // The menu's Grab, not the toolbar's above the page.
    std::optional<std::pair<int, int>> item;
    for (const auto& [wordX, wordY] : wordsOnScreen("Grab", windowWidth())) {
        if (wordY > origin->second) {
            item = std::pair{wordX, wordY};
        }
    }
    ASSERT_TRUE(item) << "no Grab in the Highlight menu";
    xdo("mousemove " + std::to_string(item->first) + " " + std::to_string(item->second));
    pause();
    xdo("click 1");
    pause(2000);
    ASSERT_NO_FATAL_FAILURE(saveWithCtrlS("Grabbed by hand"));
    // The page Grab made reads as the article's readable page.
    for (const Entry& entry : expectTheFirstParagraphSavedAs(L"Grabbed by hand")) {
        EXPECT_NE(entry.html.find(L"readable"), std::wstring::npos)
            << platform::text::toUtf8(entry.html);
    }
}
