#include "addon/shell/browser_windows.h"

#include <atomic>

#include "common/util/registry_string.h"
#include "platform/browser/web_browser.h"
#include "platform/registry/types.h"
#include "platform/ui/window_system.h"

namespace addon {

namespace {

namespace ui = platform::ui;

std::atomic<int> cachedMajorVersion{0};

ui::HWND child(ui::HWND parent, const wchar_t* windowClass) {
    if (!parent)
        return {};
    return ui::windows().findWindowEx(parent, {}, windowClass, L"");
}

ui::HWND firstVisibleChild(ui::HWND parent, const wchar_t* windowClass) {
    if (!parent)
        return {};
    auto& system = ui::windows();
    for (ui::HWND found = system.findWindowEx(parent, {}, windowClass, L""); found;
         found = system.findWindowEx(parent, found, windowClass, L""))
        if (system.isVisible(found))
            return found;
    return {};
}

// The window that holds the document and explorer-bar windows of the visible tab: the
// frame itself before version 7; none for an unknown version.
ui::HWND visibleTab(ui::HWND frame, int version) {
    switch (version) {
        case 5:
        case 6:
            return frame;
        case 7:
            return firstVisibleChild(frame, L"TabWindowClass");
        case 8:
            return firstVisibleChild(firstVisibleChild(frame, L"Frame Tab"), L"TabWindowClass");
        default:
            return {};
    }
}

}  // namespace

int getIEMajorVersion() {
    if (const int cached = cachedMajorVersion.load())
        return cached;
    common::registry_string<std::wstring> version(
        L"Software\\Microsoft\\Internet Explorer\\Version", platform::registry::HKEY_LOCAL_MACHINE,
        L"", common::kRegistryNoWriteBack);
    if (version.value.empty())
        return 0;
    const int major = version.value.front() - L'0';
    cachedMajorVersion = major;
    return major;
}

BrowserServerWindows findServerWindows(ui::HWND frame, int version) {
    BrowserServerWindows found;
    const ui::HWND tab = visibleTab(frame, version);
    if (!tab)
        return found;
    if (version >= 7)
        found.tab = tab;
    found.docObjectView = child(tab, L"Shell DocObject View");
    found.server = child(found.docObjectView, L"Internet Explorer_Server");
    return found;
}

ui::HWND findBrowserBarWindow(ui::HWND frame, int version) {
    return child(visibleTab(frame, version), L"BaseBar");
}

BrowserServerWindows getBrowserServerWindows(const platform::browser::WebBrowser& browser) {
    return findServerWindows(browser.frameWindow(), getIEMajorVersion());
}

ui::HWND getBrowserServerWindow(const platform::browser::WebBrowser& browser) {
    return getBrowserServerWindows(browser).server;
}

ui::HWND getBrowserBarWindow(ui::HWND frame) {
    return findBrowserBarWindow(frame, getIEMajorVersion());
}

bool isBandWindowVisible(const platform::browser::WebBrowser& browser,
                         const std::wstring& windowClass) {
    const ui::HWND rebar = child(getBrowserBarWindow(browser.frameWindow()), L"ReBarWindow32");
    if (!rebar)
        return false;
    const ui::HWND band = ui::windows().findWindowEx(rebar, {}, windowClass, L"");
    return band && ui::windows().isVisible(band);
}

}  // namespace addon
