// The side pane's own menus and dialogs in the window, used by a person: the pane's program
// runs beside the browser window, its context menu and its settings button's menu are
// shown by the window and its settings dialog by the pane's program.
#include <fstream>
#include <sstream>

#include "host/browser/tests/browser_fixture.h"

using namespace browser_tests;

namespace {

constexpr std::uint32_t kSettingsGlyph = 0x4D733D;  // the "»" of the pane's settings button

bool isDarkText(std::uint32_t rgb) {
    return ((rgb >> 16) & 0xFF) < 0x50 && ((rgb >> 8) & 0xFF) < 0x50 && (rgb & 0xFF) < 0x50;
}

class PaneQuestionsTest : public BrowserWindowTest {
  protected:
    // Clips the first paragraph; the side pane then opens at the left and lists the clip.
    // The point of the link "All latest clips" under it.
    std::optional<std::pair<int, int>> clipAndShowThePane(const std::string& title) {
        clipTheFirstParagraph(title);
        if (HasFatalFailure()) {
            return std::nullopt;
        }
        const auto origin = pageOrigin();
        if (!origin) {
            return std::nullopt;
        }
        paneRight_ = origin->first;
        const auto link = paneLatestLink(origin->second);
        // The keys go to the browser window again once the save dialog has gone, and so
        // to the menus it opens.
        xdo("windowfocus --sync " + window);
        return link;
    }

    std::string paneConfiguration() const {
        std::ifstream in(home.dataHome() / "Olvan" / "Tamrix" / "config.xml");
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    int paneRight_ = 0;
};

}  // namespace

TEST_F(PaneQuestionsTest, TheContextMenuOfAClipInThePaneDeletesItFromTheRepository) {
    const auto link = clipAndShowThePane("Doomed by hand");
    ASSERT_TRUE(link) << "the side pane's page is not shown beside the page";

    // The clip's title is the nearest line of dark text above the link (the date line
    // between them is grey).
    const Screenshot shot = display.screenshot();
    std::optional<std::pair<int, int>> title;
    for (int y = link->second - 8; y > link->second - 80 && !title; --y) {
        int count = 0, sum = 0;
        for (int x = 5; x < paneRight_ - 20; ++x) {
            if (isDarkText(shot.pixel(x, y))) {
                ++count;
                sum += x;
            }
        }
        if (count >= 5) {
            title = std::pair{sum / count, y - 4};
        }
    }
    ASSERT_TRUE(title) << "no clip title in the pane";

    // The right button opens the clip's menu over the pane; its item Delete is chosen.
    xdo("mousemove " + std::to_string(title->first) + " " + std::to_string(title->second));
    pause();
    xdo("click 3");
    pause(1000);
    // Only the pane and what lies just beside it is read: the toolbox band above the page
    // has a Delete of its own.
    const auto items = wordsOnScreen("Delete", paneRight_ + 200);
    ASSERT_FALSE(items.empty()) << "no menu item Delete over the pane";
    const auto item = items.front();

    xdo("mousemove " + std::to_string(item.first) + " " + std::to_string(item.second));
    pause();
    xdo("click 1");

    std::vector<Entry> left = entries();
    for (int tries = 0; tries < 100 && !left.empty(); ++tries) {
        pause(200);
        try {
            left = entries();
        } catch (const std::exception&) {
            // The repository is being written; read it again in a moment.
        }
    }
    EXPECT_TRUE(left.empty()) << "the clip is still in the repository";
}

TEST_F(PaneQuestionsTest, TheSettingsDialogOfThePaneStoresWhatThePersonChanges) {
    const auto link = clipAndShowThePane("Kept");
    ASSERT_TRUE(link) << "the side pane's page is not shown beside the page";
    ASSERT_NE(paneConfiguration().find("name=\"tamrix\""), std::string::npos)
        << paneConfiguration();

    // The settings button at the bottom right of the pane.
    const Screenshot shot = display.screenshot();
    int count = 0, sumX = 0, sumY = 0;
    for (int y = link->second; y < shot.height; ++y) {
        for (int x = std::max(0, paneRight_ - 40); x < paneRight_; ++x) {
            if (shot.pixel(x, y) == kSettingsGlyph) {
                ++count;
                sumX += x;
                sumY += y;
            }
        }
    }
    ASSERT_GT(count, 0) << "no settings button in the pane";
    xdo("mousemove " + std::to_string(sumX / count) + " " + std::to_string(sumY / count));
    pause();
    xdo("click 1");
    pause(1000);
    const auto items = wordsOnScreen("Setting", paneRight_ + 200);
    ASSERT_FALSE(items.empty()) << "no menu item Setting... over the pane";
    xdo("mousemove " + std::to_string(items.front().first) + " " +
        std::to_string(items.front().second));
    pause();
    xdo("click 1");

    const std::string dialog = display.waitForWindow("Lorvane Setting", std::chrono::seconds(20));
    ASSERT_FALSE(dialog.empty()) << "the pane's settings dialog did not open";
    // The tick of the first row (the Tamrix page) is cleared, then Return is OK.
    xdo("mousemove --window " + dialog + " 34 57 click 1");
    pause(500);
    xdo("key Return");

    std::string stored = paneConfiguration();
    for (int tries = 0; tries < 100 && stored.find("name=\"tamrix\"") != std::string::npos;
         ++tries) {
        pause(200);
        stored = paneConfiguration();
    }
    EXPECT_NE(stored.find("<sidePages"), std::string::npos) << stored;
    EXPECT_EQ(stored.find("name=\"tamrix\""), std::string::npos) << stored;
    EXPECT_TRUE(display.waitForWindow("Lorvane Setting", std::chrono::seconds(1)).empty())
        << "the dialog is still open";
}
