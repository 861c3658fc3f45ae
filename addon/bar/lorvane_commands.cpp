#include "addon/bar/lorvane_commands.h"

#include "addon/bar/bar_classes.h"
#include "addon/bar/lorvane_client.h"
#include "addon/bar/side_band.h"
#include "addon/shell/browser_windows.h"
#include "addon/window/extensions/command_extensions.h"
#include "addon/window/window_table.h"
#include "platform/browser/browser_bars.h"

namespace addon {
namespace {

constexpr int kNotHandled = 1;
constexpr int kHandled = 2;
constexpr const wchar_t* kSideBandClassText = L"{E55E1F27-11DA-0002-0002-00AA00000007}";

bool hasBrowser(int windowIndex) {
    return windowIndex >= 0 && windowIndex < kWindowTableSize && !windowEntry(windowIndex).isFree();
}

}  // namespace

int showLorvane(int windowIndex, bool show) {
    if (!hasBrowser(windowIndex))
        return kNotHandled;
    return windowEntry(windowIndex).browser->showBrowserBar(kSideBandClassText, show);
}

int toggleLorvane(int windowIndex) {
    if (!hasBrowser(windowIndex))
        return kNotHandled;
    const bool shown =
        isBandWindowVisible(*windowEntry(windowIndex).browser, LorvaneClient::kClassName);
    return showLorvane(windowIndex, !shown);
}

void registerLorvaneCommands(PaneStartOptions options) {
    platform::browser::registerBrowserBar(kSideBandClass, [options] {
        return platform::com::ComPtr<platform::com::IUnknown>(
            static_cast<platform::browser::IDeskBand*>(SideBand::create(options).get()));
    });
    registerCommandExtension(L"command-lorvane-show", [](int window, const std::wstring&) {
        return showLorvane(window, true);
    });
    registerCommandExtension(L"command-lorvane-start-ahead", [options](int, const std::wstring&) {
        startPaneProcessAhead(options,
                              [] { return static_cast<bool>(LorvaneClient::findPaneServer()); });
        return kHandled;
    });
    registerCommandExtension(L"command-lorvane-close", [](int window, const std::wstring&) {
        return showLorvane(window, false);
    });
    registerCommandExtension(L"command-lorvane-switch",
                             [](int window, const std::wstring&) { return toggleLorvane(window); });
}

}  // namespace addon
