// The side-pane commands through the dispatcher: the browser shows the add-on's explorer
// bar from its registered class and closes it again.
#include "addon/bar/lorvane_commands.h"
#include "addon/bar/bar_classes.h"
#include "addon/window/command_dispatcher.h"
#include "addon/window/extensions/command_extensions.h"
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
    // An explorer bar entry with a BarSize of `width` pixels, as an installer writes it.
    static void registerBar(platform::registry::HKEY root, const std::wstring& entry,
                            const std::wstring& name, int width) {
        namespace reg = platform::registry;
        reg::HKEY key = nullptr;
        const std::wstring path =
            L"Software\\Microsoft\\Internet Explorer\\Explorer Bars\\" + entry;
        ASSERT_EQ(reg::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, reg::KEY_ALL_ACCESS,
                                       nullptr, &key, nullptr),
                  reg::ERROR_SUCCESS);
        reg::RegSetValueExW(key, L"", 0, reg::REG_SZ,
                            reinterpret_cast<const reg::BYTE*>(name.c_str()),
                            static_cast<reg::DWORD>((name.size() + 1) * sizeof(wchar_t)));
        const reg::BYTE size[8] = {static_cast<reg::BYTE>(width & 0xFF),
                                   static_cast<reg::BYTE>(width >> 8),
                                   0,
                                   0,
                                   0,
                                   0,
                                   0,
                                   0};
        reg::RegSetValueExW(key, L"BarSize", 0, reg::REG_BINARY, size, sizeof size);
        reg::RegCloseKey(key);
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
    // The installation's entry for the bar, found by the bar's title.
    registerBar(platform::registry::HKEY_LOCAL_MACHINE, L"{E55E1F27-11DA-0002-0002-00AABB000001}",
                L"Tamrix Lorvane", 291);
    const auto page = browser::WebBrowser::create(nullptr, frame);
    ASSERT_EQ(page->showBrowserBar(kBarClass, true), com::S_OK);
    const ui::HWND baseBar = ui::windows().findWindowEx(frame, {}, L"BaseBar", L"");
    ASSERT_TRUE(baseBar);
    EXPECT_EQ(ui::windows().windowRect(baseBar).width(), 291) << "as wide as registered";
    const ui::HWND rebar = ui::windows().findWindowEx(baseBar, {}, L"ReBarWindow32", L"");
    const ui::HWND host = ui::windows().findWindowEx(rebar, {}, L"LorvaneClient", L"");
    ASSERT_TRUE(host);
    EXPECT_TRUE(ui::windows().isVisible(host));
    page->quit();
    EXPECT_FALSE(ui::windows().isWindow(host));
    EXPECT_FALSE(ui::windows().isVisible(baseBar));

    // The user's own entry for the bar's class comes first.
    registerBar(platform::registry::HKEY_CURRENT_USER, kBarClass, L"", 330);
    const ui::HWND second =
        ui::windows().createWindow({.className = L"IEFrame", .rect = {0, 0, 800, 600}});
    const auto other = browser::WebBrowser::create(nullptr, second);
    ASSERT_EQ(other->showBrowserBar(kBarClass, true), com::S_OK);
    EXPECT_EQ(
        ui::windows().windowRect(ui::windows().findWindowEx(second, {}, L"BaseBar", L"")).width(),
        330);
    other->quit();
}
