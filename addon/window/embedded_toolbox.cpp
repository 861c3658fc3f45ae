#include "addon/window/embedded_toolbox.h"

#include "addon/commands/style_arguments.h"
#include "addon/shell/browser_windows.h"
#include "addon/window/theme_pages.h"
#include "common/util/message_box.h"
#include "common/util/registry_string.h"

namespace addon {

namespace ui = platform::ui;

namespace {

constexpr int kNothingDone = 1;
constexpr int kDone = 2;

ToolboxViewFactory& viewFactory() {
    static ToolboxViewFactory factory;
    return factory;
}

std::wstring readLanguage() {
    common::registry_string<std::wstring> value(L"Software\\Olvan\\Tamrix\\Language",
                                                platform::registry::HKEY_CURRENT_USER, L"",
                                                common::kRegistryNoWriteBack);
    return value.value;
}

// The band keeps its view over its whole client area.
ui::LRESULT bandProc(const ui::Message& message) {
    if (message.id == ui::WM_SIZE) {
        const int width =
            static_cast<int>(ui::lowWord(static_cast<std::uintptr_t>(message.lParam)));
        const int height =
            static_cast<int>(ui::highWord(static_cast<std::uintptr_t>(message.lParam)));
        for (const ui::HWND child : ui::windows().children(message.window)) {
            ui::windows().setWindowPos(child, 0, 0, width, height, ui::SWP_NOZORDER);
        }
    }
    return 0;
}

// True when `parent` holds a band that is not `own`.
bool holdsOtherBand(ui::HWND parent, ui::HWND own) {
    auto& system = ui::windows();
    for (ui::HWND band = system.findWindowEx(parent, {}, kEmbeddedToolboxClass, L""); band;
         band = system.findWindowEx(parent, band, kEmbeddedToolboxClass, L"")) {
        if (band != own) {
            return true;
        }
    }
    return false;
}

std::shared_ptr<EmbeddedToolbox> makeBand(const BrowserRef& browser, ui::HWND parent,
                                          ui::Rect contentArea) {
    const ThemeSettings theme = readThemeSettings();
    const int height = std::max(0, theme.height);
    ui::WindowSpec spec;
    spec.className = kEmbeddedToolboxClass;
    spec.parent = parent;
    spec.rect = {contentArea.left, contentArea.top, contentArea.right, contentArea.top + height};
    spec.controlId = kToolboxControlId;
    spec.proc = bandProc;
    const ui::HWND band = ui::windows().createWindow(std::move(spec));
    if (!band) {
        return nullptr;
    }
    std::unique_ptr<ToolboxView> view;
    if (viewFactory()) {
        view = viewFactory()({browser, theme.name, toolboxPageAddress(theme.name, readLanguage()),
                              band, ui::windows().clientRect(band)});
    }
    return std::make_shared<EmbeddedToolbox>(band, height, theme.style, std::move(view));
}

}  // namespace

void registerToolboxViewFactory(ToolboxViewFactory factory) {
    viewFactory() = std::move(factory);
}

EmbeddedToolbox::EmbeddedToolbox(ui::HWND band, int height, int extendedStyle,
                                 std::unique_ptr<ToolboxView> view)
    : band_(band), height_(height), extendedStyle_(extendedStyle), view_(std::move(view)) {}

EmbeddedToolbox::~EmbeddedToolbox() {
    view_.reset();
    ui::windows().destroyWindow(band_);
}

ToolboxPlacement createToolbox(int windowIndex) {
    WindowEntry& entry = windowEntry(windowIndex);
    auto& system = ui::windows();
    const ui::HWND content = getBrowserServerWindows(*entry.browser).docObjectView;
    const ui::HWND parent = system.parent(content);
    if (!content || !parent) {
        return ToolboxPlacement::noWindow;
    }
    if (holdsOtherBand(parent, entry.toolbox ? entry.toolbox->window() : ui::HWND{})) {
        common::errorBox(L"Please close other embedded toolbar.", {}, entry.browser->frameWindow());
        return ToolboxPlacement::refused;
    }
    if (entry.toolbox) {
        system.show(entry.toolbox->window(), true);
    } else {
        const ui::Rect area = system.placement(content);
        entry.toolbox = makeBand(entry.browser, parent, area);
        if (!entry.toolbox) {
            return ToolboxPlacement::noWindow;
        }
        const int height = entry.toolbox->height();
        system.setWindowPos(content, area.left, area.top + height, area.width(),
                            area.height() - height, ui::SWP_NOZORDER);
    }
    if (entry.hostWindow != content) {
        entry.savedWindowProc = system.proc(content);
        entry.hostWindow = content;
        system.setProc(content, hostWindowProc);
    }
    return ToolboxPlacement::shown;
}

void removeToolbox(WindowEntry& entry) {
    if (!entry.toolbox) {
        return;
    }
    auto& system = ui::windows();
    const ui::HWND host = entry.hostWindow;
    if (system.isWindow(host)) {
        system.setProc(host, entry.savedWindowProc);
        const ui::Rect area = system.placement(host);
        const int height = entry.toolbox->height();
        system.setWindowPos(host, area.left, area.top - height, area.width(),
                            area.height() + height, ui::SWP_NOZORDER);
        system.invalidate(host);
    }
    entry.hostWindow = {};
    entry.savedWindowProc = {};
    entry.toolbox.reset();
}

int reloadToolbox(int windowIndex, const std::wstring& theme) {
    if (windowIndex < 0 || windowIndex >= kWindowTableSize || windowEntry(windowIndex).isFree()) {
        return kNothingDone;
    }
    if (!chooseTheme(theme)) {
        common::errorBox(L"There is no toolbar theme named " + quotedArgument(theme) + L".");
        return kNothingDone;
    }
    WindowEntry& entry = windowEntry(windowIndex);
    const bool shown = entry.toolbox && ui::windows().isVisible(entry.toolbox->window());
    removeToolbox(entry);
    if (shown) {
        createToolbox(windowIndex);
    }
    return kDone;
}

ui::LRESULT hostWindowProc(const ui::Message& message) {
    const int index = findWindowByHostWindow(message.window);
    if (index == -1) {
        return 1;
    }
    const ui::WindowProc saved = windowEntry(index).savedWindowProc;
    const ui::LRESULT result = saved ? saved(message) : 0;
    if (message.id != ui::WM_NCCALCSIZE) {
        return result;
    }
    auto& system = ui::windows();
    if (!system.isVisible(message.window) || message.wParam == 0 || message.lParam == 0) {
        return 0;
    }
    const WindowEntry& entry = windowEntry(index);
    if (entry.hostWindow != message.window || !entry.toolbox) {
        return 0;
    }
    ui::Rect& proposed = *reinterpret_cast<ui::Rect*>(message.lParam);
    const int height = entry.toolbox->height();
    system.setWindowPos(entry.toolbox->window(), proposed.left, proposed.top, proposed.width(),
                        height, ui::SWP_NOZORDER);
    proposed.top += height;
    return 0;
}

}  // namespace addon
