// A stand-in of the side-pane program for the explorer-bar tests. It serves its windows,
// publishes a top-level "LorvaneContainer" window holding the pane "LorvaneServer" and
// runs its message loop:
//   - once the pane hangs under a "LorvaneClient" window and has been told to draw there
//     (WM_SETREDRAW TRUE), it sends that window a status line (WM_COPYDATA code 1) and a
//     navigation request (code 2) for "http://127.0.0.1/from-pane" in the frame "main",
//     once per adoption, so the greeting always follows the request to draw;
//   - each WM_SETREDRAW TRUE the pane gets asks its host window to open
//     "http://127.0.0.1/redraw-on" (code 2), so a test sees that the host sent it;
//   - its pane paints itself white on the left half and black on the right half of
//     whatever size it has (at creation and on every WM_SIZE), the other way round after
//     it received WM_COPYDATA code 50;
//   - it ends with 0 when the pane has had no "LorvaneClient" parent for more than
//     1000 ms after having had one, or when the pane is destroyed; with 3 after 30 s; with 2
//     when it cannot serve.
#include <chrono>

#include "platform/ui/cross_process_windows.h"
#include "plugin/module/host_messages.h"

using namespace platform::ui;
using Steady = std::chrono::steady_clock;

namespace {

bool swapped = false;
HWND toldToDrawBy;

void paintHalves(WindowSystem& system, HWND pane) {
    const Rect area = system.clientRect(pane);
    platform::imaging::Bitmap picture(area.width(), area.height(),
                                      platform::imaging::PixelFormat::Argb32);
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x)
            picture.setPixel(x, y, (x < area.width() / 2) != swapped ? 0xFFFFFFFF : 0xFF000000);
    system.setImage(pane, std::move(picture));
}

}  // namespace

int main() {
    WindowSystem& system = windows();
    CrossProcessWindows crossProcess;
    if (!crossProcess.start())
        return 2;
    const HWND container = system.createWindow(
        {.className = L"#32770", .title = L"LorvaneContainer", .rect = {0, 0, 291, 600}});
    const HWND pane = system.createWindow(
        {.className = L"LorvanePane",
         .title = L"LorvaneServer",
         .parent = container,
         .rect = {0, 0, 291, 600},
         .proc = [&system](const Message& message) -> LRESULT {
             if (message.id == WM_COPYDATA && message.copyData && message.copyData->code == 50)
                 swapped = true;
             if (message.id == WM_SIZE || message.id == WM_COPYDATA)
                 paintHalves(system, message.window);
             if (message.id == WM_SETREDRAW && message.wParam == 1) {
                 toldToDrawBy = system.parent(message.window);
                 system.sendCopyData(
                     system.parent(message.window), message.window,
                     CopyData{plugin::kNavigateCode,
                              plugin::navigateRecord({0, L"http://127.0.0.1/redraw-on", L""})});
             }
             return 0;
         }});
    paintHalves(system, pane);
    system.setTimer(container, 1, std::chrono::milliseconds(20));
    if (!crossProcess.publish(container))
        return 2;

    HWND announcedTo;
    bool adoptedOnce = false;
    auto lastAdopted = Steady::now();
    const auto deadline = Steady::now() + std::chrono::seconds(30);
    while (Steady::now() < deadline) {
        Message message;
        if (system.getMessage(message, std::chrono::milliseconds(50)) == WaitResult::message)
            system.dispatchMessage(message);
        if (!system.isWindow(pane))
            return 0;
        const HWND parent = system.parent(pane);
        if (system.className(parent) == L"LorvaneClient") {
            adoptedOnce = true;
            lastAdopted = Steady::now();
            if (parent != announcedTo && parent == toldToDrawBy) {
                system.sendCopyData(
                    parent, pane,
                    CopyData{plugin::kStatusTextCode, plugin::statusRecord(L"Pane ready")});
                system.sendCopyData(parent, pane,
                                    CopyData{plugin::kNavigateCode,
                                             plugin::navigateRecord(
                                                 {2048, L"http://127.0.0.1/from-pane", L"main"})});
                announcedTo = parent;
            }
        } else if (adoptedOnce && Steady::now() - lastAdopted > std::chrono::milliseconds(1000)) {
            return 0;
        }
    }
    return 3;
}
