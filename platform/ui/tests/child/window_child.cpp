// A second process for the cross-process window tests. It serves its windows, publishes a
// top-level "ChildContainer" window holding a "ChildPane" child and runs its message loop:
//   - WM_COPYDATA to the pane is answered with the record's size plus 1000; a record of
//     code 9 is first passed on, from the pane's thread, as WM_COPYDATA code 10 to the
//     published window "host" of the sending process, and answered with that window's
//     answer plus 2000 (both sides' window threads then call each other at once);
//   - once the pane hangs under a window of class "TestHost" (a stand-in of the test's
//     window), it sends that window WM_COPYDATA code 7 with the bytes "adopted", once;
//   - the pane paints itself in the colour 0xFF336699, and again in the colour a WM_COPYDATA
//     record of code 11 carries in its four bytes;
//   - a WM_LBUTTONDOWN the pane receives puts its lParam (the point) in the pane's user
//     data;
//   - it ends with code 0 when the pane is destroyed (its stand-in went away), with 3 when
//     nothing happens for 20 seconds, and with 2 when it cannot serve.
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "platform/ui/cross_process_windows.h"
#include "platform/ui/pointer_messages.h"

using namespace platform::ui;

namespace {

LRESULT callBack(const CrossProcessWindows& crossProcess, const Message& message) {
    LRESULT answer = -1;
    const RemoteWindow host = crossProcess.findWindow(L"host");
    crossProcess.sendCopyData(host, message.window, CopyData{10, {}}, &answer);
    return answer;
}

LRESULT paint(HWND window, const std::vector<std::uint8_t>& colourBytes) {
    std::uint32_t colour = 0;
    if (colourBytes.size() != sizeof colour)
        return 0;
    std::memcpy(&colour, colourBytes.data(), sizeof colour);
    platform::imaging::Bitmap picture(300, 200, platform::imaging::PixelFormat::Argb32);
    picture.fill(colour);
    return windows().setImage(window, std::move(picture)) ? 1 : 0;
}

}  // namespace

int main() {
    WindowSystem& system = windows();
    CrossProcessWindows crossProcess;
    if (!crossProcess.start())
        return 2;
    const HWND container = system.createWindow(
        {.className = L"#32770", .title = L"ChildContainer", .rect = {0, 0, 300, 200}});
    const HWND pane =
        system.createWindow({.className = L"Pane",
                             .title = L"ChildPane",
                             .parent = container,
                             .rect = {0, 0, 300, 200},
                             .proc = [&](const Message& message) -> LRESULT {
                                 if (message.id == WM_LBUTTONDOWN)
                                     system.setUserData(message.window, message.lParam);
                                 if (message.id != WM_COPYDATA || !message.copyData)
                                     return 0;
                                 if (message.copyData->code == 9)
                                     return callBack(crossProcess, message) + 2000;
                                 if (message.copyData->code == 11)
                                     return paint(message.window, message.copyData->bytes);
                                 return static_cast<LRESULT>(message.copyData->bytes.size() + 1000);
                             }});
    const std::uint32_t firstColour = 0xFF336699;
    paint(pane, std::vector<std::uint8_t>(reinterpret_cast<const std::uint8_t*>(&firstColour),
                                          reinterpret_cast<const std::uint8_t*>(&firstColour + 1)));
    system.setTimer(container, 1, std::chrono::milliseconds(20));
    if (!crossProcess.publish(container))
        return 2;

    bool announced = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        Message message;
        if (system.getMessage(message, std::chrono::milliseconds(100)) == WaitResult::message)
            system.dispatchMessage(message);
        if (!system.isWindow(pane))
            return 0;
        const HWND parent = system.parent(pane);
        if (!announced && system.className(parent) == L"TestHost") {
            const std::string text = "adopted";
            system.sendCopyData(parent, pane,
                                CopyData{7, std::vector<std::uint8_t>(text.begin(), text.end())});
            announced = true;
        }
    }
    return 3;
}
