#include "host/browser/tests/browser_fixture.h"

#include <fstream>
#include <sstream>
#include <thread>

#include "common/sqlite/sqlite_db.h"
#include "common/util/registry_int.h"
#include "platform/dom/document.h"
#include "platform/dom/window.h"
#include "platform/text/utf.h"

namespace browser_tests {

namespace {

namespace fs = std::filesystem;
namespace dom = platform::dom;

const fs::path kBrowser = fs::path(TAMRIX_STAGE_DIR) / "bin" / "tamrix-browser";
const fs::path kArticle = fs::path(TAMRIX_STAGE_DIR) / "data" / "examples" / "article.html";
constexpr std::uint32_t kSiteNav = 0x222233;  // the article's navigation bar

bool onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');) {
        if (!folder.empty() && fs::exists(fs::path(folder) / program)) {
            return true;
        }
    }
    return false;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace

bool isLinkBlue(std::uint32_t rgb) {
    const int red = (rgb >> 16) & 0xFF;
    const int green = (rgb >> 8) & 0xFF;
    const int blue = rgb & 0xFF;
    return blue > 150 && red < 90 && blue - green > 60;
}

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

void BrowserWindowTest::SetUp() {
    if (!onPath("Xvfb") || !onPath("xdotool") || !onPath("import") || !onPath("tesseract")) {
        GTEST_SKIP() << "Xvfb, xdotool, ImageMagick's import or tesseract is not installed";
    }
    ASSERT_TRUE(display.ready()) << "Xvfb did not start";
    // The page attaches without its main block selected, so the person's click makes
    // the only selection.
    common::registry_int<std::int32_t> initialOperation(
        L"Software\\Olvan\\Tamrix\\Operate\\InitOperation", platform::registry::HKEY_CURRENT_USER,
        1, 4);
    initialOperation = 0;
    ASSERT_TRUE(browser.start({kBrowser.string(), kArticle.string()},
                              {.workingFolder = "", .discardOutput = true}))
        << browser.error();
    window = display.waitForWindow("Lighthouse Keepers");
    ASSERT_FALSE(window.empty()) << "the browser window did not appear";
    xdo("windowfocus --sync " + window);
}

void BrowserWindowTest::TearDown() {
    if (browser.isRunning()) {
        browser.kill();
    }
}

std::string BrowserWindowTest::xdo(const std::string& arguments) const {
    return display.run("xdotool " + arguments);
}

void BrowserWindowTest::pause(int ms) const {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::optional<std::pair<int, int>> BrowserWindowTest::pageOrigin(int column) const {
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

std::optional<dom::Rect> BrowserWindowTest::boxOf(const std::wstring& text,
                                                  int viewportWidth) const {
    const auto page = dom::Document::parse(std::string_view(readFile(kArticle)),
                                           platform::text::fromUtf8("file://" + kArticle.string()));
    page->parentWindow().resizeTo(viewportWidth, 700);
    for (const auto& candidate : page->getElementsByTagName(L"P")) {
        if (candidate->innerText().find(text) != std::wstring::npos) {
            return page->boxOf(*candidate);
        }
    }
    return std::nullopt;
}

std::pair<int, int> BrowserWindowTest::centreOf(const std::wstring& text, int viewportWidth) const {
    const auto box = boxOf(text, viewportWidth);
    return box ? std::pair{(box->left + box->right) / 2, (box->top + box->bottom) / 2}
               : std::pair{-1, -1};
}

std::vector<Entry> BrowserWindowTest::entries() const {
    const fs::path repository = home.dataHome() / "Olvan" / "Tamrix" / "tamrix.db";
    std::vector<Entry> found;
    if (!fs::exists(repository)) {
        return found;
    }
    common::SqliteDB db(repository.wstring(), true);
    auto statement = db.prepareStatement(L"SELECT title, text, html FROM entry ORDER BY rowid");
    for (auto rows = statement.query(); !rows.eof(); rows.next()) {
        found.push_back({rows.columnText(0), rows.columnText(1), rows.columnText(2)});
    }
    return found;
}

std::vector<Entry> BrowserWindowTest::waitForEntries(std::size_t count) const {
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

std::vector<Entry> BrowserWindowTest::expectTheFirstParagraphSavedAs(
    const std::wstring& title) const {
    const auto saved = waitForEntries(1);
    EXPECT_EQ(saved.size(), 1u);
    for (const Entry& entry : saved) {
        EXPECT_EQ(entry.title, title);
        EXPECT_NE(entry.text.find(L"hundred and forty years"), std::wstring::npos)
            << platform::text::toUtf8(entry.text);
        EXPECT_EQ(entry.text.find(L"whitewashed stone"), std::wstring::npos);
        EXPECT_EQ(entry.text.find(L"Comments"), std::wstring::npos);
    }
    return saved;
}

int BrowserWindowTest::windowWidth() const {
    std::istringstream geometry(xdo("getwindowgeometry --shell " + window));
    std::string line;
    while (std::getline(geometry, line)) {
        if (line.starts_with("WIDTH=")) {
            return std::stoi(line.substr(6));
        }
    }
    return 0;
}

std::vector<std::pair<int, int>> BrowserWindowTest::wordsOnScreen(const std::string& word,
                                                                  int width, int height,
                                                                  int top) const {
    const std::string picture = (home.root() / "read.png").string();
    std::vector<std::pair<int, int>> found;
    for (int tries = 0; tries < 5 && found.empty(); ++tries) {
        if (tries > 0) {
            pause(2000);
        }
        display.run("import -window root -crop " + std::to_string(width) + "x" +
                    std::to_string(height) + "+0+" + std::to_string(top) + " +repage '" + picture +
                    "'");
        // Tab-separated: level, page, block, paragraph, line, word, left, top, width,
        // height, confidence, text.
        std::istringstream table(display.run(
            "tesseract '" + picture + "' - --psm 11 tsv 2>/dev/null", std::chrono::seconds(60)));
        for (std::string line; std::getline(table, line);) {
            std::istringstream fields(line);
            std::vector<std::string> cells;
            for (std::string cell; std::getline(fields, cell, '\t');) {
                cells.push_back(cell);
            }
            if (cells.size() == 12 && cells[11].starts_with(word)) {
                found.emplace_back(std::stoi(cells[6]) + std::stoi(cells[8]) / 2,
                                   top + std::stoi(cells[7]) + std::stoi(cells[9]) / 2);
            }
        }
    }
    return found;
}

void BrowserWindowTest::saveWithCtrlS(const std::string& title) {
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

std::optional<std::pair<int, int>> BrowserWindowTest::pressTheToolbarButton() {
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

void BrowserWindowTest::attachAndClickTheFirstParagraph() {
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

void BrowserWindowTest::clipTheFirstParagraph(const std::string& title) {
    ASSERT_NO_FATAL_FAILURE(attachAndClickTheFirstParagraph());
    ASSERT_NO_FATAL_FAILURE(saveWithCtrlS(title));
    ASSERT_EQ(waitForEntries(1).size(), 1u);
}

std::optional<std::pair<int, int>> BrowserWindowTest::paneLatestLink(int paneTop) {
    // The pane's page lists the new clip with the link "All latest clips" under it, the
    // first link-blue text in the bar.
    for (int tries = 0; tries < 50; ++tries) {
        pause(300);
        const Screenshot shot = display.screenshot();
        // The link's letters: a row with many link-blue pixels.
        for (int y = paneTop; y < paneTop + 300 && y < shot.height; ++y) {
            const auto runs = blueRuns(shot, y, 0, 250);
            int pixels = 0;
            for (const auto& [begin, end] : runs) {
                pixels += end - begin;
            }
            if (pixels >= 15) {
                return std::pair{(runs.front().first + runs.back().second) / 2, y + 2};
            }
        }
    }
    display.savePng((home.root() / "no-pane.png").string());
    return std::nullopt;
}

}  // namespace browser_tests
