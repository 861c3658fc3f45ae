// A second browser process for the explorer-bar tests: one browser window with the
// explorer bar open (its host window adopts the running side pane), in the foreground,
// while the window system's messages are pumped. It closes the bar (the host window hands
// the pane over) once the file named by its first argument exists, and exits 0 then;
// 3 when its bar could not be opened, 4 after 30 s without being told.
//
//     browser_child CLOSE_FILE PANE_PROGRAM
#include <chrono>
#include <filesystem>
#include <string>

#include "addon/bar/pane_windows.h"
#include "addon/bar/side_band.h"
#include "platform/browser/browser_site.h"
#include "platform/ui/window_system.h"

using namespace platform;
using namespace std::chrono_literals;

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    const std::filesystem::path closeFile = argv[1];
    ui::WindowSystem& system = ui::windows();
    const ui::HWND frame = system.createWindow(
        {.className = L"IEFrame", .title = L"Second browser", .rect = {900, 0, 1700, 600}});
    const ui::HWND baseBar =
        system.createWindow({.className = L"BaseBar", .parent = frame, .rect = {0, 0, 291, 600}});
    const ui::HWND rebar = system.createWindow(
        {.className = L"ReBarWindow32", .parent = baseBar, .rect = {0, 20, 291, 600}});
    const auto browser = browser::WebBrowser::create(nullptr, frame);
    const auto site = browser::BrowserSite::create(browser, rebar);
    auto band = addon::SideBand::create(addon::PaneStartOptions{argv[2], 30000ms});
    if (com::FAILED(band->SetSite(site->unknown())) || !band->client()->paneIsHere())
        return 3;
    system.setForeground(frame);

    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (!std::filesystem::exists(closeFile)) {
        if (std::chrono::steady_clock::now() > deadline)
            return 4;
        system.pumpUntil([] { return false; }, 50ms);
    }
    band->CloseDW(0);
    band->SetSite(nullptr);
    addon::resetPaneWindows();
    return 0;
}
