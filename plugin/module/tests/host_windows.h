// A host window of a given class that records the WM_COPYDATA records it receives, with a
// page window nested inside it as the side pane nests its pages.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/window_system.h"

struct HostWindows {
    explicit HostWindows(const std::wstring& className) {
        auto& windows = platform::ui::windows();
        host = windows.createWindow(
            {.className = className, .proc = [this](const platform::ui::Message& message) {
                 if (message.id == platform::ui::WM_COPYDATA) {
                     received.push_back(*message.copyData);
                     senders.push_back(platform::ui::HWND{message.wParam});
                 }
                 return platform::ui::LRESULT{0};
             }});
        const platform::ui::HWND middle =
            windows.createWindow({.className = L"Pane", .parent = host});
        page = windows.createWindow({.className = L"Page", .parent = middle});
    }
    ~HostWindows() { platform::ui::windows().destroyWindow(host); }

    platform::ui::HWND host;
    platform::ui::HWND page;
    std::vector<platform::ui::CopyData> received;
    std::vector<platform::ui::HWND> senders;
};
