#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "addon/readable/grab_rules.h"
#include "addon/selection/settings.h"
#include "addon/window/command_dispatcher.h"
#include "addon/window/link_grab_commands.h"
#include "addon/window/window_operations.h"
#include "common/util/message_box.h"
#include "platform/registry/store.h"
#include "testing/environment/temporary_home.h"
#include "testing/http/loopback_server.h"

using namespace addon;
using namespace std::chrono_literals;

namespace {

const std::string kStory =
    "<html><head><title>The Story</title></head><body><div id=main>"
    "<p>A long first paragraph about a journey across the mountains, told slowly and with "
    "care, so that the scorer finds plenty of prose in this block of the page.</p>"
    "<p>A second paragraph about the way back, just as long and just as full of words.</p>"
    "<a id=link href='/next'>next</a> <a href='javascript:run()'>run</a></div></body></html>";

std::wstring widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

class LinkGrabTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(loadGrabRules(std::filesystem::path(TAMRIX_STAGE_DIR "/data/grab.xml").wstring()),
                  0);
        loadInputBindings();
        sortInputBindings();
        former_ =
            common::setMessageBoxPresenter([this](platform::ui::HWND, const std::wstring& text,
                                                  const std::wstring&, platform::ui::UINT) {
                messages.push_back(text);
                return platform::ui::IDOK;
            });
        server.reply("/story", {200, kStory, "text/html"});
        server.reply("/next", {200, kStory, "text/html"});
        pageUrl = widen(server.url("/story"));
        browser = platform::browser::WebBrowser::create([this](const std::wstring& url) {
            platform::browser::LoadedDocument loaded;
            if (url == pageUrl)
                loaded.document = makeHtmlDocument(widen(kStory), url);
            return loaded;
        });
        window = addBrowserWindow(browser);
        ASSERT_GE(window, 0);
        ASSERT_TRUE(browser->navigate(pageUrl));
    }

    void TearDown() override {
        setGrabLinksChooser(nullptr);
        removeBrowserWindow(browser);
        common::setMessageBoxPresenter(former_);
    }

    std::shared_ptr<platform::dom::Document> page() {
        return asHtmlDocument(browser->document())->page();
    }

    // Pumps the page's queue until the placeholder no longer says "Loading ...".
    std::wstring waitForContent(int i) {
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (std::chrono::steady_clock::now() < deadline) {
            page()->pumpTasks();
            const auto element = page()->getElementById(L"readable_content_" + std::to_wstring(i));
            if (!element)
                return L"";
            if (element->innerHTML().find(L"Loading ...") == std::wstring::npos)
                return element->innerHTML();
            std::this_thread::sleep_for(20ms);
        }
        return L"";
    }

    testing_environment::TemporaryHome home;
    platform::registry::ScopedMemoryRegistry registry;
    testing_http::LoopbackServer server;
    common::MessageBoxPresenter former_;
    std::vector<std::wstring> messages;
    std::wstring pageUrl;
    platform::com::ComPtr<platform::browser::WebBrowser> browser;
    int window = -1;
};

}  // namespace

TEST_F(LinkGrabTest, GrabLinkFetchesThePageItselfIntoAReadablePageAndUndoesIt) {
    const std::wstring before = page()->body()->outerHTML();
    EXPECT_EQ(dispatchCommand(L"command-select-grab-link", window), 2);
    EXPECT_EQ(page()->body()->getAttribute(L"id"), L"readable_body");
    EXPECT_NE(waitForContent(0).find(L"journey across the mountains"), std::wstring::npos);
    EXPECT_TRUE(isPageRebuilt(window));

    EXPECT_EQ(dispatchCommand(L"command-undo", window), 2);
    EXPECT_EQ(page()->body()->outerHTML(), before);
    EXPECT_EQ(dispatchCommand(L"command-select-grab-link", -1), 1);
}

TEST_F(LinkGrabTest, GrabLinksOffersThePageAndItsWebLinksAndFetchesTheChosenOnes) {
    EXPECT_EQ(dispatchCommand(L"command-select-grab-links", window), 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(L"not available"), std::wstring::npos);

    std::vector<common::StringPair> offered;
    setGrabLinksChooser([&](platform::ui::HWND, const std::vector<common::StringPair>& links) {
        offered = links;
        return std::optional(std::vector<common::StringPair>(links.begin() + 1, links.end()));
    });
    const auto engine = clipContext(findContextByBrowser(browser)).selectionEngine();
    engine->addToSelection(SelectionItem::ofElements({page()->getElementById(L"main")}), true);
    EXPECT_EQ(dispatchCommand(L"command-select-grab-links", window), 2);

    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[0], (common::StringPair{L"The Story", pageUrl}));
    EXPECT_EQ(offered[1], (common::StringPair{L"next", widen(server.url("/next"))}));
    EXPECT_EQ(page()->getElementById(L"readable_content_1"), nullptr);
    EXPECT_NE(waitForContent(0).find(L"way back"), std::wstring::npos);
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].path, "/next");
}

TEST_F(LinkGrabTest, ACancelledChoiceLeavesThePage) {
    setGrabLinksChooser([](platform::ui::HWND, const std::vector<common::StringPair>&) {
        return std::optional<std::vector<common::StringPair>>();
    });
    const std::wstring before = page()->body()->outerHTML();
    EXPECT_EQ(dispatchCommand(L"command-select-grab-links", window), 2);
    EXPECT_EQ(page()->body()->outerHTML(), before);
    EXPECT_FALSE(canUndo(window));
}
