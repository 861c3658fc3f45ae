// The browser window driven as a person drives it: under Xvfb, with xdotool's pointer and
// keys, on the shipped example article, into a fresh home (repository, settings, pane
// configuration). Skips where Xvfb or xdotool is not installed.
//
// Contract: one program per test, killed at the end if it is still running. Every wait is
// generous and bounded; what a test looks for on screen is found in screenshots by colour.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/browser/tests/x_display.h"
#include "platform/dom/geometry.h"
#include "platform/system/process.h"
#include "testing/environment/temporary_home.h"

namespace browser_tests {

struct Entry {
    std::wstring title, text, html;
};

// Link text as pages colour it by default.
bool isLinkBlue(std::uint32_t rgb);
// The runs of link-blue pixels along row `y` between `left` and `right`, as [begin, end).
std::vector<std::pair<int, int>> blueRuns(const Screenshot& shot, int y, int left, int right);

class BrowserWindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    std::string xdo(const std::string& arguments) const;
    void pause(int ms = 300) const;

    // Where the page's top-left corner is on the screen: the first row, down the given
    // column, painted in the article's navigation colour. Waits up to ten seconds.
    std::optional<std::pair<int, int>> pageOrigin(int column = 600) const;
    // The centre of a paragraph of the article holding `text`, as the window lays it out.
    std::pair<int, int> centreOf(const std::wstring& text, int viewportWidth) const;
    // The box of that paragraph, as the window lays it out; none when it is not there.
    std::optional<platform::dom::Rect> boxOf(const std::wstring& text, int viewportWidth) const;
    int windowWidth() const;

    std::vector<Entry> entries() const;
    std::vector<Entry> waitForEntries(std::size_t count) const;
    // Expects one entry, saved under `title`, holding the article's first paragraph and
    // nothing after it; the entries there are.
    std::vector<Entry> expectTheFirstParagraphSavedAs(const std::wstring& title) const;

    // The centres of the words starting with `word` in the screen's `width` by `height`
    // pixels from the left edge at row `top`, read by tesseract; tries for up to ten
    // seconds until there is one.
    std::vector<std::pair<int, int>> wordsOnScreen(const std::string& word, int width,
                                                   int height = 4096, int top = 0) const;

    // Ctrl+S, then the title typed into the real save dialog, and Return.
    void saveWithCtrlS(const std::string& title);
    // Presses the toolbar button; where the page's top-left corner is then.
    std::optional<std::pair<int, int>> pressTheToolbarButton();
    // Presses the toolbar button, then points at the article's first paragraph and clicks.
    void attachAndClickTheFirstParagraph();
    // Clips the first paragraph under `title`; the side pane then opens beside the page.
    void clipTheFirstParagraph(const std::string& title);
    // Where the side pane's link "All latest clips" is, once the pane shows the new clip
    // (waits up to fifteen seconds).
    std::optional<std::pair<int, int>> paneLatestLink(int paneTop);

    testing_environment::TemporaryHome home;
    XDisplay display;
    platform::system::Process browser;
    std::string window;
};

}  // namespace browser_tests
