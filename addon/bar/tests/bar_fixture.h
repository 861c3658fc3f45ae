// What the explorer-bar and toolbar tests share: a throw-away home, a browser window laid
// out as the browser's own (frame, explorer bar, document window) with a browser object
// whose navigations are recorded and cancelled, and a clean window system afterwards.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "addon/bar/pane_windows.h"
#include "addon/shell/update_check.h"
#include "platform/browser/browser_site.h"
#include "platform/registry/registry.h"
#include "platform/registry/store.h"
#include "platform/ui/scripted_presenter.h"
#include "platform/ui/window_system.h"
#include "testing/environment/temporary_home.h"

namespace bar_tests {

namespace ui = platform::ui;
namespace com = platform::com;
namespace browser = platform::browser;
using namespace std::chrono_literals;

struct Navigation {
    std::wstring url;
    std::int32_t flags = 0;
    std::wstring target;
};

// Records the browser's BeforeNavigate2 and cancels it.
class NavigationRecorder : public com::ComObject<NavigationRecorder, browser::IDispatch> {
  public:
    com::HRESULT Invoke(std::int32_t dispid, browser::DispParams* params) override {
        if (dispid == browser::DISPID_BEFORENAVIGATE2) {
            auto& args = params->arguments;
            seen.push_back({args[1].value.toText(),
                            static_cast<std::int32_t>(args[2].value.integer()),
                            args[3].value.toText()});
            *args[6].boolReference = true;
        }
        return com::S_OK;
    }
    std::vector<Navigation> seen;
};

struct BrowserTab {
    ui::HWND frame;
    ui::HWND rebar;
    ui::HWND server;
    com::ComPtr<browser::WebBrowser> browser;
    com::ComPtr<browser::BrowserSite> site;
    com::ComPtr<NavigationRecorder> recorder;
};

class BarTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::windows().reset();
        setBrowserVersion(L"6.0.2900");
    }
    void TearDown() override {
        addon::resetPaneWindows();
        addon::stopUpdateChecks();
        ui::windows().reset();
    }

    // frame "IEFrame" > "BaseBar" > "ReBarWindow32" (the bar's site window), and
    // frame > "Shell DocObject View" > "Internet Explorer_Server".
    BrowserTab openBrowserWindow(int left) {
        ui::WindowSystem& system = ui::windows();
        BrowserTab tab;
        tab.frame = system.createWindow(
            {.className = L"IEFrame", .title = L"Browser", .rect = {left, 0, left + 800, 600}});
        const ui::HWND baseBar = system.createWindow(
            {.className = L"BaseBar", .parent = tab.frame, .rect = {0, 0, 291, 600}});
        tab.rebar = system.createWindow(
            {.className = L"ReBarWindow32", .parent = baseBar, .rect = {0, 20, 291, 600}});
        const ui::HWND view = system.createWindow({.className = L"Shell DocObject View",
                                                   .parent = tab.frame,
                                                   .rect = {291, 0, 800, 600}});
        tab.server = system.createWindow(
            {.className = L"Internet Explorer_Server", .parent = view, .rect = {0, 0, 509, 600}});
        tab.browser = browser::WebBrowser::create(nullptr, tab.frame);
        tab.recorder = NavigationRecorder::create();
        tab.browser->events().advise(tab.recorder);
        tab.site = browser::BrowserSite::create(tab.browser, tab.rebar);
        return tab;
    }

    static void setBrowserVersion(const std::wstring& version) {
        namespace reg = platform::registry;
        reg::HKEY key = nullptr;
        reg::RegCreateKeyExW(reg::HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Internet Explorer", 0,
                             nullptr, 0, reg::KEY_ALL_ACCESS, nullptr, &key, nullptr);
        reg::RegSetValueExW(key, L"Version", 0, reg::REG_SZ,
                            reinterpret_cast<const reg::BYTE*>(version.c_str()),
                            static_cast<reg::DWORD>((version.size() + 1) * sizeof(wchar_t)));
        reg::RegCloseKey(key);
    }

    bool pumpUntil(const std::function<bool()>& done) {
        return ui::windows().pumpUntil(done, 5000ms);
    }

    testing_environment::TemporaryHome home;
    platform::registry::ScopedMemoryRegistry registry;
    std::shared_ptr<ui::ScriptedPresenter> person = std::make_shared<ui::ScriptedPresenter>();
    ui::PresenterScope scope{person};
};

}  // namespace bar_tests
