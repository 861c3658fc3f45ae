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

    const auto saved = waitForEntries(1);
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].title, L"Keepers by hand");
    EXPECT_NE(saved[0].text.find(L"hundred and forty years"), std::wstring::npos)
        << platform::text::toUtf8(saved[0].text);
    EXPECT_EQ(saved[0].text.find(L"whitewashed stone"), std::wstring::npos);
    EXPECT_EQ(saved[0].text.find(L"Comments"), std::wstring::npos);
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

TEST_F(BrowserWindowTest, TheWheelOverTheToolbarBandBringsItsNextRowAndExportOpensItsDialog) {
    const auto origin = pressTheToolbarButton();
    ASSERT_TRUE(origin);
    // The toolbar's links fill more rows than its band shows; Export is on the second.
    const int band = origin->second - 15;
    xdo("mousemove 500 " + std::to_string(band));
    pause();
    xdo("click 5");
    pause(1000);
    std::optional<std::pair<int, int>> link;
    for (const auto& [x, y] : wordsOnScreen("Export", windowWidth(), origin->second)) {
        if (y < origin->second && y > band - 30) {
            link = std::pair{x, y};
        }
    }
    ASSERT_TRUE(link) << "no Export link in the toolbar band";
    xdo("mousemove " + std::to_string(link->first) + " " + std::to_string(link->second));
    pause();
    xdo("click 1");
    EXPECT_FALSE(display.waitForWindow("Export eBook", std::chrono::seconds(20)).empty())
        << "the toolbar's Export did not open its dialog";
}
