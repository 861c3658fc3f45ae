#include "addon/shell/browser_windows.h"

#include <gtest/gtest.h>

#include "platform/registry/registry.h"
#include "platform/registry/store.h"
#include "platform/ui/window_system.h"

namespace {

namespace ui = platform::ui;
using addon::findBrowserBarWindow;
using addon::findServerWindows;

class BrowserWindows : public ::testing::Test {
  protected:
    void SetUp() override { ui::windows().reset(); }
    void TearDown() override { ui::windows().reset(); }

    ui::HWND make(const wchar_t* windowClass, ui::HWND parent, bool visible = true) {
        return ui::windows().createWindow(
            {.className = windowClass, .parent = parent, .visible = visible});
    }

    // A tab: "Shell DocObject View" > "Internet Explorer_Server", and a "BaseBar".
    struct Tab {
        ui::HWND server;
        ui::HWND bar;
    };
    Tab fillTab(ui::HWND tab) {
        const ui::HWND view = make(L"Shell DocObject View", tab);
        return {make(L"Internet Explorer_Server", view), make(L"BaseBar", tab)};
    }
};

TEST_F(BrowserWindows, EachVersionFindsTheVisibleTabsWindows) {
    const ui::HWND frame6 = make(L"IEFrame", {});
    const Tab classic = fillTab(frame6);
    EXPECT_EQ(findServerWindows(frame6, 6).server, classic.server);
    EXPECT_EQ(findServerWindows(frame6, 6).tab, ui::HWND{});
    EXPECT_EQ(findBrowserBarWindow(frame6, 5), classic.bar);

    const ui::HWND frame7 = make(L"IEFrame", {});
    const Tab hidden7 = fillTab(make(L"TabWindowClass", frame7, false));
    const ui::HWND shownTab7 = make(L"TabWindowClass", frame7);
    const Tab shown7 = fillTab(shownTab7);
    EXPECT_EQ(findServerWindows(frame7, 7).server, shown7.server);
    EXPECT_EQ(findServerWindows(frame7, 7).tab, shownTab7);
    EXPECT_NE(findServerWindows(frame7, 7).server, hidden7.server);
    EXPECT_EQ(findBrowserBarWindow(frame7, 7), shown7.bar);

    const ui::HWND frame8 = make(L"IEFrame", {});
    const ui::HWND frameTab = make(L"Frame Tab", frame8);
    const Tab hidden8 = fillTab(make(L"TabWindowClass", frameTab, false));
    const Tab shown8 = fillTab(make(L"TabWindowClass", frameTab));
    EXPECT_EQ(findServerWindows(frame8, 8).server, shown8.server);
    EXPECT_NE(findServerWindows(frame8, 8).server, hidden8.server);
    EXPECT_EQ(findBrowserBarWindow(frame8, 8), shown8.bar);

    // The wrong version's path, or an unknown version, finds nothing.
    EXPECT_EQ(findServerWindows(frame8, 7).server, ui::HWND{});
    EXPECT_EQ(findServerWindows(frame6, 9).server, ui::HWND{});
    EXPECT_EQ(findBrowserBarWindow(frame6, 4), ui::HWND{});
    EXPECT_EQ(findServerWindows({}, 6).server, ui::HWND{});
}

TEST_F(BrowserWindows, TheMajorVersionComesFromTheMachineKeyAndIsKept) {
    platform::registry::ScopedMemoryRegistry registry;
    EXPECT_EQ(addon::getIEMajorVersion(), 0);
    platform::registry::HKEY key = nullptr;
    ASSERT_EQ(platform::registry::RegCreateKeyExW(
                  platform::registry::HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Internet Explorer",
                  0, nullptr, 0, platform::registry::KEY_ALL_ACCESS, nullptr, &key, nullptr),
              platform::registry::ERROR_SUCCESS);
    const std::wstring version = L"8.0.6001.18702";
    platform::registry::RegSetValueExW(
        key, L"Version", 0, platform::registry::REG_SZ,
        reinterpret_cast<const platform::registry::BYTE*>(version.c_str()),
        static_cast<platform::registry::DWORD>((version.size() + 1) * sizeof(wchar_t)));
    platform::registry::RegCloseKey(key);
    EXPECT_EQ(addon::getIEMajorVersion(), 8);
    platform::registry::RegDeleteTreeW(platform::registry::HKEY_LOCAL_MACHINE, L"Software");
    EXPECT_EQ(addon::getIEMajorVersion(), 8);
}

}  // namespace
