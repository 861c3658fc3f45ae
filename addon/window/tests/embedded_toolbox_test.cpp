#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "addon/page/html_document.h"
#include "addon/shell/data_folders.h"
#include "addon/window/command_dispatcher.h"
#include "addon/window/embedded_toolbox.h"
#include "addon/window/window_operations.h"
#include "common/util/message_box.h"
#include "common/util/registry_int.h"
#include "common/util/registry_string.h"
#include "platform/registry/store.h"
#include "testing/environment/temporary_home.h"

using namespace addon;
namespace ui = platform::ui;
namespace fs = std::filesystem;

namespace {

void storeText(const std::wstring& path, const std::wstring& text, platform::registry::HKEY root) {
    common::registry_string<std::wstring> value(path, root, L"", common::kRegistryAlwaysStore);
    value = text;
    value.save();
}

void storeThemeHeight(std::int32_t height) {
    common::registry_int<std::int32_t> value(L"Software\\Olvan\\Tamrix\\Theme\\Height",
                                             platform::registry::HKEY_CURRENT_USER, 0,
                                             common::kRegistryAlwaysStore);
    value = height;
    value.save();
}

// A browser frame of the oldest layout: frame > "Shell DocObject View" >
// "Internet Explorer_Server", the view with a procedure of its own that records its messages.
class EmbeddedToolboxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::windows().reset();
        storeText(L"Software\\Microsoft\\Internet Explorer\\Version", L"6.0.2900",
                  platform::registry::HKEY_LOCAL_MACHINE);
        former = common::setMessageBoxPresenter(
            [this](ui::HWND, const std::wstring& text, const std::wstring&, ui::UINT) {
                messages.push_back(text);
                return ui::IDOK;
            });
        auto& system = ui::windows();
        frame = system.createWindow({.className = L"IEFrame", .rect = {0, 0, 800, 600}});
        content = system.createWindow({.className = L"Shell DocObject View",
                                       .parent = frame,
                                       .rect = {0, 0, 800, 600},
                                       .proc = [this](const ui::Message& message) {
                                           contentMessages.push_back(message.id);
                                           return ui::LRESULT{0};
                                       }});
        system.createWindow({.className = L"Internet Explorer_Server",
                             .parent = content,
                             .rect = {0, 0, 800, 600}});
        browser = makeBrowser();
    }

    void TearDown() override {
        for (const BrowserRef& each : {browser, otherBrowser}) {
            if (each) {
                removeBrowserWindow(each);
            }
        }
        if (!themeFolder.empty()) {
            fs::remove_all(themeFolder);
        }
        common::setMessageBoxPresenter(former);
        ui::windows().reset();
    }

    BrowserRef makeBrowser() {
        return WebBrowser::create(
            [](const std::wstring& url) {
                return platform::browser::LoadedDocument{
                    makeHtmlDocument(L"<html><body><p>Page</p></body></html>", url), url};
            },
            frame);
    }

    int openTab(const BrowserRef& tab) {
        const int window = addBrowserWindow(tab);
        EXPECT_GE(window, 0);
        EXPECT_TRUE(tab->navigate(L"http://news.example/a.html"));
        return window;
    }

    std::vector<ui::HWND> bands() const {
        std::vector<ui::HWND> found;
        for (ui::HWND each : ui::windows().children(frame)) {
            if (ui::windows().className(each) == kEmbeddedToolboxClass) {
                found.push_back(each);
            }
        }
        return found;
    }

    // A theme folder of its own in the resources folder, whose page names `height`.
    std::wstring makeTheme(int height) {
        const std::wstring name = L"BandTest" + std::to_wstring(::getpid());
        themeFolder = fs::path(resolveDataFolder(L"resources")) / "toolbar" / name;
        fs::create_directories(themeFolder);
        std::ofstream(themeFolder / "index.html")
            << "<html><!-- toolbox_height=" << height << " toolbox_style=0 --></html>";
        return name;
    }

    testing_environment::TemporaryHome home;
    platform::registry::ScopedMemoryRegistry registry;
    common::MessageBoxPresenter former;
    std::vector<std::wstring> messages;
    std::vector<ui::UINT> contentMessages;
    ui::HWND frame;
    ui::HWND content;
    BrowserRef browser;
    BrowserRef otherBrowser;
    fs::path themeFolder;
};

}  // namespace

TEST_F(EmbeddedToolboxTest, TheBandSitsAboveTheContentWindowWhileShownAndGoesWithClose) {
    storeThemeHeight(36);
    const int window = openTab(browser);
    EXPECT_EQ(showToolbox(window, false), 2);
    auto& system = ui::windows();
    ASSERT_EQ(bands().size(), 1u);
    const ui::HWND band = bands().front();
    EXPECT_EQ(system.controlId(band), kToolboxControlId);
    EXPECT_TRUE(system.isVisible(band));
    EXPECT_EQ(system.placement(band), (ui::Rect{0, 0, 800, 36}));
    EXPECT_EQ(system.placement(content), (ui::Rect{0, 36, 800, 600}));
    EXPECT_TRUE(isToolboxVisible(browser));

    // The browser places its content window again: the band keeps the top of that area.
    system.setWindowPos(content, 0, 0, 1000, 700, ui::SWP_NOZORDER);
    EXPECT_EQ(system.placement(band), (ui::Rect{0, 0, 1000, 36}));
    EXPECT_EQ(system.placement(content), (ui::Rect{0, 36, 1000, 700}));
    // The content window's own procedure still gets every message.
    EXPECT_NE(std::find(contentMessages.begin(), contentMessages.end(), ui::WM_NCCALCSIZE),
              contentMessages.end());

    // Showing again keeps the one band.
    EXPECT_EQ(showToolbox(window, false), 2);
    EXPECT_EQ(bands(), std::vector<ui::HWND>{band});

    EXPECT_EQ(closeToolbox(window), 2);
    EXPECT_TRUE(bands().empty());
    EXPECT_FALSE(system.isWindow(band));
    EXPECT_EQ(system.placement(content), (ui::Rect{0, 0, 1000, 700}));
    // The content window has its own procedure back: nothing is reserved any more.
    system.setWindowPos(content, 0, 0, 900, 700, ui::SWP_NOZORDER);
    EXPECT_EQ(system.placement(content), (ui::Rect{0, 0, 900, 700}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(EmbeddedToolboxTest, ACalculationWithoutValidRectanglesPassesThroughAndLeavesTheBand) {
    const int window = openTab(browser);
    showToolbox(window, false);
    ASSERT_EQ(bands().size(), 1u);
    const ui::HWND band = bands().front();
    const ui::Rect before = ui::windows().placement(band);
    contentMessages.clear();

    ui::Rect proposed{0, 100, 640, 480};
    EXPECT_EQ(
        ui::windows().send(content, ui::WM_NCCALCSIZE, 0, reinterpret_cast<ui::LPARAM>(&proposed)),
        0);
    EXPECT_EQ(contentMessages, std::vector<ui::UINT>{ui::WM_NCCALCSIZE});
    EXPECT_EQ(proposed, (ui::Rect{0, 100, 640, 480}));
    EXPECT_EQ(ui::windows().placement(band), before);

    // A hidden content window reserves nothing either.
    ui::windows().show(content, false);
    EXPECT_EQ(
        ui::windows().send(content, ui::WM_NCCALCSIZE, 1, reinterpret_cast<ui::LPARAM>(&proposed)),
        0);
    EXPECT_EQ(proposed, (ui::Rect{0, 100, 640, 480}));
    EXPECT_EQ(ui::windows().placement(band), before);
}

TEST_F(EmbeddedToolboxTest, ASecondBandInTheSameFrameIsRefused) {
    const int first = openTab(browser);
    showToolbox(first, false);
    ASSERT_EQ(bands().size(), 1u);
    const ui::Rect contentArea = ui::windows().placement(content);

    otherBrowser = makeBrowser();
    const int second = openTab(otherBrowser);
    EXPECT_EQ(showToolbox(second, false), 2);
    EXPECT_EQ(messages, std::vector<std::wstring>{L"Please close other embedded toolbar."});
    EXPECT_EQ(bands().size(), 1u);
    EXPECT_FALSE(isToolboxVisible(otherBrowser));
    EXPECT_EQ(ui::windows().placement(content), contentArea);

    // Once the first is closed, the second tab gets its band.
    closeToolbox(first);
    showToolbox(second, false);
    EXPECT_EQ(bands().size(), 1u);
    EXPECT_TRUE(isToolboxVisible(otherBrowser));
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(EmbeddedToolboxTest, ReloadingTheThemeInUseRebuildsTheBandWithItsPagesHeight) {
    const std::wstring theme = makeTheme(44);
    storeText(L"Software\\Olvan\\Tamrix\\Theme\\Name", theme,
              platform::registry::HKEY_CURRENT_USER);
    storeThemeHeight(28);
    const int window = openTab(browser);
    showToolbox(window, false);
    ASSERT_EQ(bands().size(), 1u);
    const ui::HWND old = bands().front();
    EXPECT_EQ(ui::windows().placement(old), (ui::Rect{0, 0, 800, 28}));

    EXPECT_EQ(dispatchCommand(L"command-toolbar-reload/" + theme, window), 2);
    ASSERT_EQ(bands().size(), 1u);
    const ui::HWND rebuilt = bands().front();
    EXPECT_NE(rebuilt, old);
    EXPECT_EQ(ui::windows().placement(rebuilt), (ui::Rect{0, 0, 800, 44}));
    EXPECT_EQ(ui::windows().placement(content), (ui::Rect{0, 44, 800, 600}));

    // An unsafe name changes nothing; a reload while no band is shown makes none.
    EXPECT_EQ(dispatchCommand(L"command-toolbar-reload/..", window), 1);
    EXPECT_EQ(bands(), std::vector<ui::HWND>{rebuilt});
    closeToolbox(window);
    const int again = openTab(browser);
    EXPECT_EQ(dispatchCommand(L"command-toolbar-reload/" + theme, again), 2);
    EXPECT_TRUE(bands().empty());
    EXPECT_EQ(ui::windows().placement(content), (ui::Rect{0, 0, 800, 600}));
}
