// The browser window driven as a person drives it: under Xvfb, with xdotool's pointer and
// keys, on the shipped example article, into a fresh repository.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "common/sqlite/sqlite_db.h"
#include "common/util/registry_int.h"
#include "host/browser/tests/x_display.h"
#include "platform/dom/document.h"
#include "platform/dom/window.h"
#include "platform/system/process.h"
#include "platform/text/utf.h"
#include "testing/environment/temporary_home.h"

namespace {

namespace fs = std::filesystem;
namespace dom = platform::dom;
using browser_tests::Screenshot;
using browser_tests::XDisplay;

const fs::path kBrowser = fs::path(TAMRIX_STAGE_DIR) / "bin" / "tamrix-browser";
const fs::path kArticle = fs::path(TAMRIX_STAGE_DIR) / "data" / "examples" / "article.html";
constexpr std::uint32_t kSiteNav = 0x222233;  // the article's navigation bar

struct Entry {
    std::wstring title, text;
};

class BrowserWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(display.ready()) << "Xvfb did not start";
        // The page attaches without its main block selected, so the person's click makes
        // the only selection.
        common::registry_int<std::int32_t> initialOperation(
            L"Software\\Olvan\\Tamrix\\Operate\\InitOperation",
            platform::registry::HKEY_CURRENT_USER, 1, 4);
        initialOperation = 0;
        ASSERT_TRUE(browser.start({kBrowser.string(), kArticle.string()},
                                  {.workingFolder = "", .discardOutput = true}))
            << browser.error();
        window = display.waitForWindow("Lighthouse Keepers");
        ASSERT_FALSE(window.empty()) << "the browser window did not appear";
        xdo("windowfocus --sync " + window);
    }
    void TearDown() override {
        if (browser.isRunning()) {
            browser.kill();
        }
    }

    std::string xdo(const std::string& arguments) const {
        return display.run("xdotool " + arguments);
    }
    void pause(int ms = 300) const { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

    // Where the page's top-left corner is on the screen: the first row, down the given
    // column, painted in the article's navigation colour.
    // Waits up to ten seconds for it to be painted.
    std::optional<std::pair<int, int>> pageOrigin(int column = 600) const {
        for (int tries = 0; tries < 50; ++tries) {
            const Screenshot shot = display.screenshot();
            for (int y = 0; y < shot.height; ++y) {
                if (shot.pixel(column, y) == kSiteNav) {
                    int x = column;
                    while (x > 0 && shot.pixel(x - 1, y) == kSiteNav) {
                        --x;
                    }
                    return std::pair{x, y};
                }
            }
            pause(200);
        }
        display.savePng((home.root() / "no-page.png").string());
        return std::nullopt;
    }

    // The centre of an element of the article as the window lays it out (the window's page
    // is as wide as the screen's window less its scroll bar).
    std::pair<int, int> centreOf(const std::wstring& selector, int viewportWidth) const {
        const auto page =
            dom::Document::parse(std::string_view(readFile(kArticle)),
                                 platform::text::fromUtf8("file://" + kArticle.string()));
        page->parentWindow().resizeTo(viewportWidth, 700);
        std::shared_ptr<dom::Element> element;
        for (const auto& candidate : page->getElementsByTagName(L"P")) {
            if (candidate->innerText().find(selector) != std::wstring::npos) {
                element = candidate;
                break;
            }
        }
        const auto box = element ? page->boxOf(*element) : std::nullopt;
        return box ? std::pair{(box->left + box->right) / 2, (box->top + box->bottom) / 2}
                   : std::pair{-1, -1};
    }

    static std::string readFile(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    std::vector<Entry> entries() const {
        const fs::path repository = home.dataHome() / "Olvan" / "Tamrix" / "tamrix.db";
        std::vector<Entry> found;
        if (!fs::exists(repository)) {
            return found;
        }
        common::SqliteDB db(repository.wstring(), true);
        auto statement = db.prepareStatement(L"SELECT title, text FROM entry ORDER BY rowid");
        for (auto rows = statement.query(); !rows.eof(); rows.next()) {
            found.push_back({rows.columnText(0), rows.columnText(1)});
        }
        return found;
    }

    std::vector<Entry> waitForEntries(std::size_t count) const {
        for (int tries = 0; tries < 100; ++tries) {
            try {
                if (auto found = entries(); found.size() >= count) {
                    return found;
                }
            } catch (const std::exception&) {
                // The repository is being written; read it again in a moment.
            }
            pause(200);
        }
        return entries();
    }

    int windowWidth() const {
        std::istringstream geometry(xdo("getwindowgeometry --shell " + window));
        std::string line;
        while (std::getline(geometry, line)) {
            if (line.starts_with("WIDTH=")) {
                return std::stoi(line.substr(6));
            }
        }
        return 0;
    }

    // Ctrl+S, then the title typed into the real save dialog, and Return.
    void saveWithCtrlS(const std::string& title) {
        xdo("key ctrl+s");
        const std::string dialog = display.waitForWindow("Save", std::chrono::seconds(15));
        ASSERT_FALSE(dialog.empty()) << "no save dialog";
        xdo("windowfocus --sync " + dialog);
        pause(500);
        // The title field holds the page's title, selected or not: all of it is typed over.
        xdo("key ctrl+a");
        xdo("type --delay 20 '" + title + "'");
        pause(300);
        xdo("key Return");
    }

    // Presses the toolbar button; where the page's top-left corner is then.
    std::optional<std::pair<int, int>> pressTheToolbarButton() {
        const auto before = pageOrigin();
        EXPECT_TRUE(before) << "the article is not painted";
        if (!before) {
            return std::nullopt;
        }
        // The toolbar button at the right end of the tool bar, above the page.
        xdo("mousemove " + std::to_string(windowWidth() - 40) + " " +
            std::to_string(before->second / 2) + " click 1");
        pause(1500);
        const auto origin = pageOrigin();
        EXPECT_TRUE(origin && origin->second > before->second)
            << "the toolbox band did not open above the page";
        return origin;
    }

    // Presses the toolbar button, then points at the article's first paragraph and clicks.
    void attachAndClickTheFirstParagraph() {
        const auto origin = pressTheToolbarButton();
        ASSERT_TRUE(origin);

        const auto [x, y] = centreOf(L"hundred and forty years", windowWidth() - 14);
        EXPECT_GT(y, 0);
        const std::string at =
            std::to_string(origin->first + x) + " " + std::to_string(origin->second + y);
        xdo("mousemove " + at);
        pause();
        xdo("mousemove_relative 3 2");
        pause();
        xdo("click 1");
        pause(500);
    }

    testing_environment::TemporaryHome home;
    XDisplay display;
    platform::system::Process browser;
    std::string window;
};

}  // namespace

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

// Link text as pages colour it by default.
bool isLinkBlue(std::uint32_t rgb) {
    const int red = (rgb >> 16) & 0xFF;
    const int green = (rgb >> 8) & 0xFF;
    const int blue = rgb & 0xFF;
    return blue > 150 && red < 90 && blue - green > 60;
}

// The runs of link-blue pixels along row `y` between `left` and `right`, as [begin, end).
std::vector<std::pair<int, int>> blueRuns(const Screenshot& shot, int y, int left, int right) {
    std::vector<std::pair<int, int>> runs;
    for (int x = left; x < right; ++x) {
        if (!isLinkBlue(shot.pixel(x, y))) {
            continue;
        }
        if (!runs.empty() && x - runs.back().second <= 1) {
            runs.back().second = x + 1;
        } else {
            runs.emplace_back(x, x + 1);
        }
    }
    return runs;
}

TEST_F(BrowserWindowTest, TheSidePaneShowsTheNewClipBesideThePageAndOpensItsLinksInTheWindow) {
    ASSERT_NO_FATAL_FAILURE(attachAndClickTheFirstParagraph());
    const auto origin = pageOrigin();
    ASSERT_TRUE(origin);
    ASSERT_NO_FATAL_FAILURE(saveWithCtrlS("Keepers in the pane"));
    ASSERT_EQ(waitForEntries(1).size(), 1u);

    // After the save the explorer bar opens at the left and the pane's program draws its
    // page there, shown in this window: the new clip with the link "All latest clips" under
    // it, the first link-blue text in the bar.
    std::optional<std::pair<int, int>> link;
    for (int tries = 0; tries < 50 && !link; ++tries) {
        pause(300);
        const Screenshot shot = display.screenshot();
        // The link's letters: a row with many link-blue pixels.
        for (int y = origin->second; y < origin->second + 300 && !link; ++y) {
            const auto runs = blueRuns(shot, y, 0, 250);
            int pixels = 0;
            for (const auto& [begin, end] : runs) {
                pixels += end - begin;
            }
            if (pixels >= 15) {
                link = std::pair{(runs.front().first + runs.back().second) / 2, y + 2};
            }
        }
    }
    if (!link) {
        display.savePng((home.root() / "no-pane.png").string());
    }
    ASSERT_TRUE(link) << "the side pane's page is not shown beside the page";

    // A click on the link in the pane opens its address in the browser window.
    xdo("mousemove " + std::to_string(link->first) + " " + std::to_string(link->second));
    pause();
    xdo("click 1");
    EXPECT_FALSE(display.waitForWindow("Latest", std::chrono::seconds(20)).empty())
        << "the pane's link did not open in the window";
}
