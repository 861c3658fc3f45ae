#include "host/browser/browser_frame.h"

#include "addon/window/embedded_toolbox.h"
#include "platform/ui/window_system.h"

namespace host::browser {

namespace ui = platform::ui;

namespace {

constexpr int kStartWidth = 1024;
constexpr int kStartHeight = 768;

ui::HWND shownChild(ui::HWND parent, const wchar_t* className) {
    const ui::HWND child = ui::windows().findWindowEx(parent, {}, className, L"");
    return child && ui::windows().isVisible(child) ? child : ui::HWND{};
}

}  // namespace

bool inside(const ui::Rect& rect, int x, int y) {
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

BrowserFrame::BrowserFrame() {
    ui::WindowSystem& system = ui::windows();
    frame_ = system.createWindow({.className = L"IEFrame",
                                  .title = L"Tamrix browser",
                                  .rect = {0, 0, kStartWidth, kStartHeight}});
    view_ = system.createWindow({.className = L"Shell DocObject View",
                                 .parent = frame_,
                                 .rect = {0, 0, kStartWidth, kStartHeight}});
    server_ = system.createWindow({.className = L"Internet Explorer_Server",
                                   .parent = view_,
                                   .rect = {0, 0, kStartWidth, kStartHeight}});
    system.setForeground(frame_);
    system.setActive(frame_);
}

BrowserFrame::~BrowserFrame() {
    ui::windows().destroyWindow(frame_);
}

void BrowserFrame::arrange(int width, int height) {
    ui::WindowSystem& system = ui::windows();
    system.setWindowPos(frame_, 0, 0, width, height, ui::SWP_NOZORDER);
    int left = 0;
    if (const ui::HWND bar = shownChild(frame_, L"BaseBar")) {
        const int barWidth = std::min(system.placement(bar).width(), width / 2);
        system.setWindowPos(bar, 0, 0, barWidth, height, ui::SWP_NOZORDER);
        // The bar's rebar and the band window in it fill the bar.
        for (ui::HWND inner = system.findWindowEx(bar, {}, L"ReBarWindow32", L""); inner;
             inner = system.children(inner).empty() ? ui::HWND{} : system.children(inner).front()) {
            system.setWindowPos(inner, 0, 0, barWidth, height, ui::SWP_NOZORDER);
        }
        left = barWidth;
    }
    // A band above the content window moves it down when it is placed (WM_NCCALCSIZE).
    system.setWindowPos(view_, left, 0, width - left, height, ui::SWP_NOZORDER);
    const ui::Rect content = system.clientRect(view_);
    system.setWindowPos(server_, 0, 0, content.width(), content.height(), ui::SWP_NOZORDER);
}

ui::Rect BrowserFrame::pageArea() const {
    return ui::windows().windowRect(server_);
}

ui::HWND BrowserFrame::toolboxWindow() const {
    return shownChild(frame_, addon::kEmbeddedToolboxClass);
}

ui::Rect BrowserFrame::toolboxArea() const {
    const ui::HWND band = toolboxWindow();
    return band ? ui::windows().windowRect(band) : ui::Rect{};
}

ui::HWND BrowserFrame::explorerBarWindow() const {
    ui::WindowSystem& system = ui::windows();
    const ui::HWND bar = shownChild(frame_, L"BaseBar");
    const ui::HWND rebar = bar ? system.findWindowEx(bar, {}, L"ReBarWindow32", L"") : ui::HWND{};
    if (!rebar) {
        return {};
    }
    const auto bands = system.children(rebar);
    return bands.empty() ? rebar : bands.front();
}

ui::Rect BrowserFrame::explorerBarArea() const {
    const ui::HWND bar = shownChild(frame_, L"BaseBar");
    return bar ? ui::windows().windowRect(bar) : ui::Rect{};
}

}  // namespace host::browser
