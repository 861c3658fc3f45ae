#include "addon/bar/hidden_tab_bars.h"

#include <vector>

#include "addon/shell/browser_windows.h"
#include "platform/ui/window_system.h"

namespace addon {

namespace ui = platform::ui;
using ui::HWND;

namespace {

std::vector<HWND> childrenOfClass(HWND parent, const std::wstring& className) {
    std::vector<HWND> found;
    for (HWND child = ui::windows().findWindowEx(parent, {}, className, L""); child;
         child = ui::windows().findWindowEx(parent, child, className, L"")) {
        found.push_back(child);
    }
    return found;
}

std::vector<HWND> tabWindows(HWND frame, int version) {
    if (version == 7) {
        return childrenOfClass(frame, L"TabWindowClass");
    }
    std::vector<HWND> tabs;
    for (HWND frameTab : childrenOfClass(frame, L"Frame Tab")) {
        for (HWND tab : childrenOfClass(frameTab, L"TabWindowClass")) {
            tabs.push_back(tab);
        }
    }
    return tabs;
}

}  // namespace

void syncHiddenTabBars(HWND frame) {
    const int version = getIEMajorVersion();
    if (!frame || (version != 7 && version != 8)) {
        return;
    }
    ui::WindowSystem& system = ui::windows();
    const HWND visibleBar = findBrowserBarWindow(frame, version);
    const ui::Rect current = visibleBar ? system.windowRect(visibleBar) : ui::Rect{};
    if (current.empty()) {
        return;
    }
    for (HWND tab : tabWindows(frame, version)) {
        if (system.isVisible(tab)) {
            continue;
        }
        const HWND baseBar = system.findWindowEx(tab, {}, L"BaseBar", L"");
        if (!baseBar || system.windowRect(baseBar) == current) {
            continue;
        }
        const HWND rebar = system.findWindowEx(baseBar, {}, L"ReBarWindow32", L"");
        const HWND host = rebar ? system.findWindowEx(rebar, {}, L"LorvaneClient", L"") : HWND{};
        const ui::Rect hostRect = host ? system.windowRect(host) : ui::Rect{};
        if (host &&
            (hostRect.width() != current.width() || hostRect.height() != current.height())) {
            system.setWindowPos(baseBar, 0, 0, current.width(), current.height(),
                                ui::SWP_NOMOVE | ui::SWP_NOCOPYBITS | ui::SWP_NOOWNERZORDER);
        }
    }
}

}  // namespace addon
