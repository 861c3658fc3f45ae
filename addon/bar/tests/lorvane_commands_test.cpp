// The side-pane commands through the dispatcher: the browser shows the add-on's explorer
// bar from its registered class and closes it again.
#include "addon/bar/lorvane_commands.h"
#include "addon/bar/bar_classes.h"
#include "addon/window/command_dispatcher.h"
#include "addon/window/command_extensions.h"
#include "addon/window/window_table.h"
#include "bar_fixture.h"
#include "platform/browser/browser_bars.h"

using namespace bar_tests;

namespace {

constexpr const wchar_t* kBarClass = L"{E55E1F27-11DA-0002-0002-00AA00000007}";

class SidePaneCommands : public BarTest {
  protected:
    void TearDown() override {
        for (const wchar_t* command :
             {L"command-lorvane-show", L"command-lorvane-close", L"command-lorvane-switch"}) {
            addon::registerCommandExtension(command, nullptr);
        }
        browser::registerBrowserBar(addon::kSideBandClass, nullptr);
        BarTest::TearDown();
    }
    ui::HWND hostWindow(const BrowserTab& tab) {
        return ui::windows().findWindowEx(tab.rebar, {}, L"LorvaneClient", L"");
    }
};

}  // namespace

TEST_F(SidePaneCommands, SwitchShowsTheBarInTheBrowserThenClosesIt) {
    const BrowserTab tab = openBrowserWindow(0);
    ui::windows().setForeground(tab.frame);
    const int window = addon::addBrowserWindow(tab.browser);
    ASSERT_GE(window, 0);
    EXPECT_EQ(tab.browser->showBrowserBar(kBarClass, true), com::CLASS_E_CLASSNOTAVAILABLE)
        << "no bar is registered yet";
    addon::registerLorvaneCommands(addon::PaneStartOptions{PANE_CHILD, 30000ms});

    EXPECT_EQ(addon::dispatchCommand(L"command-lorvane-switch", window), com::S_OK);
    const ui::HWND host = hostWindow(tab);
    ASSERT_TRUE(host);
    EXPECT_TRUE(ui::windows().isVisible(host));
    EXPECT_EQ(addon::dispatchCommand(L"command-lorvane-show", window), com::S_OK);
    EXPECT_EQ(hostWindow(tab), host) << "a shown bar is shown once";

    EXPECT_EQ(addon::dispatchCommand(L"command-lorvane-switch", window), com::S_OK);
    EXPECT_FALSE(ui::windows().isWindow(host));
    EXPECT_FALSE(hostWindow(tab));
    EXPECT_EQ(addon::dispatchCommand(L"command-lorvane-close", window), com::S_OK);
    EXPECT_TRUE(person->messageTexts().empty());

    EXPECT_EQ(tab.browser->showBrowserBar(L"not a class", true), com::E_INVALIDARG);
    EXPECT_EQ(addon::dispatchCommand(L"command-lorvane-switch", -1), 1);
    addon::removeBrowserWindow(tab.browser);
}

TEST_F(SidePaneCommands, TheBrowserMakesItsBarWindowAndClosesTheBarWhenTheTabCloses) {
    addon::registerLorvaneCommands(addon::PaneStartOptions{PANE_CHILD, 30000ms});
    EXPECT_EQ(browser::WebBrowser::create(nullptr)->showBrowserBar(kBarClass, true), com::E_FAIL)
        << "no frame to show it in";

    const ui::HWND frame =
        ui::windows().createWindow({.className = L"IEFrame", .rect = {0, 0, 800, 600}});
    ui::windows().setForeground(frame);
    const auto page = browser::WebBrowser::create(nullptr, frame);
    ASSERT_EQ(page->showBrowserBar(kBarClass, true), com::S_OK);
    const ui::HWND baseBar = ui::windows().findWindowEx(frame, {}, L"BaseBar", L"");
    ASSERT_TRUE(baseBar);
    const ui::HWND rebar = ui::windows().findWindowEx(baseBar, {}, L"ReBarWindow32", L"");
    const ui::HWND host = ui::windows().findWindowEx(rebar, {}, L"LorvaneClient", L"");
    ASSERT_TRUE(host);
    EXPECT_TRUE(ui::windows().isVisible(host));
    page->quit();
    EXPECT_FALSE(ui::windows().isWindow(host));
    EXPECT_FALSE(ui::windows().isVisible(baseBar));
}
